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

// What a value holds, for a message: "the text \"7\"", "true", "a list".
QString described(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QJsonValue::String:
        return QStringLiteral("a text");
    case QJsonValue::Array:
        return QStringLiteral("a list");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("missing");
}

bool isLoad(int input)
{
    return std::find(std::begin(LoadInputs), std::end(LoadInputs), input) != std::end(LoadInputs);
}

const QString SeveralLines =
    QStringLiteral("a text of more than one line or a character no field holds");

// The one-line text of a field, at most MaxTextLength long; else what is wrong with `value`.
QString fieldTextProblem(const QJsonValue &value)
{
    if (!value.isString() || !isOneLine(value.toString()))
        return QStringLiteral("%1, not the one-line text of a field")
            .arg(value.isString() ? SeveralLines : described(value));
    if (value.toString().size() > MaxTextLength)
        return QStringLiteral("a text of %1 characters, longer than the %2 a field holds")
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
        if (!withCases || !isLoad(i))
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

std::optional<Contents> decode(const QByteArray &bytes, QString &error)
{
    QByteArrayView text = bytes;
    if (text.startsWith("\xef\xbb\xbf")) // a byte order mark, as some editors write
        text = text.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(text));
    if (utf8.hasError()) {
        error = QStringLiteral("it is not UTF-8 text");
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(text.toByteArray(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("it is not JSON (%1 at byte %2)")
                    .arg(parse.errorString())
                    .arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = QStringLiteral("it is not a Kiila design (not a JSON object)");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    if (object.value(QLatin1String("format")) != QLatin1String(Format)) {
        error = QStringLiteral("it is not a Kiila design (no \"format\": \"%1\")")
                    .arg(QLatin1String(Format));
        return std::nullopt;
    }
    const QJsonValue version = object.value(QLatin1String("version"));
    const std::optional<int> v = wholeNumber(version, 1, std::numeric_limits<int>::max());
    if (!v) {
        error = QStringLiteral("the \"version\" is %1, not a whole number from 1")
                    .arg(described(version));
        return std::nullopt;
    }
    if (*v > Version) {
        error = QStringLiteral("it is of version %1, written by a newer Kiila; this one reads "
                               "version %2")
                    .arg(*v)
                    .arg(Version);
        return std::nullopt;
    }

    Contents contents;
    const QJsonValue arrangement = object.value(QLatin1String("arrangement"));
    const std::optional<int> a = wholeNumber(arrangement, 1, 7);
    if (!a) {
        error = QStringLiteral("the \"arrangement\" is %1, not 1 to 7").arg(described(arrangement));
        return std::nullopt;
    }
    contents.arrangement = *a;
    const QJsonValue cracked = object.value(QLatin1String("cracked"));
    if (!cracked.isBool()) {
        error = QStringLiteral("\"cracked\" is %1, not true or false").arg(described(cracked));
        return std::nullopt;
    }
    contents.cracked = cracked.toBool();

    const QJsonValue inputs = object.value(QLatin1String("inputs"));
    if (!inputs.isObject()) {
        error = QStringLiteral("\"inputs\" is %1, not an object").arg(described(inputs));
        return std::nullopt;
    }
    for (int i = 0; i < design::InputCount; ++i) {
        if (*v >= 2 && isLoad(i))
            continue; // the cases hold the loads
        const std::string_view key = design::Inputs[i].key;
        const QJsonValue value =
            inputs.toObject().value(QLatin1String(key.data(), qsizetype(key.size())));
        if (value.isUndefined())
            continue; // an empty field
        if (const QString problem = fieldTextProblem(value); !problem.isEmpty()) {
            error = QStringLiteral("the input %1 is %2").arg(quotedKey(key), problem);
            return std::nullopt;
        }
        contents.texts[std::size_t(i)] = value.toString();
    }

    if (*v >= 2) {
        const QJsonValue cases = object.value(QLatin1String("cases"));
        if (!cases.isArray() || cases.toArray().isEmpty() || cases.toArray().size() > MaxCases) {
            error = QStringLiteral("\"cases\" is %1, not a list of 1 to %2 cases")
                        .arg(cases.isArray()
                                 ? QStringLiteral("a list of %1").arg(cases.toArray().size())
                                 : described(cases))
                        .arg(MaxCases);
            return std::nullopt;
        }
        const QJsonArray list = cases.toArray();
        for (qsizetype c = 0; c < list.size(); ++c) {
            const auto fail = [&](const QString &what) {
                error = QStringLiteral("case %1 of \"cases\": %2").arg(c + 1).arg(what);
                return std::nullopt;
            };
            if (!list[c].isObject())
                return fail(QStringLiteral("it is %1, not an object").arg(described(list[c])));
            const QJsonObject item = list[c].toObject();
            CaseTexts loadCase;
            const QJsonValue name = item.value(QLatin1String("name"));
            if (!name.isUndefined()) {
                if (!name.isString() || !isOneLine(name.toString()))
                    return fail(QStringLiteral("the \"name\" is %1, not a one-line text")
                                    .arg(name.isString() ? SeveralLines : described(name)));
                loadCase.name = name.toString();
            }
            for (int l = 0; l < LoadCount; ++l) {
                const std::string_view key = design::Inputs[LoadInputs[l]].key;
                const QJsonValue value =
                    item.value(QLatin1String(key.data(), qsizetype(key.size())));
                if (value.isUndefined())
                    continue; // an empty field
                if (const QString problem = fieldTextProblem(value); !problem.isEmpty())
                    return fail(QStringLiteral("the %1 is %2").arg(quotedKey(key), problem));
                loadCase.loads[std::size_t(l)] = value.toString();
            }
            contents.cases.append(loadCase);
        }
    }

    const QJsonValue project = object.value(QLatin1String("project"));
    if (!project.isUndefined()) {
        if (!project.isString() || !isOneLine(project.toString())) {
            error = QStringLiteral("the \"project\" is %1, not a one-line text")
                        .arg(project.isString()
                                 ? QStringLiteral(
                                       "a text of more than one line or a character no field holds")
                                 : described(project));
            return std::nullopt;
        }
        contents.project = project.toString();
    }
    return contents;
}

std::optional<Contents> read(const QString &path, QString &error)
{
    const auto fail = [&](const QString &why) {
        error = QStringLiteral("cannot open the design '%1': %2").arg(path, why);
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
        return fail(QStringLiteral("it is not a regular file"));
    }
    if (status.st_size > MaxSize || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        if (!file.isOpen())
            ::close(fd);
        return fail(status.st_size > MaxSize ? QStringLiteral("it is larger than 64 KiB")
                                             : file.errorString());
    }
    const QByteArray bytes = file.read(MaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > MaxSize) // it grew after it was looked at
        return fail(QStringLiteral("it is larger than 64 KiB"));
    QString why;
    std::optional<Contents> contents = decode(bytes, why);
    if (!contents)
        return fail(why);
    return contents;
}

QString write(const QString &path, const Contents &contents, const QList<outfile::Input> &inputs)
{
    // A file the reader refuses, or reads as another design, would be a design saved and lost.
    for (int i = 0; i < design::InputCount; ++i)
        if (!isOneLine(contents.texts[std::size_t(i)]))
            return QStringLiteral("cannot write '%1': the input %2 holds a line break or a "
                                  "character a design file cannot keep")
                .arg(path, quotedKey(design::Inputs[i].key));
    for (qsizetype c = 0; c < contents.cases.size(); ++c) {
        const CaseTexts &loadCase = contents.cases[c];
        bool oneLine = isOneLine(loadCase.name);
        for (const QString &text : loadCase.loads)
            oneLine = oneLine && isOneLine(text);
        if (!oneLine)
            return QStringLiteral("cannot write '%1': case %2 holds a line break or a character "
                                  "a design file cannot keep")
                .arg(path)
                .arg(c + 1);
    }
    if (contents.cases.size() > MaxCases)
        return QStringLiteral("cannot write '%1': the design has %2 load cases, more than the %3 "
                              "a design file keeps")
            .arg(path)
            .arg(contents.cases.size())
            .arg(MaxCases);
    Contents kept = contents; // with cases, the load inputs are not written
    if (!kept.cases.isEmpty())
        for (const int i : LoadInputs)
            kept.texts[std::size_t(i)].clear();
    const QByteArray bytes = encode(contents);
    QString unreadable;
    if (const std::optional<Contents> back = decode(bytes, unreadable); back != kept)
        return QStringLiteral("cannot write '%1': %2")
            .arg(path, unreadable.isEmpty()
                           ? QStringLiteral("the design would not read back as it is")
                           : unreadable);
    if (bytes.size() > MaxSize)
        return QStringLiteral("cannot write '%1': the design would be larger than 64 KiB, "
                              "which no reader opens")
            .arg(path);
    outfile::OutputFile file(path, inputs);
    if (file.start()) {
        if (file.device()->write(bytes) == bytes.size() && file.finish())
            return {};
    }
    return QStringLiteral("cannot write '%1': %2").arg(path, file.failure());
}

} // namespace designfile
