// The details page (see detailspage.h).

#include "print/detailspage.h"
#include "print/reportdata.h"

#include "calc/numbers.h"

#include "forms/widgets.h"
#include "working/working.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <vector>

namespace print {
namespace {

using calc::SizeDetails;

using texts::Text;

// One of the page's own words, in its language.
QString word(const DetailsSource &source, Text key)
{
    return QString::fromUtf8(texts::text(source.language, key));
}

bool severalCases(const DetailsSource &source)
{
    return source.result && source.cases && source.design.cases.size() >= 2;
}

// The design as the working of a size reads it: with the loads of the case whose pass the
// result shows there.
design::Design sizeDesign(const DetailsSource &source, int sizeNo)
{
    if (!severalCases(source))
        return source.design;
    return design::withCase(source.design, calc::caseAtSize(*source.cases, sizeNo));
}

// Six significant digits and a point, as in the formulas. An input whose field is not one
// number holds none: "?".
QString number(double value)
{
    if (std::isnan(value))
        return QStringLiteral("?");
    return QString::fromStdString(working::number(value));
}

QString exactNumber(double value)
{
    if (std::isnan(value))
        return QStringLiteral("?");
    return QString::fromStdString(calc::exactForm(value));
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The words of a size that failed a check.
Text failsText(calc::SizeOutcome outcome)
{
    switch (outcome) {
    case calc::SizeOutcome::Shear:
        return Text::FailsShear;
    case calc::SizeOutcome::Eccentric:
        return Text::FailsEccentric;
    case calc::SizeOutcome::Chosen:
    case calc::SizeOutcome::Tension:
        break;
    }
    return Text::FailsTension;
}

// A row of the working: the first line of that name a size has, and each size's line.
struct WorkingRow
{
    working::Line line;
    std::vector<std::optional<working::Line>> sizes;
};

// The lines of every size as rows, in the order the sizes have them; a line only some sizes
// have goes after the row before it.
std::vector<WorkingRow> workingRows(const DetailsSource &source, const calc::Result &result)
{
    const texts::Language language = source.language;
    const std::size_t count = result.details.size();
    std::vector<WorkingRow> rows;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = 0;
        for (working::Line &line : working::sizeLines(sizeDesign(source, result.details[i].sizeNo),
                                                      result.details[i], language)) {
            auto found = std::find_if(rows.begin(), rows.end(), [&](const WorkingRow &r) {
                return r.line.name == line.name;
            });
            if (found == rows.end())
                found =
                    rows.insert(rows.begin() + std::ptrdiff_t(at),
                                WorkingRow{line, std::vector<std::optional<working::Line>>(count)});
            found->sizes[i] = std::move(line);
            at = std::size_t(found - rows.begin()) + 1;
        }
    }
    return rows;
}

// A size's cell: the numbers and the value, with the formula and remark where they differ from
// the row's.
QString cellText(const working::Line &row, const working::Line &line)
{
    if (!line.sentence.empty())
        return fromUtf8(line.sentence);
    QString text;
    if (line.formula != row.formula && !line.formula.empty())
        text += fromUtf8(line.formula) + " = ";
    if (!line.numbers.empty())
        text += fromUtf8(line.numbers) + " = ";
    text += number(*line.value);
    if (line.remark != row.remark)
        text += ' ' + fromUtf8(line.remark);
    return text;
}

// The HTML of a formula or its numbers, free to break after a multiplication dot: a long
// product then wraps between its factors, never inside a number.
QString formulaHtml(const QString &text)
{
    return esc(text).replace(u'·', QStringLiteral("·\u200B"));
}

QString sizeName(const SizeDetails &d)
{
    return QStringLiteral("M") + number(calc::SizeTable[d.sizeNo - 1].dNom);
}

// An empty cell of a table: a table whose last row ends in an empty cell is laid out without the
// space under it, and the heading that follows stands on its last row.
const QString NoCell = QStringLiteral("&nbsp;");

QString resultHtml(const DetailsSource &source, const calc::Result &result)
{
    const std::vector<SizeDetails> &sizes = result.details;
    const texts::Language language = source.language;
    const QString sizeWidth = QString::number(70 / std::max<std::size_t>(1, sizes.size())) + '%';

    // The working: each value's formula in symbols and its unit, then per size the numbers put
    // in and the value.
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=0 border=1 width=100%>"
                                  "<tr><th align=left width=30%></th>");
    for (const SizeDetails &d : sizes)
        html += "<th align=left width=" + sizeWidth + ">" + sizeName(d) + "</th>";
    html += "</tr>";
    for (const WorkingRow &r : workingRows(source, result)) {
        QString name = fromUtf8(r.line.name);
        if (!r.line.formula.empty())
            name += " = " + fromUtf8(r.line.formula);
        if (!r.line.unit.empty())
            name += " [" + fromUtf8(r.line.unit) + ']';
        if (!r.line.remark.empty())
            name += ' ' + fromUtf8(r.line.remark);
        html += "<tr><td>" + formulaHtml(name) + "</td>";
        for (const std::optional<working::Line> &line : r.sizes)
            html += "<td>" + (line ? formulaHtml(cellText(r.line, *line)) : NoCell) + "</td>";
        html += "</tr>";
    }
    html += "</table>";

    // The checks as the calculation made them, the governing one marked.
    html += "<p><b>" + esc(word(source, Text::DetailsChecks)) + "</b></p>";
    html += QStringLiteral("<table cellspacing=0 cellpadding=0 border=1 width=100%>"
                           "<tr><th width=30%></th>");
    for (const SizeDetails &d : sizes)
        html += "<th align=right width=" + sizeWidth + ">" + sizeName(d) + "</th>";
    html += "</tr>";
    // The kinds of check the sizes made, in the order the calculation made them.
    std::vector<calc::CheckKind> kinds;
    for (const SizeDetails &d : sizes)
        for (const calc::CheckDetails &check : d.checks)
            if (std::find(kinds.begin(), kinds.end(), check.kind) == kinds.end())
                kinds.push_back(check.kind);
    for (calc::CheckKind kind : kinds) {
        QString cells;
        for (const SizeDetails &d : sizes) {
            QString c;
            for (const calc::CheckDetails &check : d.checks) {
                if (check.kind != kind)
                    continue;
                c = esc(number(check.load) + " / " + number(check.capacity) + " = " +
                        number(check.utilization));
                if (check.governs)
                    c = "<b>" + c + " *</b>";
            }
            cells += "<td align=right>" + (c.isEmpty() ? NoCell : c) + "</td>";
        }
        const working::CheckNames names = working::checkNames(kind, language);
        html += "<tr><td>" +
                esc(fromUtf8(names.check) + ": " + fromUtf8(names.load) + " / " +
                    fromUtf8(names.capacity)) +
                "</td>" + cells + "</tr>";
    }
    QString outcomes;
    for (const SizeDetails &d : sizes) {
        QString c;
        if (d.stop)
            c = word(source, Text::DetailsStopped);
        else if (d.outcome == calc::SizeOutcome::Chosen)
            c = word(source, Text::DetailsChosen);
        else if (d.outcome)
            c = word(source, failsText(*d.outcome));
        outcomes += "<td align=right>" + esc(c) + "</td>";
    }
    html += "<tr><td>" + esc(word(source, Text::DetailsOutcome)) + "</td>" + outcomes + "</tr>";
    // Several load cases: the case each size's working is of.
    if (severalCases(source)) {
        html += "<tr><td>" + esc(word(source, Text::DetailsCaseColumn)) + "</td>";
        for (const SizeDetails &d : sizes)
            html += "<td align=right>" +
                    QString::number(calc::caseAtSize(*source.cases, d.sizeNo) + 1) + "</td>";
        html += "</tr>";
    }
    html += "</table>";
    // The legend explains the mark of the governing check; a run stopped before any check has
    // none.
    if (!kinds.empty())
        html += "<p>" + esc(word(source, Text::DetailsLegend)) + "</p>";

    // The outcome in a sentence.
    QString sentence;
    switch (result.outcome) {
    case calc::Outcome::Chosen:
        sentence =
            word(source, Text::DetailsChosenSentence)
                .arg(fromUtf8(result.chosen->anchorText).simplified() +
                     (result.chosen->plate ? "; " + fromUtf8(result.chosen->plateText).simplified()
                                           : QString()));
        break;
    case calc::Outcome::Stopped:
        sentence = word(source, Text::DetailsStoppedSentence)
                       .arg(fromUtf8(result.message->text).simplified());
        break;
    case calc::Outcome::Advice:
        sentence = fromUtf8(result.advice);
        break;
    }
    html += "<p><b>" + esc(sentence) + "</b></p>";
    return html;
}

// Long names are cut so that a case keeps to one line of its page.
QString shortName(const std::string &name)
{
    constexpr int MaxShown = 30;
    const QString full = fromUtf8(name);
    return full.size() <= MaxShown ? full : full.left(MaxShown - 1) + u'…';
}

// A page of the cases from `first`: their loads and per size the highest utilisation of each,
// why it fails, and a star where it governs the size.
QString casesHtml(const DetailsSource &source, int first)
{
    const design::Design &design = source.design;
    const calc::CasesResult &cases = *source.cases;
    const int count = int(design.cases.size());
    const int last = std::min(count, first + CasesPerPage);
    QString html = "<h3>" +
                   esc(word(source, Text::DetailsCasesTitle).arg(first + 1).arg(last).arg(count)) +
                   "</h3>";
    html += QStringLiteral("<table cellspacing=0 cellpadding=1 border=1 width=100%><tr>");
    html += "<th align=right width=5%>" + esc(word(source, Text::DetailsCaseColumn)) +
            "</th><th align=left width=25%>" + esc(word(source, Text::DetailsNameColumn)) + "</th>";
    for (const design::Input &input : design::Inputs)
        if (design::isLoad(input))
            html +=
                "<th align=right width=7%>" +
                esc(QString::fromUtf8(input.label.data(), qsizetype(input.label.size())) + " [" +
                    QString::fromUtf8(input.unit.data(), qsizetype(input.unit.size())) + ']') +
                "</th>";
    for (const calc::CasesAtSize &at : cases.sizes)
        html +=
            "<th align=right width=10%>M" + number(calc::SizeTable[at.sizeNo - 1].dNom) + "</th>";
    html += "</tr>";
    for (int i = first; i < last; ++i) {
        const bool governs = cases.governingCase == i;
        const auto bold = [governs](const QString &text) {
            return governs ? "<b>" + text + "</b>" : text;
        };
        const design::Design withLoads = design::withCase(design, i);
        html += "<tr><td align=right>" + bold(QString::number(i + 1)) + "</td><td>" +
                bold(esc(shortName(design.cases[std::size_t(i)].name))) + "</td>";
        for (const design::Input &input : design::Inputs)
            if (design::isLoad(input))
                html += "<td align=right>" +
                        (design::uses(design.arrangement, input)
                             ? bold(esc(number(withLoads.input.*input.value)))
                             : NoCell) +
                        "</td>";
        for (const calc::CasesAtSize &at : cases.sizes) {
            const calc::CaseRow &row = at.cases[std::size_t(i)];
            QString cell = fromUtf8(calc::formatFixed(calc::caseUtilization(row), 3));
            if (row.outcome != calc::SizeOutcome::Chosen)
                cell += ' ' + word(source, failsText(row.outcome));
            if (at.governingCase == i)
                cell += QStringLiteral(" *");
            html += "<td align=right>" + bold(esc(cell)) + "</td>";
        }
        html += "</tr>";
    }
    html += "</table><p>" + esc(word(source, Text::DetailsCasesLegend)) + "</p>";
    return html;
}

} // namespace

int detailsPageCount(const DetailsSource &source)
{
    if (!severalCases(source))
        return 1;
    const int count = int(source.design.cases.size());
    return 1 + (count + CasesPerPage - 1) / CasesPerPage;
}

QString detailsPageHtml(const DetailsSource &source, int page)
{
    const design::Design &design = source.design;
    QString html = QStringLiteral("<html><body>");
    html += "<p>" + esc(source.project) + "<br>" + esc(source.versionLine) + "<br>" +
            esc(source.dateTime) + "</p>";
    if (page > 0 && severalCases(source))
        return html + casesHtml(source, (page - 1) * CasesPerPage) + "</body></html>";
    html += "<h3>" + esc(word(source, Text::DetailsTitle)) + ": " +
            esc(word(source, Text::DetailsCase)) + ' ' + QString::number(design.arrangement) +
            ", " + esc(word(source, design.cracked ? Text::Cracked : Text::NonCracked)) + "</h3>";
    // The inputs with every digit the calculation read, not rounded as the working is. The
    // loads of several cases are on the pages of the cases.
    const bool cases = severalCases(source);
    QStringList inputs;
    for (const design::Input &input : design::Inputs)
        if (!cases || !design::isLoad(input))
            inputs << QString::fromUtf8(input.label.data(), qsizetype(input.label.size())) + " = " +
                          exactNumber(design.input.*input.value) + ' ' +
                          QString::fromUtf8(input.unit.data(), qsizetype(input.unit.size()));
    html += "<p>" + esc(word(source, Text::DetailsInputs)) + ": " + esc(inputs.join(", ")) + "</p>";
    if (cases) {
        const int count = int(design.cases.size());
        const std::optional<int> governing = source.cases->governingCase;
        html += "<p><b>" +
                esc(governing ? word(source, Text::DetailsGoverningCase)
                                    .arg(fromUtf8(design.cases[std::size_t(*governing)].name))
                                    .arg(*governing + 1)
                                    .arg(count)
                              : word(source, Text::DetailsLoadCases).arg(count)) +
                "</b></p>";
    }
    if (source.result)
        html += resultHtml(source, *source.result);
    else
        html +=
            "<p><b>" +
            esc(word(source, source.calculated ? Text::ResultStale : Text::ResultUncalculated)) +
            "</b></p>";
    return html + "</body></html>";
}

double layOutDetailsPage(QTextDocument &document, QPaintDevice *device, const DetailsSource &source,
                         int page)
{
    document.documentLayout()->setPaintDevice(device);
    QFont font = forms::toFont(forms::Font());
    // Small enough for the working of four sizes with the eccentric search on one page.
    font.setPointSizeF(7);
    document.setDefaultFont(font);
    document.setHtml(detailsPageHtml(source, page));
    // Margins of 10 mm.
    const double margin = 10 / 25.4 * device->logicalDpiX();
    document.setTextWidth(device->width() - 2 * margin);
    return margin;
}

void paintDetailsPage(QPainter &painter, const DetailsSource &source, int page)
{
    QPaintDevice *device = painter.device();
    QTextDocument document;
    const double margin = layOutDetailsPage(document, device, source, page);
    const QRectF text(0, 0, device->width() - 2 * margin, device->height() - 2 * margin);
    painter.save();
    painter.translate(margin, margin);
    document.drawContents(&painter, text);
    painter.restore();
}

QList<std::function<void(QPainter &)>> detailsPages(const DetailsSource &source)
{
    QList<std::function<void(QPainter &)>> pages;
    for (int page = 0; page < detailsPageCount(source); ++page)
        pages << [source, page](QPainter &painter) { paintDetailsPage(painter, source, page); };
    return pages;
}

} // namespace print
