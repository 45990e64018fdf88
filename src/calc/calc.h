#pragma once

// The design calculation of one fastening, in standard C++ only.
//
//   numbers.h   the parse of a field's text, its written form, the "0.00" and general forms
//   calc.h      size and arrangement tables, the design input, the texts, Mitoitus
//
// The main window and kiila-calc fill a DesignInput and a Texts, call Mitoitus and turn the
// Result into their displays. Nothing here touches a window, a message box or a global.

#include <array>
#include <cstdint>
#include <optional>
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
};

struct ChosenSize
{
    int sizeNo = 0;
    std::string anchorText;                     // Label17
    std::string dataSheetTitle;                 // Form2.Label1
    std::optional<std::array<double, 2>> plate; // extent in direction 2, then direction 1 (mm)
    std::string plateText;                      // Label2; empty for arrangement 1
};

// A distance below the minimum of a size: the run stops with a message box.
struct StopMessage
{
    int sizeNo = 0;
    std::string text;
    std::string title;
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
};

// Tries M8 to M16 for the arrangement tapaus (1 to 7; std::out_of_range otherwise). Numbers
// inside the composed texts use decimalSeparator.
Result Mitoitus(const DesignInput &input, int tapaus, ConcreteState concreteState,
                const Texts &texts, std::string_view decimalSeparator = ".");

} // namespace calc
