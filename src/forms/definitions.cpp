#include "forms/definitions.h"

namespace forms {

const FormDef *findDefinition(std::string_view name)
{
    for (const FormDef *def : {&Form1, &Form2, &Form3, &FrmATT})
        if (name == def->name)
            return def;
    return nullptr;
}

} // namespace forms
