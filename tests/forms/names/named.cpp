// A window's logic names its controls by the constants generated from its definition: this
// compiles, and so does every element of an array.

#include "forms/definitions.h"
#include "forms/form.h"
#include "forms/names.h"

namespace ctl = forms::names::Form1;

forms::Control *named(const forms::Form &window)
{
    window.control(ctl::epak, 4);
    return window.control(ctl::Label17);
}
