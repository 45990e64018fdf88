// The module kiila-printer: the entries DesktopPlatform resolves when it first prints.

#include "forms/printer.h"

extern "C" {

Q_DECL_EXPORT bool kiila_printer_print(const QString &title, const forms::SpoolWriter &write,
                                       forms::PrintFailure *failure)
{
    return forms::printOnDefaultPrinter(title, write, failure);
}

Q_DECL_EXPORT bool kiila_printer_exists()
{
    return forms::defaultPrinterExists();
}

Q_DECL_EXPORT const char *kiila_printer_version()
{
    return KIILA_VERSION;
}
}
