#pragma once

// The details page: the working of one calculation, printed after its report page so that a
// checker can redo every value by hand: the lines of src/working/ in a table, a column per size
// tried (each value's formula in symbols, then per size the numbers put in), the checks the
// calculation made with the governing one marked, and the outcome in a sentence. Texts as text
// on an A4 page, in English or Finnish; a page of its own, drawn with QTextDocument rather than
// from a window definition. A design of several load cases names the governing case there, and
// pages of its cases follow: each case's loads and its utilisation at every size, the case that
// governs a size marked.

#include "calc/calc.h"
#include "design/design.h"
#include "texts/texts.h"

#include <QString>

#include <QList>

#include <functional>
#include <optional>

class QPaintDevice;
class QPainter;
class QTextDocument;

namespace print {

struct DetailsSource
{
    QString project;
    QString versionLine; // as on the report page
    QString dateTime;    // as on the report page
    texts::Language language = texts::Language::English;
    design::Design design;
    // From Mitoitus with Working::Kept for `design`; none when the inputs changed after the last
    // calculation: the page then says that no result belongs to them.
    std::optional<calc::Result> result;
    bool calculated = true; // false before the first calculation, which the page then says
    // With `result`, for a design of several load cases (design.cases): what MitoitusCases gave.
    std::optional<calc::CasesResult> cases;
};

// The cases a page of cases lists.
inline constexpr int CasesPerPage = 25;

// The pages: the details page, then the pages of the cases where there are several.
int detailsPageCount(const DetailsSource &source);

// Page `page` (0 the details page) as HTML, for QTextDocument.
QString detailsPageHtml(const DetailsSource &source, int page = 0);

// Lays the page out in `document` for the device's page; gives the page's margin, in the
// device's pixels.
double layOutDetailsPage(QTextDocument &document, QPaintDevice *device, const DetailsSource &source,
                         int page = 0);

// Paints the page onto the painter's page (its device is the page, as a QPdfWriter or a
// QPrinter on A4 is); whatever would not fit the page is left off.
void paintDetailsPage(QPainter &painter, const DetailsSource &source, int page = 0);

// A painter for each page, in their order.
QList<std::function<void(QPainter &)>> detailsPages(const DetailsSource &source);

} // namespace print
