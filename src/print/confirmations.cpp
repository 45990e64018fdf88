#include "print/confirmations.h"
#include "forms/names.h"

#include "forms/definitions.h"
#include "lang/languagefile.h"
#include "outfile/outfile.h"
#include "print/print.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace print {

namespace ctl = forms::names::FrmTULOSTA;
namespace sheetCtl = forms::names::Form2;
namespace reportCtl = forms::names::FrmPRINT;

bool printEnabled(forms::Platform &platform, QWidget *window,
                  const QList<forms::PagePainter> &after)
{
    if (!window)
        return false;
    if (!after.isEmpty())
        return platform.printPages(window->windowTitle(),
                                   QList<forms::PagePainter>{forms::windowPage(*window)} + after);
    const bool enabled = window->isEnabled();
    window->setEnabled(true);
    const bool printed = platform.printWindow(*window);
    window->setEnabled(enabled);
    return printed;
}

namespace {

// The page saved instead of printed may not replace a file the program reads.
QString saveRefusal(forms::Platform &platform, const QString &path)
{
    QList<outfile::Input> inputs;
    for (const QString &file : lang::findFiles(platform.programFolder()))
        if (const auto in =
                outfile::input(file, QStringLiteral("the language file '%1'").arg(file)))
            inputs << *in;
    const QString refused = outfile::refusal(path, inputs);
    return refused.isEmpty() ? QString() : QStringLiteral("'%1' %2").arg(path, refused);
}

} // namespace

void reportFailure(forms::Platform &platform, const PdfOffer &offer, QWidget *parent, QWidget *page,
                   const QList<forms::PagePainter> &after)
{
    QString message = QString::fromLatin1(CannotPrint);
    const QString why = failureReason(offer.language, platform.printFailure());
    if (!why.isEmpty())
        message += u'\n' + why;
    platform.messageBox(parent, message, QString());
    if (platform.hasPrinter() || !page)
        return;
    savePageAsPdf(platform, offer, texts::Text::PrintSaveInstead, parent, *page, after);
}

void savePageAsPdf(forms::Platform &platform, const PdfOffer &offer, texts::Text title,
                   QWidget *parent, QWidget &page, const QList<forms::PagePainter> &after)
{
    const QString path =
        platform.savePdfPath(parent, offer.folder, offer.name + QStringLiteral(".pdf"),
                             QString::fromUtf8(texts::text(offer.language, title)));
    if (path.isEmpty())
        return;
    QString failure = saveRefusal(platform, path);
    if (failure.isEmpty() && !after.isEmpty()) {
        failure = platform.printPagesToPdf(
            page.windowTitle(), QList<forms::PagePainter>{forms::windowPage(page)} + after, path);
    } else if (failure.isEmpty()) {
        const bool enabled = page.isEnabled();
        page.setEnabled(true);
        failure = platform.printWindowToPdf(page, path);
        page.setEnabled(enabled);
    }
    // The one failure message, and why.
    if (!failure.isEmpty())
        platform.messageBox(parent, QString::fromLatin1(CannotPrint) + u'\n' + failure, QString());
    else if (offer.saved)
        offer.saved(path);
}

void notePrinted(forms::Platform &platform, const PdfOffer &offer, QWidget *window)
{
    if (window)
        platform.note(window,
                      QString::fromUtf8(texts::text(offer.language, texts::Text::PrintSent)));
}

QString failureReason(texts::Language language, const forms::PrintFailure &failure)
{
    using Kind = forms::PrintFailure::Kind;
    texts::Text reason = texts::Text::PrintNoPrinter;
    switch (failure.kind) {
    case Kind::None:
        return {};
    case Kind::NoPrinter:
        break;
    case Kind::NotSpooled:
        reason = texts::Text::PrintNotSpooled;
        break;
    case Kind::Refused:
        reason = texts::Text::PrintRefused;
        break;
    case Kind::Module:
        reason = texts::Text::PrintModule;
        break;
    }
    QString line = QString::fromUtf8(texts::text(language, reason));
    if (!failure.detail.isEmpty())
        line += u' ' + failure.detail;
    return line;
}

void moveFrame(forms::Form &sheet, const forms::Rect &twips)
{
    forms::Control *frame = sheet.control(sheetCtl::Frame1);
    frame->setLeft(twips.left);
    frame->setTop(twips.top);
    frame->setHeight(twips.height);
    frame->setWidth(twips.width);
}

void bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void openConfirmation(forms::Form &confirmation, QWidget *opener)
{
    confirmation.setAttribute(Qt::WA_DeleteOnClose);
    forms::keepInFrontOf(confirmation, opener);
    confirmation.showWindow();
}

ReportConfirmation::ReportConfirmation(const forms::FormDef &def, forms::Platform &platform,
                                       PdfOffer offer, QWidget *mainWindow, forms::Form *report)
    : forms::Form(def), m_platform(platform), m_offer(std::move(offer)), m_main(mainWindow),
      m_report(report)
{
    using forms::Control;
    control(ctl::Text1)->widget()->installEventFilter(this);
    connect(control(ctl::Text1), &Control::changed, this, &ReportConfirmation::Text1_Change);
    connect(control(ctl::Command1), &Control::clicked, this, &ReportConfirmation::Command1_Click);
    connect(control(ctl::Command2), &Control::clicked, this, &ReportConfirmation::Command2_Click);
    connect(this, &forms::Form::unloaded, this, &ReportConfirmation::Form_Unload);
}

void ReportConfirmation::offerProject(const QString &project)
{
    forms::Control *entry = control(ctl::Text1);
    entry->setText(project);
    qobject_cast<QPlainTextEdit *>(entry->widget())->selectAll();
}

// The name is one line: Enter in the entry confirms, as Yes does.
bool ReportConfirmation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == control(ctl::Text1)->widget()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1_Click();
            return true;
        }
    }
    return forms::Form::eventFilter(watched, event);
}

// The report's project line shows the entry as it is typed. A change after which the text
// would no longer show whole on that line, or would take a second line (pasted), is taken
// back, with the desktop's beep so that the user knows why typing stops: the page prints what
// was typed.
void ReportConfirmation::Text1_Change()
{
    forms::Control *entry = control(ctl::Text1);
    const QString text = entry->text();
    forms::Control *line = m_report ? m_report->control(reportCtl::LblKomm) : nullptr;
    if (text.contains(u'\n') || text.contains(u'\r') || (line && !line->fits(text))) {
        auto *edit = qobject_cast<QPlainTextEdit *>(entry->widget());
        const int cursor = edit->textCursor().position() - (text.size() - m_project.size());
        const QSignalBlocker blocker(edit);
        edit->setPlainText(m_project);
        QTextCursor at = edit->textCursor();
        at.setPosition(qBound(0, cursor, int(m_project.size())));
        edit->setTextCursor(at);
        m_platform.beep();
        return;
    }
    m_project = text;
    if (line)
        line->setCaption(text);
    emit projectChanged(text);
}

// The main window comes back once the page is printed or given up: a failure's message and the
// save dialog offered instead show over the page they are about.
void ReportConfirmation::Command1_Click()
{
    if (!printEnabled(m_platform, m_report, detailsPages())) {
        failed();
        return;
    }
    bringToFront(m_main);
    notePrinted(m_platform, m_offer, m_main);
    clearProjectLine();
    close();
}

void ReportConfirmation::Command2_Click()
{
    bringToFront(m_main);
    close();
    if (m_main)
        m_main->setEnabled(true);
    clearProjectLine();
    if (m_report)
        m_report->setEnabled(true);
}

void ReportConfirmation::Form_Unload()
{
    if (m_main)
        m_main->setEnabled(true);
    if (m_report)
        m_report->setEnabled(true);
    clearProjectLine();
    // The page was only shown to be printed: it goes with its confirmation, its content kept.
    if (m_report)
        m_report->hide();
    bringToFront(m_main);
}

void ReportConfirmation::clearProjectLine()
{
    if (m_report)
        m_report->control(reportCtl::LblKomm)->setCaption(QString());
}

// Both confirmations say why over the report page, and only then bring the main window back.
void ReportConfirmation::failed()
{
    reportFailure(m_platform, m_offer, this, m_report, detailsPages());
    bringToFront(m_main);
    clearProjectLine();
    close();
}

QList<forms::PagePainter> ReportConfirmation::detailsPages() const
{
    if (!m_details)
        return {};
    DetailsSource details = *m_details;
    details.project = m_project;
    return print::detailsPages(details);
}

SheetConfirmation::SheetConfirmation(forms::Platform &platform, PdfOffer offer, forms::Form *sheet,
                                     std::function<void()> refresh)
    : forms::Form(forms::FrmTULOSTA2), m_platform(platform), m_offer(std::move(offer)),
      m_sheet(sheet), m_refresh(std::move(refresh))
{
    using forms::Control;
    connect(control(ctl::Command1), &Control::clicked, this, &SheetConfirmation::Command1_Click);
    connect(control(ctl::Command2), &Control::clicked, this, &SheetConfirmation::Command2_Click);
    connect(this, &forms::Form::unloaded, this, &SheetConfirmation::Form_Unload);
}

// Every way out, the failure's too, leaves the sheet enabled, its frame at the place after a
// confirmation and its two print lines hidden; closing does it.
void SheetConfirmation::Command1_Click()
{
    // A calculation made while this was open may have changed the chosen size.
    if (m_sheet && m_refresh)
        m_refresh();
    if (printEnabled(m_platform, m_sheet))
        notePrinted(m_platform, m_offer, m_sheet);
    else
        reportFailure(m_platform, m_offer, this, m_sheet);
    close();
}

void SheetConfirmation::Command2_Click()
{
    close();
}

void SheetConfirmation::Form_Unload()
{
    restoreSheet();
}

void SheetConfirmation::restoreSheet()
{
    if (!m_sheet)
        return;
    m_sheet->setEnabled(true);
    moveFrame(*m_sheet, AfterConfirmation);
    m_sheet->control(sheetCtl::Lblver)->setVisible(false);
    m_sheet->control(sheetCtl::LblData)->setVisible(false);
}

} // namespace print
