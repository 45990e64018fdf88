#pragma once

// The name of a control in a window's definition, as the window's logic addresses it. The
// names are constants generated from the definitions (forms/names.h, one namespace a window:
// forms::names::Form1::Label17), so that a name no definition holds does not compile.

namespace forms {

// A single control.
struct ControlName
{
    const char *name;
};

// A control array: its elements first to first + count - 1.
struct ControlArrayName
{
    const char *name;
    int first;
    int count;
};

} // namespace forms
