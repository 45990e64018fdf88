#pragma once

// A report page for the tests of windows that never print: the main window makes it, and only
// printing (print/reportdata.h) fills it. The arrangement pictures, Label14, one caption tagged
// "lbl" and one value that is not.

#include "forms/definition.h"

namespace standin {

constexpr forms::ControlDef reportPicture(int index)
{
    return {.name = "Picture1",
            .index = index,
            .kind = forms::Kind::PictureBox,
            .rect = {120, 2040, 5895, 4455},
            .visible = false};
}
constexpr forms::Font ReportFont{"Arial", 9.75, true, false, forms::Cyrillic};
constexpr forms::ControlDef ReportControls[] = {
    reportPicture(0),
    reportPicture(1),
    reportPicture(2),
    reportPicture(3),
    reportPicture(4),
    reportPicture(5),
    reportPicture(6),
    {.name = "Label14", .kind = forms::Kind::Label, .rect = {6720, 6180, 4395, 435}},
    {.name = "Label1", .rect = {120, 120, 3000, 300}, .font = ReportFont, .tag = "lbl"},
    {.name = "Label30", .rect = {120, 600, 3000, 300}, .font = ReportFont},
};
inline const forms::FormDef ReportPage{.name = "FrmPRINT",
                                       .caption = "FrmPRINT",
                                       .kind = forms::WindowKind::DialogFrame,
                                       .width = 11250,
                                       .height = 8820,
                                       .back = forms::White,
                                       .controls = ReportControls};

} // namespace standin
