#include "cli/details.h"

#include "cli/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace cli {
namespace {

using calc::SizeDetails;

// JSON: null for what is not a finite number.
std::string json(double value)
{
    return std::isfinite(value) ? number(value) : "null";
}

std::string json(const std::optional<double> &value)
{
    return value ? json(*value) : "null";
}

std::string searchEndName(calc::SearchEnd end)
{
    switch (end) {
    case calc::SearchEnd::Step:
        return "step";
    case calc::SearchEnd::StepZero:
        return "step0";
    case calc::SearchEnd::Bisection:
        return "bisection";
    case calc::SearchEnd::LastStep:
        break;
    }
    return "lastStep";
}

// The text: numbers to six significant digits, enough to follow every step by hand.
std::string n(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

// A number after a minus sign, in parentheses when negative.
std::string p(double value)
{
    return value < 0 ? "(" + n(value) + ")" : n(value);
}

// "  name = formula = numbers = value unit", the formula and the numbers left out where empty.
std::string step(std::string_view name, std::string_view formula, const std::string &numbers,
                 double value, std::string_view unit)
{
    std::string text = "  " + std::string(name) + " = ";
    if (!formula.empty())
        text += std::string(formula) + " = ";
    if (!numbers.empty())
        text += numbers + " = ";
    text += n(value);
    if (!unit.empty())
        text += " " + std::string(unit);
    return text + "\n";
}

struct Check
{
    std::string name;
    std::string load; // in words
    double loadValue;
    std::string capacity; // in words
    double capacityValue;
    double utilization;
    bool fails;
};

std::string sizeText(const design::Design &design, const SizeDetails &d)
{
    const calc::SizeData &size = calc::SizeTable[d.sizeNo - 1];
    const calc::Arrangement &a = calc::ArrangementTable[design.arrangement - 1];
    const calc::DesignInput &in = design.input;
    std::string text = "M" + n(size.dNom) + ": dNom " + n(size.dNom) + " mm, hef " + n(size.hef) +
                       " mm, cCr " + n(size.cCr) + " mm, cMin " + n(size.cMin) + " mm, sCr " +
                       n(size.sCr) + " mm, sMin " + n(size.sMin) + " mm\n";

    // Distances, each checked against its minimum; the stop names the one below it.
    text += step("C1calc", "min(C1, cCr)", "min(" + n(in.C1) + ", " + n(size.cCr) + ")", d.C1calc,
                 "mm");
    text += step("C2calc", "min(C2, cCr)", "min(" + n(in.C2) + ", " + n(size.cCr) + ")", d.C2calc,
                 "mm");
    // The spacings are checked after the edge distances and capped after both of their checks;
    // arrangement 7's check of C1 and C2 as entered comes last.
    const bool stopped = d.stop.has_value();
    const std::string stopAt = stopped ? d.stop->distance : "";
    const bool entered7 = stopped && stopAt[0] == 'c' && d.stop->minimum == 10 * size.hef;
    const bool spacingsReached = !stopped || stopAt[0] == 's' || entered7;
    const bool spacingStop = stopped && stopAt[0] == 's';
    auto spacing = [&](std::string_view name, double entered, double used) {
        const std::string s = name == "S1calc" ? "S1" : "S2";
        return spacingStop ? step(name, s, "", used, "mm")
                           : step(name, "min(" + s + ", sCr)",
                                  "min(" + n(entered) + ", " + n(size.sCr) + ")", used, "mm");
    };
    if (a.k1 != 0 && spacingsReached)
        text += spacing("S1calc", in.S1, d.S1calc);
    if (a.k2 != 0 && spacingsReached && stopAt != "s1")
        text += spacing("S2calc", in.S2, d.S2calc);
    if (stopped) {
        std::string name = d.stop->distance;
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        const bool entered = entered7; // arrangement 7's check reads C1 and C2 as entered
        const std::string minimum = entered ? "10·hef" : name[0] == 'C' ? "cMin" : "sMin";
        text += "  " + (entered ? name : name + "calc") + " = " + n(d.stop->value) + " mm < " +
                minimum + " = " + n(d.stop->minimum) + " mm: the run stops at this size\n";
        return text;
    }
    if (design.arrangement == 7)
        text += "  C1 = " + n(in.C1) + " mm, C2 = " + n(in.C2) +
                " mm: both at 10·hef = " + n(10 * size.hef) + " mm or more\n";
    if (a.k1 != 0)
        text +=
            step("e1Calc", "|e1| (9 when between 0 and 9)", "|" + n(in.e1) + "|", d.e1Calc, "mm");
    if (a.k2 != 0)
        text +=
            step("e2Calc", "|e2| (9 when between 0 and 9)", "|" + n(in.e2) + "|", d.e2Calc, "mm");

    // Tension: the capacity of one anchor by the projected areas.
    const calc::TensionDetails &t = *d.tension;
    text += step("FRd", "", "", t.FRd,
                 design.cracked ? "kN (cracked concrete)" : "kN (non-cracked concrete)");
    text += step("Ac0", "sCr²", n(size.sCr) + "²", t.Ac0, "mm²");
    text += step("Ac", "(cCr + C1calc + 2·k1·S1calc)·(cCr + C2calc + 2·k2·S2calc)",
                 "(" + n(size.cCr) + " + " + n(d.C1calc) + " + " +
                     n(a.k1 == 0 ? 0.0 : 2 * a.k1 * d.S1calc) + ")·(" + n(size.cCr) + " + " +
                     n(d.C2calc) + " + " + n(a.k2 == 0 ? 0.0 : 2 * a.k2 * d.S2calc) + ")",
                 t.Ac, "mm²");
    text += step("cSmall", "min(C1calc, C2calc)", "", t.cSmall, "mm");
    text += step("psiS", "0.7 + 0.3·cSmall/cCr", "0.7 + 0.3·" + n(t.cSmall) + "/" + n(size.cCr),
                 t.psiS, "");
    text += step("FAnchor", "(Ac/Ac0)·psiS·FRd/nAnchors",
                 "(" + n(t.Ac) + "/" + n(t.Ac0) + ")·" + n(t.psiS) + "·" + n(t.FRd) + "/" +
                     std::to_string(a.nAnchors),
                 t.FAnchor, "kN");
    text += step("NSd/nAnchors", "", n(in.NSd) + "/" + std::to_string(a.nAnchors), t.NSdPerAnchor,
                 "kN");

    std::vector<Check> checks;
    const bool tensionFails = !(t.NSdPerAnchor <= t.FAnchor);
    checks.push_back({"tension", "NSd/nAnchors", t.NSdPerAnchor, "FAnchor", t.FAnchor,
                      t.NSdPerAnchor / t.FAnchor, tensionFails});

    if (d.shear) {
        const calc::ShearDetails &s = *d.shear;
        const double V = std::fabs(in.V1d);
        if (design.arrangement == 2 || design.arrangement == 3 || design.arrangement == 6)
            text += "  far from the edges (C1 and C2 at 10·hef = " + n(10 * size.hef) +
                    " mm or more): " + (s.farFromEdges ? "yes" : "no") + "\n";
        const std::string nA = std::to_string(a.nAnchors);
        switch (design.arrangement) {
        case 1:
            text += step("VRes", "V1dCalc", "", s.VRes, "kN");
            break;
        case 2:
        case 3:
            text += s.farFromEdges ? step("VRes", "V1dCalc/nAnchors", n(V) + "/" + nA, s.VRes, "kN")
                                   : step("VRes", "V1dCalc (one anchor takes all the shear)", "",
                                          s.VRes, "kN");
            break;
        case 4:
        case 5:
            text += step("VRes", "V1dCalc·e2Calc/(2·k2·S2calc) + V1dCalc/nAnchors",
                         n(V) + "·" + n(d.e2Calc) + "/(2·" + n(a.k2) + "·" + n(d.S2calc) + ") + " +
                             n(V) + "/" + nA,
                         s.VRes, "kN");
            break;
        default: {
            const bool six = design.arrangement == 6;
            text +=
                step("VAnchor", six ? (s.farFromEdges ? "V1dCalc/4" : "V1dCalc/2") : "V1dCalc/6",
                     n(V) + (six ? (s.farFromEdges ? "/4" : "/2") : "/6"), *s.VAnchor, "kN");
            if (six) {
                text +=
                    step("rCorner", "0.5·√(S2calc² + S1calc²)",
                         "0.5·√(" + n(d.S2calc) + "² + " + n(d.S1calc) + "²)", *s.rCorner, "mm");
                text += step("FTorsion", "V1dCalc·e2Calc/(4·rCorner)",
                             n(V) + "·" + n(d.e2Calc) + "/(4·" + n(*s.rCorner) + ")", *s.FTorsion,
                             "kN");
                text +=
                    step("angleT", "3.1416 − atn(S1calc/S2calc)",
                         "3.1416 − atn(" + n(d.S1calc) + "/" + n(d.S2calc) + ")", *s.angleT, "rad");
            } else {
                text += step("sumR2", "S2calc²/4 + S1calc²",
                             n(d.S2calc) + "²/4 + " + n(d.S1calc) + "²", *s.sumR2, "mm²");
                text += step("rCorner", "√sumR2", "√" + n(*s.sumR2), *s.rCorner, "mm");
                text += step("FTorsion", "V1dCalc·e2Calc·rCorner/(4·sumR2 + 0.5·S2calc²)",
                             n(V) + "·" + n(d.e2Calc) + "·" + n(*s.rCorner) + "/(4·" + n(*s.sumR2) +
                                 " + 0.5·" + n(d.S2calc) + "²)",
                             *s.FTorsion, "kN");
                text += step("angleT", "3.1416 − atn(2·S1calc/S2calc)",
                             "3.1416 − atn(2·" + n(d.S1calc) + "/" + n(d.S2calc) + ")", *s.angleT,
                             "rad");
            }
            text += step("VRes", "√(VAnchor² + FTorsion² − 2·VAnchor·FTorsion·cos(angleT))",
                         "√(" + n(*s.VAnchor) + "² + " + n(*s.FTorsion) + "² − 2·" + n(*s.VAnchor) +
                             "·" + n(*s.FTorsion) + "·cos(" + n(*s.angleT) + "))",
                         s.VRes, "kN");
        }
        }
        if (s.VGroupCap) {
            const bool all = design.arrangement >= 4 || s.farFromEdges;
            const std::string factor = all ? nA : design.arrangement == 6 ? "2" : "";
            text += step("VGroupCap", factor.empty() ? "FAnchor" : factor + "·FAnchor",
                         factor.empty() ? "" : factor + "·" + n(t.FAnchor), *s.VGroupCap, "kN");
        }
        checks.push_back({"shear", "VRes", s.VRes, "FAnchor", t.FAnchor, s.VRes / t.FAnchor,
                          !(s.VRes <= t.FAnchor)});
    }

    if (d.eccentric) {
        const calc::EccentricDetails &e = *d.eccentric;
        const double dn = size.dNom;
        const double xStart = -20 * a.k1 * d.S1calc - 15 * dn;
        const double width = 0.015 * dn + 0.02 * a.k1 * d.S1calc;
        const double L = 1.5 * dn + 2 * a.k1 * d.S1calc - e.xNA;
        const double bPlate = 3 * dn + (a.k2 == 0 ? 0.0 : 2 * a.k2 * d.S2calc);
        text += step("xStart", "−20·k1·S1calc − 15·dNom",
                     "−20·" + n(a.k1) + "·" + n(d.S1calc) + " − 15·" + n(dn), xStart, "mm");
        text += step("step width", "0.015·dNom + 0.02·k1·S1calc",
                     "0.015·" + n(dn) + " + 0.02·" + n(a.k1) + "·" + n(d.S1calc), width, "mm");
        switch (e.end) {
        case calc::SearchEnd::Step:
            text += "  the search stops at step " + std::to_string(e.stepNo) +
                    ", the first whose NGroup/NFromM lies within 5 % of 1\n";
            text +=
                step("xNA", "xStart + stepNo·step width",
                     n(xStart) + " + " + std::to_string(e.stepNo) + "·" + n(width), e.xNA, "mm");
            break;
        case calc::SearchEnd::StepZero:
            text += "  no step lies within 5 %, and NGroup/NFromM is below 1 at step 0: step 0\n";
            text += step("xNA", "xStart", "", e.xNA, "mm");
            break;
        case calc::SearchEnd::Bisection:
            text += "  no step lies within 5 %: bisection between steps " +
                    std::to_string(e.stepNo - 1) + " and " + std::to_string(e.stepNo) +
                    ", where NGroup/NFromM falls below 1\n";
            text += step("xNA", "", "", e.xNA, "mm");
            break;
        case calc::SearchEnd::LastStep:
            text += "  no step lies within 5 % and NGroup/NFromM never falls below 1: step " +
                    std::to_string(e.stepNo) + "\n";
            text += step("xNA", "", "", e.xNA, "mm");
            break;
        }
        text += step("L", "1.5·dNom + 2·k1·S1calc − xNA",
                     "1.5·" + n(dn) + " + 2·" + n(a.k1) + "·" + n(d.S1calc) + " − " + p(e.xNA), L,
                     "mm");
        text += a.k1 == 0.5 ? step("FMiddle", "", "", e.FMiddle, "kN (no middle row)")
                            : step("FMiddle", "(1.5·dNom + k1·S1calc − xNA)/L·FAnchor",
                                   "(1.5·" + n(dn) + " + " + n(a.k1) + "·" + n(d.S1calc) + " − " +
                                       p(e.xNA) + ")/" + n(L) + "·" + n(t.FAnchor),
                                   e.FMiddle, "kN");
        text += e.xNA < 0
                    ? step("FInner", "(1.5·dNom − xNA)/L·FAnchor",
                           "(1.5·" + n(dn) + " − " + p(e.xNA) + ")/" + n(L) + "·" + n(t.FAnchor),
                           e.FInner, "kN")
                    : step("FInner", "", "", e.FInner, "kN (xNA ≥ 0)");
        text +=
            e.xNA > 0
                ? step("CConc", "8.75·bPlate·xNA·0.0005·xNA/L",
                       "8.75·" + n(bPlate) + "·" + n(e.xNA) + "·0.0005·" + n(e.xNA) + "/" + n(L),
                       e.CConc, "kN")
                : step("CConc", "", "", e.CConc, "kN (xNA ≤ 0)");
        const std::string perRow = std::to_string(a.nPerRow);
        text += step("NGroup", "nPerRow·(FAnchor + FMiddle + FInner) − CConc",
                     perRow + "·(" + n(t.FAnchor) + " + " + n(e.FMiddle) + " + " + n(e.FInner) +
                         ") − " + p(e.CConc),
                     e.NGroup, "kN");
        text += step("MGroup",
                     "nPerRow·k1·S1calc·(FAnchor − FInner) + (1.5·dNom + k1·S1calc − xNA/3)·CConc",
                     perRow + "·" + n(a.k1) + "·" + n(d.S1calc) + "·(" + n(t.FAnchor) + " − " +
                         p(e.FInner) + ") + (1.5·" + n(dn) + " + " + n(a.k1) + "·" + n(d.S1calc) +
                         " − " + p(e.xNA) + "/3)·" + n(e.CConc),
                     e.MGroup, "kN·mm");
        text += step("NFromM", "MGroup/e1Calc", n(e.MGroup) + "/" + n(d.e1Calc), e.NFromM, "kN");
        text += step("NGroup/NFromM", "", "", e.NGroup / e.NFromM, "");
        checks.push_back({"eccentric", "NSd", in.NSd, "NGroup", e.NGroup, in.NSd / e.NGroup,
                          !(e.NGroup > in.NSd)});
    }

    // The failed check governs; a chosen size is governed by its highest utilisation.
    std::size_t governs = 0;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].fails) {
            governs = i;
            break;
        }
        if (checks[i].utilization > checks[governs].utilization)
            governs = i;
    }
    text += "  check      load                       capacity                 utilisation\n";
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const Check &c = checks[i];
        auto cell = [](std::string s, std::size_t width) {
            // Pad by characters, the names being ASCII.
            if (s.size() < width)
                s.resize(width, ' ');
            return s + " ";
        };
        std::string row =
            "  " + cell(c.name, 10) + cell(c.load + " " + n(c.loadValue) + " kN", 26) +
            cell(c.capacity + " " + n(c.capacityValue) + " kN", 24) + n(c.utilization);
        if (c.fails)
            row += "  fails";
        if (i == governs)
            row += "  governs";
        text += row + "\n";
    }
    text += "  outcome: " +
            (*d.outcome == calc::SizeOutcome::Chosen
                 ? std::string("chosen")
                 : "fails the " + sizeOutcomeName(*d.outcome) + " check") +
            "\n";
    return text;
}

} // namespace

std::string jsonDetails(const SizeDetails &d)
{
    JsonObject o;
    o.add("C1calc", json(d.C1calc))
        .add("C2calc", json(d.C2calc))
        .add("S1calc", json(d.S1calc))
        .add("S2calc", json(d.S2calc))
        .add("e1Calc", json(d.e1Calc))
        .add("e2Calc", json(d.e2Calc));
    if (d.stop)
        o.add("stop", JsonObject()
                          .add("distance", jsonString(d.stop->distance))
                          .add("value", json(d.stop->value))
                          .add("minimum", json(d.stop->minimum))
                          .done());
    if (d.tension) {
        const calc::TensionDetails &t = *d.tension;
        o.add("FRd", json(t.FRd))
            .add("Ac0", json(t.Ac0))
            .add("Ac", json(t.Ac))
            .add("cSmall", json(t.cSmall))
            .add("psiS", json(t.psiS))
            .add("FAnchor", json(t.FAnchor))
            .add("NSdPerAnchor", json(t.NSdPerAnchor));
    }
    if (d.tension || d.outcome) {
        std::string shear = "null";
        if (d.shear) {
            const calc::ShearDetails &s = *d.shear;
            shear = JsonObject()
                        .add("farFromEdges", s.farFromEdges ? "true" : "false")
                        .add("VAnchor", json(s.VAnchor))
                        .add("FTorsion", json(s.FTorsion))
                        .add("rCorner", json(s.rCorner))
                        .add("sumR2", json(s.sumR2))
                        .add("angleT", json(s.angleT))
                        .add("VRes", json(s.VRes))
                        .add("VGroupCap", json(s.VGroupCap))
                        .done();
        }
        std::string eccentric = "null";
        if (d.eccentric) {
            const calc::EccentricDetails &e = *d.eccentric;
            eccentric = JsonObject()
                            .add("end", jsonString(searchEndName(e.end)))
                            .add("stepNo", std::to_string(e.stepNo))
                            .add("xNA", json(e.xNA))
                            .add("FMiddle", json(e.FMiddle))
                            .add("FInner", json(e.FInner))
                            .add("CConc", json(e.CConc))
                            .add("NGroup", json(e.NGroup))
                            .add("MGroup", json(e.MGroup))
                            .add("NFromM", json(e.NFromM))
                            .done();
        }
        o.add("shear", shear).add("eccentric", eccentric);
        o.add("outcome", d.outcome ? jsonString(sizeOutcomeName(*d.outcome)) : "null");
    }
    return o.done();
}

std::string detailsText(const design::Design &design, const calc::Result &result)
{
    std::string text;
    for (const SizeDetails &d : result.details)
        text += "\n" + sizeText(design, d);
    return text;
}

} // namespace cli
