#include "calc/checks.h"

#include <algorithm>
#include <cmath>

namespace calc {
namespace {

constexpr int LastStep = 1100; // the outer row itself: L = 0 there, so it is never evaluated
constexpr double BisectionWidth = 1e-9; // mm
constexpr double ToleranceLow = 0.95;
constexpr double ToleranceHigh = 1.05;

struct Equilibrium
{
    double NGroup = 0;
    double ratio = 0; // NGroup / NFromM
    double FMiddle = 0;
    double FInner = 0;
    double CConc = 0;
    double MGroup = 0;
    double NFromM = 0;
    double L = 0;
};

// Where a step's ratio lies, as far as the search needs to know.
enum class Place { Below, Within, Above, Unsure }; // below 0.95, within 5 %, above 1.05

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
    double bPlate() const { return m_bPlate; }

    // The forces at the axis xNA, computed term by term as the design rules write them.
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
        e.FMiddle = FMiddle;
        e.FInner = FInner;
        e.CConc = CConc;
        e.MGroup = MGroup;
        e.NFromM = NFromM;
        e.L = L;
        return e;
    }

    // Where the ratio at xNA lies, without a division: both forces multiplied by L > 0, the
    // ratio e1 NGroup L / (MGroup L) compared by cross-multiplying. Each comparison allows for
    // far more rounding than either way of computing can have; a ratio that close to a limit is
    // Unsure, and the caller decides it with at().
    Place place(double xNA) const
    {
        const double d = m_d;
        const double nF = m_nPerRow * m_FAnchor;
        const double L = 1.5 * d + 2 * m_k1 * m_S1 - xNA;
        const double outer = nF * L;
        const double middle = m_k1 == 0.5 ? 0.0 : nF * (1.5 * d + m_k1 * m_S1 - xNA);
        const double inner = xNA < 0 ? nF * (1.5 * d - xNA) : 0.0;
        const double concrete = xNA > 0 ? 8.75 * m_bPlate * 0.0005 * xNA * xNA : 0.0;
        const double arm = m_k1 * m_S1;
        const double concreteArm = 1.5 * d + arm - xNA / 3;

        const double NL = outer + middle + inner - concrete;
        const double ML = arm * outer - arm * inner + concreteArm * concrete;
        constexpr double Slack = 1e-12;
        const double errN =
            Slack * m_e1 * (std::fabs(outer) + std::fabs(middle) + std::fabs(inner) + concrete);
        const double errM = Slack * (std::fabs(arm * outer) + std::fabs(arm * inner) +
                                     std::fabs(concreteArm * concrete));
        const double D = std::fabs(ML);
        if (!(D > 2 * errM))
            return Place::Unsure;
        const double q = ML > 0 ? m_e1 * NL : -m_e1 * NL; // ratio = q / D

        auto above = [&](double c) { return q - errN > c * (D + errM); };
        auto below = [&](double c) { return q + errN < c * (D - errM); };
        if (below(ToleranceLow))
            return Place::Below;
        if (above(ToleranceHigh))
            return Place::Above;
        if (above(ToleranceLow) && below(ToleranceHigh))
            return Place::Within;
        return Place::Unsure;
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

bool within(double ratio)
{
    return ratio > ToleranceLow && ratio < ToleranceHigh;
}
bool atLeastOne(double ratio)
{
    return ratio >= 1;
} // a NaN counts as below 1

} // namespace

double CheckEccentricTension(const SizePass &pass, EccentricDetails *details)
{
    const PlateSection section(pass);
    const double xStart = section.xStart();
    const double width = section.stepWidth();
    auto xAt = [&](int stepNo) { return xStart + stepNo * width; };
    // NGroup where the search ends, and for the caller who asked, the forces there.
    auto finish = [&](SearchEnd end, int stepNo, double xNA) {
        const Equilibrium e = section.at(xNA);
        if (details)
            *details = {xStart,    width,    section.bPlate(), end,      stepNo,   xNA,     e.L,
                        e.FMiddle, e.FInner, e.CConc,          e.NGroup, e.MGroup, e.NFromM};
        return e.NGroup;
    };

    // The first step whose ratio lies strictly within 5 % of 1 is the equilibrium. Outside the
    // tolerance only the side of 1 matters, for the fallback below.
    bool firstAtLeastOne = false;
    bool lastAtLeastOne = false;
    int crossing = -1; // the first step whose ratio fell from >= 1 to below 1
    auto record = [&](int stepNo, bool isAtLeastOne) {
        if (stepNo == 0)
            firstAtLeastOne = isAtLeastOne;
        else if (crossing < 0 && lastAtLeastOne && !isAtLeastOne)
            crossing = stepNo;
        lastAtLeastOne = isAtLeastOne;
    };
    // Steps [from, to) by the forces as written; the first that lies within the tolerance, or -1.
    auto sweep = [&](int from, int to) {
        for (int stepNo = from; stepNo < to; ++stepNo) {
            const Equilibrium e = section.at(xAt(stepNo));
            if (within(e.ratio))
                return stepNo;
            record(stepNo, atLeastOne(e.ratio));
        }
        return -1;
    };

    // While the axis lies outside the plate (xNA < 0) no concrete is pressed and the ratio falls
    // linearly with xNA: e1 (L + middle + inner) / (k1 S1 (L - inner)), a constant denominator.
    // Its steps are ratios above 1.05, then at most a few within 5 %, then ratios below 0.95;
    // a binary search finds where they change, and the steps around it are taken one by one.
    int firstInside = std::max(0, std::min(LastStep, int(std::ceil(-xStart / width))));
    while (firstInside > 0 && xAt(firstInside - 1) >= 0)
        --firstInside;
    while (firstInside < LastStep && xAt(firstInside) < 0)
        ++firstInside;
    int lo = 0;
    int hi = firstInside; // the first step outside the plate whose ratio is below 1.05
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (section.at(xAt(mid)).ratio < ToleranceHigh)
            hi = mid;
        else
            lo = mid + 1;
    }
    const int aroundFrom = std::max(0, hi - 2);
    const int aroundTo = std::min(firstInside, hi + 3);
    if (aroundFrom > 0)
        record(0, true);
    lastAtLeastOne = aroundFrom > 0;
    if (const int found = sweep(aroundFrom, aroundTo); found >= 0)
        return finish(SearchEnd::Step, found, xAt(found));
    if (aroundTo < firstInside)
        record(aroundTo, false); // the rest outside the plate lie below 0.95

    // Under the plate the concrete takes part and the ratio has no simple course: every step is
    // placed, cheaply where rounding cannot matter, by the forces as written where it can.
    for (int stepNo = firstInside; stepNo < LastStep; ++stepNo) {
        const double xNA = xAt(stepNo);
        switch (section.place(xNA)) {
        case Place::Below:
            record(stepNo, false);
            break;
        case Place::Above:
            record(stepNo, true);
            break;
        case Place::Within:
            return finish(SearchEnd::Step, stepNo, xNA);
        case Place::Unsure:
            if (sweep(stepNo, stepNo + 1) >= 0)
                return finish(SearchEnd::Step, stepNo, xNA);
            break;
        }
    }

    // No step met the tolerance: the ratio jumped across it.
    if (!firstAtLeastOne) {
        // The equilibrium lies further out, where NGroup is larger: step 0 is on the safe side.
        return finish(SearchEnd::StepZero, 0, xAt(0));
    }
    if (crossing < 0) {
        // The ratio stayed above 1 up to the outer row: the last step has the least NGroup.
        return finish(SearchEnd::LastStep, LastStep - 1, xAt(LastStep - 1));
    }
    double xLo = xAt(crossing - 1);
    double xHi = xAt(crossing);
    while (xHi - xLo >= BisectionWidth) {
        const double mid = xLo + (xHi - xLo) / 2;
        if (mid <= xLo || mid >= xHi)
            break; // no double left between them
        if (atLeastOne(section.at(mid).ratio))
            xLo = mid;
        else
            xHi = mid;
    }
    return finish(SearchEnd::Bisection, crossing, xHi);
}

} // namespace calc
