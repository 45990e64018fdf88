#pragma once

// What kiila-calc writes: one writer per output format, chosen once from the options.
//
//   writer.h     the writer of a format, the columns of a design, the choice of the format
//   details.h    the working values of each size tried (--details), in JSON and as text
//   json.h       the pieces of JSON both share: numbers, strings, objects, the outcome names
//   writers.cpp  the formats: the readable summary, JSON (one object a line) and CSV (its
//                columns in one table: the header, the row of a design and the row of an error
//                are all made from it); the table of formats and their options
//   batch.h      the rows of a CSV file a chunk at a time, by one job or by --jobs N threads,
//                written in input order; each thread has a writer of its own
//
// A writer writes whole lines through the function it is given; kiila-calc's function ends the
// program when the output cannot be written (for the rows of a CSV file it gathers a chunk of
// lines, whose write does). Numbers are unrounded in JSON and CSV (the
// shortest form that reads back exactly).

#include "calc/calc.h"
#include "design/design.h"
#include "texts/texts.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

using design::Design;

// The columns of a design in a CSV file, read and written: 0 arrangement, 1 cracked, 2 on the
// inputs in the order of design::Inputs.
inline constexpr int DesignColumnCount = 2 + design::InputCount;
std::string designColumnName(int column);

// The value of an input as the calculation used it; none for an input the arrangement does not
// use (the calculation does not read it, a design file keeps it empty): what every format
// echoes.
std::optional<double> usedInput(const Design &design, const design::Input &input);

// A row of a CSV file that could not be calculated.
struct FailedRow
{
    long row; // the line on which it begins, less one: its number below a header of one line
    // The cells of the design columns as they were read, by column; empty where none was read.
    const std::vector<std::string> &cells;
    std::string_view error;
};

// Takes one line of output, without its line end.
using Lines = std::function<void(std::string_view line)>;

class Writer
{
public:
    explicit Writer(Lines lines) : m_lines(std::move(lines)) {}
    virtual ~Writer() = default;

    // Before the first design (the CSV header).
    virtual void begin() {}
    virtual void design(const Design &design, const calc::Result &result) = 0;
    // A design of several load cases (Design::cases) and what MitoitusCases gave for them.
    virtual void cases(const Design &design, const calc::Result &result,
                       const calc::CasesResult &cases)
    {
        (void)cases;
        this->design(design, result);
    }
    virtual void error(const FailedRow &row) = 0;

    // --details: the working values of each size too; the results must have them.
    void showDetails(bool show) { m_details = show; }
    // Whether the format writes the texts only a display shows (calc::Displays): the row
    // headings, the anchor and plate texts.
    virtual bool writesDisplays() const { return true; }
    // The language of the words the writer adds (the readable summary and working); English
    // unless set.
    void setLanguage(texts::Language language) { m_language = language; }

protected:
    void line(std::string_view text) const { m_lines(text); }
    bool details() const { return m_details; }
    texts::Language language() const { return m_language; }

private:
    Lines m_lines;
    bool m_details = false;
    texts::Language m_language = texts::Language::English;
};

// Where the designs come from.
enum class Source {
    Options, // a single design given by the options
    CsvFile,
};

// The options that choose a format (--json), each without a value; they go with a CSV file too.
std::vector<std::string_view> formatOptions();

// The format whose option is set; else the readable summary of a single design, CSV for the
// designs of a CSV file. With the option "details" set, the working values too (not in CSV).
std::unique_ptr<Writer> chooseWriter(const std::function<bool(std::string_view option)> &isSet,
                                     Source source, Lines lines);

} // namespace cli
