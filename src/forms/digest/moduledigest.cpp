// Writes the source that records the printer module built with the program (forms/moduleimage.h):
// where its loaded part ends and its digest.
//   kiila_moduledigest MODULE OUTPUT

#include "forms/moduleimage.h"

#include <QFile>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MODULE OUTPUT\n", argv[0]);
        return 2;
    }
    QFile module(QFile::decodeName(argv[1]));
    if (!module.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QByteArray bytes = module.readAll();
    const QByteArray digest = forms::loadedDigest(bytes);
    if (digest.isEmpty()) {
        std::fprintf(stderr, "%s: %s is no 64-bit ELF module\n", argv[0], argv[1]);
        return 1;
    }
    const QByteArray text = "// Generated from the printer module when it was built.\n"
                            "#include \"forms/moduleimage.h\"\n\n"
                            "namespace forms {\n"
                            "const qint64 PrinterLoadedEnd = " +
                            QByteArray::number(forms::loadedEnd(bytes)) +
                            ";\n"
                            "const char PrinterDigest[] = \"" +
                            digest + "\";\n} // namespace forms\n";
    QFile output(QFile::decodeName(argv[2]));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(text) != text.size() || !output.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
