#include "print/print.h"

#include "print/confirmations.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>

namespace print {

Printing::Printing(forms::Platform &platform, const lang::LanguageTag &language,
                   QWidget &mainWindow, forms::Form *reportPage)
    : QObject(&mainWindow), m_platform(platform), m_language(language), m_main(&mainWindow),
      m_report(reportPage)
{
    if (m_report)
        m_report->installEventFilter(this);
}

// The confirmations are windows of their own: they go with the window that opened them.
Printing::~Printing()
{
    delete m_reportConfirmation;
    delete m_sheetConfirmation;
}

PdfOffer Printing::pdfOffer() const
{
    PdfOffer offer;
    offer.language = texts::of(m_language.language());
    offer.folder = m_files.folder ? m_files.folder() : QString();
    if (offer.folder.isEmpty())
        offer.folder = QDir::homePath();
    const QString design = m_files.designPath ? m_files.designPath() : QString();
    offer.name = design.isEmpty() ? QStringLiteral("report") : QFileInfo(design).completeBaseName();
    offer.saved = m_files.used;
    return offer;
}

// A report page or sheet that is disabled waits for its confirmation and does not close. The
// report page is never deleted: its close box only hides it, with its content.
bool Printing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close || static_cast<QWidget *>(watched)->isEnabled())
        return false;
    event->ignore();
    return true;
}

} // namespace print
