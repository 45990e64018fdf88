#pragma once

// What kiila-calc writes of one calculated design: a JSON object, a CSV row or a readable
// summary. Numbers are unrounded in JSON and CSV (the shortest form that reads back exactly).

#include "calc/calc.h"
#include "design/design.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

using design::Design;

// The columns of a design in CSV: 0 arrangement, 1 cracked, 2 on the inputs in the order of
// design::Inputs.
inline constexpr int ColumnCount = 2 + design::InputCount;
std::string columnName(int column);

std::string number(double value);

std::string jsonDesign(const Design &design, const calc::Result &result);
std::string jsonError(long row, std::string_view error);

std::string csvHeader();
std::string csvRow(const Design &design, const calc::Result &result);
// A row that could not be calculated: its cells as they were read, and the error.
std::string csvErrorRow(const std::vector<std::string> &inputCells, std::string_view error);

std::string summary(const Design &design, const calc::Result &result);

} // namespace cli
