// The notice that the calculate command opens when a field in use is empty. The English text
// lies over the Finnish one and covers it when shown: its label reaches down to the Finnish
// label's lower edge (855), so that the third Finnish line does not show below it. Below them
// the empty fields are named, in up to four lines, above the OK button.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr ControlDef Controls[] = {
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {300, 240, 7635, 615},
     .caption = "LASKE-NAPPULAA VOI PAINAA VASTA SITTEN, KUN KAIKISSA SINISELLÄ MERKITYISSÄ "
                "KOHDISSA ON JOKIN LUKUARVO (JOS KYSEISTÄ ARVOA EI OLE, MERKITÄÄN RUUTUUN 0)",
     .fore = ButtonText,
     .back = ButtonFace,
     .font = {"Arial", 9, true, false, Western}},
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {180, 240, 7815, 615},
     .caption = "You have to fill the lines written in dark blue. Use bare numbers without units. ",
     .fore = Black,
     .back = LightGrey,
     .font = {"Arial", 11.25, true, false, Cyrillic},
     .align = Align::Center,
     .visible = false},
    {.name = "Label3",
     .kind = Kind::Label,
     .rect = {300, 930, 7635, 900},
     .fore = ButtonText,
     .back = LightGrey,
     .font = {"Arial", 9, false, false, Western}},
    {.name = "Command1",
     .kind = Kind::CommandButton,
     .rect = {3300, 1920, 1635, 435},
     .caption = "OK",
     .back = LightGrey,
     .font = {"Arial", 9, true, false, Western}},
};

} // namespace

const FormDef FrmATT{
    .name = "FrmATT",
    .caption = "Huomio!",
    .kind = WindowKind::Fixed,
    .width = 8130,
    .height = 2490,
    .back = LightGrey,
    .controls = Controls,
};

} // namespace forms
