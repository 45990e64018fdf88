#pragma once

// One design: what the calculation reads, and the eight inputs it is typed into.
//
//   design.h   the design value and the table of the eight inputs (standard C++ only)
//
// The main window, printing and kiila-calc iterate `Inputs` for everything they do per input:
// the main window's fields, the report page's copies, kiila-calc's options, JSON keys, CSV
// columns and summary. The calculation and the main window call the arrangement `tapaus`
// ("case", as the windows caption it: "TAPAUS 1" ... "TAPAUS 7"); here and in kiila-calc the
// same integer 1 to 7 is `arrangement`.

#include "calc/calc.h"

#include <string>
#include <string_view>
#include <vector>

namespace design {

// One load case of a design: a name and its loads.
struct LoadCase
{
    std::string name; // UTF-8, one line
    calc::CaseLoads loads;

    friend bool operator==(const LoadCase &, const LoadCase &) = default;
};

struct Design
{
    int arrangement = 1; // 1 to 7, the calculation's tapaus
    bool cracked = false;
    calc::DesignInput input;
    // The load cases of a design of two or more; empty for a design of one case, whose loads
    // are those of `input`.
    std::vector<LoadCase> cases;

    calc::ConcreteState concreteState() const { return cracked ? calc::Cracked : calc::NonCracked; }
    friend bool operator==(const Design &, const Design &) = default;
};

// The design with the loads of its case `index` in its input; a design of one case as it is.
inline Design withCase(Design design, int index)
{
    if (index >= 0 && std::size_t(index) < design.cases.size())
        design.input = calc::withLoads(design.input, design.cases[std::size_t(index)].loads);
    return design;
}

// Which anchor rows an arrangement has decides which inputs it uses: spacings and
// eccentricities exist only in a direction with more than one anchor.
enum class UsedBy {
    Every,      // every arrangement
    Direction1, // arrangements of more than one row (k1 > 0)
    Direction2, // arrangements of more than one anchor per row (k2 > 0)
};

struct Input
{
    std::string_view key;   // kiila-calc's option, JSON key and CSV column
    std::string_view label; // the symbol in texts
    std::string_view unit;
    double calc::DesignInput::*value;
    int field; // the main window's field TextN, captioned by LabelN
    UsedBy usedBy;
};

// In the order of the main window's fields, the order in which the calculate command checks
// them for a missing value.
inline constexpr Input Inputs[] = {
    {"c1", "C1", "mm", &calc::DesignInput::C1, 1, UsedBy::Every},
    {"c2", "C2", "mm", &calc::DesignInput::C2, 3, UsedBy::Every},
    {"s1", "S1", "mm", &calc::DesignInput::S1, 4, UsedBy::Direction1},
    {"s2", "S2", "mm", &calc::DesignInput::S2, 5, UsedBy::Direction2},
    {"nsd", "NSd", "kN", &calc::DesignInput::NSd, 6, UsedBy::Every},
    {"v1d", "V1d", "kN", &calc::DesignInput::V1d, 7, UsedBy::Every},
    {"e1", "e1", "mm", &calc::DesignInput::e1, 8, UsedBy::Direction1},
    {"e2", "e2", "mm", &calc::DesignInput::e2, 9, UsedBy::Direction2},
};
inline constexpr int InputCount = static_cast<int>(std::size(Inputs));

// The inputs that are loads, in the order of calc::CaseLoads: what a load case holds of a design.
inline constexpr int LoadInputs[] = {4, 5, 6, 7};
inline constexpr int LoadCount = static_cast<int>(std::size(LoadInputs));
static_assert(Inputs[LoadInputs[0]].value == &calc::DesignInput::NSd &&
              Inputs[LoadInputs[1]].value == &calc::DesignInput::V1d &&
              Inputs[LoadInputs[2]].value == &calc::DesignInput::e1 &&
              Inputs[LoadInputs[3]].value == &calc::DesignInput::e2);

// Load `load` (0 to LoadCount - 1) as an input.
constexpr const Input &loadInput(int load)
{
    return Inputs[LoadInputs[load]];
}

constexpr bool isLoad(const Input &input)
{
    for (const int i : LoadInputs)
        if (Inputs[i].value == input.value)
            return true;
    return false;
}

// Whether arrangement 1 to 7 uses the input.
constexpr bool uses(int arrangement, const Input &input)
{
    const calc::Arrangement &a = calc::ArrangementTable[static_cast<std::size_t>(arrangement - 1)];
    switch (input.usedBy) {
    case UsedBy::Every:
        return true;
    case UsedBy::Direction1:
        return a.k1 > 0;
    case UsedBy::Direction2:
        return a.k2 > 0;
    }
    return false;
}

// The input of field TextN, or nullptr.
constexpr const Input *inputOfField(int field)
{
    for (const Input &input : Inputs)
        if (input.field == field)
            return &input;
    return nullptr;
}

} // namespace design
