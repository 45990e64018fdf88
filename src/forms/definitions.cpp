#include "forms/definitions.h"

namespace forms {

const FormDef *findDefinition(std::string_view name)
{
    for (const FormDef *def : {&Form1, &FrmATT, &FrmPRINT, &FrmTULOSTA, &FrmPRINTeng, &FrmTULOSTA2})
        if (name == def->name)
            return def;
    return nullptr;
}

} // namespace forms
