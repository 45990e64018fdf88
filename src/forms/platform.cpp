#include "forms/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWindow>

namespace forms {
void keepInFrontOf(QWidget &window, QWidget *owner)
{
    QWidget *front = owner ? owner->window() : nullptr;
    if (!front || !front->windowHandle())
        return;
    window.winId();
    if (QWindow *handle = window.windowHandle())
        handle->setTransientParent(front->windowHandle());
}

Platform::Answer DesktopPlatform::messageBox(QWidget *parent, const QString &text,
                                             const QString &title, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No);
    keepInFrontOf(box, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

bool paintPage(QWidget &window, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Design size: the windows are drawn for 96 pixels per inch.
    qreal scale = device.logicalDpiX() / 96.0;
    const QSizeF design = QSizeF(window.size()) * scale;
    const qreal fit = qMin(device.width() / design.width(), device.height() / design.height());
    if (fit < 1)
        scale *= fit;
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return painter.end();
}

bool DesktopPlatform::printWindow(QWidget &window)
{
    // Without a default printer Qt would print into a PDF file of no name: nothing is printed.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!printer.isValid() || !printer.outputFileName().isEmpty())
        return false;
    printer.setDocName(window.windowTitle());
    return paintPage(window, printer) && printer.printerState() != QPrinter::Error;
}

bool DesktopPlatform::hasPrinter() const
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

QString DesktopPlatform::savePdfPath(QWidget *parent)
{
    QFileDialog dialog(nullptr, QString(), QString(), QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    keepInFrontOf(dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool DesktopPlatform::printWindowToPdf(QWidget &window, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setCreator(QApplication::applicationName());
    writer.setTitle(window.windowTitle());
    return paintPage(window, writer);
}

QDateTime DesktopPlatform::now() const
{
    return QDateTime::currentDateTime();
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
