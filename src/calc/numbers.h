#pragma once

// Number texts of the program: the parse of a field's text, the written form of a stored
// value, and the two forms numbers take in results ("0.00" and the general form). The decimal
// separator of the two result forms is a parameter; the parse and the written form always
// use a point.

#include <string>
#include <string_view>

namespace calc {

struct ParsedNumber
{
    double value = 0;
    bool whole = false; // the text held the number and blanks only
};

// The number the text begins with. Blanks, tabs and line feeds are skipped wherever they stand;
// "&H"/"&O" start a hexadecimal/octal integer; the exponent letter is E or D. A text without a
// leading number gives 0; a number beyond the range of a double gives the largest finite value,
// one too small for a double gives 0. Any number of digits and any exponent read exactly.
ParsedNumber parseNumber(std::string_view text);
inline double parseField(std::string_view text)
{
    return parseNumber(text).value;
}

// The general form: at most 15 significant digits, no zeros at the end of the fraction,
// "0" for zero, an exponent ("1E+16") for very large or small magnitudes.
std::string formatGeneral(double value, std::string_view decimalSeparator = ".");

// The written form of a stored value: the general form with a point.
inline std::string writtenForm(double value)
{
    return formatGeneral(value, ".");
}

// "0.00", "0.000" and the like: rounded to the given decimals, at least one digit before the
// separator, no sign on a value that rounds to zero. Every digit of a huge value is written.
std::string formatFixed(double value, int decimals, std::string_view decimalSeparator = ".");
inline std::string formatFixed2(double value, std::string_view decimalSeparator = ".")
{
    return formatFixed(value, 2, decimalSeparator);
}

} // namespace calc
