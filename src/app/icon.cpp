// kiila-icon: writes the program's icon, our emblem, as PNG files of the desktop's icon theme
// at build time: kiila-icon FOLDER NAME SIZE... writes FOLDER/SIZExSIZE/apps/NAME.png.

#include "forms/artwork/emblem.h"

#include <QDir>
#include <QString>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fputs("usage: kiila-icon FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(dir, name);
        if (size <= 0 || !QDir().mkpath(dir) || !artwork::emblemIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "kiila-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
