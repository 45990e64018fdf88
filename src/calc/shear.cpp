#include "calc/checks.h"

#include <cmath>

namespace calc {
namespace {

// The number the shear formulas use for pi.
constexpr double Pi = 3.1416;

// The direct share and the torsion force of the corner anchor, added as two vectors at the
// angle between them.
double resultant(double VAnchor, double FTorsion, double angleT)
{
    return std::sqrt(VAnchor * VAnchor + FTorsion * FTorsion -
                     2 * VAnchor * FTorsion * std::cos(angleT));
}

} // namespace

ShearCheck CheckShear(const SizePass &pass, double C1, double C2)
{
    const double V = pass.V1dCalc;
    const double e2 = pass.e2Calc;
    const double S1 = pass.S1calc;
    const double S2 = pass.S2calc;
    const double n = pass.arrangement.nAnchors;
    // Beyond 10 hef from both edges every anchor takes its share of the shear.
    const double farLimit = 10 * pass.size.hef;
    const bool farFromEdges = C1 >= farLimit && C2 >= farLimit;

    ShearCheck check;
    ShearDetails &v = check.values;
    v.farFromEdges = farFromEdges;
    switch (pass.tapaus) {
    case 1:
        v.VRes = V;
        break;
    case 2:
    case 3:
        v.VRes = farFromEdges ? V / n : V;
        v.capacityAnchors = farFromEdges ? int(n) : 1;
        v.VGroupCap = v.capacityAnchors * pass.FAnchor;
        break;
    case 4:
    case 5:
        // The torsion couple acts over the distance between the two outer anchors.
        v.VRes = V * e2 / (2 * pass.arrangement.k2 * S2) + V / n;
        v.capacityAnchors = int(n);
        v.VGroupCap = v.capacityAnchors * pass.FAnchor;
        break;
    case 6: {
        const double VAnchor = farFromEdges ? V / 4 : V / 2;
        const double rCorner = 0.5 * std::sqrt(S2 * S2 + S1 * S1);
        const double FTorsion = V * e2 / (4 * rCorner);
        const double angleT = Pi - std::atan(S1 / S2);
        v.VRes = resultant(VAnchor, FTorsion, angleT);
        v.VAnchor = VAnchor;
        v.rCorner = rCorner;
        v.FTorsion = FTorsion;
        v.angleT = angleT;
        v.capacityAnchors = farFromEdges ? int(n) : 2;
        v.VGroupCap = v.capacityAnchors * pass.FAnchor;
        break;
    }
    case 7: {
        // The run has already stopped unless both edges are at 10 hef or more.
        const double VAnchor = V / 6;
        const double sumR2 = S2 * S2 / 4 + S1 * S1;
        const double rCorner = std::sqrt(sumR2);
        // The denominator sums the squared distances of the six anchors from the centre.
        const double FTorsion = V * e2 * rCorner / (4 * sumR2 + 0.5 * S2 * S2);
        const double angleT = Pi - std::atan(2 * S1 / S2);
        v.VRes = resultant(VAnchor, FTorsion, angleT);
        v.VAnchor = VAnchor;
        v.sumR2 = sumR2;
        v.rCorner = rCorner;
        v.FTorsion = FTorsion;
        v.angleT = angleT;
        v.capacityAnchors = int(n);
        v.VGroupCap = v.capacityAnchors * pass.FAnchor;
        break;
    }
    default:
        break;
    }
    check.passes = v.VRes <= pass.FAnchor; // a NaN fails
    return check;
}

} // namespace calc
