#pragma once

// The definitions of the program's windows.

#include "forms/definition.h"

#include <string_view>

namespace forms {

extern const FormDef Form1;  // the main window
extern const FormDef Form2;  // the technical data sheet
extern const FormDef Form3;  // the help window
extern const FormDef FrmATT; // the notice of a missing input

// The definition of that name, or nullptr for a window the program does not define.
const FormDef *findDefinition(std::string_view name);

} // namespace forms
