#include "designfile/designfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace designfile {
namespace {

QString quotedKey(std::string_view key)
{
    return u'"' + QString::fromLatin1(key.data(), qsizetype(key.size())) + u'"';
}

// A whole number from `low` to `high`, or nothing.
std::optional<int> wholeNumber(const QJsonValue &value, int low, int high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (d != std::floor(d) || d < low || d > high)
        return std::nullopt;
    return int(d);
}

using texts::Text;

QString say(texts::Language language, Text key)
{
    return QString::fromUtf8(texts::text(language, key));
}

// What a value holds, for a message: "true", "7", "a list".
QString described(const QJsonValue &value, texts::Language language)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QJsonValue::String:
        return say(language, Text::FileValueText);
    case QJsonValue::Array:
        return say(language, Text::FileValueList);
    case QJsonValue::Object:
        return say(language, Text::FileValueObject);
    case QJsonValue::Undefined:
        break;
    }
    return say(language, Text::FileValueMissing);
}

// The one-line text of a field, at most MaxTextLength long; else what is wrong with `value`, the
// input `key` of the design (or, `ofCase`, of a load case).
QString fieldTextProblem(const QJsonValue &value, std::string_view key, bool ofCase,
                         texts::Language language)
{
    if (!value.isString() || !isOneLine(value.toString()))
        return say(language, ofCase ? Text::FileBadLoad : Text::FileBadInput)
            .arg(quotedKey(key), value.isString() ? say(language, Text::FileSeveralLines)
                                                  : described(value, language));
    if (value.toString().size() > MaxTextLength)
        return say(language, ofCase ? Text::FileLongLoad : Text::FileLongInput)
            .arg(quotedKey(key))
            .arg(value.toString().size())
            .arg(MaxTextLength);
    return {};
}

} // namespace

// No line break, tab or other control character: also not the next-line character (U+0085) or
// the line and paragraph separators (U+2028, U+2029), at which a text is drawn as several lines.
// Nor a zero-width no-break space (U+FEFF), which Qt's JSON reader drops at the start of a text,
// nor half of a surrogate pair, which cannot be written as UTF-8: the text would not read back
// as it was written.
bool isOneLine(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.unicode() == 0x85 ||
            c.unicode() == 0x2028 || c.unicode() == 0x2029 || c.unicode() == 0xfeff)
            return false;
    return text.isValidUtf16();
}

QByteArray encode(const Contents &contents)
{
    // Written by hand rather than through QJsonObject, which sorts the keys: the format name
    // and version come first, where a reader of the file looks.
    const auto string = [](const QString &text) {
        return QJsonDocument(QJsonObject{{QStringLiteral("s"), text}})
            .toJson(QJsonDocument::Compact)
            .sliced(5)
            .chopped(1); // {"s":"..."} -> "..."
    };
    const auto keyOf = [](int input) {
        const std::string_view key = design::Inputs[input].key;
        return QByteArray(key.data(), qsizetype(key.size()));
    };
    const bool withCases = !contents.cases.isEmpty();
    QList<int> inputs;
    for (int i = 0; i < design::InputCount; ++i)
        if (!withCases || !design::isLoad(design::Inputs[i]))
            inputs.append(i);
    QByteArray out = "{\n";
    out += "    \"format\": \"" + QByteArray(Format) + "\",\n";
    out += "    \"version\": " + QByteArray(withCases ? "2" : "1") + ",\n";
    out += "    \"arrangement\": " + QByteArray::number(contents.arrangement) + ",\n";
    out += "    \"cracked\": " + QByteArray(contents.cracked ? "true" : "false") + ",\n";
    out += "    \"inputs\": {\n";
    for (const int i : inputs)
        out += "        \"" + keyOf(i) + "\": " + string(contents.texts[std::size_t(i)]) +
               (i != inputs.last() ? ",\n" : "\n");
    out += "    },\n";
    if (withCases) {
        out += "    \"cases\": [\n";
        for (qsizetype c = 0; c < contents.cases.size(); ++c) {
            const CaseTexts &loadCase = contents.cases[c];
            out += "        {\"name\": " + string(loadCase.name);
            for (int l = 0; l < LoadCount; ++l)
                out +=
                    ", \"" + keyOf(LoadInputs[l]) + "\": " + string(loadCase.loads[std::size_t(l)]);
            out += c + 1 < contents.cases.size() ? "},\n" : "}\n";
        }
        out += "    ],\n";
    }
    out += "    \"project\": " + string(contents.project) + "\n";
    out += "}\n";
    return out;
}

std::optional<Contents> decode(const QByteArray &bytes, QString &error, texts::Language language)
{
    const auto t = [language](Text key) { return say(language, key); };
    QByteArrayView text = bytes;
    if (text.startsWith("\xef\xbb\xbf")) // a byte order mark, as some editors write
        text = text.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(text));
    if (utf8.hasError()) {
        error = t(Text::FileNotUtf8);
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(text.toByteArray(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = t(Text::FileNotJson).arg(parse.errorString()).arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = t(Text::FileNotObject);
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    if (object.value(QLatin1String("format")) != QLatin1String(Format)) {
        error = t(Text::FileNoFormat).arg(QLatin1String(Format));
        return std::nullopt;
    }
    const QJsonValue version = object.value(QLatin1String("version"));
    const std::optional<int> v = wholeNumber(version, 1, std::numeric_limits<int>::max());
    if (!v) {
        error = t(Text::FileBadVersion).arg(described(version, language));
        return std::nullopt;
    }
    if (*v > Version) {
        error = t(Text::FileNewerVersion).arg(*v).arg(Version);
        return std::nullopt;
    }

    Contents contents;
    const QJsonValue arrangement = object.value(QLatin1String("arrangement"));
    const std::optional<int> a = wholeNumber(arrangement, 1, 7);
    if (!a) {
        error = t(Text::FileBadArrangement).arg(described(arrangement, language));
        return std::nullopt;
    }
    contents.arrangement = *a;
    const QJsonValue cracked = object.value(QLatin1String("cracked"));
    if (!cracked.isBool()) {
        error = t(Text::FileBadCracked).arg(described(cracked, language));
        return std::nullopt;
    }
    contents.cracked = cracked.toBool();

    const QJsonValue inputs = object.value(QLatin1String("inputs"));
    if (!inputs.isObject()) {
        error = t(Text::FileBadInputs).arg(described(inputs, language));
        return std::nullopt;
    }
    for (int i = 0; i < design::InputCount; ++i) {
        if (*v >= 2 && design::isLoad(design::Inputs[i]))
            continue; // the cases hold the loads
        const std::string_view key = design::Inputs[i].key;
        const QJsonValue value =
            inputs.toObject().value(QLatin1String(key.data(), qsizetype(key.size())));
        if (value.isUndefined())
            continue; // an empty field
        if (const QString problem = fieldTextProblem(value, key, false, language);
            !problem.isEmpty()) {
            error = problem;
            return std::nullopt;
        }
        contents.texts[std::size_t(i)] = value.toString();
    }

    if (*v >= 2) {
        const QJsonValue cases = object.value(QLatin1String("cases"));
        if (!cases.isArray() || cases.toArray().isEmpty() || cases.toArray().size() > MaxCases) {
            error = t(Text::FileBadCases)
                        .arg(cases.isArray() ? t(Text::FileCaseCount).arg(cases.toArray().size())
                                             : described(cases, language))
                        .arg(MaxCases);
            return std::nullopt;
        }
        const QJsonArray list = cases.toArray();
        for (qsizetype c = 0; c < list.size(); ++c) {
            const auto fail = [&](const QString &what) {
                error = t(Text::FileBadCase).arg(c + 1).arg(what);
                return std::nullopt;
            };
            if (!list[c].isObject())
                return fail(t(Text::FileCaseNotObject).arg(described(list[c], language)));
            const QJsonObject item = list[c].toObject();
            CaseTexts loadCase;
            const QJsonValue name = item.value(QLatin1String("name"));
            if (!name.isUndefined()) {
                if (!name.isString() || !isOneLine(name.toString()))
                    return fail(t(Text::FileBadCaseName)
                                    .arg(name.isString() ? t(Text::FileSeveralLines)
                                                         : described(name, language)));
                loadCase.name = name.toString();
            }
            for (int l = 0; l < LoadCount; ++l) {
                const std::string_view key = design::Inputs[LoadInputs[l]].key;
                const QJsonValue value =
                    item.value(QLatin1String(key.data(), qsizetype(key.size())));
                if (value.isUndefined())
                    continue; // an empty field
                if (const QString problem = fieldTextProblem(value, key, true, language);
                    !problem.isEmpty())
                    return fail(problem);
                loadCase.loads[std::size_t(l)] = value.toString();
            }
            contents.cases.append(loadCase);
        }
    }

    const QJsonValue project = object.value(QLatin1String("project"));
    if (!project.isUndefined()) {
        if (!project.isString() || !isOneLine(project.toString())) {
            error = t(Text::FileBadProject)
                        .arg(project.isString() ? t(Text::FileSeveralLines)
                                                : described(project, language));
            return std::nullopt;
        }
        contents.project = project.toString();
    }
    return contents;
}

std::optional<Contents> read(const QString &path, QString &error, texts::Language language)
{
    const auto t = [language](Text key) { return say(language, key); };
    const auto fail = [&](const QString &why) {
        error = t(Text::FileCannotOpen).arg(path, why);
        return std::nullopt;
    };
    // Opened without waiting (a named pipe would block) and looked at as opened: what is read
    // is what was checked.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(t(Text::FileNotRegular));
    }
    if (status.st_size > MaxSize || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        if (!file.isOpen())
            ::close(fd);
        return fail(status.st_size > MaxSize ? t(Text::FileTooLarge) : file.errorString());
    }
    const QByteArray bytes = file.read(MaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > MaxSize) // it grew after it was looked at
        return fail(t(Text::FileTooLarge));
    QString why;
    std::optional<Contents> contents = decode(bytes, why, language);
    if (!contents)
        return fail(why);
    return contents;
}

QString write(const QString &path, const Contents &contents, const QList<outfile::Input> &inputs,
              texts::Language language)
{
    const auto t = [language](Text key) { return say(language, key); };
    // A file the reader refuses, or reads as another design, would be a design saved and lost.
    for (int i = 0; i < design::InputCount; ++i)
        if (!isOneLine(contents.texts[std::size_t(i)]))
            return t(Text::FileUnwritableInput).arg(path, quotedKey(design::Inputs[i].key));
    for (qsizetype c = 0; c < contents.cases.size(); ++c) {
        const CaseTexts &loadCase = contents.cases[c];
        bool oneLine = isOneLine(loadCase.name);
        for (const QString &text : loadCase.loads)
            oneLine = oneLine && isOneLine(text);
        if (!oneLine)
            return t(Text::FileUnwritableCase).arg(path).arg(c + 1);
    }
    if (contents.cases.size() > MaxCases)
        return t(Text::FileTooManyCases).arg(path).arg(contents.cases.size()).arg(MaxCases);
    Contents kept = contents; // with cases, the load inputs are not written
    if (!kept.cases.isEmpty())
        for (const int i : LoadInputs)
            kept.texts[std::size_t(i)].clear();
    const QByteArray bytes = encode(contents);
    QString unreadable;
    if (const std::optional<Contents> back = decode(bytes, unreadable, language); back != kept)
        return t(Text::FileCannotWrite)
            .arg(path, unreadable.isEmpty() ? t(Text::FileNotReadBack) : unreadable);
    if (bytes.size() > MaxSize)
        return t(Text::FileWouldBeTooLarge).arg(path);
    outfile::OutputFile file(path, inputs);
    if (file.start()) {
        if (file.device()->write(bytes) == bytes.size() && file.finish())
            return {};
    }
    return t(Text::FileCannotWrite).arg(path, file.failure());
}

} // namespace designfile
