#include "calc/checks.h"

namespace calc {
namespace {

constexpr int LastStep = 1100; // the outer row itself: L = 0 there, so it is never evaluated
constexpr double BisectionWidth = 1e-9; // mm

struct Equilibrium
{
    double NGroup = 0;
    double ratio = 0; // NGroup / NFromM
};

// The plate rotates about the neutral axis xNA, measured in direction 1 from the plate edge on
// the compression side. The outer row is held at FAnchor; the other rows' forces grow linearly
// with their distance from the axis; the concrete stress is linear from the plate edge to the
// axis, its resultant at xNA / 3 from the edge.
class PlateSection
{
public:
    explicit PlateSection(const SizePass &pass)
        : m_d(pass.size.dNom), m_k1(pass.arrangement.k1), m_S1(pass.S1calc),
          m_nPerRow(pass.arrangement.nPerRow), m_FAnchor(pass.FAnchor), m_e1(pass.e1Calc),
          m_bPlate(3 * m_d + gridExtent(pass.arrangement.k2, pass.S2calc))
    {
    }

    double xStart() const { return -20 * m_k1 * m_S1 - 15 * m_d; }
    double stepWidth() const { return 0.015 * m_d + 0.02 * m_k1 * m_S1; }

    Equilibrium at(double xNA) const
    {
        const double d = m_d;
        const double L = 1.5 * d + 2 * m_k1 * m_S1 - xNA; // outer row to the axis
        const double FOuter = m_FAnchor;
        const double FMiddle = m_k1 == 0.5 ? 0.0 : (1.5 * d + m_k1 * m_S1 - xNA) / L * m_FAnchor;
        const double FInner = xNA < 0 ? (1.5 * d - xNA) / L * m_FAnchor : 0.0;
        double CConc = 0;
        if (xNA > 0) {
            const double epsC = 0.0005 * xNA / L;
            CConc = 8.75 * m_bPlate * xNA * epsC;
        }
        const double n = m_nPerRow;
        Equilibrium e;
        e.NGroup = n * FOuter + n * FMiddle + n * FInner - CConc;
        const double MGroup = n * m_k1 * m_S1 * FOuter - n * m_k1 * m_S1 * FInner +
                              (1.5 * d + m_k1 * m_S1 - xNA / 3) * CConc;
        const double NFromM = MGroup / m_e1;
        e.ratio = e.NGroup / NFromM;
        return e;
    }

private:
    double m_d;
    double m_k1;
    double m_S1;
    double m_nPerRow;
    double m_FAnchor;
    double m_e1;
    double m_bPlate;
};

bool atLeastOne(double ratio)
{
    return ratio >= 1;
} // a NaN counts as below 1

} // namespace

double CheckEccentricTension(const SizePass &pass)
{
    const PlateSection section(pass);
    const double xStart = section.xStart();
    const double width = section.stepWidth();
    auto xAt = [&](int stepNo) { return xStart + stepNo * width; };

    // The first step whose ratio lies strictly within 5 % of 1 is the equilibrium.
    Equilibrium first;
    Equilibrium last;
    int crossing = -1; // the first step whose ratio fell from >= 1 to below 1
    for (int stepNo = 0; stepNo < LastStep; ++stepNo) {
        const Equilibrium e = section.at(xAt(stepNo));
        if (e.ratio > 0.95 && e.ratio < 1.05)
            return e.NGroup;
        if (stepNo == 0)
            first = e;
        else if (crossing < 0 && atLeastOne(last.ratio) && !atLeastOne(e.ratio))
            crossing = stepNo;
        last = e;
    }

    // No step met the tolerance: the ratio jumped across it.
    if (!atLeastOne(first.ratio)) {
        // The equilibrium lies further out, where NGroup is larger: step 0 is on the safe side.
        return first.NGroup;
    }
    if (crossing < 0) {
        // The ratio stayed above 1 up to the outer row: the last step has the least NGroup.
        return last.NGroup;
    }
    double lo = xAt(crossing - 1);
    double hi = xAt(crossing);
    while (hi - lo >= BisectionWidth) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi)
            break; // no double left between them
        if (atLeastOne(section.at(mid).ratio))
            lo = mid;
        else
            hi = mid;
    }
    return section.at(hi).NGroup;
}

} // namespace calc
