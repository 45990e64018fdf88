#pragma once

// What kiila-calc writes of one calculated design: a JSON object, a CSV row or a readable
// summary. Numbers are unrounded in JSON and CSV (the shortest form that reads back exactly).

#include "calc/calc.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Design
{
    int arrangement = 1;
    bool cracked = false;
    calc::DesignInput input;
};

// The eight input names in the order of the window's fields, and their units.
inline constexpr std::string_view InputNames[] = {"c1", "c2", "s1", "s2", "nsd", "v1d", "e1", "e2"};
double &inputValue(calc::DesignInput &input, int index);

// The columns of a design in CSV: 0 arrangement, 1 cracked, 2 to 9 the inputs.
inline constexpr int ColumnCount = 10;
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
