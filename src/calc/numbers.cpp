#include "calc/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace calc {
namespace {

constexpr double MaxFinite = std::numeric_limits<double>::max();

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "&H1F", "&O17": an unsigned integer in base 16 or 8, read as far as its digits go.
double parseRadix(const std::string &s, std::size_t pos, int base, std::size_t &end)
{
    double value = 0;
    for (end = pos; end < s.size(); ++end) {
        const char c = s[end];
        int digit;
        if (isDigit(c))
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return std::isfinite(value) ? value : MaxFinite;
}

std::string withSeparator(std::string text, std::string_view decimalSeparator)
{
    const std::size_t point = text.find('.');
    if (point != std::string::npos && decimalSeparator != ".")
        text.replace(point, 1, decimalSeparator);
    return text;
}

// Blanks count nowhere, not even between digits.
std::string withoutBlanks(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            s += c;
    return s;
}

bool isExponentLetter(char c)
{
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Where the digits after the comma of a text that reads as one number end.
std::size_t fractionEnd(const std::string &s, std::size_t comma)
{
    std::size_t end = comma + 1;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    return end;
}

// Whether the comma of a text that reads as one number has exactly three digits after it and a
// non-zero whole part before it.
bool isAmbiguous(const std::string &s, std::size_t comma)
{
    const std::size_t end = fractionEnd(s, comma);
    if (end - comma - 1 != 3 || (end < s.size() && !isExponentLetter(s[end])))
        return false;
    const std::size_t first = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    return s.find_first_of("123456789", first) < comma;
}

} // namespace

ReadNumber readNumber(std::string_view text)
{
    std::string s = withoutBlanks(text);
    if (s.empty())
        return {Reading::Blank, 0};
    const std::size_t comma = s.find(',');
    if (comma != std::string::npos)
        s[comma] = '.';
    const ParsedNumber parsed = parseNumber(s);
    if (!parsed.whole)
        return {Reading::NotNumber, 0};
    if (comma != std::string::npos && isAmbiguous(s, comma))
        return {Reading::Ambiguous, 0};
    return {Reading::Number, parsed.value};
}

AmbiguousReadings ambiguousReadings(std::string_view text)
{
    const std::string s = withoutBlanks(text);
    const std::size_t comma = s.find(',');
    if (comma == std::string::npos)
        return {};
    const std::size_t end = fractionEnd(s, comma);
    const std::string whole = s.substr(0, comma);
    const std::string fraction = s.substr(comma + 1, end - comma - 1);
    const std::string exponent = s.substr(end);
    // The fraction with its ending zeros dropped, or with one more: never three digits.
    std::string shorter = fraction;
    while (shorter.size() > 1 && shorter.back() == '0')
        shorter.pop_back();
    if (shorter.size() == 3)
        shorter += '0';
    AmbiguousReadings readings;
    readings.thousandsText = whole + fraction + exponent;
    readings.pointText = whole + '.' + fraction + exponent;
    readings.commaText = whole + ',' + shorter + exponent;
    readings.thousands = parseNumber(readings.thousandsText).value;
    readings.decimals = parseNumber(readings.pointText).value;
    return readings;
}

ParsedNumber parseNumber(std::string_view text)
{
    const std::string s = withoutBlanks(text);

    ParsedNumber result;
    std::size_t end = 0;
    if (s.size() >= 2 && s[0] == '&' &&
        (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        result.value = parseRadix(s, 2, base, end);
        result.whole = end > 2 && end == s.size();
        return result;
    }

    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        negative = s[pos++] == '-';

    // The value is 0.<digits> x 10^order: the significant digits without the point (leading
    // and ending zeros dropped) and the decimal order of the first of them. Counting the order
    // instead of copying the text keeps any number of digits and any exponent exact.
    std::string digits;
    std::int64_t order = 0;
    bool anyDigit = false;
    while (pos < s.size() && isDigit(s[pos])) {
        anyDigit = true;
        if (!digits.empty() || s[pos] != '0') {
            digits += s[pos];
            ++order;
        }
        ++pos;
    }
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) {
            anyDigit = true;
            if (!digits.empty() || s[pos] != '0')
                digits += s[pos];
            else
                --order;
            ++pos;
        }
    }
    if (!anyDigit)
        return result; // no leading number: 0

    // An exponent counts only with at least one digit; "1e" reads as 1. Beyond ExponentLimit
    // the exponent stops growing: the order of the first digit is then far outside the range
    // of a double whatever the digits, and the sums below cannot overflow.
    constexpr std::int64_t ExponentLimit = 1'000'000'000'000'000;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::size_t p = pos + 1;
        bool expNegative = false;
        if (p < s.size() && (s[p] == '+' || s[p] == '-'))
            expNegative = s[p++] == '-';
        if (p < s.size() && isDigit(s[p])) {
            std::int64_t exponent = 0;
            for (; p < s.size() && isDigit(s[p]); ++p)
                if (exponent < ExponentLimit)
                    exponent = exponent * 10 + (s[p] - '0');
            order += expNegative ? -exponent : exponent;
            pos = p;
        }
    }
    result.whole = pos == s.size();

    // Too large gives the largest finite value, too small gives zero. The largest double is
    // 0.18 x 10^309 and half the smallest is 0.25 x 10^-323.
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    double value = 0;
    if (digits.empty() || order < -323) {
        value = 0;
    } else if (order > 309) {
        value = MaxFinite;
    } else {
        const std::string number = "0." + digits + "e" + std::to_string(order);
        const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (ec == std::errc::result_out_of_range)
            value = order > 0 ? MaxFinite : 0.0;
    }
    result.value = negative ? -value : value;
    if (result.value == 0)
        result.value = 0; // no negative zero
    return result;
}

std::string formatGeneral(double value, std::string_view decimalSeparator)
{
    if (value == 0 || std::isnan(value))
        return "0";
    if (std::isinf(value))
        value = std::copysign(MaxFinite, value);

    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, end);

    // to_chars writes "1e+16" and "1e-05"; the program writes "1E+16" and "1E-05".
    const std::size_t e = text.find('e');
    if (e != std::string::npos)
        text[e] = 'E';
    return withSeparator(std::move(text), decimalSeparator);
}

std::string exactForm(double value)
{
    std::string text = writtenForm(value);
    if (parseNumber(text).value == value || !std::isfinite(value))
        return text;
    char buffer[64];
    text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    if (const std::size_t e = text.find('e'); e != std::string::npos)
        text[e] = 'E';
    return text;
}

std::string formatFixed(double value, int decimals, std::string_view decimalSeparator)
{
    if (std::isnan(value))
        value = 0;
    if (std::isinf(value))
        value = std::copysign(MaxFinite, value);
    // 309 digits before the point of the largest double, up to 17 after it.
    char buffer[330];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, std::clamp(decimals, 0, 17));
    std::string text(buffer, end);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1); // a negative value that rounds to zero
    return withSeparator(std::move(text), decimalSeparator);
}

} // namespace calc
