#include "lang/languagefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lang {
namespace {

constexpr qsizetype MaxLineBytes = 4096;
// The most of a file that can matter: a byte-order mark and 34 lines of 4 KiB, each with CR LF.
constexpr qsizetype MaxFileBytes = 3 + LineCount * (MaxLineBytes + 2);

// The first MaxFileBytes of the file, or nothing when it is not a regular file or cannot be
// read. The open does not wait: a FIFO, a device or a socket under the file's name is refused
// rather than waited on or read without end.
std::optional<QByteArray> readHead(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> head;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        QByteArray bytes(MaxFileBytes, Qt::Uninitialized);
        qsizetype size = 0;
        while (size < MaxFileBytes) {
            const ssize_t n = ::read(fd, bytes.data() + size, MaxFileBytes - size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    size = -1;
                break;
            }
            size += n;
        }
        if (size >= 0)
            head = bytes.first(size);
    }
    ::close(fd);
    return head;
}

QStringDecoder decoderFor(Language language, bool utf8)
{
    if (utf8) // each line on its own: a sequence cut at a line end does not run into the next
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QStringDecoder decoder(row(language).encoding);
    if (!decoder.isValid()) // a Qt built without the code pages
        return QStringDecoder(QStringDecoder::Latin1);
    return decoder;
}

} // namespace

QString fileName(Language language)
{
    return QString::fromLatin1(row(language).file);
}

QString filePath(const QString &folder, Language language)
{
    // An empty folder would name the current directory, which is not the program's.
    if (folder.isEmpty())
        return QString();
    // Only a regular file counts: a FIFO, a device or a folder under the name is no file of
    // the language (and the installed one is looked for instead).
    const QString path = QDir(folder).filePath(fileName(language));
    return QFileInfo(path).isFile() ? path : QString();
}

QString findFile(const QString &programFolder, Language language)
{
    const QString beside = filePath(programFolder, language);
    if (!beside.isEmpty() || programFolder.isEmpty())
        return beside;
    return filePath(
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(KIILA_DATA_FROM_BIN))),
        language);
}

QStringList findFiles(const QString &programFolder)
{
    QStringList files;
    for (const LanguageRow &language : Languages)
        if (const QString path = findFile(programFolder, language.language); !path.isEmpty())
            files << path;
    return files;
}

std::optional<QStringList> readLines(const QString &path, Language language)
{
    const std::optional<QByteArray> head = readHead(path);
    if (!head)
        return std::nullopt;

    // A line ends at CR, LF or CR LF, and only the first 4 KiB of a line are kept.
    QList<QByteArray> raw;
    QByteArray line;
    bool previousWasCr = false;
    for (const char c : *head) {
        if (raw.size() == LineCount)
            break;
        if (c == '\n' && previousWasCr) {
            previousWasCr = false;
            continue;
        }
        previousWasCr = c == '\r';
        if (c == '\r' || c == '\n') {
            raw << line;
            line.clear();
            continue;
        }
        if (line.size() < MaxLineBytes)
            line += c;
    }
    if (!line.isEmpty() && raw.size() < LineCount)
        raw << line; // the last line without an end mark

    const bool utf8 = !raw.isEmpty() && raw.first().startsWith("\xEF\xBB\xBF");
    if (utf8)
        raw.first().remove(0, 3);
    QStringDecoder decoder = decoderFor(language, utf8);
    QStringList lines;
    for (const QByteArray &bytes : std::as_const(raw))
        lines << QString(decoder.decode(bytes));
    return lines;
}

void applyToTexts(const QStringList &lines, calc::Texts &texts)
{
    auto put = [&lines](int lineNo, std::string &text) {
        if (lineNo <= lines.size())
            text = lines.at(lineNo - 1).toStdString();
    };
    put(9, texts.tapaus7Caption);
    put(23, texts.advice);
    put(24, texts.fragAnkkurien);
    put(25, texts.fragArvoC);
    put(26, texts.fragArvoS);
    put(27, texts.fragKasvatettava);
    put(28, texts.fragAnkkuriryhman);
    put(29, texts.fragVetoLeikkaus);
    put(30, texts.fragLeikkaus);
    put(31, texts.fragEpakeskinen);
    put(32, texts.fragKpl);
    put(33, texts.fragOhje);
    put(34, texts.fragKiinnityslevy);
}

} // namespace lang
