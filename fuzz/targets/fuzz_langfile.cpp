// The language-file reader on any file: at most 34 lines of at most 4 KiB each, in any of the
// three code pages, and the calculation composing its texts from whatever the lines hold.

#include "calc/calc.h"
#include "check.h"
#include "lang/languagefile.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// One file for the whole run, rewritten for each input and removed at the end.
char fileName[] = "/tmp/kiila-fuzz-langfile-XXXXXX";

QString filePath()
{
    static const bool made = [] {
        const int fd = ::mkstemp(fileName);
        FUZZ_CHECK(fd >= 0);
        ::close(fd);
        std::atexit([] { ::unlink(fileName); });
        return true;
    }();
    (void)made;
    return QString::fromLocal8Bit(fileName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    {
        QFile file(filePath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    for (const lang::Language language :
         {lang::Language::English, lang::Language::Finnish, lang::Language::Russian}) {
        const std::optional<QStringList> lines = lang::readLines(filePath(), language);
        FUZZ_CHECK(lines.has_value());
        FUZZ_CHECK(lines->size() <= lang::LineCount);
        for (const QString &line : *lines) {
            // One character per byte in the code pages; UTF-8 gives no more than its bytes.
            FUZZ_CHECK(line.size() <= 4096);
            FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        }
        calc::Texts texts;
        lang::applyToTexts(*lines, texts);
        // A distance below the minimum composes a message of the fragments.
        const calc::Result stop = calc::Mitoitus({.C1 = 1, .C2 = 1}, 7, calc::Cracked, texts);
        FUZZ_CHECK(stop.outcome == calc::Outcome::Stopped);
    }
    return 0;
}
