#include "forms/definitions.h"

namespace forms {

const FormDef *findDefinition(std::string_view name)
{
    for (const FormDef *def : Windows)
        if (name == def->name)
            return def;
    return nullptr;
}

const ControlDef *findControl(const FormDef &form, std::string_view name, int index)
{
    for (const ControlDef &c : form.controls)
        if (c.index == index && name == c.name)
            return &c;
    return nullptr;
}

} // namespace forms
