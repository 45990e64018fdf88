#pragma once

// The texts a number is typed as, and how each reads: one table that the reading itself, the
// main window's field, the design file (in the window and in kiila-calc) and kiila-calc's
// options are all tested with, so that every way into a calculation reads a text alike.

namespace numbertexts {

enum class Read {
    Number,    // the value
    Blank,     // no number at all: the window's empty field, an omitted value
    NotNumber, // refused: more than one number
    Ambiguous, // refused: a thousand or one
};

struct NumberText
{
    const char *name;
    const char *text;
    Read read;
    double value = 0;
};

inline constexpr NumberText Table[] = {
    {"plain", "250", Read::Number, 250},
    {"point", "5.3", Read::Number, 5.3},
    {"comma", "5,3", Read::Number, 5.3},
    {"three decimals after a point", "2.125", Read::Number, 2.125},
    {"three decimals after a comma and zero", "0,125", Read::Number, 0.125},
    {"comma, two decimals", "2,50", Read::Number, 2.5},
    {"comma, four decimals", "1,2500", Read::Number, 1.25},
    {"comma without a whole part", ",125", Read::Number, 0.125},
    {"negative with a comma", "-2,5", Read::Number, -2.5},
    {"a point is always decimal", "1.000", Read::Number, 1},
    {"blanks around", " 12  ", Read::Number, 12},
    {"blank between digits", "1 2", Read::Number, 12},
    {"exponent", "1e3", Read::Number, 1000},
    {"exponent after a comma", "2,5E-1", Read::Number, 0.25},
    {"D exponent", "1D2", Read::Number, 100},
    {"hexadecimal", "&H1F", Read::Number, 31},
    {"octal", "&O17", Read::Number, 15},
    {"unit", "5 kN", Read::NotNumber},
    {"letters after", "12abc", Read::NotNumber},
    {"letters only", "abc", Read::NotNumber},
    {"exponent without digits", "1e", Read::NotNumber},
    {"hexadecimal with a wrong digit", "&H1G", Read::NotNumber},
    {"point then comma", "1.000,5", Read::NotNumber},
    {"comma then point", "1,000.5", Read::NotNumber},
    {"two commas", "1,000,000", Read::NotNumber},
    {"a thousand or one", "1,000", Read::Ambiguous},
    {"signed, a thousand or one", "-1,000", Read::Ambiguous},
    {"twelve and a half thousand or twelve and a half", "12,500", Read::Ambiguous},
    {"in an exponent form", "1,000e3", Read::Ambiguous},
    {"zero whole part", "0,000", Read::Number, 0},
    {"empty", "", Read::Blank},
    {"blanks only", "   ", Read::Blank},
};

} // namespace numbertexts
