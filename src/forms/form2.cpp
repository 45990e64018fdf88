// The technical data sheet: a borderless window of screen size whose background picture draws
// the frame and the tabs. The white frame holds the heading, the installation drawing and the
// grid of installation data and article numbers: a header row and six rows of data labels,
// one label array per column, ruled by the lines Line1(0..21).

#include "forms/definitions.h"

#include <array>
#include <iterator>
#include <string_view>

namespace forms {
namespace {

constexpr Font HeaderFont{"Arial", 11.25, true, false, Western};
constexpr Font DataFont{"Arial", 9, true, false, Western};

// Tops of the data labels of rows 1 to 6: their line of text lies in the middle of its row,
// between the rules Line1(15..21); the last row is the taller.
constexpr int RowTops[] = {5100, 5520, 5940, 6360, 6780, 7215};

// One column of the grid: its header label Label2(header) and below it the data labels
// array(1) to array(6), which show the header's word until the sheet fills them.
struct GridColumn
{
    int header;
    const char *caption;
    int headerLeft;
    int headerWidth;
    const char *array;
    int left;
    int width;
    bool product = false; // an article number column: its data labels are transparent
};

// From left to right.
constexpr GridColumn Grid[] = {
    {7, "Koko", 60, 975, "koko", 60, 975},
    {1, "X-TR", 1020, 1035, "xtr", 1080, 915, true},
    {2, "X-TR D", 2100, 1035, "xtrd", 2220, 975, true},
    {3, "R-UZI", 3240, 975, "xtrk", 3300, 915, true},
    {4, "R-UZI D", 4320, 975, "xtrkd", 4380, 915, true},
    {5, "R-IZU", 5460, 855, "xtrh", 5400, 915, true},
    {6, "l", 6420, 615, "l", 6420, 615},
    {8, "f", 7140, 615, "f", 7140, 615},
    {9, "d 0", 7860, 615, "d0", 7860, 615},
    {10, "h1", 8580, 555, "h1", 8580, 555},
    {11, "t fix", 9240, 615, "tfix", 9300, 615},
    {12, "h nom", 9900, 720, "hnom", 10020, 555},
    {13, "t inst", 10620, 735, "tinst", 10740, 555},
};
constexpr int HeaderTop = 4650; // the headings' line in the middle of their row
constexpr int LabelHeight = 315;

// The first X-TR and X-TR D labels are larger than the rest of their columns.
struct Row1Size
{
    std::string_view array;
    int width;
    int height;
};
constexpr Row1Size LargerRow1[] = {{"xtr", 975, 375}, {"xtrd", 975, 375}};

constexpr ControlDef header(const GridColumn &column)
{
    return {.name = "Label2",
            .index = column.header,
            .kind = Kind::Label,
            .rect = {column.headerLeft, HeaderTop, column.headerWidth, LabelHeight},
            .caption = column.caption,
            .fore = DarkBlue,
            .back = White,
            .font = HeaderFont,
            .align = Align::Center,
            .container = "Frame1"};
}

constexpr ControlDef data(const GridColumn &column, int row)
{
    Rect rect{column.left, RowTops[row - 1], column.width, LabelHeight};
    for (const Row1Size &larger : LargerRow1)
        if (row == 1 && larger.array == column.array) {
            rect.width = larger.width;
            rect.height = larger.height;
        }
    return {.name = column.array,
            .index = row,
            .kind = Kind::Label,
            .rect = rect,
            .caption = column.caption,
            .fore = Black,
            .back = White,
            .transparent = column.product,
            .font = DataFont,
            .align = Align::Center,
            .container = "Frame1"};
}

// The grid's ruling; its rectangle holds the two ends.
constexpr ControlDef line(int index, int x1, int y1, int x2, int y2)
{
    return {.name = "Line1",
            .index = index,
            .kind = Kind::Line,
            .rect = {x1, y1, x2, y2},
            .fore = AppWorkspace,
            .container = "Frame1"};
}
constexpr ControlDef vertical(int index, int x)
{
    return line(index, x, 4560, x, 7560);
}
constexpr ControlDef horizontal(int index, int y, int x1 = 0, int x2 = 11350)
{
    return line(index, x1, y, x2, y);
}

// The window's own controls. The tab click areas lie above the English tabs and take the
// clicks also when those are shown.
constexpr ControlDef Outside[] = {
    {.name = "Image2",
     .kind = Kind::Image,
     .rect = {8940, 70, 6345, 735},
     .picture = "form2_tabs_eng",
     .visible = false},
    clickArea("ImgExit", NoIndex, {8820, 120, 2115, 615}),
    clickArea("ImgPrint", NoIndex, {10980, 60, 1815, 675}),
    clickArea("ImgHelp", NoIndex, {12900, 60, 2175, 615}),
    clickArea("ImgLanguage", 0, {5700, 60, 735, 615}, false),
    clickArea("ImgLanguage", 1, {6480, 60, 735, 615}, false),
    clickArea("ImgLanguage", 2, {7200, 60, 735, 615}, false),
    // The size last found by the calculation, "1" to "4".
    {.name = "Text1", .kind = Kind::TextBox, .rect = {120, 60, 795, 435}, .visible = false},
    {.name = "Frame1",
     .kind = Kind::Frame,
     .rect = {1980, 1740, 11775, 7635},
     .caption = "Frame1",
     .back = White,
     .border = false},
};

// The frame's controls above the grid.
constexpr ControlDef AboveGrid[] = {
    {.name = "Lblver",
     .kind = Kind::Label,
     .rect = {60, 0, 7695, 375},
     .caption = "Lblver",
     .fore = Black,
     .transparent = true,
     .font = {"Arial", 12, true, false, Western},
     .visible = false,
     .container = "Frame1"},
    {.name = "LblData",
     .kind = Kind::Label,
     .rect = {60, 360, 2655, 255},
     .caption = "data",
     .fore = Black,
     .back = HighlightText,
     .font = {"Arial", 9.75, true, true, Western},
     .visible = false,
     .container = "Frame1"},
    // The heading that names the product and the size.
    {.name = "Label1",
     .kind = Kind::Label,
     .rect = {2760, 480, 6075, 495},
     .fore = Highlight,
     .transparent = true,
     .font = {"Arial", 20.25, true, false, Western},
     .align = Align::Center,
     .container = "Frame1"},
    {.name = "Image1",
     .kind = Kind::Image,
     .rect = {2640, 1140, 6105, 3105},
     .picture = "form2_drawing",
     .container = "Frame1"},
    // The heading over the article number columns.
    {.name = "Label2",
     .index = 0,
     .kind = Kind::Label,
     .rect = {540, 3960, 2775, 375},
     .caption = "Tuotenumerot",
     .fore = Highlight,
     .transparent = true,
     .font = {"Arial", 14.25, true, true, Western},
     .visible = false,
     .container = "Frame1"},
};

// Vertical lines Line1(0..13) at the column borders, horizontal lines Line1(14..21) at the row
// borders. They lie above the labels, whose edges reach a pixel over some of them.
constexpr ControlDef Lines[] = {
    vertical(0, 0),
    vertical(1, 1020),
    vertical(2, 2100),
    vertical(3, 3180),
    vertical(4, 4260),
    vertical(5, 5340),
    vertical(6, 6360),
    vertical(7, 7080),
    vertical(8, 7800),
    vertical(9, 8520),
    vertical(10, 9240),
    vertical(11, 9900),
    vertical(12, 10620),
    vertical(13, 11340),
    horizontal(14, 4560, 0, 11340),
    horizontal(15, 4980),
    horizontal(16, 5400),
    horizontal(17, 5820),
    horizontal(18, 6240, -120),
    horizontal(19, 6660),
    horizontal(20, 7080),
    horizontal(21, 7560),
};

constexpr auto Controls = [] {
    constexpr int rows = 6;
    std::array<ControlDef, std::size(Outside) + std::size(AboveGrid) +
                               std::size(Grid) * (1 + rows) + std::size(Lines)>
        controls{};
    auto out = controls.begin();
    for (const ControlDef &c : Outside)
        *out++ = c;
    for (const ControlDef &c : AboveGrid)
        *out++ = c;
    for (const GridColumn &column : Grid)
        *out++ = header(column);
    for (const GridColumn &column : Grid)
        for (int row = 1; row <= rows; ++row)
            *out++ = data(column, row);
    for (const ControlDef &c : Lines)
        *out++ = c;
    return controls;
}();

} // namespace

const FormDef Form2{
    .name = "Form2",
    .caption = "Tekniset tiedot",
    .kind = WindowKind::Borderless,
    .width = 15405,
    .height = 11520,
    .back = LightGrey,
    .picture = "form2_background",
    .controls = Controls,
};

} // namespace forms
