// The load cases of a design: a table with a row per case, which the window's logic places in
// Frame1, a line for the last calculation's outcome, and the commands on the table below it.
// The Finnish captions stand here; the logic gives the English ones.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr Font ButtonFont{"Arial", 9, false, false, Western};

constexpr ControlDef command(const char *name, int column, const char *caption)
{
    ControlDef c;
    c.name = name;
    c.kind = Kind::CommandButton;
    c.rect = {120 + column * 1335, 5520, 1230, 435};
    c.caption = caption;
    c.back = LightGrey;
    c.font = ButtonFont;
    return c;
}

constexpr ControlDef Controls[] = {
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {120, 90, 9360, 270},
     .caption = "Kuormitustapaukset: nimi, NSd (kN), V1d (kN), e1 (mm), e2 (mm). Solut voi liittää "
                "taulukkolaskennasta (Ctrl+V).",
     .fore = ButtonText,
     .back = LightGrey,
     .font = {"Arial", 9, false, false, Western}},
    {.name = "Frame1", .kind = Kind::Frame, .rect = {120, 420, 9360, 4500}, .back = White},
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {120, 5010, 9360, 420},
     .fore = DarkBlue,
     .back = LightGrey,
     .font = {"Arial", 9, true, false, Western}},
    command("CmdAdd", 0, "Lisää"),
    command("CmdCopy", 1, "Monista"),
    command("CmdDelete", 2, "Poista"),
    command("CmdPaste", 3, "Liitä"),
    command("CmdImport", 4, "Tuo CSV…"),
    command("CmdExport", 5, "Vie CSV…"),
    command("CmdClose", 6, "Sulje"),
};

} // namespace

const FormDef FrmCASES{
    .name = "FrmCASES",
    .caption = "Kuormitustapaukset",
    .kind = WindowKind::DialogFrame,
    .width = 9600,
    .height = 6090,
    .back = LightGrey,
    .controls = Controls,
};

} // namespace forms
