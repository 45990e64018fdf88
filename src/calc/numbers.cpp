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

} // namespace

ParsedNumber parseNumber(std::string_view text)
{
    // Blanks count nowhere, not even between digits.
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            s += c;

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

    // The mantissa, copied for from_chars with a plain 'e' as exponent letter.
    std::string number;
    std::size_t digits = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        number += s[pos++];
        ++digits;
    }
    if (pos < s.size() && s[pos] == '.') {
        number += s[pos++];
        while (pos < s.size() && isDigit(s[pos])) {
            number += s[pos++];
            ++digits;
        }
    }
    if (digits == 0)
        return result; // no leading number: 0

    // An exponent counts only with at least one digit; "1e" reads as 1.
    std::int64_t exponent = 0;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::size_t p = pos + 1;
        bool expNegative = false;
        if (p < s.size() && (s[p] == '+' || s[p] == '-'))
            expNegative = s[p++] == '-';
        if (p < s.size() && isDigit(s[p])) {
            while (p < s.size() && isDigit(s[p])) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (s[p] - '0');
                ++p;
            }
            if (expNegative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
            pos = p;
        }
    }
    result.whole = pos == s.size();

    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large gives the largest finite value, too small gives zero. The decimal order of
        // the first significant digit tells which.
        std::int64_t order = exponent;
        const std::size_t point = number.find('.');
        const std::size_t intEnd =
            point != std::string::npos ? point : std::min(number.find('e'), number.size());
        const std::size_t firstNonZero = number.find_first_of("123456789");
        if (firstNonZero < intEnd)
            order += static_cast<std::int64_t>(intEnd - firstNonZero);
        else if (firstNonZero != std::string::npos)
            order -= static_cast<std::int64_t>(firstNonZero - intEnd - 1);
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

std::string formatFixed2(double value, std::string_view decimalSeparator)
{
    if (std::isnan(value))
        value = 0;
    if (std::isinf(value))
        value = std::copysign(MaxFinite, value);
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, end);
    if (text == "-0.00")
        text = "0.00"; // a negative value that rounds to zero
    return withSeparator(std::move(text), decimalSeparator);
}

} // namespace calc
