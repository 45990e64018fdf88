// The parse of a field's text and the two forms of a result number, on any bytes.
//
// A text that is wholly a decimal number must read as strtod reads the same digits (both round
// correctly), beyond the range of a double as the largest finite value; every value must come
// back from its general form to 15 digits and from its "0.00" form to half a hundredth.

#include "calc/numbers.h"
#include "check.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

constexpr double MaxFinite = std::numeric_limits<double>::max();

// The text as strtod takes it: blanks dropped, D as the exponent letter E.
std::string forStrtod(std::string_view text)
{
    std::string s;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        s += (c == 'd' || c == 'D') ? 'e' : c;
    }
    return s;
}

void checkForms(double value)
{
    const std::string general = calc::formatGeneral(value);
    const calc::ParsedNumber back = calc::parseNumber(general);
    FUZZ_CHECK(back.whole);
    FUZZ_CHECK(std::fabs(back.value - value) <= 1e-14 * std::fabs(value));
    FUZZ_CHECK(general.find_first_of("naif") == std::string::npos); // no nan, inf
    std::string comma = general;
    if (const std::size_t point = comma.find('.'); point != std::string::npos)
        comma[point] = ',';
    FUZZ_CHECK(calc::formatGeneral(value, ",") == comma);

    const std::string fixed = calc::formatFixed2(value);
    const std::size_t point = fixed.find('.');
    FUZZ_CHECK(point != std::string::npos && point > 0 && fixed.size() == point + 3);
    FUZZ_CHECK(fixed != "-0.00");
    const calc::ParsedNumber fixedBack = calc::parseNumber(fixed);
    FUZZ_CHECK(fixedBack.whole);
    // Half a hundredth, and the rounding of a double's last digits for large values.
    FUZZ_CHECK(std::fabs(fixedBack.value - value) <= 0.005 + 1e-15 * std::fabs(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const calc::ParsedNumber parsed = calc::parseNumber(text);
    FUZZ_CHECK(std::isfinite(parsed.value));
    FUZZ_CHECK(parsed.value != 0 || !std::signbit(parsed.value));

    const std::string plain = forStrtod(text);
    if (parsed.whole && !plain.empty() && plain[0] != '&' &&
        plain.find('\0') == std::string::npos) {
        char *end = nullptr;
        double expected = std::strtod(plain.c_str(), &end);
        FUZZ_CHECK(end == plain.c_str() + plain.size());
        if (std::isinf(expected))
            expected = std::copysign(MaxFinite, expected);
        FUZZ_CHECK(parsed.value == expected);
    }

    checkForms(parsed.value);
    // Raw doubles too, when the input has eight bytes: the forms must take any finite value.
    if (size == sizeof(double)) {
        double raw;
        __builtin_memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            checkForms(raw);
    }
    return 0;
}
