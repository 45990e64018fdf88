// A name that no definition holds does not compile: Label71 is no control of the main window,
// and a name written as a string literal is refused too.

#include "forms/definitions.h"
#include "forms/form.h"
#include "forms/names.h"

namespace ctl = forms::names::Form1;

forms::Control *misspelt(const forms::Form &window)
{
#ifdef KIILA_STRING_NAME
    return window.control("Label17");
#else
    return window.control(ctl::Label71);
#endif
}
