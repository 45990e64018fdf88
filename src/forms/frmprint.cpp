// The report page: a white window whose image is what the report prints. The arrangement
// picture and the results table fill the left half, the inputs and the chosen anchor the right
// half; the print logic fills it from the data of one page.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr Font Arial975Bold{"Arial", 9.75, true, false, Western};
constexpr Font Arial975BoldItalic{"Arial", 9.75, true, true, Western};
constexpr Font Arial1125Bold{"Arial", 11.25, true, false, Western};
constexpr Font Arial825Bold{"Arial", 8.25, true, false, Western};

// Black on white; opaque unless said otherwise.
constexpr ControlDef label(const char *name, Rect rect, const char *caption, Font font,
                           Align align = Align::Left, const char *tag = "")
{
    return {.name = name,
            .kind = Kind::Label,
            .rect = rect,
            .caption = caption,
            .back = White,
            .font = font,
            .align = align,
            .tag = tag};
}

// The caption of an input, right-aligned to end at the value fields' common left margin.
constexpr ControlDef inputCaption(const char *name, Rect rect, const char *caption)
{
    ControlDef c = label(name, rect, caption, Arial975BoldItalic, Align::Right, "lbl");
    c.transparent = true;
    return c;
}

constexpr ControlDef field(const char *name, int top, int height)
{
    return {.name = name,
            .kind = Kind::TextBox,
            .rect = {10500, top, 600, height},
            .back = White,
            .font = Arial975Bold};
}

constexpr ControlDef stateCaption(const char *name, int width, const char *caption)
{
    ControlDef c =
        label(name, {9240, 4980, width, 315}, caption, Arial1125Bold, Align::Left, "lbl");
    c.visible = false;
    return c;
}

constexpr ControlDef heading(const char *name, Rect rect, const char *caption)
{
    return label(name, rect, caption, Arial975Bold, Align::Center);
}

constexpr ControlDef rowCaption(const char *name, Rect rect)
{
    return label(name, rect, "", Arial825Bold, Align::Left, "lbl");
}

// One value of a result row, under the heading of its size (index 1 to 4: M8 to M16).
constexpr ControlDef value(const char *name, int index, int top, int height)
{
    constexpr int lefts[] = {3540, 4320, 4980, 5640};
    constexpr int widths[] = {675, 615, 615, 615};
    ControlDef c = label(name, {lefts[index - 1], top, widths[index - 1], height}, "",
                         {"Arial", 9, true, false, Western});
    c.index = index;
    return c;
}

constexpr ControlDef Controls[] = {
    // Heading block: the project text from the print confirmation, the version line, the date.
    label("LblKomm", {120, 60, 7695, 855}, "", Arial975Bold),
    label("Lblver", {120, 960, 10095, 375}, "Lblver", {"Arial", 12, true, false, Western}),
    label("LblData", {180, 1320, 2655, 435}, "DATA", Arial975BoldItalic),
    // A design of several load cases: the case whose loads the fields show, and how many there
    // are.
    [] {
        ControlDef c =
            label("LblCases", {6000, 1410, 5100, 375}, "", Arial975BoldItalic, Align::Right, "lbl");
        c.visible = false;
        return c;
    }(),

    // The print version of each arrangement picture; the logic shows the current one.
    picture(0, {120, 2040, 5895, 4455}, "arrangement1_print"),
    picture(1, {120, 2040, 6015, 4395}, "arrangement2_print"),
    picture(2, {180, 2040, 6015, 4335}, "arrangement3_print"),
    picture(3, {120, 2220, 5955, 4215}, "arrangement4_print"),
    picture(4, {120, 2040, 6015, 4155}, "arrangement5_print"),
    picture(5, {120, 1800, 5895, 4395}, "arrangement6_print"),
    picture(6, {120, 1980, 5895, 4455}, "arrangement7_print"),

    // Inputs; the captions of C1, C2 and S1 are named otherwise than in the main window.
    inputCaption("Label12", {6420, 1860, 3795, 375}, "Etaisyys reunasta C1 (mm)"),
    inputCaption("Label11", {6660, 2220, 3555, 375}, "Etaisyys reunasta C2 (mm)"),
    inputCaption("Label10", {6420, 2580, 3795, 435}, "Ankkurien keskinväli S1 (mm)"),
    inputCaption("Label5", {6120, 2940, 4095, 375}, " Ankkurien keskinväli S2 (mm)"),
    inputCaption("Label6", {6240, 3300, 3975, 375}, "Vetovoiman suun. arvo NSd(kN)"),
    inputCaption("Label7", {6000, 3660, 4215, 375}, "Leikkausvoiman suun. arvo V1d (kN)"),
    inputCaption("Label8", {6240, 4020, 3975, 375}, "Vetovoiman epäkeskisyys e1 (mm)"),
    inputCaption("Label9", {6060, 4380, 4155, 375}, "Leikkausvoiman epäkeskisyys e2 (mm)"),
    field("Text1", 1860, 345),
    field("Text3", 2205, 360),
    field("Text4", 2565, 360),
    field("Text5", 2925, 360),
    field("Text6", 3285, 360),
    field("Text7", 3645, 360),
    field("Text8", 4005, 360),
    field("Text9", 4365, 360),

    // Concrete state, of which the logic shows one word, and the chosen anchor.
    label("Label13", {6960, 4860, 1935, 615}, "Haljennut betoni (vetojännitys)", Arial975Bold,
          Align::Center, "lbl"),
    stateCaption("KYLLA", 1035, "KYLLÄ"),
    stateCaption("EI", 915, "EI"),
    label("Label17", {6180, 5700, 5175, 435}, "", {"MS Sans Serif", 13.5, true, false, Cyrillic},
          Align::Center, "lbl"),
    label("Label14", {6720, 6180, 4395, 435}, "", Arial975Bold, Align::Center, "lbl"),
    // Receives the installation drawing of the chosen size at print time.
    {.name = "Pic1",
     .kind = Kind::PictureBox,
     .rect = {6420, 6660, 4875, 1875},
     .back = White,
     .visible = false},
    // In the drawing's place when no anchor was chosen: why (the advice, the distance the
    // calculation stopped on, or that no result belongs to the inputs).
    [] {
        ControlDef c =
            label("LblNote", {6420, 6180, 4755, 2355}, "", Arial975Bold, Align::Center, "lbl");
        c.visible = false;
        return c;
    }(),

    // Results table: a heading per size, then three rows of a caption and four values.
    heading("Label1", {3420, 6540, 615, 315}, "M8"),
    heading("Label2", {4200, 6540, 555, 315}, "M10"),
    heading("Label3", {4920, 6540, 555, 315}, "M12"),
    heading("Label4", {5520, 6540, 615, 315}, "M16"),
    rowCaption("Label18", {600, 6960, 2595, 375}),
    value("veto_leikkaus", 1, 7020, 315),
    value("veto_leikkaus", 2, 7020, 315),
    value("veto_leikkaus", 3, 7020, 315),
    value("veto_leikkaus", 4, 7020, 315),
    rowCaption("Label20", {600, 7440, 2415, 375}),
    value("leikkaus", 1, 7440, 375),
    value("leikkaus", 2, 7440, 375),
    value("leikkaus", 3, 7440, 375),
    value("leikkaus", 4, 7440, 375),
    rowCaption("label21", {600, 7920, 2715, 375}),
    value("epak", 1, 7920, 315),
    value("epak", 2, 7920, 315),
    value("epak", 3, 7920, 315),
    value("epak", 4, 7920, 315),
};

} // namespace

const FormDef FrmPRINT{
    .name = "FrmPRINT",
    .caption = "FrmPRINT",
    .kind = WindowKind::DialogFrame,
    .width = 11250,
    .height = 8820,
    .back = White,
    .controls = Controls,
};

} // namespace forms
