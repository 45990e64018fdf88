#pragma once

// A window's definition as data: the window's own properties and every control in it, as the
// window was designed. Geometry is in twips (1/1440 inch); the windows are drawn for 15 twips
// per pixel. The runtime (form.h) turns a definition into widgets.

#include <cmath>
#include <cstdint>
#include <span>

namespace forms {

inline constexpr int TwipsPerPixel = 15;

// Twips to pixels, rounded half away from zero.
inline int px(int twips)
{
    return static_cast<int>(std::lround(twips / double(TwipsPerPixel)));
}

// Twips to pixels in a window drawn at a zoom factor (1 for 100 %).
inline int px(int twips, double zoom)
{
    return static_cast<int>(std::lround(twips * zoom / TwipsPerPixel));
}

// A single control has no index; the elements of a control array have 0, 1, ...
inline constexpr int NoIndex = -1;

enum class Kind : std::uint8_t {
    Label,         // static text; transparent or opaque, word-wrapping, takes clicks
    TextBox,       // editable text field, single- or multi-line
    Image,         // click area; shows its picture unscaled when it has one
    PictureBox,    // shows its picture at its top-left corner on its back colour
    Shape,         // circle marker in its back colour, outlined in its fore colour; no clicks
    CommandButton, // push button with a caption or a picture
    Frame,         // container; its controls name it as their container
    Line,          // 1-pixel line; the rectangle holds x1, y1, x2, y2
};

enum class Align : std::uint8_t { Left, Right, Center };

enum class WindowKind : std::uint8_t {
    Borderless,        // no title bar and no frame
    Fixed,             // title bar, not resizable
    ToolWindow,        // small title bar, not resizable
    SizableToolWindow, // small title bar, resizable
    DialogFrame,       // title bar, thin fixed frame
};

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb LightGrey{192, 192, 192};
inline constexpr Rgb DarkBlue{0, 0, 128};
inline constexpr Rgb VeryDarkBlue{0, 0, 64};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb DarkRed{128, 0, 0};
// The desktop scheme's colours, fixed as the standard scheme has them.
inline constexpr Rgb ButtonText = Black;
inline constexpr Rgb ButtonFace = LightGrey;
inline constexpr Rgb Highlight = DarkBlue;
inline constexpr Rgb HighlightText = White;
inline constexpr Rgb AppWorkspace{128, 128, 128};

// Western and Cyrillic character sets of a font.
inline constexpr int Western = 0;
inline constexpr int Cyrillic = 204;

struct Font
{
    const char *family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
    int charset = Western;
};

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDef
{
    const char *name = "";
    int index = NoIndex;
    Kind kind = Kind::Label;
    Rect rect;                     // relative to the client area, or to the container
    const char *caption = "";      // a label's or button's caption, a text field's text
    const char *picture = nullptr; // artwork name
    Rgb fore = Black;
    Rgb back = LightGrey;
    bool transparent = false; // labels: the back colour is not painted
    Font font;
    Align align = Align::Left;
    const char *tag = "";
    bool visible = true;
    bool multiLine = false;          // text fields
    bool border = true;              // text fields: a sunken frame of their own
    const char *container = nullptr; // name of the Frame holding the control
};

// A line of a language file that sets a control's caption (lines count from 1).
struct LanguageLine
{
    int line = 0;
    const char *control = "";
    int index = NoIndex;
};

// An image without a picture: a click area over something drawn in the background.
constexpr ControlDef clickArea(const char *name, int index, Rect rect, bool visible = true)
{
    ControlDef c;
    c.name = name;
    c.index = index;
    c.kind = Kind::Image;
    c.rect = rect;
    c.visible = visible;
    return c;
}

// Picture1(index): a picture box on white, hidden until the window's logic shows it (the
// arrangement pictures and drawings of the main window and the report page).
constexpr ControlDef picture(int index, Rect rect, const char *artwork)
{
    ControlDef c;
    c.name = "Picture1";
    c.index = index;
    c.kind = Kind::PictureBox;
    c.rect = rect;
    c.picture = artwork;
    c.back = White;
    c.visible = false;
    return c;
}

// Controls are listed from the lowest to the topmost: each lies above those listed before it.
// Labels, images, shapes and lines have no window of their own and lie below the text fields,
// buttons, frames and picture boxes of their window or frame.
struct FormDef
{
    const char *name = "";
    const char *caption = "";
    WindowKind kind = WindowKind::Fixed;
    int width = 0; // client area, twips
    int height = 0;
    Rgb back = LightGrey;
    const char *picture = nullptr; // background, drawn unscaled at the top-left corner
    const char *tag = "";
    std::span<const ControlDef> controls;
    // Names of the controls that take the keyboard focus, in the order of the tab key; empty:
    // the text fields and buttons in the order listed.
    std::span<const char *const> tabOrder;
    // The captions that the language files fill.
    std::span<const LanguageLine> languageLines;
};

} // namespace forms
