#pragma once

// Printing: the report page of the main window and the technical data sheet, each printed
// after a confirmation.
//
//   print.h            what the main window hands printing, and Printing, its one entry
//   report.cpp         the report command (Form1.ImgPrint): the page filled and shown, then asked
//   sheet.cpp          the data sheet's print command (Form2.ImgPrint)
//   confirmations.h    the confirmations FrmTULOSTA, FrmPRINTeng (report) and FrmTULOSTA2 (sheet)
//   detailspage.h      the details page: the working values of a calculation, after the report
//
// Printing never reaches into the main window's or the sheet's logic: the main window hands it
// plain values (its texts and pictures, the last calculation) and the windows to print or to
// disable. Printing a window goes through the platform (forms/platform.h); every way it can fail
// ends in the one message CannotPrint.

#include "calc/calc.h"
#include "design/design.h"
#include "forms/form.h"
#include "forms/platform.h"
#include "lang/languages.h"
#include "print/detailspage.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

namespace print {

inline constexpr char CannotPrint[] = "The form can't be printed.";

// A caption of the main window copied into the report control of the same role. A result is
// printed only beside the inputs it was calculated from. The input fields are copied apart
// (ReportSource::fields): the report page names each one as the main window does (TextN).
struct Copy
{
    const char *report;
    const char *main;
    int index = forms::NoIndex;
    bool result = false;
};

// In the order the report command copies them.
inline constexpr Copy ReportCopies[] = {
    {"Label12", "Label1"},
    {"Label11", "Label3"},
    {"Label10", "Label4"},
    {"Label5", "Label5"},
    {"Label6", "Label6"},
    {"Label7", "Label7"},
    {"Label8", "Label8"},
    {"Label9", "Label9"},
    {"Label13", "Label13"},
    {"label21", "label21", forms::NoIndex, true},
    {"KYLLA", "KYLLA"},
    {"EI", "EI"},
    {"Label17", "Label17", forms::NoIndex, true},
    {"Label18", "Label18", forms::NoIndex, true},
    {"Label20", "Label20", forms::NoIndex, true},
    {"epak", "epak", 1, true},
    {"epak", "epak", 2, true},
    {"epak", "epak", 3, true},
    {"epak", "epak", 4, true},
    {"leikkaus", "leikkaus", 1, true},
    {"leikkaus", "leikkaus", 2, true},
    {"leikkaus", "leikkaus", 3, true},
    {"leikkaus", "leikkaus", 4, true},
    {"veto_leikkaus", "veto_leikkaus", 1, true},
    {"veto_leikkaus", "veto_leikkaus", 2, true},
    {"veto_leikkaus", "veto_leikkaus", 3, true},
    {"veto_leikkaus", "veto_leikkaus", 4, true},
};

// The main window at the moment of the report command.
struct ReportSource
{
    QStringList copies;   // one text per entry of ReportCopies, in its order
    QStringList fields;   // the text of each input's field, in the order of design::Inputs
    QString title;        // Form1.Label11
    QString version;      // Form1.Label10
    QString plate;        // the minimum plate line Form1.Label2 when it is shown, else empty
    QString drawing;      // the artwork of the installation drawing shown, else empty
    bool cracked = false; // the cracked-concrete marker Form1.Shape1(0) is shown
    design::Design design;
    std::optional<design::Design> lastCalculation; // none before the first calculation
    QString project; // the project name the confirmation offers; the saved page prints it
    // The last calculation made again with its working values, for the details page; none when
    // it does not belong to the inputs or the details page is not asked for.
    std::optional<calc::Result> working;
};

// The main window at the moment of the data sheet's print command.
struct SheetSource
{
    QString title;   // Form1.Label11
    QString version; // Form1.Label10
    // Puts the last calculation's size, title and table into the sheet; runs right before the
    // sheet is printed.
    std::function<void()> refresh;
};

// "title  (version)": the title line of both printed pages.
QString versionLine(const QString &title, const QString &version);
// The date and time on both printed pages: the locale's short date and the time to the second.
QString dateTimeText(const QDateTime &at);

// The print commands of the program, for one main window and its report page. The report page
// is kept for the whole run: its close box hides it.
class Printing : public QObject
{
    Q_OBJECT
public:
    Printing(forms::Platform &platform, const lang::LanguageTag &language, QWidget &mainWindow,
             forms::Form *reportPage);
    ~Printing() override;

    // What is printed: the report page alone, or followed by its details page.
    enum class Pages { Report, ReportAndDetails };

    // Form1.ImgPrint: fills the report page, shows it and asks.
    void printReport(const ReportSource &source, Pages pages = Pages::Report);
    // The report page filled as for printing, with the source's project name, and its details
    // page saved as a PDF file under a name the user gives; nothing is asked before and the
    // page is not shown.
    void saveReportAsPdf(const ReportSource &source);
    // Form2.ImgPrint: the sheet in its print layout, asked and printed.
    void printDataSheet(forms::Form &sheet, const SheetSource &source);

    // The confirmation open for the report or for the sheet, else nullptr.
    forms::Form *reportConfirmation() const { return m_reportConfirmation; }
    forms::Form *sheetConfirmation() const { return m_sheetConfirmation; }

signals:
    // The project name typed into the report's confirmation, as the project line takes it.
    void projectChanged(const QString &project);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillReport(forms::Form &report, const ReportSource &source);
    // The details page of the filled report page: its head lines as the page has them.
    DetailsSource detailsSource(const ReportSource &source) const;

    forms::Platform &m_platform;
    const lang::LanguageTag &m_language;
    QPointer<QWidget> m_main;
    QPointer<forms::Form> m_report;
    QPointer<forms::Form> m_reportConfirmation;
    QPointer<forms::Form> m_sheetConfirmation;
};

} // namespace print
