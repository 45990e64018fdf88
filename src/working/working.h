#pragma once

// The working of one calculation as lines to print, in standard C++, built from the
// calculation's own data (calc::SizeDetails) and deciding nothing: per size tried each value
// with its formula in symbols and in numbers, the sentences that say how a check or the search
// ended, and the names of the capacity checks.
//
//   working.h   Line, sizeLines (the lines of one size), lineText (a line as text),
//               checkNames (the words and symbols of a check), number (six digits)
//
// kiila-calc --details (src/cli/details.cpp) writes the lines as text; the details page
// (src/print/detailspage.cpp) sets the same lines in a table, a column per size.

#include "calc/calc.h"
#include "design/design.h"
#include "texts/texts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace working {

// The words of the working in the program's texts (texts/).
using texts::Language;

// "name = formula = numbers = value unit remark", or "name: sentence".
struct Line
{
    std::string name;            // the symbol ("FAnchor"), or a sentence's heading in words
    std::string formula;         // in symbols; empty for a value given
    std::string numbers;         // the formula with the numbers put in; empty where it adds none
    std::optional<double> value; // none for a sentence
    std::string unit;
    std::string remark;   // in words, after the unit: "(cracked concrete)"
    std::string sentence; // in place of a value: how a check, the search or the run ended
};

// The lines of one size tried, in the order the calculation made them.
std::vector<Line> sizeLines(const design::Design &design, const calc::SizeDetails &details,
                            Language language);

// "  name = formula = numbers = value unit remark", or "  name: sentence"; with a line end.
std::string lineText(const Line &line);

// A check in words ("tension") and its load and capacity in symbols ("NSd/nAnchors", "FAnchor").
struct CheckNames
{
    std::string_view check;
    std::string_view load;
    std::string_view capacity;
};
CheckNames checkNames(calc::CheckKind kind, Language language);

// Six significant digits, a point for the decimals: enough to follow every step by hand.
std::string number(double value);

} // namespace working
