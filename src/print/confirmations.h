#pragma once

// The confirmations: FrmTULOSTA (Finnish) and FrmPRINTeng (English) ask before the report page
// prints and take the project name for it; FrmTULOSTA2 asks before the data sheet prints.
// Each is a window of its own, kept in front of the window that opened it but never its child:
// the windows it acts on are disabled while it is open, and it must stay usable. Each is
// destroyed when it closes; the windows it acts on may be gone by then, and are skipped.

#include "forms/form.h"
#include "forms/platform.h"
#include "print/detailspage.h"
#include "texts/texts.h"

#include <QPointer>
#include <functional>
#include <optional>

namespace print {

// Prints the window with its enabled look, also while it is disabled for its confirmation, and
// the pages `after` behind it. False when the window is gone or nothing was printed.
bool printEnabled(forms::Platform &platform, QWidget *window,
                  const QList<forms::PagePainter> &after = {});

// What printing says beyond its one message, and where a PDF file is saved: the language of its
// texts, the folder the save dialog starts in, the name it proposes (without
// ".pdf") and who is told the file saved.
struct PdfOffer
{
    texts::Language language = texts::Language::English;
    QString folder;
    QString name;
    std::function<void(const QString &path)> saved;
};

// The failure message and, on a line under it, why; without any printer, the offer to save the
// page (and the pages `after`) as a PDF file instead.
void reportFailure(forms::Platform &platform, const PdfOffer &offer, QWidget *parent, QWidget *page,
                   const QList<forms::PagePainter> &after = {});
// Asks for a PDF file's name, in the dialog titled `title`, and saves the page and the pages
// `after` into it; a failure is shown as the failure message with why.
void savePageAsPdf(forms::Platform &platform, const PdfOffer &offer, texts::Text title,
                   QWidget *parent, QWidget &page, const QList<forms::PagePainter> &after = {});
// The short note that a print was handed to the printer.
void notePrinted(forms::Platform &platform, const PdfOffer &offer, QWidget *window);

// Moves the data sheet's frame, in the order Left, Top, Height, Width.
void moveFrame(forms::Form &sheet, const forms::Rect &twips);
// Where the sheet's frame stands after its confirmation, 60 twips off its design place.
inline constexpr forms::Rect AfterConfirmation{1920, 1800, 11715, 7635};

// Shows the window and makes it the active one.
void bringToFront(QWidget *window);

// The line under CannotPrint that says why (the failure's detail after it); empty when no
// reason is known.
QString failureReason(texts::Language language, const forms::PrintFailure &failure);

class ReportConfirmation : public forms::Form
{
    Q_OBJECT
public:
    // def: FrmTULOSTA or FrmPRINTeng.
    ReportConfirmation(const forms::FormDef &def, forms::Platform &platform, PdfOffer offer,
                       QWidget *mainWindow, forms::Form *report);

    // The entry offers a name, selected so that typing replaces it.
    void offerProject(const QString &project);

    // The details page printed after the report page; its project line is the one typed here.
    void setDetails(const DetailsSource &details) { m_details = details; }

    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Form_Unload();

signals:
    void projectChanged(const QString &project);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearProjectLine();
    void failed();
    QList<forms::PagePainter> detailsPages() const;

    forms::Platform &m_platform;
    PdfOffer m_offer;
    QPointer<QWidget> m_main;
    QPointer<forms::Form> m_report;
    QString m_project; // the entry's last text that fits the project line
    std::optional<DetailsSource> m_details;
};

class SheetConfirmation : public forms::Form
{
    Q_OBJECT
public:
    // refresh: puts the last calculation into the sheet right before it prints.
    SheetConfirmation(forms::Platform &platform, PdfOffer offer, forms::Form *sheet,
                      std::function<void()> refresh);

    void Command1_Click();
    void Command2_Click();
    void Form_Unload();

private:
    void restoreSheet();

    forms::Platform &m_platform;
    PdfOffer m_offer;
    QPointer<forms::Form> m_sheet;
    std::function<void()> m_refresh;
};

// Shows a new confirmation in front of `opener`, without blocking.
void openConfirmation(forms::Form &confirmation, QWidget *opener);

} // namespace print
