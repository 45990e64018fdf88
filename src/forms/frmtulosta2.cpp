// The Finnish print confirmation without a project text, for the technical data sheet.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr ControlDef Controls[] = {
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {1680, 180, 1815, 315},
     .caption = "TULOSTA",
     .font = {"Arial", 12, true, false, Western}},
    // The Yes button shows the word "Kyllä" as a picture, without a caption of its own.
    {.name = "Command1",
     .kind = Kind::CommandButton,
     .rect = {480, 600, 1515, 435},
     .picture = "yes_button"},
    {.name = "Command2",
     .kind = Kind::CommandButton,
     .rect = {2640, 600, 1455, 435},
     .caption = "Ei",
     .font = {"Arial", 9, true, false, Cyrillic}},
};

// The focus starts on No.
constexpr const char *TabOrder[] = {"Command2", "Command1"};

} // namespace

const FormDef FrmTULOSTA2{
    .name = "FrmTULOSTA2",
    .caption = "TULOSTA?",
    .kind = WindowKind::SizableToolWindow,
    .width = 4680,
    .height = 1185,
    .back = LightGrey,
    .tag = "0",
    .controls = Controls,
    .tabOrder = TabOrder,
};

} // namespace forms
