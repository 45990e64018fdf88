// The English print confirmation of the report: a project name to print with it, and Yes or No.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr Font Arial9Bold{"Arial", 9, true, false, Western};

constexpr ControlDef Controls[] = {
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {180, 60, 4815, 255},
     .caption = "PROJECT NAME:",
     .fore = ButtonText,
     .font = {"Arial", 9.75, true, false, Western}},
    {.name = "Text1",
     .kind = Kind::TextBox,
     .rect = {180, 480, 4875, 735},
     .back = White,
     .font = Arial9Bold,
     .multiLine = true},
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {2100, 1440, 1035, 375},
     .caption = "PRINT?",
     .font = {"Arial", 12, true, false, Western}},
    {.name = "Command1",
     .kind = Kind::CommandButton,
     .rect = {840, 1920, 1515, 435},
     .caption = "Yes",
     .font = Arial9Bold},
    {.name = "Command2",
     .kind = Kind::CommandButton,
     .rect = {2880, 1920, 1455, 435},
     .caption = "No",
     .font = Arial9Bold},
};

constexpr const char *TabOrder[] = {"Text1", "Command1", "Command2"};

} // namespace

const FormDef FrmPRINTeng{
    .name = "FrmPRINTeng",
    .caption = "print",
    .kind = WindowKind::ToolWindow,
    .width = 5265,
    .height = 2730,
    .back = LightGrey,
    .tag = "0",
    .controls = Controls,
    .tabOrder = TabOrder,
};

} // namespace forms
