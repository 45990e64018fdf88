#pragma once

// Number texts of the program: the reading of a typed number, the written form of a stored
// value, and the two forms numbers take in results ("0.00" and the general form). The decimal
// separator of the two result forms is a parameter; the written form always uses a point.

#include <string>
#include <string_view>

namespace calc {

struct ParsedNumber
{
    double value = 0;
    bool whole = false; // the text held the number and blanks only
};

// The number the text begins with, a point separating the decimals. Blanks, tabs and line feeds
// are skipped wherever they stand; "&H"/"&O" start a hexadecimal/octal integer; the exponent
// letter is E or D. A text without a leading number gives 0; a number beyond the range of a
// double gives the largest finite value, one too small for a double gives 0. Any number of
// digits and any exponent read exactly.
ParsedNumber parseNumber(std::string_view text);

// How a number typed into a field, written into a design file or given to kiila-calc reads.
// Either a point or a comma separates the decimals ("2,5" is 2.5); blanks count nowhere; the
// signs, exponents and "&H"/"&O" forms read as parseNumber reads them. Nothing is read from
// a text that is not wholly one number, and nothing is guessed: a comma followed by exactly
// three digits after a non-zero whole part ("1,000", "-12,500e3") separates thousands to some
// readers and decimals to others, and is refused. "0,125" and "2,5" are not in doubt.
enum class Reading {
    Number,    // the text is one number: `value`
    Blank,     // nothing but blanks (or nothing at all): no number
    NotNumber, // more than a number: a unit, letters, a second separator
    Ambiguous, // "1,000": a thousand or one
};
struct ReadNumber
{
    Reading reading = Reading::Blank;
    double value = 0; // 0 unless `reading` is Number
};
ReadNumber readNumber(std::string_view text);

// The two readings of an ambiguous text and how each is written without doubt: for "1,000"
// 1000 and 1, written "1000", and "1.000" or "1,0".
struct AmbiguousReadings
{
    double thousands = 0;
    double decimals = 0;
    std::string thousandsText; // the comma dropped
    std::string pointText;     // the comma a point
    std::string commaText;     // a comma with other than three digits after it
};
AmbiguousReadings ambiguousReadings(std::string_view text);

// The general form: at most 15 significant digits, no zeros at the end of the fraction,
// "0" for zero, an exponent ("1E+16") for very large or small magnitudes.
std::string formatGeneral(double value, std::string_view decimalSeparator = ".");

// The written form of a stored value: the general form with a point.
inline std::string writtenForm(double value)
{
    return formatGeneral(value, ".");
}

// The written form when it reads back as the value itself, else the shortest text that does
// (its exponent written "1E+16"): 2.7000000000000004, whose 15 digits read back as 2.7, is
// written whole. What a page prints for a value it was not typed as.
std::string exactForm(double value);

// "0.00", "0.000" and the like: rounded to the given decimals, at least one digit before the
// separator, no sign on a value that rounds to zero. Every digit of a huge value is written.
std::string formatFixed(double value, int decimals, std::string_view decimalSeparator = ".");
inline std::string formatFixed2(double value, std::string_view decimalSeparator = ".")
{
    return formatFixed(value, 2, decimalSeparator);
}

} // namespace calc
