#pragma once

// What the windows ask of the desktop beyond drawing themselves: blocking message boxes,
// file dialogs, printing a window, the clock, the end of the program and the program's folder.
// Tests put a recording fake in its place.

#include <QDateTime>
#include <QList>
#include <QPaintDevice>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;
class QWidget;

namespace forms {

// One page of a document: paints it onto the painter's page (its device is the page).
using PagePainter = std::function<void(QPainter &)>;

// Why a print did not print.
struct PrintFailure
{
    enum class Kind {
        None,       // no reason known
        NoPrinter,  // no default printer is set up
        NotSpooled, // the page could not be written for the printer
        Refused,    // the printer or its scheduler refused the job
        Module,     // the printer module is missing or was refused
    };
    Kind kind = Kind::None;
    QString detail; // the scheduler's or the module check's own words, one line; may be empty
};

class Platform
{
public:
    // SaveDiscardCancel: the question before changes are lost.
    enum class Buttons { Ok, YesNo, SaveDiscardCancel };
    enum class Answer { Ok, Yes, No, Save, Discard, Cancel };

    virtual ~Platform() = default;

    // A message box without icon; blocks until the user answers. The box is a window of its
    // own kept in front of `parent`'s window, never its child: a disabled window does not
    // disable the box with it.
    virtual Answer messageBox(QWidget *parent, const QString &text, const QString &title,
                              Buttons buttons = Buttons::Ok) = 0;
    // Prints the window's client area as one page on the default printer, without a dialog.
    // False when no page was printed: no default printer, or the printer refused or failed.
    virtual bool printWindow(QWidget &window) = 0;
    // Why the last printWindow or printPages that printed nothing did not.
    virtual PrintFailure printFailure() const;
    // Whether there is a default printer to print on.
    virtual bool hasPrinter() const = 0;
    // Asks for the name of a PDF file to save into, in a dialog titled `title` that starts in
    // `folder` with the name `suggested`; empty when the user cancels.
    virtual QString savePdfPath(QWidget *parent, const QString &folder, const QString &suggested,
                                const QString &title) = 0;
    // A short note over `parent`'s window that goes by itself: nothing to answer.
    virtual void note(QWidget *parent, const QString &text);
    // The same page as printWindow, written as a PDF file. Empty when it was written, else why
    // not (one line); the file then stays as it was.
    virtual QString printWindowToPdf(QWidget &window, const QString &path) = 0;
    // A document of several pages, printed as printWindow prints one, or written as a PDF file
    // as printWindowToPdf writes one; `title` names the job and the file. A platform that only
    // prints single windows refuses it (false, or why not).
    virtual bool printPages(const QString &title, const QList<PagePainter> &pages);
    virtual QString printPagesToPdf(const QString &title, const QList<PagePainter> &pages,
                                    const QString &path);
    // Asks for a design file to open, or for the name to save one under, starting in `folder`
    // (and with the name `suggested`), showing the files that `filter` names ("Kiila designs
    // (*.kiila)", in the window's language); empty when the user cancels. Without a dialog the
    // answer is always that.
    virtual QString openDesignPath(QWidget *parent, const QString &folder, const QString &filter);
    virtual QString saveDesignPath(QWidget *parent, const QString &folder, const QString &filter,
                                   const QString &suggested);
    // The same for a CSV table of load cases to import or export.
    virtual QString openCasesPath(QWidget *parent, const QString &folder);
    virtual QString saveCasesPath(QWidget *parent, const QString &folder, const QString &suggested);
    virtual QDateTime now() const = 0;
    // Ends the program at once; every window closes, nothing is asked.
    virtual void exit() = 0;
    // The folder that holds the program file.
    virtual QString programFolder() const = 0;
    // The desktop's short warning sound: a key press that changed nothing.
    virtual void beep();
};

// Paints the window's client area on the page of the painter's device, as it is painted on
// screen: at 96 pixels per inch of the device's resolution from the top-left of its printable
// area, and scaled down uniformly only when it does not fit there.
void paintWindow(QWidget &window, QPainter &painter);
// The window as a page of a document, painted with its enabled look also while it is disabled.
PagePainter windowPage(QWidget &window);
// A PDF file of the page: its resolution and document information.
void setUpPdf(QPdfWriter &writer, const QString &title);

// Makes `window` a window of its own kept in front of the window of `owner`: not its child, so
// disabling the owner leaves it usable.
void keepInFrontOf(QWidget &window, QWidget *owner);

class DesktopPlatform : public Platform
{
public:
    // Printing loads the module kiila-printer (forms/printer.h) when it is first needed: the
    // file `printerModule`, or where the installation puts it seen from the program's folder.
    explicit DesktopPlatform(const QString &printerModule = QString());
    Answer messageBox(QWidget *parent, const QString &text, const QString &title,
                      Buttons buttons = Buttons::Ok) override;
    bool printWindow(QWidget &window) override;
    PrintFailure printFailure() const override { return m_failure; }
    bool hasPrinter() const override;
    QString savePdfPath(QWidget *parent, const QString &folder, const QString &suggested,
                        const QString &title) override;
    void note(QWidget *parent, const QString &text) override;
    QString printWindowToPdf(QWidget &window, const QString &path) override;
    bool printPages(const QString &title, const QList<PagePainter> &pages) override;
    QString printPagesToPdf(const QString &title, const QList<PagePainter> &pages,
                            const QString &path) override;
    QString openDesignPath(QWidget *parent, const QString &folder, const QString &filter) override;
    QString saveDesignPath(QWidget *parent, const QString &folder, const QString &filter,
                           const QString &suggested) override;
    QString openCasesPath(QWidget *parent, const QString &folder) override;
    QString saveCasesPath(QWidget *parent, const QString &folder,
                          const QString &suggested) override;
    QDateTime now() const override;
    void exit() override;
    QString programFolder() const override;

private:
    struct Printer;
    const Printer &printer() const;

    PrintFailure m_failure;
    QString m_printerModule;
    mutable std::shared_ptr<const Printer> m_printer;
};

} // namespace forms
