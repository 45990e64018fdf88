#include "print/print.h"

namespace print {

void printDataSheet(QWidget &sheet, forms::Platform &platform)
{
    platform.messageBox(&sheet, QString::fromLatin1(CannotPrint), QString());
}

} // namespace print
