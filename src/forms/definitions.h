#pragma once

// The definitions of the program's windows, one file per window. Pure data: no toolkit. What a
// language sets in them beside its file stands in its row of the table of languages.

#include "forms/definition.h"

#include <string_view>

namespace forms {

extern const FormDef Form1;       // the main window
extern const FormDef Form2;       // the technical data sheet
extern const FormDef Form3;       // the help window
extern const FormDef FrmATT;      // the notice of a missing input
extern const FormDef FrmPRINT;    // the report page, printed as its image
extern const FormDef FrmTULOSTA;  // the Finnish print confirmation of the report
extern const FormDef FrmPRINTeng; // the English print confirmation of the report
extern const FormDef FrmTULOSTA2; // the Finnish print confirmation of the data sheet
extern const FormDef FrmCASES;    // the load cases of the design

// The index of the arrangement tapaus (1 to 7) in the control arrays of the arrangements: the
// boxes ImgSIT, their markers ShpSit and captions LbSit.
constexpr int arrangementIndex(int tapaus)
{
    return tapaus - 1;
}
// The picture boxes Picture1 of the main window (and of the report page for the arrangements):
// 0 to 6 the arrangements 1 to 7, 7 to 10 the installation drawings of the sizes 1 to 4.
constexpr int arrangementPicture(int tapaus)
{
    return arrangementIndex(tapaus);
}
constexpr int installationPicture(int sizeNo)
{
    return 6 + sizeNo;
}
inline constexpr int ArrangementPictureCount = 7;
inline constexpr int LastPicture = installationPicture(4);

// Every window of the program.
inline constexpr const FormDef *Windows[] = {
    &Form1, &Form2, &Form3, &FrmATT, &FrmPRINT, &FrmTULOSTA, &FrmPRINTeng, &FrmTULOSTA2, &FrmCASES};

// The definition of that name, or nullptr for a window the program does not define.
const FormDef *findDefinition(std::string_view name);
// The control of that name and index in the definition, or nullptr.
const ControlDef *findControl(const FormDef &form, std::string_view name, int index = NoIndex);

} // namespace forms
