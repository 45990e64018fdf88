#pragma once

// The design calculation of one fastening, in standard C++ only.
//
//   numbers.h   the parse of a field's text, its written form, the "0.00" and general forms
//   calc.h      size and arrangement tables, the design input, the texts, Mitoitus, and on
//               request the working values of every size tried (SizeDetails): the checks made
//               and the one that governs, the stop and the search with their geometry
//
// The main window and kiila-calc fill a DesignInput and a Texts, call Mitoitus and turn the
// Result into their displays. Nothing here touches a window, a message box or a global.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// One anchor size. Lengths in mm, forces in kN.
struct SizeData
{
    double dNom;
    double hef;
    double sCr;
    double sMin;
    double cCr;
    double cMin;
    double FRdUncracked;
    double FRdCracked;
};

// Indexed by sizeNo - 1: M8, M10, M12, M16.
inline constexpr std::array<SizeData, 4> SizeTable{{
    {8, 50, 300, 70, 150, 50, 2.7, 2.3},
    {10, 50, 300, 120, 150, 55, 4.1, 3.4},
    {12, 60, 360, 150, 180, 65, 7.4, 5.5},
    {16, 80, 480, 185, 240, 95, 11.5, 7.4},
}};
inline constexpr int SizeCount = 4;

// A grid of rows (direction 1, spaced S1) of nPerRow anchors (direction 2, spaced S2).
// k1 = (rows - 1) / 2, k2 = (nPerRow - 1) / 2.
struct Arrangement
{
    std::int16_t nAnchors;
    std::int16_t nPerRow;
    double k1;
    double k2;
};

// Indexed by tapaus - 1.
inline constexpr std::array<Arrangement, 7> ArrangementTable{{
    {1, 1, 0, 0},
    {2, 1, 0.5, 0},
    {3, 1, 1, 0},
    {2, 2, 0, 0.5},
    {3, 3, 0, 1},
    {4, 2, 0.5, 0.5},
    {6, 2, 1, 0.5},
}};
inline constexpr int ArrangementCount = 7;

// 2 k s: the extent of the grid in one direction. An arrangement without that direction has
// k = 0 and never reads its spacing.
inline double gridExtent(double k, double s)
{
    return k == 0 ? 0.0 : 2 * k * s;
}

enum ConcreteState : std::int16_t { Cracked = 0, NonCracked = 1 };

struct DesignInput
{
    double C1 = 0;  // edge distance, direction 1 (mm)
    double C2 = 0;  // edge distance, direction 2 (mm)
    double S1 = 0;  // spacing, direction 1 (mm)
    double S2 = 0;  // spacing, direction 2 (mm)
    double NSd = 0; // design tension on the group (kN); negative is compression
    double V1d = 0; // design shear on the group (kN)
    double e1 = 0;  // eccentricity of the tension, direction 1 (mm)
    double e2 = 0;  // eccentricity of the shear (mm)

    friend bool operator==(const DesignInput &, const DesignInput &) = default;
};

// The pieces the results and messages are composed of, UTF-8. An empty fragment or advice
// takes its Finnish default when the calculation starts; the caption is used as it stands.
struct Texts
{
    std::string fragAnkkurien;
    std::string fragArvoC;
    std::string fragArvoS;
    std::string fragKasvatettava;
    std::string fragAnkkuriryhman;
    std::string fragOhje;
    std::string fragVetoLeikkaus;
    std::string fragLeikkaus;
    std::string fragEpakeskinen;
    std::string fragKpl;
    std::string fragKiinnityslevy;
    std::string tapaus7Caption =
        "TAPAUS 7";     // caption of LbSit(6), starts the arrangement-7 message
    std::string advice; // shown when even M16 fails; empty: the Finnish advice
};

inline constexpr std::string_view FinnishAdvice =
    "Valitse järeämpi kiinnitystapaus tai kokeile kasvattaa ankkurien etäisyyttä reunasta "
    "ja/tai keskiöväliä";

enum class SizeOutcome { Chosen, Tension, Shear, Eccentric };

// The capacity checks of a size, in the order the run makes them.
enum class CheckKind { Tension, Shear, Eccentric };

// One size that reached the capacity: what its column shows and why it failed.
struct SizeRow
{
    int sizeNo = 0;
    double FAnchor = 0;                      // veto_leikkaus(sizeNo)
    std::optional<double> shearCapacity;     // leikkaus(sizeNo), where the run writes it
    std::optional<double> eccentricCapacity; // epak(sizeNo), where the search ran
    SizeOutcome outcome = SizeOutcome::Tension;
    double tensionUtilization = 0;              // NSd / nAnchors / FAnchor
    std::optional<double> shearUtilization;     // VRes / FAnchor
    std::optional<double> eccentricUtilization; // NSd / NGroup
    // The check that failed, or for a chosen size the one of highest utilisation (the first of
    // equal ones).
    CheckKind governing = CheckKind::Tension;

    friend bool operator==(const SizeRow &, const SizeRow &) = default;
};

struct ChosenSize
{
    int sizeNo = 0;
    std::string anchorText;                     // Label17
    std::string dataSheetTitle;                 // Form2.Label1
    std::optional<std::array<double, 2>> plate; // extent in direction 2, then direction 1 (mm)
    std::string plateText;                      // Label2; empty for arrangement 1

    friend bool operator==(const ChosenSize &, const ChosenSize &) = default;
};

// A distance below the minimum of a size: the run stops with a message box.
struct StopMessage
{
    int sizeNo = 0;
    std::string text;
    std::string title;

    friend bool operator==(const StopMessage &, const StopMessage &) = default;
};

// The working values of one size pass, under the names the calculation uses, so that a result
// can be checked by hand. Lengths in mm, areas in mm², forces in kN, moments in kN·mm.

// Which check stopped the run: an edge distance below cMin, a spacing below sMin, or
// arrangement 7's check of C1 and C2 as entered against 10 hef.
enum class StopKind { Edge, Spacing, FarFromEdges };

// A distance below the minimum of the size: which one ("c1", "c2", "s1", "s2"), its value as
// the check read it (capped for Edge, as entered for Spacing and FarFromEdges) and the minimum.
struct StopDetails
{
    StopKind kind = StopKind::Edge;
    std::string distance;
    double value = 0;
    double minimum = 0;

    friend bool operator==(const StopDetails &, const StopDetails &) = default;
};

// One capacity check of a size: load against capacity (tension NSd / nAnchors against FAnchor,
// shear VRes against FAnchor, eccentric NSd against NGroup).
struct CheckDetails
{
    CheckKind kind = CheckKind::Tension;
    double load = 0;
    double capacity = 0;
    double utilization = 0; // as in SizeRow
    bool fails = false;
    bool governs = false;

    friend bool operator==(const CheckDetails &, const CheckDetails &) = default;
};

struct TensionDetails
{
    double FRd = 0;
    double Ac0 = 0;
    double Ac = 0;
    double cSmall = 0;
    double psiS = 0;
    double FAnchor = 0;
    double NSdPerAnchor = 0; // NSd / nAnchors, compared with FAnchor

    friend bool operator==(const TensionDetails &, const TensionDetails &) = default;
};

struct ShearDetails
{
    bool farFromEdges = false;      // C1 and C2 as entered both at 10 hef or more
    std::optional<double> VAnchor;  // arrangements 6 and 7
    std::optional<double> FTorsion; // arrangements 6 and 7
    std::optional<double> rCorner;  // arrangements 6 and 7
    std::optional<double> sumR2;    // arrangement 7
    std::optional<double> angleT;   // arrangements 6 and 7 (rad)
    double VRes = 0;                // on the most loaded anchor, compared with FAnchor
    std::optional<double> VGroupCap;
    int capacityAnchors = 0; // VGroupCap = capacityAnchors FAnchor

    friend bool operator==(const ShearDetails &, const ShearDetails &) = default;
};

// How the search for the neutral axis ended: at the first step within 5 %, or, when no step
// was, at step 0 (the ratio already below 1 there), by bisecting the first pair of steps whose
// ratio fell from 1 or more to below 1, or at the last step before the outer row (the ratio
// never fell below 1).
enum class SearchEnd { Step, StepZero, Bisection, LastStep };

struct EccentricDetails
{
    // The geometry of the search: the axis at step 0, the step width, the plate's width across
    // the rows (direction 2).
    double xStart = 0;
    double stepWidth = 0;
    double bPlate = 0;
    SearchEnd end = SearchEnd::Step;
    int stepNo = 0; // Bisection: the first step whose ratio fell below 1
    double xNA = 0;
    double L = 0; // outer row to the axis
    double FMiddle = 0;
    double FInner = 0;
    double CConc = 0;
    double NGroup = 0;
    double MGroup = 0;
    double NFromM = 0;

    friend bool operator==(const EccentricDetails &, const EccentricDetails &) = default;
};

struct SizeDetails
{
    int sizeNo = 0;
    // The distances and eccentricities as the pass used them (capped or raised); the spacings
    // are capped at sCr only after their minimum was checked.
    double C1calc = 0;
    double C2calc = 0;
    double S1calc = 0;
    double S2calc = 0;
    double e1Calc = 0;
    double e2Calc = 0;
    std::optional<StopDetails> stop;           // the run stopped at this size
    std::optional<TensionDetails> tension;     // the pass reached the capacity
    std::optional<ShearDetails> shear;         // the pass reached the shear check
    std::optional<EccentricDetails> eccentric; // the search ran
    std::vector<CheckDetails> checks;          // the capacity checks made, in their order
    std::optional<SizeOutcome> outcome;        // none when the run stopped at this size

    friend bool operator==(const SizeDetails &, const SizeDetails &) = default;
};

enum class Outcome { Chosen, Stopped, Advice };

struct Result
{
    Outcome outcome = Outcome::Advice;
    std::vector<SizeRow> sizes;         // in the order of the run, M8 first
    std::optional<ChosenSize> chosen;   // Outcome::Chosen
    std::optional<StopMessage> message; // Outcome::Stopped
    std::string advice;                 // Outcome::Advice
    // The row headings the run wrote: Label18, Label20, label21.
    std::optional<std::string> capacityHeading;
    std::optional<std::string> shearHeading;
    std::optional<std::string> eccentricHeading;
    int sizeNo = 1; // the chosen size, the size of the message, or 4 after the advice
    // Only when asked for: the working values of every size tried, the stopped one included.
    std::vector<SizeDetails> details;

    friend bool operator==(const Result &, const Result &) = default;
};

// The loads of one load case: the combination of design forces and eccentricities a structural
// analysis gives for the fastening. The geometry is the design's, common to every case.
struct CaseLoads
{
    double NSd = 0;
    double V1d = 0;
    double e1 = 0;
    double e2 = 0;

    friend bool operator==(const CaseLoads &, const CaseLoads &) = default;
};

// The input with the loads of a case.
inline DesignInput withLoads(DesignInput input, const CaseLoads &loads)
{
    input.NSd = loads.NSd;
    input.V1d = loads.V1d;
    input.e1 = loads.e1;
    input.e2 = loads.e2;
    return input;
}

// One case at one size that reached the capacity: its outcome and the utilisation of each check
// made (as in SizeRow).
struct CaseRow
{
    int caseIndex = 0;
    SizeOutcome outcome = SizeOutcome::Tension;
    double tensionUtilization = 0;
    std::optional<double> shearUtilization;
    std::optional<double> eccentricUtilization;
    CheckKind governing = CheckKind::Tension;

    friend bool operator==(const CaseRow &, const CaseRow &) = default;
};

// The cases at one size: every case that was checked there, in the order of the cases.
struct CasesAtSize
{
    int sizeNo = 0;
    std::vector<CaseRow> cases;
    // The case whose pass the Result shows at this size: where every case passes, the one of
    // highest utilisation, else the failing one of highest utilisation (the first of equal ones).
    int governingCase = 0;

    friend bool operator==(const CasesAtSize &, const CasesAtSize &) = default;
};

// The highest utilisation of the checks the case made at the size.
double caseUtilization(const CaseRow &row);

// What a calculation of several load cases adds to its Result.
struct CasesResult
{
    int caseCount = 0;
    // For a chosen size, the case of highest utilisation there (the first of equal ones); when
    // no size suffices, the case that failed M16; none when the run stopped on a distance.
    std::optional<int> governingCase;
    std::vector<CasesAtSize> sizes; // in the order of the run, M8 first

    friend bool operator==(const CasesResult &, const CasesResult &) = default;
};

// The case whose pass the Result shows at the size: the governing one of a size that reached the
// capacity, else (the size the run stopped at) the first.
inline int caseAtSize(const CasesResult &cases, int sizeNo)
{
    for (const CasesAtSize &at : cases.sizes)
        if (at.sizeNo == sizeNo)
            return at.governingCase;
    return 0;
}

// Whether Mitoitus keeps the working values of every size in Result::details.
enum class Working { Omitted, Kept };

// Whether Mitoitus composes the texts only a display shows: the row headings (left empty but
// present where the run wrote them), the anchor and plate texts and the data sheet's title. The
// messages and the advice are composed either way. A caller that writes none of those texts
// (kiila-calc's CSV) saves their making.
enum class Displays { Composed, Omitted };

// Tries M8 to M16 for the arrangement tapaus (1 to 7; std::out_of_range otherwise). Numbers
// inside the composed texts use decimalSeparator.
Result Mitoitus(const DesignInput &input, int tapaus, ConcreteState concreteState,
                const Texts &texts, std::string_view decimalSeparator = ".",
                Working working = Working::Omitted, Displays displays = Displays::Composed);

// Mitoitus for every load case of `cases` (at least one; std::invalid_argument otherwise) on the
// geometry of `input` (its loads are not read): a size is chosen only when it passes every case.
// The Result is the one the governing case gives at each size tried (its rows, texts and
// working values), so that everything that shows a Result shows this one; for a single case it
// equals Mitoitus on that case's loads. `cases` receives every case's outcome per size.
Result MitoitusCases(const DesignInput &input, std::span<const CaseLoads> loads, int tapaus,
                     ConcreteState concreteState, const Texts &texts, CasesResult &cases,
                     std::string_view decimalSeparator = ".", Working working = Working::Omitted);

} // namespace calc
