#include "cli/writer.h"

#include "calc/numbers.h"
#include "cli/csv.h"
#include "cli/details.h"
#include "cli/json.h"
#include "cli/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cli {

std::string number(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string sizeOutcomeName(calc::SizeOutcome outcome)
{
    switch (outcome) {
    case calc::SizeOutcome::Chosen:
        return "chosen";
    case calc::SizeOutcome::Tension:
        return "tension";
    case calc::SizeOutcome::Shear:
        return "shear";
    case calc::SizeOutcome::Eccentric:
        break;
    }
    return "eccentric";
}

std::string checkKindName(calc::CheckKind kind)
{
    switch (kind) {
    case calc::CheckKind::Tension:
        return "tension";
    case calc::CheckKind::Shear:
        return "shear";
    case calc::CheckKind::Eccentric:
        break;
    }
    return "eccentric";
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : validUtf8(text)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

namespace {

std::string sizeName(int sizeNo)
{
    return "M" + number(calc::SizeTable[sizeNo - 1].dNom);
}

std::string_view outcomeName(calc::Outcome outcome)
{
    switch (outcome) {
    case calc::Outcome::Chosen:
        return "chosen";
    case calc::Outcome::Stopped:
        return "stopped";
    case calc::Outcome::Advice:
        break;
    }
    return "advice";
}

// The readable summary of a design.

std::string fixed(const std::optional<double> &value)
{
    return value ? calc::formatFixed2(*value) : "-";
}

// Three decimals; a huge value in the general form rather than in hundreds of digits.
std::string ratio(const std::optional<double> &value)
{
    if (!value)
        return "-";
    return std::fabs(*value) < 1e15 ? calc::formatFixed(*value, 3) : calc::formatGeneral(*value);
}

// CR LF of the message texts as plain line ends.
std::string plainLines(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

// A title without the blanks the language file puts around it (" Guidance ").
std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "k NAME": a case as the summary names it, numbered from 1.
std::string caseName(const Design &design, int index)
{
    return std::to_string(index + 1) + " " + design.cases[std::size_t(index)].name;
}

// Each case's loads and, per size, the utilisation of its checks (the highest), why it fails
// there and a star where it governs the size.
std::string casesTable(const Design &design, const calc::CasesResult &cases,
                       texts::Language language)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> heading{texts::text(language, texts::Text::SummaryLoadCase)};
    for (const design::Input &input : design::Inputs)
        if (design::isLoad(input) && design::uses(design.arrangement, input))
            heading.push_back(std::string(input.label));
    for (const calc::CasesAtSize &at : cases.sizes)
        heading.push_back(sizeName(at.sizeNo));
    rows.push_back(heading);
    for (int i = 0; i < int(design.cases.size()); ++i) {
        std::vector<std::string> row{caseName(design, i)};
        const Design withLoads = design::withCase(design, i);
        for (const design::Input &input : design::Inputs)
            if (design::isLoad(input) && design::uses(design.arrangement, input))
                row.push_back(calc::formatGeneral(withLoads.input.*input.value));
        for (const calc::CasesAtSize &at : cases.sizes) {
            const calc::CaseRow &c = at.cases[std::size_t(i)];
            std::string cell = ratio(calc::caseUtilization(c));
            if (c.outcome != calc::SizeOutcome::Chosen)
                cell += " " + std::string(texts::text(language, outcomeCheck(c.outcome)));
            if (at.governingCase == i)
                cell += " *";
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    std::vector<std::size_t> widths(heading.size(), 0);
    for (const std::vector<std::string> &row : rows)
        for (std::size_t k = 0; k < row.size(); ++k)
            widths[k] = std::max(widths[k], texts::length(row[k]) + 2);
    widths[0] = std::max<std::size_t>(widths[0], 22);
    std::string text;
    for (const std::vector<std::string> &row : rows) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k)
            line +=
                texts::padded(row[k], k == 0 ? widths[k] : std::max<std::size_t>(widths[k], 10));
        while (line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}

// With several load cases: the inputs line holds the geometry, the cases their loads, and the
// size table names the case it shows at each size.
std::string summary(const Design &design, const calc::Result &result, texts::Language language,
                    const calc::CasesResult *cases = nullptr)
{
    using texts::Text;
    const auto word = [language](Text key) { return std::string(texts::text(language, key)); };
    std::string text = texts::fill(word(Text::SummaryCase), {std::to_string(design.arrangement)}) +
                       ", " + word(design.cracked ? Text::Cracked : Text::NonCracked) + "\n";
    bool first = true;
    for (const design::Input &input : design::Inputs) {
        if (cases && design::isLoad(input))
            continue;
        text += std::string(first ? "" : ", ") + std::string(input.label) + " ";
        first = false;
        const std::optional<double> value = usedInput(design, input);
        text += value ? calc::formatGeneral(*value) + " " + std::string(input.unit) : "-";
    }
    text += "\n\n";
    if (cases)
        text += casesTable(design, *cases, language) + "\n";

    if (!result.sizes.empty()) {
        // One column per size tried, after the labels, which are at least 22 characters wide.
        const Text labels[] = {Text::SummaryAnchorCapacity, Text::SummaryGroupShear,
                               Text::SummaryEccentric,      Text::SummaryUseTension,
                               Text::SummaryUseShear,       Text::SummaryUseEccentric,
                               Text::SummaryFails};
        std::size_t width = 22;
        for (Text label : labels)
            width = std::max(width, texts::length(word(label)) + 1);
        auto line = [&](std::string label, auto cell) {
            label = texts::padded(std::move(label), width);
            for (const calc::SizeRow &r : result.sizes) {
                std::string c = cell(r);
                c.resize(std::max<std::size_t>(c.size() + 1, 10), ' ');
                label += c;
            }
            while (label.back() == ' ')
                label.pop_back();
            text += label + "\n";
        };
        using Row = calc::SizeRow;
        line("", [](const Row &r) { return sizeName(r.sizeNo); });
        line(word(Text::SummaryAnchorCapacity), [](const Row &r) { return fixed(r.FAnchor); });
        line(word(Text::SummaryGroupShear), [](const Row &r) { return fixed(r.shearCapacity); });
        line(word(Text::SummaryEccentric), [](const Row &r) { return fixed(r.eccentricCapacity); });
        line(word(Text::SummaryUseTension),
             [](const Row &r) { return ratio(r.tensionUtilization); });
        line(word(Text::SummaryUseShear), [](const Row &r) { return ratio(r.shearUtilization); });
        line(word(Text::SummaryUseEccentric),
             [](const Row &r) { return ratio(r.eccentricUtilization); });
        line(word(Text::SummaryFails), [&word](const Row &r) {
            return r.outcome == calc::SizeOutcome::Chosen ? std::string("-")
                                                          : word(outcomeCheck(r.outcome));
        });
        if (cases)
            line(word(Text::SummaryGoverningRow), [&](const Row &r) {
                return std::to_string(calc::caseAtSize(*cases, r.sizeNo) + 1);
            });
        text += "\n";
        // The headings after their labels, in a column of their own.
        const std::pair<Text, const std::optional<std::string> &> headings[] = {
            {Text::SummaryCapacityHeading, result.capacityHeading},
            {Text::SummaryShearHeading, result.shearHeading},
            {Text::SummaryEccentricHeading, result.eccentricHeading}};
        std::size_t headingWidth = 0;
        for (const auto &[label, heading] : headings)
            headingWidth = std::max(headingWidth, texts::length(word(label)) + 1);
        for (const auto &[label, heading] : headings)
            if (heading)
                text += texts::padded(word(label), headingWidth) + *heading + "\n";
        text += "\n";
    }

    switch (result.outcome) {
    case calc::Outcome::Chosen:
        text += result.chosen->anchorText + "\n";
        if (result.chosen->plate)
            text += result.chosen->plateText + "\n";
        break;
    case calc::Outcome::Stopped:
        text += texts::fill(word(Text::SummaryStopped),
                            {sizeName(result.message->sizeNo), result.message->title}) +
                "\n" + plainLines(result.message->text) + "\n";
        break;
    case calc::Outcome::Advice:
        text += result.advice + "\n";
        break;
    }
    if (cases && cases->governingCase)
        text += texts::fill(texts::text(language, texts::Text::SummaryGoverningLine),
                            {caseName(design, *cases->governingCase),
                             std::to_string(*cases->governingCase + 1),
                             std::to_string(cases->caseCount)}) +
                "\n";
    return text;
}

// The working of each size for the loads of the case the Result shows there.
std::string casesDetailsText(const Design &design, const calc::Result &result,
                             const calc::CasesResult &cases, texts::Language language)
{
    std::string text;
    for (const calc::SizeDetails &d : result.details) {
        calc::Result one;
        one.details.push_back(d);
        text +=
            detailsText(design::withCase(design, calc::caseAtSize(cases, d.sizeNo)), one, language);
    }
    return text;
}

class TextWriter : public Writer
{
public:
    using Writer::Writer;
    void design(const Design &design, const calc::Result &result) override
    {
        const std::string text = summary(design, result, language());
        line(details() ? text + detailsText(design, result, language()) : text);
    }
    void cases(const Design &design, const calc::Result &result,
               const calc::CasesResult &cases) override
    {
        line(details() ? summary(design, result, language(), &cases) +
                             casesDetailsText(design, result, cases, language())
                       : summary(design, result, language(), &cases));
    }
    void error(const FailedRow &row) override
    {
        line("row " + std::to_string(row.row) + ": " + std::string(row.error));
    }
};

// JSON: one object a line, for a design or for a row that failed.

std::string jsonNumber(const std::optional<double> &value)
{
    return value ? number(*value) : "null";
}

// Each case's loads and its outcome and utilisations at every size that reached the capacity.
std::string jsonCases(const Design &design, const calc::CasesResult &cases)
{
    std::string list = "[";
    for (int i = 0; i < int(design.cases.size()); ++i) {
        if (list.size() > 1)
            list += ", ";
        const Design withLoads = design::withCase(design, i);
        JsonObject c;
        c.add("case", std::to_string(i + 1))
            .add("name", jsonString(design.cases[std::size_t(i)].name));
        for (const design::Input &input : design::Inputs)
            if (design::isLoad(input))
                c.add(input.key, jsonNumber(usedInput(withLoads, input)));
        std::string sizes = "[";
        for (const calc::CasesAtSize &at : cases.sizes) {
            const calc::CaseRow &row = at.cases[std::size_t(i)];
            if (sizes.size() > 1)
                sizes += ", ";
            sizes +=
                JsonObject()
                    .add("size", jsonString(sizeName(at.sizeNo)))
                    .add("outcome", jsonString(sizeOutcomeName(row.outcome)))
                    .add("governs", jsonString(checkKindName(row.governing)))
                    .add("utilization", JsonObject()
                                            .add("tension", number(row.tensionUtilization))
                                            .add("shear", jsonNumber(row.shearUtilization))
                                            .add("eccentric", jsonNumber(row.eccentricUtilization))
                                            .done())
                    .done();
        }
        list += c.add("sizes", sizes + "]").done();
    }
    return list + "]";
}

// With `cases`, the loads of the input are null (each case has its own), every size names the
// case it shows, and the cases and the governing one follow the headings.
std::string jsonDesign(const Design &design, const calc::Result &result, bool details,
                       const calc::CasesResult *cases = nullptr)
{
    JsonObject input;
    for (const design::Input &i : design::Inputs)
        input.add(i.key, cases && design::isLoad(i) ? "null" : jsonNumber(usedInput(design, i)));
    // The working of a size is that of the loads its Result has.
    const auto sizeDesign = [&](int sizeNo) {
        return cases ? design::withCase(design, calc::caseAtSize(*cases, sizeNo)) : design;
    };

    std::string sizes = "[";
    for (const calc::SizeRow &row : result.sizes) {
        if (sizes.size() > 1)
            sizes += ", ";
        const std::string utilization = JsonObject()
                                            .add("tension", number(row.tensionUtilization))
                                            .add("shear", jsonNumber(row.shearUtilization))
                                            .add("eccentric", jsonNumber(row.eccentricUtilization))
                                            .done();
        sizes += JsonObject()
                     .add("size", jsonString(sizeName(row.sizeNo)))
                     .add("anchorCapacity", number(row.FAnchor))
                     .add("shearCapacity", jsonNumber(row.shearCapacity))
                     .add("eccentricCapacity", jsonNumber(row.eccentricCapacity))
                     .add("outcome", jsonString(sizeOutcomeName(row.outcome)))
                     .add("governs", jsonString(checkKindName(row.governing)))
                     .add("utilization", utilization)
                     .done();
        if (cases)
            sizes.insert(sizes.size() - 1,
                         ", \"governingCase\": " +
                             std::to_string(calc::caseAtSize(*cases, row.sizeNo) + 1));
        if (const std::size_t i = std::size_t(&row - result.sizes.data());
            details && i < result.details.size()) // the object ends with its details
            sizes.insert(sizes.size() - 1, ", \"details\": " + jsonDetails(sizeDesign(row.sizeNo),
                                                                           result.details[i]));
    }
    sizes += "]";

    std::string chosen = "null";
    if (result.chosen) {
        const calc::ChosenSize &c = *result.chosen;
        std::string plate = "null";
        if (c.plate)
            plate = "[" + number((*c.plate)[0]) + ", " + number((*c.plate)[1]) + "]";
        chosen = JsonObject()
                     .add("size", jsonString(sizeName(c.sizeNo)))
                     .add("sizeNo", std::to_string(c.sizeNo))
                     .add("anchorText", jsonString(c.anchorText))
                     .add("plateText", c.plate ? jsonString(c.plateText) : "null")
                     .add("plate", plate)
                     .done();
    }

    std::string message = "null";
    if (result.message)
        message = JsonObject()
                      .add("size", jsonString(sizeName(result.message->sizeNo)))
                      .add("title", jsonString(trimmed(result.message->title)))
                      .add("text", jsonString(plainLines(result.message->text)))
                      .done();
    if (result.message && details &&
        !result.details.empty()) // the details of the size at which the run stopped
        message.insert(message.size() - 1,
                       ", \"details\": " + jsonDetails(sizeDesign(result.details.back().sizeNo),
                                                       result.details.back()));

    JsonObject headings;
    if (result.capacityHeading)
        headings.add("capacity", jsonString(*result.capacityHeading));
    if (result.shearHeading)
        headings.add("shear", jsonString(*result.shearHeading));
    if (result.eccentricHeading)
        headings.add("eccentric", jsonString(*result.eccentricHeading));

    JsonObject object;
    object.add("arrangement", std::to_string(design.arrangement))
        .add("cracked", design.cracked ? "true" : "false")
        .add("input", input.done())
        .add("outcome", jsonString(outcomeName(result.outcome)))
        .add("sizes", sizes)
        .add("chosen", chosen)
        .add("message", message)
        .add("advice", result.outcome == calc::Outcome::Advice ? jsonString(result.advice) : "null")
        .add("headings", headings.done());
    if (cases)
        object.add("cases", jsonCases(design, *cases))
            .add("governingCase", cases->governingCase ? std::to_string(*cases->governingCase + 1)
                                                       : std::string("null"));
    return object.done();
}

class JsonWriter : public Writer
{
public:
    using Writer::Writer;
    void design(const Design &design, const calc::Result &result) override
    {
        line(jsonDesign(design, result, details()));
    }
    void cases(const Design &design, const calc::Result &result,
               const calc::CasesResult &cases) override
    {
        line(jsonDesign(design, result, details(), &cases));
    }
    void error(const FailedRow &row) override
    {
        line(JsonObject()
                 .add("row", std::to_string(row.row))
                 .add("error", jsonString(row.error))
                 .done());
    }
};

// CSV: a header, then a row for each design or failed row. The table of columns gives the
// header and the row of a failed row; the row of a design writes the same columns in the same
// order in one pass (CsvWriter::design).

struct CsvColumn
{
    std::string name;
    // Appends the cell of a row that failed, as it stands (the row quotes it where needed);
    // none: empty.
    std::function<void(std::string &, const FailedRow &)> failed = {};
};

// The shortest form that reads back exactly, as std::to_chars writes it.
void appendNumber(std::string &out, double value)
{
    char buffer[64];
    // A whole number below 100 000, as most inputs are, has an integer for its shortest form:
    // written as one, at a fraction of the cost.
    const bool whole = value == std::trunc(value) && std::fabs(value) < 1e5 &&
                       !(value == 0 && std::signbit(value));
    char *end = whole ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long>(value)).ptr
                      : std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, std::size_t(end - buffer));
}

void appendSizeName(std::string &out, int sizeNo)
{
    out += 'M';
    appendNumber(out, calc::SizeTable[sizeNo - 1].dNom);
}

void appendOptional(std::string &out, const std::optional<double> &value)
{
    if (value)
        appendNumber(out, *value);
}

std::vector<CsvColumn> csvColumns()
{
    std::vector<CsvColumn> columns;
    // A failed row echoes the design as it was read.
    for (int i = 0; i < DesignColumnCount; ++i)
        columns.push_back({designColumnName(i), [i](std::string &out, const FailedRow &row) {
                               if (std::size_t(i) < row.cells.size())
                                   out += row.cells[i];
                           }});
    columns.push_back({"outcome", [](std::string &out, const FailedRow &) { out += "error"; }});
    columns.push_back({"size"});
    columns.push_back({"plate"});
    for (int sizeNo = 1; sizeNo <= calc::SizeCount; ++sizeNo) {
        const std::string size = sizeName(sizeNo);
        columns.push_back({size});
        columns.push_back({size + "_shear"});
        columns.push_back({size + "_eccentric"});
    }
    columns.push_back({"message"});
    columns.push_back({"error", [](std::string &out, const FailedRow &row) { out += row.error; }});
    return columns;
}

// Whether a cell needs more than its bytes as they stand: quotes around it, or a repair of
// bytes that are not UTF-8 or are NUL. Plain ASCII without a separator needs neither.
bool needsCsvCare(std::string_view cell)
{
    static constexpr auto Care = [] {
        std::array<bool, 256> care{};
        for (int c = 0x80; c < 256; ++c)
            care[c] = true;
        for (const unsigned char c : {'\0', ',', '"', '\r', '\n'})
            care[c] = true;
        return care;
    }();
    for (const char c : cell)
        if (Care[static_cast<unsigned char>(c)])
            return true;
    return false;
}

// A text cell, made a proper field where it needs it.
void appendTextCell(std::string &out, std::string_view text)
{
    if (needsCsvCare(text))
        out += csvField(text);
    else
        out += text;
}

class CsvWriter : public Writer
{
public:
    using Writer::Writer;
    bool writesDisplays() const override { return false; }
    void begin() override
    {
        row([](std::string &out, const CsvColumn &column) { out += column.name; });
    }
    // The cells of a calculated design in the order of the table's columns, written in one
    // pass: a row is most of what a long run does. tst_writers reads them back by the names of
    // the header.
    void design(const Design &design, const calc::Result &r) override
    {
        std::string &out = m_line;
        out.clear();
        char digit[16];
        out.append(digit, std::to_chars(digit, digit + sizeof digit, design.arrangement).ptr);
        out += design.cracked ? ",1" : ",0";
        for (const design::Input &input : design::Inputs) {
            out += ',';
            if (design::uses(design.arrangement, input))
                appendNumber(out, design.input.*input.value);
        }
        out += ',';
        out += outcomeName(r.outcome);
        out += ',';
        if (r.chosen)
            appendSizeName(out, r.chosen->sizeNo);
        else if (r.message)
            appendSizeName(out, r.message->sizeNo);
        out += ',';
        if (r.chosen && r.chosen->plate) {
            appendNumber(out, (*r.chosen->plate)[0]);
            out += 'x';
            appendNumber(out, (*r.chosen->plate)[1]);
        }
        // The sizes tried, M8 first, each once.
        auto tried = r.sizes.begin();
        for (int sizeNo = 1; sizeNo <= calc::SizeCount; ++sizeNo) {
            if (tried == r.sizes.end() || tried->sizeNo != sizeNo) {
                out += ",,,";
                continue;
            }
            out += ',';
            appendNumber(out, tried->FAnchor);
            out += ',';
            appendOptional(out, tried->shearCapacity);
            out += ',';
            appendOptional(out, tried->eccentricCapacity);
            ++tried;
        }
        out += ',';
        if (r.message)
            appendTextCell(out, r.message->text);
        else if (r.outcome == calc::Outcome::Advice)
            appendTextCell(out, r.advice);
        out += ','; // no error
        line(out);
    }
    void error(const FailedRow &failed) override
    {
        row([&](std::string &out, const CsvColumn &column) {
            if (column.failed)
                column.failed(out, failed);
        });
    }

private:
    // Each cell is appended to the line as it stands and made a proper field only where it
    // needs it: no text of its own for a cell.
    template <typename Cell> void row(Cell cell)
    {
        m_line.clear();
        for (const CsvColumn &column : m_columns) {
            if (&column != m_columns.data())
                m_line += ',';
            const std::size_t start = m_line.size();
            cell(m_line, column);
            if (needsCsvCare(std::string_view(m_line).substr(start))) {
                const std::string field = csvField(std::string_view(m_line).substr(start));
                m_line.replace(start, std::string::npos, field);
            }
        }
        line(m_line);
    }

    const std::vector<CsvColumn> m_columns = csvColumns();
    std::string m_line; // kept between rows, so that its memory is reused
};

template <typename W> std::unique_ptr<Writer> make(Lines lines)
{
    return std::make_unique<W>(std::move(lines));
}

// The formats an option chooses, for a single design and for a CSV file alike.
struct Format
{
    std::string_view option;
    std::unique_ptr<Writer> (*make)(Lines lines);
};

const Format Formats[] = {
    {"json", make<JsonWriter>},
};

} // namespace

std::string designColumnName(int column)
{
    if (column == 0)
        return "arrangement";
    if (column == 1)
        return "cracked";
    return std::string(design::Inputs[column - 2].key);
}

std::optional<double> usedInput(const Design &design, const design::Input &input)
{
    if (!design::uses(design.arrangement, input))
        return std::nullopt;
    return design.input.*input.value;
}

std::vector<std::string_view> formatOptions()
{
    std::vector<std::string_view> options;
    for (const Format &format : Formats)
        options.push_back(format.option);
    return options;
}

std::unique_ptr<Writer> chooseWriter(const std::function<bool(std::string_view option)> &isSet,
                                     Source source, Lines lines)
{
    std::unique_ptr<Writer> writer;
    for (const Format &format : Formats)
        if (!writer && isSet(format.option))
            writer = format.make(std::move(lines));
    if (!writer)
        writer = source == Source::CsvFile ? make<CsvWriter>(std::move(lines))
                                           : make<TextWriter>(std::move(lines));
    writer->showDetails(isSet("details"));
    return writer;
}

} // namespace cli
