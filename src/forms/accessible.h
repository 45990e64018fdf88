#pragma once

// What assistive technology (a screen reader, through the desktop's accessibility bus) sees of
// the windows. Windows, frames and the windowless controls get interfaces of their own from a
// factory: a window reports its windowless controls as its children beside its widgets; a label
// is a text whose name is its caption, a click area or a label that takes clicks is a button
// (or a radio button) that a press action clicks. Where a control has no caption of its own, a
// small table names it: by a fixed name or by the caption of the label beside it, so that the
// names follow the language switch. Fields and picture buttons get their names from the same
// table.

#include <QAccessible>

namespace forms {

class Control;
class Form;

namespace accessible {

// Installs the factory; the first window calls it.
void install();
// Names the form's own widgets (text fields, picture buttons) from the table.
void nameWidgets(Form &form);
// Tells assistive technology that a windowless control's caption (NameChanged), visibility or
// enabled state (StateChanged) changed; widgets named by the caption follow it.
void changed(Control &control, QAccessible::Event what);

} // namespace accessible
} // namespace forms
