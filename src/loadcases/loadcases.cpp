#include "loadcases/loadcases.h"

#include "calc/numbers.h"
#include "designfile/designfile.h"

#include <QStringDecoder>

#include <iterator>

namespace loadcases {
namespace {

constexpr int ColumnCount = int(std::size(Columns));

// One row of a table: its cells and its number, the first row of the text being 1.
struct Record
{
    int row = 0;
    QStringList cells;
};

bool isBlank(const Record &record)
{
    for (const QString &cell : record.cells)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

// The rows of a text, cells split at `separator`. A cell that begins with a quote runs to the
// closing quote, a doubled quote standing for one, and may hold separators and line breaks. A
// row ends at CR, LF or CR LF.
std::optional<std::vector<Record>> split(QStringView text, QChar separator, QString &error)
{
    std::vector<Record> records;
    Record record{1, {QString()}};
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        const int next = record.row + 1;
        records.push_back(std::move(record));
        record = Record{next, {QString()}};
    };
    while (i < n) {
        const QChar c = text[i];
        if (c == u'"' && record.cells.back().isEmpty()) {
            ++i;
            for (;;) {
                if (i == n) {
                    error = QStringLiteral("row %1: a quote is not closed").arg(record.row);
                    return std::nullopt;
                }
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        record.cells.back() += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                record.cells.back() += text[i++];
            }
            continue;
        }
        if (c == separator) {
            record.cells.append(QString());
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
        } else {
            record.cells.back() += c;
        }
        ++i;
    }
    if (record.cells.size() > 1 || !record.cells.back().isEmpty())
        endRecord();
    return records;
}

// A cell as an error message quotes it: on one line (its line breaks and tabs written \n, \r,
// \t, other characters no line holds as U+FFFD) and cut after 40 characters.
QString quoted(const QString &text)
{
    constexpr qsizetype MaxShown = 40;
    QString shown;
    for (const QChar c : text.left(MaxShown)) {
        if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else if (designfile::isOneLine(QString(c)))
            shown += c;
        else
            shown += QChar::ReplacementCharacter;
    }
    if (text.size() > MaxShown)
        shown += u'…';
    return u'\'' + shown + u'\'';
}

// A header's column names in the order of Columns; what is wrong with it in `error`.
std::optional<std::vector<int>> headerColumns(const Record &header, QString &error)
{
    std::vector<int> columns;
    bool seen[ColumnCount] = {};
    for (const QString &cell : header.cells) {
        const QString name = cell.trimmed().toLower();
        int column = -1;
        for (int i = 0; i < ColumnCount; ++i)
            if (name == QLatin1String(Columns[i]))
                column = i;
        if (column < 0) {
            error = QStringLiteral("row %1: unknown column %2; the columns are name, nsd, v1d, "
                                   "e1 and e2")
                        .arg(header.row)
                        .arg(quoted(cell.trimmed()));
            return std::nullopt;
        }
        if (seen[column]) {
            error = QStringLiteral("row %1: column %2 twice").arg(header.row).arg(quoted(name));
            return std::nullopt;
        }
        seen[column] = true;
        columns.push_back(column);
    }
    return columns;
}

// Whether every cell of the row names a column: the header of a block of cells.
bool looksLikeHeader(const Record &record)
{
    for (const QString &cell : record.cells) {
        const QString name = cell.trimmed().toLower();
        bool known = false;
        for (const char *column : Columns)
            known = known || name == QLatin1String(column);
        if (!known)
            return false;
    }
    return true;
}

// A load's cell: empty is 0.
std::optional<double> load(const QString &cell, QString &why)
{
    const std::string text = cell.toStdString();
    const calc::ReadNumber read = calc::readNumber(text);
    switch (read.reading) {
    case calc::Reading::Number:
        return read.value;
    case calc::Reading::Blank:
        return 0.0;
    case calc::Reading::NotNumber:
        why = QStringLiteral("not a number: %1").arg(quoted(cell.trimmed()));
        return std::nullopt;
    case calc::Reading::Ambiguous: {
        const calc::AmbiguousReadings r = calc::ambiguousReadings(text);
        why =
            QStringLiteral("%1 can be read as %2 or as %3: write %4 if the comma separates "
                           "thousands, or %5 if it separates decimals")
                .arg(quoted(cell.trimmed()), QString::fromStdString(calc::writtenForm(r.thousands)),
                     QString::fromStdString(calc::writtenForm(r.decimals)),
                     QString::fromStdString(r.thousandsText), QString::fromStdString(r.pointText));
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// The cases of the rows after the header, each row's cells in `columns`.
std::optional<std::vector<design::LoadCase>>
readRows(std::span<const Record> rows, const std::vector<int> &columns, QString &error)
{
    std::vector<design::LoadCase> cases;
    for (const Record &record : rows) {
        if (isBlank(record))
            continue;
        const auto refuse = [&](const QString &why) {
            error = QStringLiteral("row %1: %2").arg(record.row).arg(why);
            return std::nullopt;
        };
        for (qsizetype i = qsizetype(columns.size()); i < record.cells.size(); ++i)
            if (!record.cells[i].trimmed().isEmpty())
                return refuse(QStringLiteral("%1 cells, the table has %2 columns")
                                  .arg(record.cells.size())
                                  .arg(columns.size()));
        if (int(cases.size()) == MaxCases)
            return refuse(QStringLiteral("more than %1 cases").arg(MaxCases));
        design::LoadCase c;
        double calc::CaseLoads::*const members[] = {nullptr, &calc::CaseLoads::NSd,
                                                    &calc::CaseLoads::V1d, &calc::CaseLoads::e1,
                                                    &calc::CaseLoads::e2};
        for (std::size_t i = 0; i < columns.size() && qsizetype(i) < record.cells.size(); ++i) {
            const QString &cell = record.cells[qsizetype(i)];
            const int column = columns[i];
            if (column == 0) {
                const QString name = cell.trimmed();
                if (!isCaseName(name))
                    return refuse(name.size() > MaxNameLength
                                      ? QStringLiteral("the name is longer than %1 characters")
                                            .arg(MaxNameLength)
                                      : QStringLiteral("the name is not one line of text"));
                c.name = name.toStdString();
                continue;
            }
            QString why;
            const std::optional<double> v = load(cell, why);
            if (!v)
                return refuse(QLatin1String(Columns[column]) + QStringLiteral(": ") + why);
            c.loads.*members[column] = *v;
        }
        cases.push_back(std::move(c));
    }
    if (cases.empty()) {
        error = QStringLiteral("no cases");
        return std::nullopt;
    }
    return cases;
}

std::size_t firstNonBlank(const std::vector<Record> &records)
{
    std::size_t i = 0;
    while (i < records.size() && isBlank(records[i]))
        ++i;
    return i;
}

QString cell(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString table(std::span<const design::LoadCase> cases, QChar separator, QStringView lineEnd)
{
    QString out;
    for (int i = 0; i < ColumnCount; ++i)
        out += (i ? QString(separator) : QString()) + QLatin1String(Columns[i]);
    out += lineEnd;
    for (const design::LoadCase &c : cases) {
        out += cell(QString::fromStdString(c.name), separator);
        for (const double v : {c.loads.NSd, c.loads.V1d, c.loads.e1, c.loads.e2})
            out += separator + QString::fromStdString(calc::exactForm(v));
        out += lineEnd;
    }
    return out;
}

} // namespace

bool isCaseName(const QString &name)
{
    return name.size() <= MaxNameLength && designfile::isOneLine(name);
}

std::optional<std::vector<design::LoadCase>> fromCsv(const QByteArray &bytes, QString &error)
{
    if (bytes.size() > MaxFileSize) {
        error = QStringLiteral("larger than %1 KiB").arg(MaxFileSize / 1024);
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        error = QStringLiteral("not UTF-8 text");
        return std::nullopt;
    }
    const std::optional<std::vector<Record>> records = split(text, u',', error);
    if (!records)
        return std::nullopt;
    const std::size_t header = firstNonBlank(*records);
    if (header == records->size()) {
        error = QStringLiteral("no header row");
        return std::nullopt;
    }
    const std::optional<std::vector<int>> columns = headerColumns((*records)[header], error);
    if (!columns)
        return std::nullopt;
    return readRows(std::span(*records).subspan(header + 1), *columns, error);
}

std::optional<std::vector<design::LoadCase>> fromCells(const QString &text, QString &error)
{
    const std::optional<std::vector<Record>> records = split(text, u'\t', error);
    if (!records)
        return std::nullopt;
    std::size_t first = firstNonBlank(*records);
    std::vector<int> columns{0, 1, 2, 3, 4};
    if (first < records->size() && looksLikeHeader((*records)[first])) {
        const std::optional<std::vector<int>> named = headerColumns((*records)[first], error);
        if (!named)
            return std::nullopt;
        columns = *named;
        ++first;
    }
    return readRows(std::span(*records).subspan(first), columns, error);
}

QByteArray toCsv(std::span<const design::LoadCase> cases)
{
    return table(cases, u',', u"\r\n").toUtf8();
}

QString toCells(std::span<const design::LoadCase> cases)
{
    return table(cases, u'\t', u"\n");
}

} // namespace loadcases
