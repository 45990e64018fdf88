#include "lang/languagefile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace lang {
namespace {

constexpr qint64 MaxLineBytes = 4096;

QStringDecoder decoderFor(Language language, bool utf8)
{
    if (utf8)
        return QStringDecoder(QStringDecoder::Utf8);
    QStringDecoder decoder(language == Language::Russian ? "windows-1251" : "windows-1252");
    if (!decoder.isValid()) // a Qt built without the code pages
        return QStringDecoder(QStringDecoder::Latin1);
    return decoder;
}

} // namespace

QString fileName(Language language)
{
    switch (language) {
    case Language::Russian:
        return QStringLiteral("rus.txt");
    case Language::English:
        return QStringLiteral("english.txt");
    case Language::Finnish:
        break;
    }
    return QStringLiteral("fin.txt");
}

QString filePath(const QString &folder, Language language)
{
    // An empty folder would name the current directory, which is not the program's.
    if (folder.isEmpty())
        return QString();
    const QString path = QDir(folder).filePath(fileName(language));
    return QFile::exists(path) ? path : QString();
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

std::optional<QStringList> readLines(const QString &path, Language language)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    // Read byte by byte through Qt's buffer: a line ends at CR, LF or CR LF, and only the first
    // 4 KiB of a line are kept, so neither a huge nor a binary file can exhaust memory.
    QList<QByteArray> raw;
    QByteArray line;
    char c;
    bool previousWasCr = false;
    while (raw.size() < LineCount && file.getChar(&c)) {
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
