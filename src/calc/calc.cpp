#include "calc/calc.h"

#include "calc/checks.h"
#include "calc/numbers.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <stdexcept>

namespace calc {
namespace {

constexpr std::string_view LineBreak = "\r\n";

// The texts of one run, each empty piece replaced by its Finnish default.
struct Fragments
{
    std::string_view ankkurien, arvoC, arvoS, kasvatettava, ankkuriryhman, ohje, vetoLeikkaus,
        leikkaus, epakeskinen, kpl, kiinnityslevy, tapaus7Caption, advice;
};

std::string_view orDefault(const std::string &text, std::string_view finnish)
{
    return text.empty() ? finnish : std::string_view(text);
}

Fragments resolve(const Texts &t)
{
    return {orDefault(t.fragAnkkurien, "Ankkurien "),
            orDefault(t.fragArvoC, " arvo "),
            orDefault(t.fragArvoS, " arvo "),
            orDefault(t.fragKasvatettava, " kasvatettava minimiarvoon "),
            orDefault(t.fragAnkkuriryhman, "Ankkuriryhmän  "),
            orDefault(t.fragOhje, " Ohje "),
            orDefault(t.fragVetoLeikkaus, " veto- ja leikkauskapasiteetti kN "),
            orDefault(t.fragLeikkaus, " leikkauskapasiteetti kN "),
            orDefault(t.fragEpakeskinen, " epäkeskinen vetokapasiteetti kN"),
            orDefault(t.fragKpl, " kpl "),
            orDefault(t.fragKiinnityslevy, "Kiinnityslevyn mitat min. "),
            t.tapaus7Caption,
            orDefault(t.advice, FinnishAdvice)};
}

// Pieces joined without anything added between them.
std::string join(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view p : pieces)
        size += p.size();
    std::string text;
    text.reserve(size);
    for (std::string_view p : pieces)
        text += p;
    return text;
}

// A utilisation that is a plain number whatever the loads: no load on no capacity is 0, and a
// quotient beyond the range of a double is the largest finite value.
double utilization(double load, double capacity)
{
    const double u = load / capacity;
    if (std::isnan(u))
        return 0;
    if (std::isinf(u))
        return std::copysign(std::numeric_limits<double>::max(), u);
    return u;
}

// Eccentricities below 9 mm count as 9 mm; the sign of an eccentricity does not matter.
double raisedEccentricity(double e)
{
    const double magnitude = std::fabs(e);
    return magnitude > 0 && magnitude < 9 ? 9.0 : magnitude;
}

class Run
{
public:
    Run(const DesignInput &input, int tapaus, ConcreteState concreteState, const Texts &texts,
        std::string_view decimalSeparator, Working working, Displays displays = Displays::Composed)
        : m_in(input), m_tapaus(tapaus), m_concreteState(concreteState), m_texts(resolve(texts)),
          m_sep(decimalSeparator), m_arrangement(ArrangementTable[tapaus - 1]),
          m_keepDetails(working == Working::Kept), m_displays(displays == Displays::Composed)
    {
    }

    Result run()
    {
        for (int sizeNo = 1; sizeNo <= SizeCount; ++sizeNo) {
            m_result.sizeNo = sizeNo;
            if (sizePass(sizeNo)) {
                m_result.outcome = Outcome::Chosen;
                m_result.chosen = chosenSize(sizeNo);
                return std::move(m_result);
            }
            if (m_result.message) {
                m_result.outcome = Outcome::Stopped;
                return std::move(m_result);
            }
        }
        m_result.outcome = Outcome::Advice;
        m_result.advice = m_texts.advice;
        return std::move(m_result);
    }

    // One size pass into the result; true when it ends the run (the size chosen, a distance
    // below its minimum, or M16 failed, which leaves the advice). The run of several cases goes
    // a size at a time; run() keeps its own loop, the one of a single case as it always was.
    bool step(int sizeNo)
    {
        m_result.sizeNo = sizeNo;
        if (sizePass(sizeNo)) {
            m_result.outcome = Outcome::Chosen;
            m_result.chosen = chosenSize(sizeNo);
            return true;
        }
        if (m_result.message) {
            m_result.outcome = Outcome::Stopped;
            return true;
        }
        if (sizeNo < SizeCount)
            return false;
        m_result.outcome = Outcome::Advice;
        m_result.advice = m_texts.advice;
        return true;
    }

    void setLoads(const CaseLoads &loads) { m_in = withLoads(m_in, loads); }

    // One size pass of the current loads on its own: its row, or none when a distance below its
    // minimum stopped it.
    std::optional<SizeRow> probe(int sizeNo)
    {
        m_result.sizes.clear();
        m_result.message.reset();
        sizePass(sizeNo);
        if (m_result.message)
            return std::nullopt;
        return m_result.sizes.back();
    }

    Result take() { return std::move(m_result); }

private:
    std::string general(double value) const { return formatGeneral(value, m_sep); }

    void stop(int sizeNo, std::string text)
    {
        m_result.message = StopMessage{sizeNo, std::move(text), std::string(m_texts.ohje)};
    }

    // The working values of the pass so far, when they are kept: a new entry for the size, or
    // the one it already has.
    SizeDetails *details(const SizePass &pass, int sizeNo)
    {
        if (!m_keepDetails)
            return nullptr;
        if (m_result.details.empty() || m_result.details.back().sizeNo != sizeNo)
            m_result.details.emplace_back().sizeNo = sizeNo;
        SizeDetails &d = m_result.details.back();
        d.C1calc = pass.C1calc;
        d.C2calc = pass.C2calc;
        d.S1calc = pass.S1calc;
        d.S2calc = pass.S2calc;
        d.e1Calc = pass.e1Calc;
        d.e2Calc = pass.e2Calc;
        return &d;
    }

    // A distance below its minimum stops the run.
    bool stopAt(const SizePass &pass, int sizeNo, std::string text, StopKind kind,
                std::string_view distance, double value, double minimum)
    {
        if (SizeDetails *d = details(pass, sizeNo))
            d->stop = StopDetails{kind, std::string(distance), value, minimum};
        stop(sizeNo, std::move(text));
        return false;
    }

    // The outcome of a size that reached the capacity, and the check that governs it: the one
    // that failed, else the one of highest utilisation.
    bool decide(const SizePass &pass, SizeRow &row, SizeOutcome outcome)
    {
        row.outcome = outcome;
        switch (outcome) {
        case SizeOutcome::Tension:
            row.governing = CheckKind::Tension;
            break;
        case SizeOutcome::Shear:
            row.governing = CheckKind::Shear;
            break;
        case SizeOutcome::Eccentric:
            row.governing = CheckKind::Eccentric;
            break;
        case SizeOutcome::Chosen: {
            double highest = row.tensionUtilization;
            row.governing = CheckKind::Tension;
            if (row.shearUtilization && *row.shearUtilization > highest) {
                highest = *row.shearUtilization;
                row.governing = CheckKind::Shear;
            }
            if (row.eccentricUtilization && *row.eccentricUtilization > highest)
                row.governing = CheckKind::Eccentric;
            break;
        }
        }
        if (SizeDetails *d = details(pass, row.sizeNo)) {
            d->outcome = outcome;
            auto add = [&](CheckKind kind, double load, double capacity, double u,
                           SizeOutcome fail) {
                d->checks.push_back(
                    {kind, load, capacity, u, outcome == fail, row.governing == kind});
            };
            add(CheckKind::Tension, d->tension->NSdPerAnchor, pass.FAnchor, row.tensionUtilization,
                SizeOutcome::Tension);
            if (d->shear)
                add(CheckKind::Shear, d->shear->VRes, pass.FAnchor, *row.shearUtilization,
                    SizeOutcome::Shear);
            if (row.eccentricCapacity)
                add(CheckKind::Eccentric, pass.NSdCalc, *row.eccentricCapacity,
                    *row.eccentricUtilization, SizeOutcome::Eccentric);
        }
        return outcome == SizeOutcome::Chosen;
    }

    // The first line ("Ankkurien M8"), the line break and the second line of a minimum-distance
    // message.
    std::string edgeMessage(const SizeData &size, std::string_view which) const
    {
        return join({m_texts.ankkurien, "M", general(size.dNom), LineBreak, m_texts.arvoC, which,
                     m_texts.kasvatettava, general(size.cMin), " mm"});
    }

    // The arrangements with spacings in both directions leave an empty line in between.
    std::string spacingMessage(const SizeData &size, std::string_view which) const
    {
        const bool twoDirections = m_arrangement.k1 != 0 && m_arrangement.k2 != 0;
        return join({m_texts.ankkurien, "M", general(size.dNom), LineBreak,
                     twoDirections ? LineBreak : "", m_texts.arvoS, which, m_texts.kasvatettava,
                     general(size.sMin), " mm"});
    }

    std::string arrangement7Message(const SizeData &size, std::string_view which) const
    {
        return join({m_texts.tapaus7Caption, m_texts.arvoC, which, m_texts.kasvatettava,
                     general(10 * size.hef), " mm"});
    }

    std::string groupHeading(std::string_view fragment) const
    {
        if (!m_displays)
            return {};
        return join({m_texts.ankkuriryhman, std::to_string(m_arrangement.nAnchors), fragment});
    }

    // True when the size is chosen; false when it fails or a message stopped the run.
    bool sizePass(int sizeNo)
    {
        const SizeData &size = SizeTable[sizeNo - 1];
        SizePass pass{size, m_arrangement, m_tapaus};
        pass.C1calc = m_in.C1;
        pass.C2calc = m_in.C2;
        pass.S1calc = m_in.S1;
        pass.S2calc = m_in.S2;
        pass.NSdCalc = m_in.NSd;
        pass.V1dCalc = std::fabs(m_in.V1d);
        pass.e1Calc = raisedEccentricity(m_in.e1);
        pass.e2Calc = raisedEccentricity(m_in.e2);
        const double FRd = m_concreteState == Cracked ? size.FRdCracked : size.FRdUncracked;

        pass.C1calc = std::min(pass.C1calc, size.cCr);
        pass.C2calc = std::min(pass.C2calc, size.cCr);
        if (!(pass.C1calc >= size.cMin))
            return stopAt(pass, sizeNo, edgeMessage(size, " c1 "), StopKind::Edge, "c1",
                          pass.C1calc, size.cMin);
        if (!(pass.C2calc >= size.cMin))
            return stopAt(pass, sizeNo, edgeMessage(size, " c2 "), StopKind::Edge, "c2",
                          pass.C2calc, size.cMin);

        const bool usesS1 = m_arrangement.k1 != 0;
        const bool usesS2 = m_arrangement.k2 != 0;
        if (usesS1 && !(pass.S1calc >= size.sMin))
            return stopAt(pass, sizeNo, spacingMessage(size, " s1 "), StopKind::Spacing, "s1",
                          pass.S1calc, size.sMin);
        if (usesS2 && !(pass.S2calc >= size.sMin))
            return stopAt(pass, sizeNo, spacingMessage(size, " s2 "), StopKind::Spacing, "s2",
                          pass.S2calc, size.sMin);
        pass.S1calc = std::min(pass.S1calc, size.sCr);
        pass.S2calc = std::min(pass.S2calc, size.sCr);

        if (m_tapaus == 7) {
            if (!(m_in.C1 >= 10 * size.hef))
                return stopAt(pass, sizeNo, arrangement7Message(size, " c1 "),
                              StopKind::FarFromEdges, "c1", m_in.C1, 10 * size.hef);
            if (!(m_in.C2 >= 10 * size.hef))
                return stopAt(pass, sizeNo, arrangement7Message(size, " c2 "),
                              StopKind::FarFromEdges, "c2", m_in.C2, 10 * size.hef);
        }

        // Capacity of one anchor of the group by the projected area.
        const double Ac0 = size.sCr * size.sCr;
        const double Ac = (size.cCr + pass.C1calc + gridExtent(m_arrangement.k1, pass.S1calc)) *
                          (size.cCr + pass.C2calc + gridExtent(m_arrangement.k2, pass.S2calc));
        const double cSmall = pass.C1calc <= pass.C2calc ? pass.C1calc : pass.C2calc;
        const double psiS = 0.7 + 0.3 * cSmall / size.cCr;
        const double nAnchors = m_arrangement.nAnchors;
        pass.FAnchor = (Ac / Ac0) * psiS * FRd / nAnchors;

        if (!m_result.capacityHeading)
            m_result.capacityHeading =
                m_displays ? join({m_texts.ankkurien, m_texts.vetoLeikkaus}) : std::string();
        SizeRow &row = m_result.sizes.emplace_back();
        row.sizeNo = sizeNo;
        row.FAnchor = pass.FAnchor;
        row.tensionUtilization = utilization(pass.NSdCalc / nAnchors, pass.FAnchor);
        SizeDetails *const kept = details(pass, sizeNo);
        if (kept)
            kept->tension =
                TensionDetails{FRd, Ac0, Ac, cSmall, psiS, pass.FAnchor, pass.NSdCalc / nAnchors};

        if (!(pass.NSdCalc / nAnchors <= pass.FAnchor))
            return decide(pass, row, SizeOutcome::Tension);

        const ShearCheck shear = CheckShear(pass, m_in.C1, m_in.C2);
        if (kept)
            kept->shear = shear.values;
        row.shearUtilization = utilization(shear.values.VRes, pass.FAnchor);
        if (shear.values.VGroupCap) {
            if (!m_result.shearHeading)
                m_result.shearHeading = groupHeading(m_texts.leikkaus);
            row.shearCapacity = shear.values.VGroupCap;
        }
        if (!shear.passes)
            return decide(pass, row, SizeOutcome::Shear);

        // Only the arrangements with rows in direction 1 check the eccentric tension.
        if (usesS1 && pass.e1Calc != 0) {
            EccentricDetails search;
            const double NGroup = CheckEccentricTension(pass, kept ? &search : nullptr);
            if (kept)
                kept->eccentric = search;
            if (!m_result.eccentricHeading)
                m_result.eccentricHeading = groupHeading(m_texts.epakeskinen);
            row.eccentricCapacity = NGroup;
            row.eccentricUtilization = utilization(pass.NSdCalc, NGroup);
            if (!(NGroup > pass.NSdCalc))
                return decide(pass, row, SizeOutcome::Eccentric);
        }
        m_S1calc = pass.S1calc;
        m_S2calc = pass.S2calc;
        return decide(pass, row, SizeOutcome::Chosen);
    }

    ChosenSize chosenSize(int sizeNo) const
    {
        const SizeData &size = SizeTable[sizeNo - 1];
        ChosenSize chosen;
        chosen.sizeNo = sizeNo;
        if (m_displays) {
            chosen.anchorText = join({std::to_string(m_arrangement.nAnchors), m_texts.kpl,
                                      " Kalvex M ", general(size.dNom)});
            chosen.dataSheetTitle = join({" Kalvex X-TR M ", general(size.dNom)});
        }
        if (m_tapaus >= 2) {
            // The anchor grid plus a margin of 1.5 dNom on each side; first the extent in
            // direction 2, then in direction 1.
            const double margin = 3 * size.dNom;
            const double across = margin + gridExtent(m_arrangement.k2, m_S2calc);
            const double along = margin + gridExtent(m_arrangement.k1, m_S1calc);
            chosen.plate = std::array<double, 2>{across, along};
            if (m_displays)
                chosen.plateText =
                    join({m_texts.kiinnityslevy, general(across), " mm x ", general(along), " mm"});
        }
        return chosen;
    }

    DesignInput m_in;
    int m_tapaus;
    ConcreteState m_concreteState;
    Fragments m_texts;
    std::string_view m_sep;
    const Arrangement &m_arrangement;
    double m_S1calc = 0; // the capped spacings of the chosen size
    double m_S2calc = 0;
    bool m_keepDetails;
    bool m_displays;
    Result m_result;
};

// The case that governs a size: at a size every case passes, the one of highest utilisation;
// otherwise the failing one of highest utilisation. The first of equal ones.
int governingCase(const CasesAtSize &at)
{
    bool anyFails = false;
    for (const CaseRow &row : at.cases)
        anyFails = anyFails || row.outcome != SizeOutcome::Chosen;
    int governing = -1;
    double highest = 0;
    for (const CaseRow &row : at.cases) {
        if (anyFails && row.outcome == SizeOutcome::Chosen)
            continue;
        const double u = caseUtilization(row);
        if (governing < 0 || u > highest) {
            governing = row.caseIndex;
            highest = u;
        }
    }
    return governing;
}

} // namespace

double caseUtilization(const CaseRow &row)
{
    double highest = row.tensionUtilization;
    if (row.shearUtilization)
        highest = std::max(highest, *row.shearUtilization);
    if (row.eccentricUtilization)
        highest = std::max(highest, *row.eccentricUtilization);
    return highest;
}

Result MitoitusCases(const DesignInput &input, std::span<const CaseLoads> loads, int tapaus,
                     ConcreteState concreteState, const Texts &texts, CasesResult &cases,
                     std::string_view decimalSeparator, Working working)
{
    if (tapaus < 1 || tapaus > ArrangementCount)
        throw std::out_of_range("tapaus must be 1 to 7");
    if (loads.empty())
        throw std::invalid_argument("at least one load case");
    cases = CasesResult{};
    cases.caseCount = int(loads.size());
    // Every case is tried on its own at a size; the Result then takes the pass of the case that
    // governs there, so that it reads as that case's run.
    Run probe(input, tapaus, concreteState, texts, decimalSeparator, Working::Omitted);
    Run shown(input, tapaus, concreteState, texts, decimalSeparator, working);
    for (int sizeNo = 1;; ++sizeNo) {
        CasesAtSize at{sizeNo, {}};
        at.cases.reserve(loads.size());
        for (std::size_t i = 0; i < loads.size(); ++i) {
            probe.setLoads(loads[i]);
            const std::optional<SizeRow> row = probe.probe(sizeNo);
            // A distance below its minimum depends on the geometry alone: every case stops.
            if (!row)
                break;
            at.cases.push_back({int(i), row->outcome, row->tensionUtilization,
                                row->shearUtilization, row->eccentricUtilization, row->governing});
        }
        if (at.cases.empty()) {
            shown.setLoads(loads[0]);
            shown.step(sizeNo);
            return shown.take();
        }
        const int governing = governingCase(at);
        at.governingCase = governing;
        cases.sizes.push_back(std::move(at));
        shown.setLoads(loads[std::size_t(governing)]);
        if (shown.step(sizeNo)) {
            cases.governingCase = governing;
            return shown.take();
        }
    }
}

Result Mitoitus(const DesignInput &input, int tapaus, ConcreteState concreteState,
                const Texts &texts, std::string_view decimalSeparator, Working working,
                Displays displays)
{
    if (tapaus < 1 || tapaus > ArrangementCount)
        throw std::out_of_range("tapaus must be 1 to 7");
    return Run(input, tapaus, concreteState, texts, decimalSeparator, working, displays).run();
}

} // namespace calc
