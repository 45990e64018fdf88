#include "working/working.h"

#include <cmath>
#include <cstdio>

namespace working {
namespace {

using calc::SizeDetails;

using texts::Text;

// The words are the program's texts; the formulas and these patterns of numbers are symbols in
// every language.
constexpr char FarSentence[] = "%s (10·hef = %s mm)";
constexpr char BothFar[] = "C1 = %s mm, C2 = %s mm ≥ 10·hef = %s mm";

// printf into a string; the texts above take strings and integers only (a per cent sign of the
// text itself is written %%).
template <typename... Args> std::string format(const char *pattern, Args... args)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

std::string n(double value)
{
    return number(value);
}

// A number after a minus sign, in parentheses when negative.
std::string p(double value)
{
    return value < 0 ? "(" + n(value) + ")" : n(value);
}

class Builder
{
public:
    Builder(const design::Design &design, const SizeDetails &d, Language language)
        : m_design(design), m_d(d), m_language(language), m_size(calc::SizeTable[d.sizeNo - 1]),
          m_a(calc::ArrangementTable[design.arrangement - 1])
    {
    }

    std::vector<Line> lines()
    {
        distances();
        if (m_d.stop)
            return std::move(m_lines);
        tension();
        if (m_d.shear)
            shear();
        if (m_d.eccentric)
            eccentric();
        return std::move(m_lines);
    }

private:
    void step(std::string name, std::string formula, std::string numbers, double value,
              std::string unit, std::string remark = {})
    {
        m_lines.push_back({std::move(name),
                           std::move(formula),
                           std::move(numbers),
                           value,
                           std::move(unit),
                           std::move(remark),
                           {}});
    }
    std::string w(Text key) const { return texts::text(m_language, key); }

    void sentence(std::string heading, std::string text)
    {
        m_lines.push_back({std::move(heading), {}, {}, std::nullopt, {}, {}, std::move(text)});
    }

    void distances()
    {
        const calc::DesignInput &in = m_design.input;
        const SizeDetails &d = m_d;
        step("C1calc", "min(C1, cCr)", "min(" + n(in.C1) + ", " + n(m_size.cCr) + ")", d.C1calc,
             "mm");
        step("C2calc", "min(C2, cCr)", "min(" + n(in.C2) + ", " + n(m_size.cCr) + ")", d.C2calc,
             "mm");
        // The spacings are checked after the edge distances and capped after both of their
        // checks; arrangement 7's check of C1 and C2 as entered comes last.
        const std::optional<calc::StopKind> stop =
            d.stop ? std::optional(d.stop->kind) : std::nullopt;
        const bool spacingStop = stop == calc::StopKind::Spacing;
        auto spacing = [&](const char *name, const char *symbol, double entered, double used) {
            if (spacingStop) // not capped yet
                step(name, symbol, "", used, "mm");
            else
                step(name, "min(" + std::string(symbol) + ", sCr)",
                     "min(" + n(entered) + ", " + n(m_size.sCr) + ")", used, "mm");
        };
        if (stop != calc::StopKind::Edge) {
            if (m_a.k1 != 0)
                spacing("S1calc", "S1", in.S1, d.S1calc);
            if (m_a.k2 != 0 && !(spacingStop && d.stop->distance == "s1"))
                spacing("S2calc", "S2", in.S2, d.S2calc);
        }
        if (stop) {
            std::string name = d.stop->distance;
            name[0] = static_cast<char>(name[0] - 'a' + 'A');
            const char *minimum = "10·hef";
            if (*stop == calc::StopKind::Edge)
                minimum = "cMin";
            else if (*stop == calc::StopKind::Spacing)
                minimum = "sMin";
            if (*stop != calc::StopKind::FarFromEdges) // the others read the value as capped
                name += "calc";
            sentence(w(Text::WorkStop), name + " = " + n(d.stop->value) + " mm < " + minimum +
                                            " = " + n(d.stop->minimum) +
                                            " mm: " + w(Text::WorkStops));
            return;
        }
        if (m_design.arrangement == 7)
            sentence("C1, C2 ≥ 10·hef", format(BothFar, n(in.C1).c_str(), n(in.C2).c_str(),
                                               n(10 * m_size.hef).c_str()));
        if (m_a.k1 != 0)
            step("e1Calc", "|e1|", "|" + n(in.e1) + "|", d.e1Calc, "mm", w(Text::WorkRaised));
        if (m_a.k2 != 0)
            step("e2Calc", "|e2|", "|" + n(in.e2) + "|", d.e2Calc, "mm", w(Text::WorkRaised));
    }

    // The capacity of one anchor by the projected areas.
    void tension()
    {
        const calc::TensionDetails &t = *m_d.tension;
        const SizeDetails &d = m_d;
        step("FRd", "", "", t.FRd, "kN",
             m_design.cracked ? "(" + w(Text::Cracked) + ")" : "(" + w(Text::NonCracked) + ")");
        step("Ac0", "sCr²", n(m_size.sCr) + "²", t.Ac0, "mm²");
        step("Ac", "(cCr + C1calc + 2·k1·S1calc)·(cCr + C2calc + 2·k2·S2calc)",
             "(" + n(m_size.cCr) + " + " + n(d.C1calc) + " + " +
                 n(calc::gridExtent(m_a.k1, d.S1calc)) + ")·(" + n(m_size.cCr) + " + " +
                 n(d.C2calc) + " + " + n(calc::gridExtent(m_a.k2, d.S2calc)) + ")",
             t.Ac, "mm²");
        step("cSmall", "min(C1calc, C2calc)", "", t.cSmall, "mm");
        step("psiS", "0.7 + 0.3·cSmall/cCr", "0.7 + 0.3·" + n(t.cSmall) + "/" + n(m_size.cCr),
             t.psiS, "");
        step("FAnchor", "(Ac/Ac0)·psiS·FRd/nAnchors",
             "(" + n(t.Ac) + "/" + n(t.Ac0) + ")·" + n(t.psiS) + "·" + n(t.FRd) + "/" +
                 std::to_string(m_a.nAnchors),
             t.FAnchor, "kN");
        step("NSd/nAnchors", "", n(m_design.input.NSd) + "/" + std::to_string(m_a.nAnchors),
             t.NSdPerAnchor, "kN");
    }

    void shear()
    {
        const calc::ShearDetails &s = *m_d.shear;
        const SizeDetails &d = m_d;
        const int arrangement = m_design.arrangement;
        const std::string V = n(std::fabs(m_design.input.V1d));
        const std::string nA = std::to_string(m_a.nAnchors);
        if (arrangement == 2 || arrangement == 3 || arrangement == 6)
            sentence(w(Text::WorkFarFromEdges),
                     format(FarSentence,
                            s.farFromEdges ? w(Text::WorkYes).c_str() : w(Text::WorkNo).c_str(),
                            n(10 * m_size.hef).c_str()));
        switch (arrangement) {
        case 1:
            step("VRes", "V1dCalc", "", s.VRes, "kN");
            break;
        case 2:
        case 3:
            if (s.farFromEdges)
                step("VRes", "V1dCalc/nAnchors", V + "/" + nA, s.VRes, "kN");
            else
                step("VRes", "V1dCalc " + w(Text::WorkOneAnchorTakesAll), "", s.VRes, "kN");
            break;
        case 4:
        case 5:
            step("VRes", "V1dCalc·e2Calc/(2·k2·S2calc) + V1dCalc/nAnchors",
                 V + "·" + n(d.e2Calc) + "/(2·" + n(m_a.k2) + "·" + n(d.S2calc) + ") + " + V + "/" +
                     nA,
                 s.VRes, "kN");
            break;
        default: {
            const bool six = arrangement == 6;
            const char *share = six ? (s.farFromEdges ? "/4" : "/2") : "/6";
            step("VAnchor", "V1dCalc" + std::string(share), V + share, *s.VAnchor, "kN");
            if (six) {
                step("rCorner", "0.5·√(S2calc² + S1calc²)",
                     "0.5·√(" + n(d.S2calc) + "² + " + n(d.S1calc) + "²)", *s.rCorner, "mm");
                step("FTorsion", "V1dCalc·e2Calc/(4·rCorner)",
                     V + "·" + n(d.e2Calc) + "/(4·" + n(*s.rCorner) + ")", *s.FTorsion, "kN");
                step("angleT", "3.1416 − atn(S1calc/S2calc)",
                     "3.1416 − atn(" + n(d.S1calc) + "/" + n(d.S2calc) + ")", *s.angleT, "rad");
            } else {
                step("sumR2", "S2calc²/4 + S1calc²", n(d.S2calc) + "²/4 + " + n(d.S1calc) + "²",
                     *s.sumR2, "mm²");
                step("rCorner", "√sumR2", "√" + n(*s.sumR2), *s.rCorner, "mm");
                step("FTorsion", "V1dCalc·e2Calc·rCorner/(4·sumR2 + 0.5·S2calc²)",
                     V + "·" + n(d.e2Calc) + "·" + n(*s.rCorner) + "/(4·" + n(*s.sumR2) +
                         " + 0.5·" + n(d.S2calc) + "²)",
                     *s.FTorsion, "kN");
                step("angleT", "3.1416 − atn(2·S1calc/S2calc)",
                     "3.1416 − atn(2·" + n(d.S1calc) + "/" + n(d.S2calc) + ")", *s.angleT, "rad");
            }
            step("VRes", "√(VAnchor² + FTorsion² − 2·VAnchor·FTorsion·cos(angleT))",
                 "√(" + n(*s.VAnchor) + "² + " + n(*s.FTorsion) + "² − 2·" + n(*s.VAnchor) + "·" +
                     n(*s.FTorsion) + "·cos(" + n(*s.angleT) + "))",
                 s.VRes, "kN");
        }
        }
        if (s.VGroupCap) {
            if (s.capacityAnchors == 1)
                step("VGroupCap", "FAnchor", "", *s.VGroupCap, "kN");
            else
                step("VGroupCap", std::to_string(s.capacityAnchors) + "·FAnchor",
                     std::to_string(s.capacityAnchors) + "·" + n(m_d.tension->FAnchor),
                     *s.VGroupCap, "kN");
        }
    }

    void eccentric()
    {
        const calc::EccentricDetails &e = *m_d.eccentric;
        const SizeDetails &d = m_d;
        const double FAnchor = m_d.tension->FAnchor;
        const std::string dn = n(m_size.dNom);
        const std::string k1 = n(m_a.k1);
        const std::string S1 = n(d.S1calc);
        step("xStart", "−20·k1·S1calc − 15·dNom", "−20·" + k1 + "·" + S1 + " − 15·" + dn, e.xStart,
             "mm");
        step(w(Text::WorkStepWidth), "0.015·dNom + 0.02·k1·S1calc",
             "0.015·" + dn + " + 0.02·" + k1 + "·" + S1, e.stepWidth, "mm");
        switch (e.end) {
        case calc::SearchEnd::Step:
            sentence(w(Text::WorkSearchHeading), format(w(Text::WorkSearchStep).c_str(), e.stepNo));
            step("xNA", "xStart + stepNo·" + w(Text::WorkStepWidth),
                 n(e.xStart) + " + " + std::to_string(e.stepNo) + "·" + n(e.stepWidth), e.xNA,
                 "mm");
            break;
        case calc::SearchEnd::StepZero:
            sentence(w(Text::WorkSearchHeading), w(Text::WorkSearchZero));
            step("xNA", "xStart", "", e.xNA, "mm");
            break;
        case calc::SearchEnd::Bisection:
            sentence(w(Text::WorkSearchHeading),
                     format(w(Text::WorkSearchBisection).c_str(), e.stepNo - 1, e.stepNo));
            step("xNA", "", "", e.xNA, "mm");
            break;
        case calc::SearchEnd::LastStep:
            sentence(w(Text::WorkSearchHeading), format(w(Text::WorkSearchLast).c_str(), e.stepNo));
            step("xNA", "", "", e.xNA, "mm");
            break;
        }
        step("L", "1.5·dNom + 2·k1·S1calc − xNA",
             "1.5·" + dn + " + 2·" + k1 + "·" + S1 + " − " + p(e.xNA), e.L, "mm");
        if (m_a.k1 == 0.5)
            step("FMiddle", "", "", e.FMiddle, "kN", w(Text::WorkNoMiddleRow));
        else
            step("FMiddle", "(1.5·dNom + k1·S1calc − xNA)/L·FAnchor",
                 "(1.5·" + dn + " + " + k1 + "·" + S1 + " − " + p(e.xNA) + ")/" + n(e.L) + "·" +
                     n(FAnchor),
                 e.FMiddle, "kN");
        if (e.xNA < 0)
            step("FInner", "(1.5·dNom − xNA)/L·FAnchor",
                 "(1.5·" + dn + " − " + p(e.xNA) + ")/" + n(e.L) + "·" + n(FAnchor), e.FInner,
                 "kN");
        else
            step("FInner", "", "", e.FInner, "kN", "(xNA ≥ 0)");
        if (e.xNA > 0)
            step("bPlate", "3·dNom + 2·k2·S2calc",
                 "3·" + dn + " + " + n(calc::gridExtent(m_a.k2, d.S2calc)), e.bPlate, "mm");
        if (e.xNA > 0)
            step("CConc", "8.75·bPlate·xNA·0.0005·xNA/L",
                 "8.75·" + n(e.bPlate) + "·" + n(e.xNA) + "·0.0005·" + n(e.xNA) + "/" + n(e.L),
                 e.CConc, "kN");
        else
            step("CConc", "", "", e.CConc, "kN", "(xNA ≤ 0)");
        const std::string perRow = std::to_string(m_a.nPerRow);
        step("NGroup", "nPerRow·(FAnchor + FMiddle + FInner) − CConc",
             perRow + "·(" + n(FAnchor) + " + " + n(e.FMiddle) + " + " + n(e.FInner) + ") − " +
                 p(e.CConc),
             e.NGroup, "kN");
        step("MGroup",
             "nPerRow·k1·S1calc·(FAnchor − FInner) + (1.5·dNom + k1·S1calc − xNA/3)·CConc",
             perRow + "·" + k1 + "·" + S1 + "·(" + n(FAnchor) + " − " + p(e.FInner) + ") + (1.5·" +
                 dn + " + " + k1 + "·" + S1 + " − " + p(e.xNA) + "/3)·" + n(e.CConc),
             e.MGroup, "kN·mm");
        step("NFromM", "MGroup/e1Calc", n(e.MGroup) + "/" + n(d.e1Calc), e.NFromM, "kN");
        step("NGroup/NFromM", "", "", e.NGroup / e.NFromM, "");
    }

    const design::Design &m_design;
    const SizeDetails &m_d;
    Language m_language;
    const calc::SizeData &m_size;
    const calc::Arrangement &m_a;
    std::vector<Line> m_lines;
};

} // namespace

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::vector<Line> sizeLines(const design::Design &design, const SizeDetails &details,
                            Language language)
{
    return Builder(design, details, language).lines();
}

std::string lineText(const Line &line)
{
    if (!line.sentence.empty())
        return "  " + line.name + ": " + line.sentence + "\n";
    std::string text = "  " + line.name + " = ";
    if (!line.formula.empty())
        text += line.formula + " = ";
    if (!line.numbers.empty())
        text += line.numbers + " = ";
    text += n(*line.value);
    if (!line.unit.empty())
        text += " " + line.unit;
    if (!line.remark.empty())
        text += " " + line.remark;
    return text + "\n";
}

CheckNames checkNames(calc::CheckKind kind, Language language)
{
    switch (kind) {
    case calc::CheckKind::Tension:
        return {texts::text(language, Text::CheckTension), "NSd/nAnchors", "FAnchor"};
    case calc::CheckKind::Shear:
        return {texts::text(language, Text::CheckShear), "VRes", "FAnchor"};
    case calc::CheckKind::Eccentric:
        break;
    }
    return {texts::text(language, Text::CheckEccentric), "NSd", "NGroup"};
}

} // namespace working
