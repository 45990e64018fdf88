#pragma once

// The working values of one size pass and the two group checks that follow the tension check.
// Internal to the calculation.

#include "calc/calc.h"

#include <optional>

namespace calc {

struct SizePass
{
    const SizeData &size;
    const Arrangement &arrangement;
    int tapaus = 1;
    // Copies of the design input, capped or raised for this size.
    double C1calc = 0;
    double C2calc = 0;
    double S1calc = 0;
    double S2calc = 0;
    double NSdCalc = 0;
    double V1dCalc = 0; // magnitude of V1d
    double e1Calc = 0;  // magnitude of e1, raised to 9 below 9
    double e2Calc = 0;  // magnitude of e2, raised to 9 below 9
    double FAnchor = 0;
};

struct ShearCheck
{
    bool passes = false;
    ShearDetails values; // VRes, VGroupCap (not written for a single anchor) and the terms
};

// C1 and C2 as entered decide whether the group is far from the edges.
ShearCheck CheckShear(const SizePass &pass, double C1, double C2);

// The eccentric tension capacity NGroup of the group (arrangements with rows in direction 1,
// e1Calc not 0); with `details`, also where and how the search ended and the forces there.
double CheckEccentricTension(const SizePass &pass, EccentricDetails *details = nullptr);

} // namespace calc
