#pragma once

// What a report page shows, as one plain value: the design, the field texts as they are
// printed, the captions in the page's language, the result that belongs to the design (or why
// there is none), the project, the date and version lines. The main window and kiila-calc each
// build one; the report page and its details page are filled from it alone.

#include "calc/calc.h"
#include "design/design.h"
#include "forms/form.h"
#include "lang/languagetable.h"
#include "print/detailspage.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace print {

// The captions of the page in its language, as the main window's definition names them.
struct ReportCaptions
{
    QString title;                                  // Form1.Label11, also the page's window caption
    QString version;                                // Form1.Label10
    std::array<QString, design::InputCount> inputs; // Form1.LabelN of the field TextN, in the
                                                    // order of design::Inputs
    QString concrete; // Form1.Label13, the question of the concrete state
    QString yes;      // Form1.KYLLA
    QString no;       // Form1.EI
};

// The captions of the page, each read by `captionOf` from the main window's control of its
// role: the main window hands its own captions, kiila-calc those a language gives its definition.
ReportCaptions
reportCaptions(const std::function<QString(const QString &name, int index)> &captionOf);

// Why a page has no result.
enum class NoResult {
    Uncalculated, // no calculation has been made yet
    Stale,        // the inputs changed after the last calculation
};

struct ReportData
{
    design::Design design;
    std::array<QString, design::InputCount> fields; // as printed, in the order of design::Inputs
    ReportCaptions captions;
    // The result of `design`, with its working values (Working::Kept) when the details page is
    // printed; none, and why, when no result belongs to the design.
    std::optional<calc::Result> result;
    // With `result`, for a design of several load cases (design.cases): what MitoitusCases gave.
    std::optional<calc::CasesResult> cases;
    NoResult noResult = NoResult::Uncalculated;
    // The decimal separator of the numbers the page formats ("0.00"), as the result's composed
    // texts have it.
    std::string decimalSeparator = ".";
    QString project;
    QString dateTime; // the date and time line
    lang::Language language = lang::BuiltIn;
    // The character set of the page's "lbl" captions; none leaves those of the definition.
    std::optional<int> labelCharset;
};

// "title  (version)": the title line of both printed pages.
QString versionLine(const QString &title, const QString &version);
// The date and time on both printed pages: the locale's short date and the time to the second.
QString dateTimeText(const QDateTime &at);

// The texts a result shows in the main window and on the report page, in one formatting.
struct ResultTexts
{
    // Label18, Label20, label21: empty where the run wrote none.
    QString capacityHeading;
    QString shearHeading;
    QString eccentricHeading;
    // veto_leikkaus, leikkaus, epak: "0.00" by sizeNo - 1, empty where the run wrote none.
    std::array<QString, calc::SizeCount> tension;
    std::array<QString, calc::SizeCount> shear;
    std::array<QString, calc::SizeCount> eccentric;
    QString anchor;  // Label17: the chosen anchor
    QString plate;   // the minimum fixture-plate line; empty for arrangement 1
    int drawing = 0; // the size whose installation drawing is shown; 0: none
    QString failure; // no size chosen: the advice, or the message of the distance it stopped on
};

ResultTexts resultTexts(const calc::Result &result, const std::string &decimalSeparator);

// Fills the report page FrmPRINT wholly from the data: a page with a chosen anchor shows it, its
// plate line and drawing; any other says in the drawing's place why it has none.
void fillReportPage(forms::Form &page, const ReportData &data);

// The details page of the data.
DetailsSource detailsSource(const ReportData &data);

} // namespace print
