// The Finnish print confirmation of the report: a project text to print with it, and Yes or No.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr Font Arial9Bold{"Arial", 9, true, false, Western};
constexpr Font Arial12Bold{"Arial", 12, true, false, Western};

constexpr ControlDef Controls[] = {
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {240, 60, 4815, 255},
     .caption = "ANNA PROJEKTIN TIEDOT",
     .font = {"Arial", 9.75, true, false, Western}},
    {.name = "Text1",
     .kind = Kind::TextBox,
     .rect = {180, 420, 4875, 735},
     .back = White,
     .font = Arial9Bold,
     .multiLine = true},
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {1980, 1500, 1695, 375},
     .caption = "TULOSTA?",
     .font = Arial12Bold},
    // The Yes button shows the word "Kyllä" as a picture, without a caption of its own.
    {.name = "Command1",
     .kind = Kind::CommandButton,
     .rect = {900, 1920, 1515, 435},
     .picture = "yes_button"},
    {.name = "Command2",
     .kind = Kind::CommandButton,
     .rect = {2940, 1920, 1455, 435},
     .caption = "Ei",
     .font = {"Arial", 9, true, false, Cyrillic}},
};

constexpr const char *TabOrder[] = {"Text1", "Command1", "Command2"};

} // namespace

const FormDef FrmTULOSTA{
    .name = "FrmTULOSTA",
    .caption = "TULOSTA",
    .kind = WindowKind::ToolWindow,
    .width = 5280,
    .height = 2580,
    .back = LightGrey,
    .tag = "0",
    .controls = Controls,
    .tabOrder = TabOrder,
};

} // namespace forms
