// The details page (see detailspage.h).

#include "print/detailspage.h"
#include "print/reportdata.h"

#include "forms/widgets.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <cmath>
#include <functional>
#include <vector>

namespace print {
namespace {

using calc::SizeDetails;

struct Words
{
    const char *title, *caseWord, *cracked, *nonCracked, *inputs, *value, *checks, *legend,
        *outcome, *chosen, *stopped, *fails[4], *searchStep, *searchZero, *searchBisection,
        *searchLast, *search, *farFromEdges, *yes, *no, *stopBelow, *chosenSentence,
        *stoppedSentence, *stale, *uncalculated;
};

const Words English{"Calculation in full",
                    "CASE",
                    "cracked concrete",
                    "non-cracked concrete",
                    "Inputs",
                    "value",
                    "Checks: load / capacity = utilisation",
                    "* governs: the check that failed, else the highest utilisation",
                    "outcome",
                    "chosen",
                    "stopped",
                    {"", "tension fails", "shear fails", "eccentric tension fails"},
                    "step %1, within 5 %",
                    "step 0, no step within 5 %",
                    "bisection of steps %1 and %2",
                    "last step %1",
                    "search ends",
                    "far from the edges",
                    "yes",
                    "no",
                    "%1 = %2 mm below %3 mm",
                    "Chosen: %1",
                    "The calculation stopped: %1",
                    StaleEnglish,
                    UncalculatedEnglish};

const Words Finnish{"Laskelma kokonaisuudessaan",
                    "TAPAUS",
                    "halkeillut betoni",
                    "halkeilematon betoni",
                    "Lähtötiedot",
                    "arvo",
                    "Tarkistukset: kuorma / kapasiteetti = käyttöaste",
                    "* määräävä: tarkistus, joka ei täyty, muuten suurin käyttöaste",
                    "tulos",
                    "valittu",
                    "pysähtyi",
                    {"", "veto ei riitä", "leikkaus ei riitä", "epäkeskinen veto ei riitä"},
                    "askel %1, 5 %:n sisällä",
                    "askel 0, ei askelta 5 %:n sisällä",
                    "askelten %1 ja %2 puolitus",
                    "viimeinen askel %1",
                    "haku päättyy",
                    "kaukana reunoista",
                    "kyllä",
                    "ei",
                    "%1 = %2 mm alle %3 mm",
                    "Valittu: %1",
                    "Laskenta pysähtyi: %1",
                    StaleFinnish,
                    UncalculatedFinnish};

// Six significant digits, the locale's decimal separator, no group separators. An input whose
// field is not one number holds none: "?".
QString number(double value)
{
    if (std::isnan(value))
        return QStringLiteral("?");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 6);
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

// A row of working values: its name, unit and value in each size, none where not reached.
struct ValueRow
{
    const char *name;
    const char *unit;
    std::function<std::optional<double>(const SizeDetails &)> value;
};

std::vector<ValueRow> valueRows()
{
    using D = const SizeDetails &;
    // A value of the size itself, or of one of its parts (none where the pass did not reach it).
    auto own = [](auto field) { return [field](D d) { return std::optional<double>(d.*field); }; };
    auto in = [](auto part, auto field) {
        return [part, field](D d) -> std::optional<double> {
            if (!(d.*part))
                return std::nullopt;
            return std::optional<double>((*(d.*part)).*field);
        };
    };
    auto tension = [in](auto field) { return in(&SizeDetails::tension, field); };
    auto shear = [in](auto field) { return in(&SizeDetails::shear, field); };
    auto eccentric = [in](auto field) { return in(&SizeDetails::eccentric, field); };
    using T = calc::TensionDetails;
    using S = calc::ShearDetails;
    using E = calc::EccentricDetails;
    return {
        {"C1calc", "mm", own(&SizeDetails::C1calc)},
        {"C2calc", "mm", own(&SizeDetails::C2calc)},
        {"S1calc", "mm", own(&SizeDetails::S1calc)},
        {"S2calc", "mm", own(&SizeDetails::S2calc)},
        {"e1Calc", "mm", own(&SizeDetails::e1Calc)},
        {"e2Calc", "mm", own(&SizeDetails::e2Calc)},
        {"FRd", "kN", tension(&T::FRd)},
        {"Ac0", "mm²", tension(&T::Ac0)},
        {"Ac", "mm²", tension(&T::Ac)},
        {"cSmall", "mm", tension(&T::cSmall)},
        {"psiS", "", tension(&T::psiS)},
        {"FAnchor", "kN", tension(&T::FAnchor)},
        {"NSd/nAnchors", "kN", tension(&T::NSdPerAnchor)},
        {"VAnchor", "kN", shear(&S::VAnchor)},
        {"FTorsion", "kN", shear(&S::FTorsion)},
        {"rCorner", "mm", shear(&S::rCorner)},
        {"sumR2", "mm²", shear(&S::sumR2)},
        {"angleT", "rad", shear(&S::angleT)},
        {"VRes", "kN", shear(&S::VRes)},
        {"VGroupCap", "kN", shear(&S::VGroupCap)},
        {"xNA", "mm", eccentric(&E::xNA)},
        {"FMiddle", "kN", eccentric(&E::FMiddle)},
        {"FInner", "kN", eccentric(&E::FInner)},
        {"CConc", "kN", eccentric(&E::CConc)},
        {"NGroup", "kN", eccentric(&E::NGroup)},
        {"MGroup", "kN·mm", eccentric(&E::MGroup)},
        {"NFromM", "kN", eccentric(&E::NFromM)},
    };
}

struct Check
{
    QString text; // "load / capacity = utilisation"
    double utilization = 0;
    bool fails = false;
};

// The checks a size reached, in their order.
std::vector<Check> checks(const SizeDetails &d, double NSd)
{
    std::vector<Check> list;
    auto add = [&](double load, double capacity, bool fails) {
        const double u = load / capacity;
        list.push_back({number(load) + " / " + number(capacity) + " = " + number(u), u, fails});
    };
    if (!d.tension)
        return list;
    add(d.tension->NSdPerAnchor, d.tension->FAnchor,
        !(d.tension->NSdPerAnchor <= d.tension->FAnchor));
    if (d.shear)
        add(d.shear->VRes, d.tension->FAnchor, !(d.shear->VRes <= d.tension->FAnchor));
    if (d.eccentric)
        add(NSd, d.eccentric->NGroup, !(d.eccentric->NGroup > NSd));
    return list;
}

// The failed check governs; else the highest utilisation.
std::size_t governing(const std::vector<Check> &list)
{
    std::size_t governs = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].fails)
            return i;
        if (list[i].utilization > list[governs].utilization)
            governs = i;
    }
    return governs;
}

QString searchText(const calc::EccentricDetails &e, const Words &w)
{
    switch (e.end) {
    case calc::SearchEnd::Step:
        return QString::fromUtf8(w.searchStep).arg(e.stepNo);
    case calc::SearchEnd::StepZero:
        return QString::fromUtf8(w.searchZero);
    case calc::SearchEnd::Bisection:
        return QString::fromUtf8(w.searchBisection).arg(e.stepNo - 1).arg(e.stepNo);
    case calc::SearchEnd::LastStep:
        break;
    }
    return QString::fromUtf8(w.searchLast).arg(e.stepNo);
}

QString resultHtml(const DetailsSource &source, const calc::Result &result, const Words &w)
{
    const std::vector<SizeDetails> &sizes = result.details;
    auto sizeName = [](const SizeDetails &d) {
        return QStringLiteral("M") + number(calc::SizeTable[d.sizeNo - 1].dNom);
    };
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=2 border=1 width=100%>"
                                  "<tr><th align=left></th><th></th>");
    for (const SizeDetails &d : sizes)
        html += "<th align=right>" + sizeName(d) + "</th>";
    html += "</tr>";

    auto row = [&](const QString &name, const QString &unit,
                   const std::function<QString(const SizeDetails &)> &cell) {
        QString cells;
        bool any = false;
        for (const SizeDetails &d : sizes) {
            const QString c = cell(d);
            any = any || !c.isEmpty();
            cells += "<td align=right>" + c + "</td>";
        }
        if (any)
            html += "<tr><td>" + name + "</td><td>" + unit + "</td>" + cells + "</tr>";
    };
    for (const ValueRow &r : valueRows())
        row(QString::fromUtf8(r.name), QString::fromUtf8(r.unit), [&](const SizeDetails &d) {
            const std::optional<double> v = r.value(d);
            return v ? number(*v) : QString();
        });
    row(QString::fromUtf8(w.farFromEdges), {}, [&](const SizeDetails &d) {
        if (!d.shear || (source.design.arrangement != 2 && source.design.arrangement != 3 &&
                         source.design.arrangement != 6))
            return QString();
        return QString::fromUtf8(d.shear->farFromEdges ? w.yes : w.no);
    });
    row(QString::fromUtf8(w.search), {}, [&](const SizeDetails &d) {
        return d.eccentric ? searchText(*d.eccentric, w) : QString();
    });
    html += "</table>";

    // The checks, the governing one marked.
    html += "<p><b>" + esc(QString::fromUtf8(w.checks)) + "</b></p>";
    html += QStringLiteral("<table cellspacing=0 cellpadding=2 border=1 width=100%><tr><th></th>");
    for (const SizeDetails &d : sizes)
        html += "<th align=right>" + sizeName(d) + "</th>";
    html += "</tr>";
    const char *const names[] = {"NSd/nAnchors / FAnchor", "VRes / FAnchor", "NSd / NGroup"};
    for (std::size_t i = 0; i < 3; ++i) {
        QString cells;
        bool any = false;
        for (const SizeDetails &d : sizes) {
            const std::vector<Check> list = checks(d, source.design.input.NSd);
            QString c;
            if (i < list.size()) {
                any = true;
                c = esc(list[i].text);
                if (i == governing(list))
                    c = "<b>" + c + " *</b>";
            }
            cells += "<td align=right>" + c + "</td>";
        }
        if (any)
            html += "<tr><td>" + esc(QString::fromUtf8(names[i])) + "</td>" + cells + "</tr>";
    }
    QString outcomes;
    for (const SizeDetails &d : sizes) {
        QString c;
        if (d.stop)
            c = QString::fromUtf8(w.stopped) + ": " +
                QString::fromUtf8(w.stopBelow)
                    .arg(QString::fromStdString(d.stop->distance), number(d.stop->value),
                         number(d.stop->minimum));
        else if (d.outcome == calc::SizeOutcome::Chosen)
            c = QString::fromUtf8(w.chosen);
        else if (d.outcome)
            c = QString::fromUtf8(w.fails[int(*d.outcome)]);
        outcomes += "<td align=right>" + esc(c) + "</td>";
    }
    html += "<tr><td>" + esc(QString::fromUtf8(w.outcome)) + "</td>" + outcomes + "</tr></table>";
    html += "<p>" + esc(QString::fromUtf8(w.legend)) + "</p>";

    // The outcome in a sentence.
    QString sentence;
    switch (result.outcome) {
    case calc::Outcome::Chosen:
        sentence =
            QString::fromUtf8(w.chosenSentence)
                .arg(fromUtf8(result.chosen->anchorText).simplified() +
                     (result.chosen->plate ? "; " + fromUtf8(result.chosen->plateText).simplified()
                                           : QString()));
        break;
    case calc::Outcome::Stopped:
        sentence =
            QString::fromUtf8(w.stoppedSentence).arg(fromUtf8(result.message->text).simplified());
        break;
    case calc::Outcome::Advice:
        sentence = fromUtf8(result.advice);
        break;
    }
    html += "<p><b>" + esc(sentence) + "</b></p>";
    return html;
}

} // namespace

QString detailsPageHtml(const DetailsSource &source)
{
    const Words &w = source.finnish ? Finnish : English;
    const design::Design &design = source.design;
    QString html = QStringLiteral("<html><body>");
    html += "<p>" + esc(source.project) + "<br>" + esc(source.versionLine) + "<br>" +
            esc(source.dateTime) + "</p>";
    html += "<h3>" + esc(QString::fromUtf8(w.title)) + ": " + QString::fromUtf8(w.caseWord) + ' ' +
            QString::number(design.arrangement) + ", " +
            esc(QString::fromUtf8(design.cracked ? w.cracked : w.nonCracked)) + "</h3>";
    QStringList inputs;
    for (const design::Input &input : design::Inputs)
        inputs << QString::fromUtf8(input.label.data(), qsizetype(input.label.size())) + " = " +
                      number(design.input.*input.value) + ' ' +
                      QString::fromUtf8(input.unit.data(), qsizetype(input.unit.size()));
    html += "<p>" + esc(QString::fromUtf8(w.inputs)) + ": " + esc(inputs.join(", ")) + "</p>";
    if (source.result)
        html += resultHtml(source, *source.result, w);
    else
        html += "<p><b>" + esc(QString::fromUtf8(source.calculated ? w.stale : w.uncalculated)) +
                "</b></p>";
    return html + "</body></html>";
}

void paintDetailsPage(QPainter &painter, const DetailsSource &source)
{
    QPaintDevice *device = painter.device();
    QTextDocument document;
    document.documentLayout()->setPaintDevice(device);
    QFont font = forms::toFont(forms::Font());
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    document.setHtml(detailsPageHtml(source));
    // Margins of 15 mm.
    const double margin = 15 / 25.4 * device->logicalDpiX();
    const QRectF text(0, 0, device->width() - 2 * margin, device->height() - 2 * margin);
    document.setTextWidth(text.width());
    painter.save();
    painter.translate(margin, margin);
    document.drawContents(&painter, text);
    painter.restore();
}

} // namespace print
