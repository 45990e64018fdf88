// The design calculation on any values the parse can give: every finite double (the parse
// gives the largest finite value for anything beyond), with each arrangement and concrete
// state. Every capacity shown and every utilisation must be a finite number, and no text the
// run composes may carry a NaN or an infinity.
//
// Input: one byte for the arrangement (1 + byte % 7) and the concrete (byte / 7 odd: cracked),
// then the eight values C1, C2, S1, S2, NSd, V1d, e1, e2 as raw doubles; missing bytes are 0.

#include "calc/calc.h"
#include "calc/numbers.h"
#include "check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

void checkNumber(double value)
{
    FUZZ_CHECK(std::isfinite(value));
}

void checkText(const std::string &text)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    FUZZ_CHECK(lower.find("nan") == std::string::npos);
    FUZZ_CHECK(lower.find("inf") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int tapaus = 1 + data[0] % calc::ArrangementCount;
    const auto concrete = (data[0] / calc::ArrangementCount) % 2 ? calc::Cracked : calc::NonCracked;

    double values[8] = {};
    std::memcpy(values, data + 1, std::min(size - 1, sizeof values));
    for (double &v : values) {
        if (std::isnan(v))
            return 0; // the parse never gives one
        if (std::isinf(v))
            v = std::copysign(std::numeric_limits<double>::max(), v);
    }
    const calc::DesignInput input{values[0], values[1], values[2], values[3],
                                  values[4], values[5], values[6], values[7]};

    for (const char *separator : {".", ","}) {
        const calc::Result r = calc::Mitoitus(input, tapaus, concrete, calc::Texts{}, separator);
        FUZZ_CHECK(r.sizes.size() <= calc::SizeCount);
        for (const calc::SizeRow &row : r.sizes) {
            // What the result box shows: the capacities in the "0.00" form.
            checkNumber(row.FAnchor);
            checkText(calc::formatFixed2(row.FAnchor));
            if (row.shearCapacity)
                checkNumber(*row.shearCapacity);
            if (row.eccentricCapacity)
                checkNumber(*row.eccentricCapacity);
            checkNumber(row.tensionUtilization);
            if (row.shearUtilization)
                checkNumber(*row.shearUtilization);
            if (row.eccentricUtilization)
                checkNumber(*row.eccentricUtilization);
        }
        switch (r.outcome) {
        case calc::Outcome::Chosen:
            FUZZ_CHECK(r.chosen.has_value() && !r.message);
            checkText(r.chosen->anchorText);
            checkText(r.chosen->plateText);
            if (r.chosen->plate) {
                checkNumber((*r.chosen->plate)[0]);
                checkNumber((*r.chosen->plate)[1]);
            }
            break;
        case calc::Outcome::Stopped:
            FUZZ_CHECK(r.message.has_value() && !r.chosen);
            checkText(r.message->text);
            break;
        case calc::Outcome::Advice:
            FUZZ_CHECK(!r.chosen && !r.message);
            break;
        }
        for (const auto &heading : {r.capacityHeading, r.shearHeading, r.eccentricHeading})
            if (heading)
                checkText(*heading);
    }
    return 0;
}
