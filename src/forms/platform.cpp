#include "forms/platform.h"

#include <QApplication>
#include <QMessageBox>

namespace forms {

Platform::Answer DesktopPlatform::messageBox(QWidget *parent, const QString &text,
                                             const QString &title, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No,
                    parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

void DesktopPlatform::exit()
{
    QApplication::closeAllWindows();
    QApplication::exit(0);
}

QString DesktopPlatform::programFolder() const
{
    return QApplication::applicationDirPath();
}

} // namespace forms
