#include "print/print.h"

#include "print/confirmations.h"

#include <QCloseEvent>
#include <QLocale>
#include <QRegularExpression>

namespace print {

QString versionLine(const QString &title, const QString &version)
{
    return title + QLatin1String("  (") + version + QLatin1Char(')');
}

QString dateTimeText(const QDateTime &at)
{
    // The long time form, for the seconds, without the time zone it may carry.
    const QLocale locale;
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(at, locale.dateFormat(QLocale::ShortFormat) + u' ' + time.trimmed());
}

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
