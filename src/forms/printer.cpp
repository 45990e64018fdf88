#include "forms/printer.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <cups/cups.h>

namespace forms {

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

namespace {

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
// half a page or none, reported as printed. The job is therefore written by the caller, with
// the printer's paper, margins and resolution, into a spool file of its checked writer, and
// handed to the scheduler only when it is complete.
bool printOnDefaultPrinter(const QString &title, const SpoolWriter &write, PrintFailure *failure)
{
    const auto failed = [failure](PrintFailure::Kind kind, const QString &detail = QString()) {
        if (failure)
            *failure = {kind, detail};
        return false;
    };
    // Without a default printer Qt would print into a PDF file of no name: nothing is printed.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return failed(PrintFailure::Kind::NoPrinter);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!printer.isValid() || !printer.outputFileName().isEmpty())
        return failed(PrintFailure::Kind::Refused,
                      QStringLiteral("'%1' cannot be used").arg(info.printerName()));
    const QTemporaryDir spool(QDir::tempPath() + QStringLiteral("/kiila-print-XXXXXX"));
    const QString path = spool.filePath(QStringLiteral("page.pdf"));
    if (!spool.isValid())
        return failed(PrintFailure::Kind::NotSpooled, spool.errorString());
    if (!write(path, printer.pageLayout(), printer.resolution()))
        return failed(PrintFailure::Kind::NotSpooled);

    cups_option_t *options = nullptr;
    const int count = jobOptions(printer, &options);
    // The queue's own name: an instance ("queue/instance") is the user's set of options.
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    const int job = cupsPrintFile(queue.constData(), QFile::encodeName(path).constData(),
                                  title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    // A queue that refuses the job answers with no job.
    if (job > 0 && cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return true;
    const char *why = cupsLastErrorString();
    return failed(PrintFailure::Kind::Refused,
                  QStringLiteral("'%1': %2")
                      .arg(QString::fromLocal8Bit(queue), why && *why
                                                              ? QString::fromUtf8(why).simplified()
                                                              : QStringLiteral("no job was made")));
}

bool defaultPrinterExists()
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

} // namespace forms
