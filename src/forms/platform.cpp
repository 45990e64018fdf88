#include "forms/platform.h"

#include "outfile/outfile.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
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
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        shown = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::SaveDiscardCancel)
        shown = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")), shown);
    if (buttons == Buttons::SaveDiscardCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    keepInFrontOf(box, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // A box closed without an answer: the question is taken back.
        return buttons == Buttons::SaveDiscardCancel ? Answer::Cancel : Answer::Ok;
    }
}

QString Platform::openDesignPath(QWidget *, const QString &)
{
    return {};
}

QString Platform::saveDesignPath(QWidget *, const QString &, const QString &)
{
    return {};
}

bool Platform::printPages(const QString &, const QList<PagePainter> &)
{
    return false;
}

QString Platform::printPagesToPdf(const QString &, const QList<PagePainter> &, const QString &)
{
    return QStringLiteral("only single pages are written here");
}

void Platform::beep()
{
    QApplication::beep();
}

namespace {

const char DesignFilter[] = "Kiila designs (*.kiila)";

QString designPath(QWidget *parent, const QString &folder, const QString &suggested, bool save)
{
    QFileDialog dialog(nullptr, QString(), folder, QLatin1String(DesignFilter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("kiila"));
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    keepInFrontOf(dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString DesktopPlatform::openDesignPath(QWidget *parent, const QString &folder)
{
    return designPath(parent, folder, QString(), false);
}

QString DesktopPlatform::saveDesignPath(QWidget *parent, const QString &folder,
                                        const QString &suggested)
{
    return designPath(parent, folder, suggested, true);
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

PagePainter windowPage(QWidget &window)
{
    return [&window](QPainter &painter) {
        const bool enabled = window.isEnabled();
        window.setEnabled(true);
        paintWindow(window, painter);
        window.setEnabled(enabled);
    };
}

void setUpPdf(QPdfWriter &writer, const QString &title)
{
    writer.setResolution(1200);
    writer.setCreator(QApplication::applicationName());
    writer.setTitle(title);
}

namespace {

// The pages written into `path` as a PDF file through the checked writer; empty when it was
// written, else why not.
QString writePdf(const QString &title, const QList<PagePainter> &pages, const QString &path,
                 const QPageLayout *layout = nullptr, int resolution = 0)
{
    outfile::OutputFile file(path);
    if (file.start()) {
        QPdfWriter writer(file.device());
        setUpPdf(writer, title);
        if (layout) {
            writer.setPageLayout(*layout);
            writer.setResolution(resolution);
        }
        QPainter painter;
        bool painted = !pages.isEmpty() && painter.begin(&writer);
        for (qsizetype i = 0; painted && i < pages.size(); ++i) {
            painted = i == 0 || writer.newPage();
            if (painted)
                pages.at(i)(painter);
        }
        if (painter.isActive())
            painted = painter.end() && painted;
        if (painted && file.finish())
            return {};
    }
    return QStringLiteral("cannot write '%1': %2")
        .arg(path, file.failure().isEmpty() ? QStringLiteral("the PDF was not completed")
                                            : file.failure());
}

QList<PagePainter> onePage(QWidget &window)
{
    return {[&window](QPainter &painter) { paintWindow(window, painter); }};
}

// The options Qt's print engine gives a job of one copy: the paper, one or two sides, the
// orientation. Freed with cupsFreeOptions.
int jobOptions(const QPrinter &printer, cups_option_t **options)
{
    const QPageLayout layout = printer.pageLayout();
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    const char *sides = "one-sided";
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        break;
    case QPrinter::DuplexAuto:
        sides = portrait ? "two-sided-long-edge" : "two-sided-short-edge";
        break;
    case QPrinter::DuplexLongSide:
        sides = "two-sided-long-edge";
        break;
    case QPrinter::DuplexShortSide:
        sides = "two-sided-short-edge";
        break;
    }
    int count = cupsAddOption("media", layout.pageSize().key().toUtf8().constData(), 0, options);
    count = cupsAddOption("sides", sides, count, options);
    if (!portrait)
        count = cupsAddOption("landscape", "", count, options);
    return count;
}

} // namespace

// Qt's own print engine writes the job into a temporary file without checking a write and
// hands the file to the scheduler whatever came of it: a full temporary folder would print
// half a page or none, reported as printed. The page is therefore written here, with the
// printer's paper, margins and resolution, into a spool file of the checked writer, and
// handed to the scheduler only when it is complete.
bool DesktopPlatform::printWindow(QWidget &window)
{
    return printPages(window.windowTitle(), onePage(window));
}

bool DesktopPlatform::printPages(const QString &title, const QList<PagePainter> &pages)
{
    // Without a default printer Qt would print into a PDF file of no name: nothing is printed.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!printer.isValid() || !printer.outputFileName().isEmpty())
        return false;
    const QTemporaryDir spool(QDir::tempPath() + QStringLiteral("/kiila-print-XXXXXX"));
    const QString path = spool.filePath(QStringLiteral("page.pdf"));
    const QPageLayout layout = printer.pageLayout();
    if (!spool.isValid() || !writePdf(title, pages, path, &layout, printer.resolution()).isEmpty())
        return false;

    cups_option_t *options = nullptr;
    const int count = jobOptions(printer, &options);
    // The queue's own name: an instance ("queue/instance") is the user's set of options.
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    const int job = cupsPrintFile(queue.constData(), QFile::encodeName(path).constData(),
                                  title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    // A queue that refuses the job answers with no job.
    return job > 0 && cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
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

QString DesktopPlatform::printWindowToPdf(QWidget &window, const QString &path)
{
    return writePdf(window.windowTitle(), onePage(window), path);
}

QString DesktopPlatform::printPagesToPdf(const QString &title, const QList<PagePainter> &pages,
                                         const QString &path)
{
    return writePdf(title, pages, path);
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
