#pragma once

// Printing: the report page of the main window and the technical data sheet, each printed
// after a confirmation.
//
//   print.h            what the main window hands printing, and Printing, its one entry
//   reportdata.h       the data of one report page, the page filled from it (also used by
//                      kiila-calc), and the result texts the main window shows in one formatting
//   report.cpp         the report command (Form1.ImgPrint): the page filled and shown, then asked
//   sheet.cpp          the data sheet's print command (Form2.ImgPrint)
//   confirmations.h    the confirmations FrmTULOSTA, FrmPRINTeng (report) and FrmTULOSTA2 (sheet)
//   detailspage.h      the details page: the working values of a calculation, after the report
//
// Printing never reaches into the main window's or the sheet's logic: the main window hands it
// plain values (the report's data, the sheet's title) and the windows to print or to disable.
// Printing a window goes through the platform (forms/platform.h); every way it can fail ends in the
// one message CannotPrint. Printing's own words (why a print failed, the notes, the details
// page's) come from the program's texts (texts/) in the language's PdfOffer or DetailsSource.

#include "calc/calc.h"
#include "design/design.h"
#include "forms/form.h"
#include "forms/platform.h"
#include "lang/languages.h"
#include "print/confirmations.h"
#include "print/detailspage.h"
#include "print/reportdata.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

namespace print {

inline constexpr char CannotPrint[] = "The form can't be printed.";

// The main window at the moment of the data sheet's print command.
struct SheetSource
{
    QString title;   // Form1.Label11
    QString version; // Form1.Label10
    // Puts the last calculation's size, title and table into the sheet; runs right before the
    // sheet is printed.
    std::function<void()> refresh;
};

// The print commands of the program, for one main window and its report page. The report page
// is kept for the whole run: its close box hides it.
class Printing : public QObject
{
    Q_OBJECT
public:
    Printing(forms::Platform &platform, const lang::LanguageTag &language, QWidget &mainWindow,
             forms::Form *reportPage);
    ~Printing() override;

    // The files of the window that prints: the folder its file dialogs share, where the PDF save
    // dialogs start, told the file a PDF was saved as; the design file's path (empty for none),
    // whose name the PDF file is offered under, else "report".
    struct Files
    {
        std::function<QString()> folder;
        std::function<void(const QString &path)> used;
        std::function<QString()> designPath;
    };
    void setFiles(Files files) { m_files = std::move(files); }

    // What is printed: the report page alone, or followed by its details page.
    enum class Pages { Report, ReportAndDetails };

    // Form1.ImgPrint: fills the report page from the data, shows it and asks; the confirmation
    // offers the data's project name.
    void printReport(const ReportData &data, Pages pages = Pages::Report);
    // The report page filled as for printing, with the data's project name, and its details
    // page saved as a PDF file under a name the user gives; nothing is asked before and the
    // page is not shown.
    void saveReportAsPdf(const ReportData &data);
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
    PdfOffer pdfOffer() const;

    forms::Platform &m_platform;
    const lang::LanguageTag &m_language;
    Files m_files;
    QPointer<QWidget> m_main;
    QPointer<forms::Form> m_report;
    QPointer<forms::Form> m_reportConfirmation;
    QPointer<forms::Form> m_sheetConfirmation;
};

} // namespace print
