#pragma once

// The definitions of the program's windows.

#include "forms/definition.h"

#include <string_view>

namespace forms {

extern const FormDef Form1;       // the main window
extern const FormDef FrmATT;      // the notice of a missing input
extern const FormDef FrmPRINT;    // the report page, printed as its image
extern const FormDef FrmTULOSTA;  // the Finnish print confirmation of the report
extern const FormDef FrmPRINTeng; // the English print confirmation of the report
extern const FormDef FrmTULOSTA2; // the Finnish print confirmation of the data sheet

// The definition of that name, or nullptr for a window the program does not define.
const FormDef *findDefinition(std::string_view name);

} // namespace forms
