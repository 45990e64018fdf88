#include "cli/details.h"

#include "cli/json.h"
#include "working/working.h"

#include <cmath>
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

std::string stopKindName(calc::StopKind kind)
{
    switch (kind) {
    case calc::StopKind::Edge:
        return "edge";
    case calc::StopKind::Spacing:
        return "spacing";
    case calc::StopKind::FarFromEdges:
        break;
    }
    return "farFromEdges";
}

std::string boolean(bool value)
{
    return value ? "true" : "false";
}

std::string sizeText(const design::Design &design, const SizeDetails &d, texts::Language language)
{
    using texts::Text;
    const auto word = [language](Text key) { return std::string(texts::text(language, key)); };
    using working::number;
    const calc::SizeData &size = calc::SizeTable[d.sizeNo - 1];
    std::string text = "M" + number(size.dNom) + ": dNom " + number(size.dNom) + " mm, hef " +
                       number(size.hef) + " mm, cCr " + number(size.cCr) + " mm, cMin " +
                       number(size.cMin) + " mm, sCr " + number(size.sCr) + " mm, sMin " +
                       number(size.sMin) + " mm\n";
    for (const working::Line &line : working::sizeLines(design, d, language))
        text += working::lineText(line);
    if (d.stop)
        return text;

    // The checks as the calculation made them, the governing one marked.
    auto cell = [](std::string s, std::size_t width) {
        return texts::padded(std::move(s), width) + " ";
    };
    text += "  " + cell(word(Text::DetailsColumnCheck), 10) +
            cell(word(Text::DetailsColumnLoad), 26) + cell(word(Text::DetailsColumnCapacity), 24) +
            word(Text::DetailsColumnUtilisation) + "\n";
    for (const calc::CheckDetails &c : d.checks) {
        const working::CheckNames names = working::checkNames(c.kind, language);
        std::string row = "  " + cell(std::string(names.check), 10) +
                          cell(std::string(names.load) + " " + number(c.load) + " kN", 26) +
                          cell(std::string(names.capacity) + " " + number(c.capacity) + " kN", 24) +
                          number(c.utilization);
        if (c.fails)
            row += "  " + word(Text::DetailsMarkFails);
        if (c.governs)
            row += "  " + word(Text::DetailsMarkGoverns);
        text += row + "\n";
    }
    text += "  " + word(Text::DetailsOutcome) + ": " +
            (*d.outcome == calc::SizeOutcome::Chosen
                 ? word(Text::DetailsChosen)
                 : texts::fill(word(Text::DetailsFailsCheck), {word(outcomeCheck(*d.outcome))})) +
            "\n";
    return text;
}

} // namespace

std::string jsonDetails(const design::Design &design, const SizeDetails &d)
{
    // The value the pass made of an input, null as the input is where the arrangement does not
    // use it.
    const auto of = [&design](std::string_view key, double value) {
        for (const design::Input &input : design::Inputs)
            if (input.key == key && !design::uses(design.arrangement, input))
                return std::string("null");
        return json(value);
    };
    JsonObject o;
    o.add("C1calc", of("c1", d.C1calc))
        .add("C2calc", of("c2", d.C2calc))
        .add("S1calc", of("s1", d.S1calc))
        .add("S2calc", of("s2", d.S2calc))
        .add("e1Calc", of("e1", d.e1Calc))
        .add("e2Calc", of("e2", d.e2Calc));
    if (d.stop)
        o.add("stop", JsonObject()
                          .add("kind", jsonString(stopKindName(d.stop->kind)))
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
                        .add("capacityAnchors",
                             s.VGroupCap ? std::to_string(s.capacityAnchors) : "null")
                        .done();
        }
        std::string eccentric = "null";
        if (d.eccentric) {
            const calc::EccentricDetails &e = *d.eccentric;
            eccentric = JsonObject()
                            .add("xStart", json(e.xStart))
                            .add("stepWidth", json(e.stepWidth))
                            .add("bPlate", json(e.bPlate))
                            .add("end", jsonString(searchEndName(e.end)))
                            .add("stepNo", std::to_string(e.stepNo))
                            .add("xNA", json(e.xNA))
                            .add("L", json(e.L))
                            .add("FMiddle", json(e.FMiddle))
                            .add("FInner", json(e.FInner))
                            .add("CConc", json(e.CConc))
                            .add("NGroup", json(e.NGroup))
                            .add("MGroup", json(e.MGroup))
                            .add("NFromM", json(e.NFromM))
                            .done();
        }
        std::string checks = "[";
        for (const calc::CheckDetails &c : d.checks)
            checks += (checks.size() > 1 ? ", " : "") +
                      JsonObject()
                          .add("kind", jsonString(checkKindName(c.kind)))
                          .add("load", json(c.load))
                          .add("capacity", json(c.capacity))
                          .add("utilization", json(c.utilization))
                          .add("fails", boolean(c.fails))
                          .add("governs", boolean(c.governs))
                          .done();
        o.add("shear", shear).add("eccentric", eccentric).add("checks", checks + "]");
        o.add("outcome", d.outcome ? jsonString(sizeOutcomeName(*d.outcome)) : "null");
    }
    return o.done();
}

texts::Text outcomeCheck(calc::SizeOutcome outcome)
{
    switch (outcome) {
    case calc::SizeOutcome::Shear:
        return texts::Text::CheckShear;
    case calc::SizeOutcome::Eccentric:
        return texts::Text::CheckEccentric;
    case calc::SizeOutcome::Chosen:
    case calc::SizeOutcome::Tension:
        break;
    }
    return texts::Text::CheckTension;
}

std::string detailsText(const design::Design &design, const calc::Result &result,
                        texts::Language language)
{
    std::string text;
    for (const SizeDetails &d : result.details)
        text += "\n" + sizeText(design, d, language);
    return text;
}

} // namespace cli
