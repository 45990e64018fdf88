// The main window: a borderless window of screen size whose background picture draws the
// frame, the panels, the boxes and the buttons; the controls lie over it.

#include "forms/definitions.h"

namespace forms {
namespace {

constexpr Font CaptionFont{"Arial", 11.25, true, true, Western}; // the input captions
constexpr Font Arial1125Bold{"Arial", 11.25, true, false, Western};
constexpr Font Arial975Bold{"Arial", 9.75, true, false, Western};
constexpr Font Arial975BoldCyr{"Arial", 9.75, true, false, Cyrillic};
constexpr Font Arial825Bold{"Arial", 8.25, true, false, Western};
constexpr Font ValueFont{"MS Sans Serif", 9.75, true, false, Cyrillic}; // result values
constexpr Font FieldFont = Arial975Bold;

// An input field inside its box drawn in the background.
constexpr ControlDef field(const char *name, int top)
{
    return {.name = name,
            .kind = Kind::TextBox,
            .rect = {12720, top, 600, 255},
            .back = White,
            .font = FieldFont,
            .border = false};
}

// The caption of an input field, ending just left of the field.
constexpr ControlDef fieldCaption(const char *name, Rect rect, const char *caption)
{
    return {.name = name,
            .kind = Kind::Label,
            .rect = rect,
            .caption = caption,
            .fore = DarkBlue,
            .transparent = true,
            .font = CaptionFont,
            .align = Align::Right,
            .tag = "lbl"};
}

constexpr ControlDef arrangementCaption(int index, Rect rect, const char *caption)
{
    return {.name = "LbSit",
            .index = index,
            .kind = Kind::Label,
            .rect = rect,
            .caption = caption,
            .fore = DarkBlue,
            .transparent = true,
            .font = Arial1125Bold,
            .align = Align::Right,
            .tag = "lbl"};
}

constexpr ControlDef marker(const char *name, int index, Rect rect, bool visible)
{
    return {.name = name,
            .index = index,
            .kind = Kind::Shape,
            .rect = rect,
            .fore = DarkRed,
            .back = Red,
            .visible = visible};
}

constexpr ControlDef rowCaption(const char *name, Rect rect)
{
    return {.name = name,
            .kind = Kind::Label,
            .rect = rect,
            .fore = VeryDarkBlue,
            .transparent = true,
            .font = Arial825Bold,
            .tag = "lbl"};
}

// One value of a result row, under the heading of its size (index 1 to 4: M8 to M16).
constexpr ControlDef value(const char *name, int index, int top)
{
    constexpr int lefts[] = {3900, 4560, 5220, 5940};
    constexpr int widths[] = {555, 555, 555, 615};
    return {.name = name,
            .index = index,
            .kind = Kind::Label,
            .rect = {lefts[index - 1], top, widths[index - 1], 255},
            .fore = VeryDarkBlue,
            .transparent = true,
            .font = ValueFont};
}

constexpr ControlDef Controls[] = {
    // Arrangement pictures, all in one place of the left panel.
    picture(0, {700, 4055, 6375, 4875}, "arrangement1"),
    picture(1, {600, 4100, 6495, 4815}, "arrangement2"),
    picture(2, {670, 4120, 6375, 4755}, "arrangement3"),
    picture(3, {570, 4160, 6555, 4755}, "arrangement4"),
    picture(4, {540, 4290, 6495, 4635}, "arrangement5"),
    picture(5, {600, 4120, 6495, 4815}, "arrangement6"),
    picture(6, {710, 4070, 6375, 4875}, "arrangement7"),

    // The results panel and what lies on it.
    {.name = "ImgPodlozh",
     .kind = Kind::Image,
     .rect = {7713, 7260, 6255, 3750},
     .picture = "results_panel",
     .visible = false},
    picture(7, {8340, 8040, 4935, 1935}, "installation_m8"),
    picture(8, {8340, 8280, 4875, 1875}, "installation_m10"),
    picture(9, {8220, 8040, 5010, 2115}, "installation_m12"),
    picture(10, {8280, 8220, 4935, 1875}, "installation_m16"),
    {.name = "Label17",
     .kind = Kind::Label,
     .rect = {8220, 7380, 5175, 435},
     .fore = DarkBlue,
     .transparent = true,
     .font = {"MS Sans Serif", 13.5, true, false, Cyrillic},
     .align = Align::Center,
     .tag = "lbl"},
    // Below the results panel: the governing load case of a calculation of several.
    {.name = "LbCases",
     .kind = Kind::Label,
     .rect = {7860, 10470, 5970, 300},
     .fore = DarkBlue,
     .transparent = true,
     .font = {"Arial", 9, true, false, Western},
     .align = Align::Center},
    {.name = "Label2",
     .kind = Kind::Label,
     .rect = {8160, 7800, 5235, 435},
     .fore = ButtonText,
     .transparent = true,
     .font = {"MS Sans Serif", 8.25, true, false, Cyrillic},
     .align = Align::Center,
     .tag = "lbl",
     .visible = false},

    // Command tabs: the English picture lies below the click areas.
    {.name = "Image2",
     .kind = Kind::Image,
     .rect = {7080, 45, 8055, 810},
     .picture = "form1_tabs_eng",
     .visible = false},
    clickArea("INFO", NoIndex, {7260, 60, 1875, 735}),
    clickArea("ImgExit", NoIndex, {9180, 60, 1935, 735}),
    clickArea("ImgPrint", NoIndex, {11160, 60, 1875, 735}),
    clickArea("ImgHelp", NoIndex, {13080, 120, 2055, 615}),
    clickArea("ImgLanguage", 0, {4440, 0, 795, 675}, false),
    clickArea("ImgLanguage", 1, {5220, 60, 735, 675}),
    clickArea("ImgLanguage", 2, {5940, 60, 735, 675}),

    {.name = "Label11",
     .kind = Kind::Label,
     .rect = {480, 840, 6015, 435},
     .caption = "Kiila-ankkurin laskentaohjelma",
     .fore = DarkBlue,
     .transparent = true,
     .font = {"Arial", 18, true, false, Western},
     .align = Align::Center,
     .tag = "lbl"},
    {.name = "Label10",
     .kind = Kind::Label,
     .rect = {11940, 10980, 3255, 375},
     .caption = "VERSIO SUOMI  01_b",
     .fore = HighlightText,
     .transparent = true,
     .font = Arial1125Bold,
     .align = Align::Right,
     .tag = "lbl"},
    {.name = "Label12",
     .kind = Kind::Label,
     .rect = {720, 10740, 5715, 495},
     .caption = "Valitse järeämpi kiinnitystapaus tai kokeile kasvattaa ankkurien etäisyyttä "
                "reunasta ja/tai keskiöväliä",
     .fore = Red,
     .transparent = true,
     .font = {"Arial", 9, true, false, Western},
     .align = Align::Center,
     .tag = "lbl",
     .visible = false},

    // Arrangement choice: caption, click area over the drawn check box, red dot inside it.
    arrangementCaption(0, {720, 1920, 1755, 375}, "TAPAUS 1"),
    arrangementCaption(1, {720, 2445, 1755, 375}, "TAPAUS 2"),
    arrangementCaption(2, {720, 2955, 1755, 375}, "TAPAUS 3"),
    arrangementCaption(3, {720, 3480, 1755, 375}, "TAPAUS 4"),
    arrangementCaption(4, {3960, 1980, 1755, 375}, "TAPAUS 5"),
    arrangementCaption(5, {3900, 2460, 1815, 375}, "TAPAUS 6"),
    arrangementCaption(6, {3900, 2940, 1815, 375}, "TAPAUS 7"),
    clickArea("ImgSIT", 0, {2580, 1860, 555, 495}),
    clickArea("ImgSIT", 1, {2580, 2340, 555, 495}),
    clickArea("ImgSIT", 2, {2580, 2880, 555, 495}),
    clickArea("ImgSIT", 3, {2580, 3360, 555, 555}),
    clickArea("ImgSIT", 4, {5820, 1860, 675, 495}),
    clickArea("ImgSIT", 5, {5820, 2400, 555, 495}),
    clickArea("ImgSIT", 6, {5880, 2880, 555, 495}),
    marker("ShpSit", 0, {2760, 2040, 165, 165}, true),
    marker("ShpSit", 1, {2760, 2520, 165, 165}, false),
    marker("ShpSit", 2, {2760, 3060, 165, 165}, false),
    marker("ShpSit", 3, {2760, 3540, 165, 165}, false),
    marker("ShpSit", 4, {6060, 2040, 165, 165}, false),
    marker("ShpSit", 5, {6060, 2580, 165, 165}, false),
    marker("ShpSit", 6, {6060, 3060, 165, 165}, false),

    // Input fields; there is no field number 2.
    fieldCaption("Label1", {7980, 1380, 4515, 375}, "Etaisyys reunasta C1 (mm)"),
    fieldCaption("Label3", {7980, 1877, 4515, 375}, "Etaisyys reunasta C2 (mm)"),
    fieldCaption("Label4", {7860, 2374, 4635, 435}, "Ankkurien keskinäinen etäisyys S1 (mm)"),
    fieldCaption("Label5", {7800, 2931, 4695, 375}, " Ankkurienkeskinäinen etäisyys S2 (mm)"),
    fieldCaption("Label6", {7980, 3428, 4515, 375}, "Vetovoiman suun. arvo NSd (kN)"),
    fieldCaption("Label7", {7980, 3925, 4515, 375}, "Leikkausvoiman suun. arvo V1d (kN)"),
    fieldCaption("Label8", {7980, 4422, 4515, 375}, "Vetovoiman epäkeskisyys e1 (mm)"),
    fieldCaption("Label9", {7980, 4920, 4515, 375}, "Leikkausvoiman epäkeskisyys e2 (mm)"),
    field("Text1", 1440),
    field("Text3", 1920),
    field("Text4", 2420),
    field("Text5", 2940),
    field("Text6", 3420),
    field("Text7", 3900),
    field("Text8", 4440),
    field("Text9", 4920),

    // Concrete state: two drawn option buttons with their click areas and dots.
    {.name = "Label13",
     .kind = Kind::Label,
     .rect = {9780, 5280, 2235, 555},
     .caption = "Haljennut betoni (vetojännitys)",
     .fore = DarkBlue,
     .transparent = true,
     .font = Arial1125Bold,
     .align = Align::Center,
     .tag = "lbl"},
    clickArea("ImgNO", 0, {8760, 5460, 735, 735}),
    {.name = "KYLLA",
     .kind = Kind::Label,
     .rect = {9540, 5820, 1035, 315},
     .caption = "KYLLÄ",
     .fore = DarkBlue,
     .transparent = true,
     .font = Arial975Bold,
     .tag = "lbl"},
    marker("Shape1", 0, {9033, 5740, 165, 165}, false),
    clickArea("ImgNO", 1, {12120, 5460, 735, 735}),
    {.name = "EI",
     .kind = Kind::Label,
     .rect = {11040, 5820, 915, 315},
     .caption = "EI",
     .fore = DarkBlue,
     .transparent = true,
     .font = Arial975Bold,
     .align = Align::Right,
     .tag = "lbl"},
    marker("Shape1", 1, {12360, 5760, 165, 165}, true),

    // The calculate button: its caption lies below the click area, so the whole button
    // calculates. The data sheet button: its caption lies above the pill and takes its own
    // clicks.
    {.name = "Label15",
     .kind = Kind::Label,
     .rect = {10860, 6600, 2595, 375},
     .caption = "LASKE",
     .fore = White,
     .transparent = true,
     .font = Arial975Bold,
     .align = Align::Center,
     .tag = "lbl"},
    clickArea("ImgCalc", NoIndex, {10800, 6420, 2715, 615}),
    {.name = "ImgSHOW",
     .kind = Kind::Image,
     .rect = {7920, 6330, 2805, 870},
     .picture = "blue_pill",
     .visible = false},
    {.name = "Label14",
     .kind = Kind::Label,
     .rect = {8040, 6600, 2595, 555},
     .caption = "TEKNISET  TIEDOT",
     .fore = White,
     .transparent = true,
     .font = Arial975BoldCyr,
     .align = Align::Center,
     .tag = "lbl",
     .visible = false},

    // Results box: a caption and four values (M8, M10, M12, M16) per row.
    rowCaption("Label18", {1020, 9120, 2655, 435}),
    value("veto_leikkaus", 1, 9300),
    value("veto_leikkaus", 2, 9300),
    value("veto_leikkaus", 3, 9300),
    value("veto_leikkaus", 4, 9300),
    rowCaption("Label20", {1020, 9600, 2415, 375}),
    value("leikkaus", 1, 9720),
    value("leikkaus", 2, 9720),
    value("leikkaus", 3, 9720),
    value("leikkaus", 4, 9720),
    rowCaption("label21", {1020, 10080, 2655, 435}),
    value("epak", 1, 10140),
    value("epak", 2, 10140),
    value("epak", 3, 10140),
    value("epak", 4, 10140),
};

// Lines 2 to 23 of a language file. The advice (line 23) stays hidden until a calculation needs it.
constexpr LanguageLine LanguageLines[] = {
    {2, "Label11"},  {3, "LbSit", 0}, {4, "LbSit", 1}, {5, "LbSit", 2}, {6, "LbSit", 3},
    {7, "LbSit", 4}, {8, "LbSit", 5}, {9, "LbSit", 6}, {10, "Label1"},  {11, "Label3"},
    {12, "Label4"},  {13, "Label5"},  {14, "Label6"},  {15, "Label7"},  {16, "Label8"},
    {17, "Label9"},  {18, "Label15"}, {19, "Label14"}, {20, "Label13"}, {21, "KYLLA"},
    {22, "EI"},      {23, "Label12"},
};

} // namespace

const FormDef Form1{
    .name = "Form1",
    .caption = "KALVEX OY Through bolt calculation program acc. to OPTION 4         (beta 1.01)",
    .kind = WindowKind::Borderless,
    .width = 15405,
    .height = 11520,
    .back = LightGrey,
    .picture = "form1_background",
    .tag = "fin",
    .controls = Controls,
    .languageLines = LanguageLines,
};

} // namespace forms
