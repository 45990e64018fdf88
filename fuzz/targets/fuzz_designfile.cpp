// The reader of design files on any bytes: it either gives a design or says in one line what
// is wrong, never both. A design it gives is within its ranges, holds one-line texts only, and
// is written back into bytes that read as the same design; writing is the same every time.

#include "check.h"
#include "designfile/designfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::optional<designfile::Contents> contents = designfile::decode(bytes, error);
    if (!contents) {
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(!error.contains(u'\n') && !error.contains(u'\r'));
        return 0;
    }
    FUZZ_CHECK(contents->arrangement >= 1 && contents->arrangement <= 7);
    const auto oneLine = [](const QString &text) {
        for (const QChar c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                return false;
        return true;
    };
    for (const QString &text : contents->texts)
        FUZZ_CHECK(oneLine(text));
    FUZZ_CHECK(oneLine(contents->project));

    const QByteArray written = designfile::encode(*contents);
    FUZZ_CHECK(written == designfile::encode(*contents));
    QString again;
    const std::optional<designfile::Contents> reread = designfile::decode(written, again);
    FUZZ_CHECK(reread && again.isEmpty());
    FUZZ_CHECK(*reread == *contents);
    return 0;
}
