#pragma once

// Printing: the report page of the main window and the technical data sheet.
//
// Until the print path is built every print command ends on its failure path: the message
// "The form can't be printed." and nothing changed.

#include "forms/platform.h"

class QWidget;

namespace print {

inline constexpr char CannotPrint[] = "The form can't be printed.";

// The data sheet's print command; `sheet` is the data sheet window.
void printDataSheet(QWidget &sheet, forms::Platform &platform);

} // namespace print
