#include "forms/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWindow>

#include <cups/cups.h>

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

int PageDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return m_printer.width();
    case PdmHeight:
        return m_printer.height();
    case PdmWidthMM:
        return m_printer.widthMM();
    case PdmHeightMM:
        return m_printer.heightMM();
    case PdmNumColors:
        return m_printer.colorCount();
    case PdmDepth:
        return m_printer.depth();
    case PdmDpiX:
        return m_printer.logicalDpiX();
    case PdmDpiY:
        return m_printer.logicalDpiY();
    case PdmPhysicalDpiX:
        return m_printer.physicalDpiX();
    case PdmPhysicalDpiY:
        return m_printer.physicalDpiY();
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

QPaintEngine *PageDevice::paintEngine() const
{
    return m_printer.paintEngine();
}

bool paintPage(QWidget &window, QPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paintWindow(window, painter);
    return painter.end();
}

void paintWindow(QWidget &window, QPainter &painter)
{
    const QPaintDevice &device = *painter.device();
    // Design size: the windows are drawn for 96 pixels per inch.
    qreal scale = device.logicalDpiX() / 96.0;
    const QSizeF design = QSizeF(window.size()) * scale;
    const qreal fit = qMin(device.width() / design.width(), device.height() / design.height());
    if (fit < 1)
        scale *= fit;
    painter.save();
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
}

void setUpPdf(QPdfWriter &writer, const QString &title)
{
    writer.setResolution(1200);
    writer.setCreator(QApplication::applicationName());
    writer.setTitle(title);
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
    PageDevice page(printer);
    if (!paintPage(window, page) || printer.printerState() == QPrinter::Error)
        return false;
    // A queue that refuses the job lets the page begin and end as if it had printed; only the
    // scheduler's answer to the job, the last one, tells.
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
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
    setUpPdf(writer, window.windowTitle());
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
