#pragma once

// The printer's half of printing: the default printer, its page and the print job. It needs Qt
// Print Support and libcups, which bring a score of libraries (GnuTLS, Kerberos, Avahi) that
// nothing on the screen needs; the program therefore loads it only when it first prints, from
// the module kiila-printer (printermodule.cpp), where DesktopPlatform finds it. Tests may link it
// as the static library kiila_printer.

#include "forms/platform.h"

#include <QPageLayout>
#include <QPaintDevice>
#include <QString>

#include <functional>

class QPrinter;

namespace forms {

// The printer's page as a plain paint device: QWidget::render onto a printer paints the window
// into a bitmap first and prints that (text lost, pictures coarse); onto any other device with
// the printer's engine and metrics the widgets paint straight onto the page.
class PageDevice : public QPaintDevice
{
public:
    explicit PageDevice(QPrinter &printer) : m_printer(printer) {}
    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    QPrinter &m_printer;
};

// Writes the whole job as a PDF file into `path`, on the printer's paper and margins at its
// resolution; true when the file is complete.
using SpoolWriter =
    std::function<bool(const QString &path, const QPageLayout &layout, int resolution)>;

// Prints on the default printer, without a dialog: the job is spooled by `write` and handed to
// the scheduler only when it is complete. False when nothing was printed: no default printer,
// the spool file not completed, or the printer refused the job; `failure` then says which.
bool printOnDefaultPrinter(const QString &title, const SpoolWriter &write,
                           PrintFailure *failure = nullptr);
// Whether there is a default printer to print on.
bool defaultPrinterExists();

} // namespace forms

// The module's entries, resolved by name.
extern "C" {
bool kiila_printer_print(const QString &title, const forms::SpoolWriter &write,
                         forms::PrintFailure *failure);
bool kiila_printer_exists();
// The program's version the module was built with.
const char *kiila_printer_version();
}
