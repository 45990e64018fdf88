#include "cli/output.h"

#include "calc/numbers.h"
#include "cli/csv.h"
#include "cli/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cli {
namespace {

std::string sizeName(int sizeNo)
{
    return "M" + number(calc::SizeTable[sizeNo - 1].dNom);
}

std::string outcomeName(calc::Outcome outcome)
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

std::string jsonNumber(const std::optional<double> &value)
{
    return value ? number(*value) : "null";
}

// "key": value pairs joined into an object, in the order given.
class JsonObject
{
public:
    JsonObject &add(std::string_view key, const std::string &json)
    {
        m_text += m_text.size() > 1 ? ", " : "";
        m_text += jsonString(key) + ": " + json;
        return *this;
    }
    std::string done() const { return m_text + "}"; }

private:
    std::string m_text = "{";
};

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

} // namespace

std::string number(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string jsonDesign(const Design &design, const calc::Result &result)
{
    JsonObject input;
    for (const design::Input &i : design::Inputs)
        input.add(i.key, number(design.input.*i.value));

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
                     .add("utilization", utilization)
                     .done();
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
                      .add("title", jsonString(result.message->title))
                      .add("text", jsonString(result.message->text))
                      .done();

    JsonObject headings;
    if (result.capacityHeading)
        headings.add("capacity", jsonString(*result.capacityHeading));
    if (result.shearHeading)
        headings.add("shear", jsonString(*result.shearHeading));
    if (result.eccentricHeading)
        headings.add("eccentric", jsonString(*result.eccentricHeading));

    return JsonObject()
        .add("arrangement", std::to_string(design.arrangement))
        .add("cracked", design.cracked ? "true" : "false")
        .add("input", input.done())
        .add("outcome", jsonString(outcomeName(result.outcome)))
        .add("sizes", sizes)
        .add("chosen", chosen)
        .add("message", message)
        .add("advice", result.outcome == calc::Outcome::Advice ? jsonString(result.advice) : "null")
        .add("headings", headings.done())
        .done();
}

std::string jsonError(long row, std::string_view error)
{
    return JsonObject().add("row", std::to_string(row)).add("error", jsonString(error)).done();
}

std::string columnName(int column)
{
    if (column == 0)
        return "arrangement";
    if (column == 1)
        return "cracked";
    return std::string(design::Inputs[column - 2].key);
}

std::string csvHeader()
{
    std::string header;
    for (int i = 0; i < ColumnCount; ++i)
        header += (i ? "," : "") + columnName(i);
    header += ",outcome,size,plate";
    for (int sizeNo = 1; sizeNo <= calc::SizeCount; ++sizeNo) {
        const std::string size = sizeName(sizeNo);
        header += "," + size + "," + size + "_shear," + size + "_eccentric";
    }
    return header + ",message,error";
}

std::string csvRow(const Design &design, const calc::Result &result)
{
    std::string row = std::to_string(design.arrangement) + (design.cracked ? ",1" : ",0");
    for (const design::Input &input : design::Inputs)
        row += "," + number(design.input.*input.value);
    row += "," + outcomeName(result.outcome) + ",";
    if (result.chosen)
        row += sizeName(result.chosen->sizeNo);
    else if (result.message)
        row += sizeName(result.message->sizeNo);
    row += ",";
    if (result.chosen && result.chosen->plate)
        row += number((*result.chosen->plate)[0]) + "x" + number((*result.chosen->plate)[1]);
    for (int sizeNo = 1; sizeNo <= calc::SizeCount; ++sizeNo) {
        const calc::SizeRow *found = nullptr;
        for (const calc::SizeRow &r : result.sizes)
            if (r.sizeNo == sizeNo)
                found = &r;
        row += "," + (found ? number(found->FAnchor) : "");
        row += "," + (found && found->shearCapacity ? number(*found->shearCapacity) : "");
        row += "," + (found && found->eccentricCapacity ? number(*found->eccentricCapacity) : "");
    }
    std::string message;
    if (result.message)
        message = result.message->text;
    else if (result.outcome == calc::Outcome::Advice)
        message = result.advice;
    return row + "," + csvField(message) + ",";
}

std::string csvErrorRow(const std::vector<std::string> &inputCells, std::string_view error)
{
    std::string row;
    for (int i = 0; i < ColumnCount; ++i)
        row += (i ? "," : "") +
               (std::size_t(i) < inputCells.size() ? csvField(inputCells[i]) : std::string());
    row += ",error,,";
    for (int i = 0; i < 3 * calc::SizeCount; ++i)
        row += ",";
    return row + ",," + csvField(error);
}

std::string summary(const Design &design, const calc::Result &result)
{
    std::string text = "TAPAUS " + std::to_string(design.arrangement) + ", " +
                       (design.cracked ? "cracked" : "non-cracked") + " concrete\n";
    for (const design::Input &input : design::Inputs)
        text += std::string(&input == design::Inputs ? "" : ", ") + std::string(input.label) + " " +
                calc::formatGeneral(design.input.*input.value) + " " + std::string(input.unit);
    text += "\n\n";

    if (!result.sizes.empty()) {
        // One column per size tried.
        auto line = [&](std::string label, auto cell) {
            label.resize(22, ' ');
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
        line("anchor capacity kN", [](const Row &r) { return fixed(r.FAnchor); });
        line("group shear kN", [](const Row &r) { return fixed(r.shearCapacity); });
        line("eccentric tension kN", [](const Row &r) { return fixed(r.eccentricCapacity); });
        line("utilisation tension", [](const Row &r) { return ratio(r.tensionUtilization); });
        line("utilisation shear", [](const Row &r) { return ratio(r.shearUtilization); });
        line("utilisation eccentric", [](const Row &r) { return ratio(r.eccentricUtilization); });
        line("fails", [](const Row &r) {
            return r.outcome == calc::SizeOutcome::Chosen ? std::string("-")
                                                          : sizeOutcomeName(r.outcome);
        });
        text += "\n";
        if (result.capacityHeading)
            text += "capacity:  " + *result.capacityHeading + "\n";
        if (result.shearHeading)
            text += "shear:     " + *result.shearHeading + "\n";
        if (result.eccentricHeading)
            text += "eccentric: " + *result.eccentricHeading + "\n";
        text += "\n";
    }

    switch (result.outcome) {
    case calc::Outcome::Chosen:
        text += result.chosen->anchorText + "\n";
        if (result.chosen->plate)
            text += result.chosen->plateText + "\n";
        break;
    case calc::Outcome::Stopped:
        text += "stopped at " + sizeName(result.message->sizeNo) + " (" + result.message->title +
                "):\n" + plainLines(result.message->text) + "\n";
        break;
    case calc::Outcome::Advice:
        text += result.advice + "\n";
        break;
    }
    return text;
}

} // namespace cli
