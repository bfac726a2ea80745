#pragma once
// A window's design state as data: the window's properties and its controls in tab order, all
// measured in twips. The Windows layer builds real controls from it and the unit tests' fake
// forms start from it, so both begin in the same state.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Picture.h"

using ControlId = int;  // a control's tab index in its window's design

// The user's system colours, told apart from real colour values by the top byte, as Windows
// colour values do it.
constexpr std::int32_t kWindowBackground = static_cast<std::int32_t>(0x80000005);
constexpr std::int32_t kWindowText = static_cast<std::int32_t>(0x80000008);

constexpr std::int32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

enum class ControlKind {
    PictureBox,     // draws its picture from the top left corner, clipped; may act as a button
    CommandButton,  // graphical style: its own back colour, a picture or a caption
    Label,
    TextBox,
    ComboBox,
    CheckBox,
    Frame,
    ListView,
    DriveList,
    FolderList,
    ProgressBar,
};

struct FontDesign {
    std::string face;      // empty: the window's default font
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // A bitmap face, which Windows never links to others, names its TrueType twin: the twin draws,
    // at the same size, any text that the face itself has no glyphs for. Empty: the face draws all.
    std::string twin = {};
};

struct ControlDesign {
    std::string name;  // e.g. "btnMenu"
    int index = -1;    // index within a control array, -1 when the control is not in one
    ControlKind kind = ControlKind::Label;
    int left = 0, top = 0, width = 0, height = 0;  // twips, in the parent's client area
    std::string caption;
    std::optional<std::int32_t> backColor;  // nullopt: the control's default
    std::optional<std::int32_t> foreColor;
    FontDesign font;
    BuiltInPicture picture = BuiltInPicture::None;
    std::string toolTip;
    // What a screen reader calls the control while it shows no text of its own (a picture-only
    // button, an arrow); empty: its tool tip.
    std::string accessibleName;
    bool visible = true;
    bool enabled = true;
    bool border = false;       // picture boxes: the single border
    bool centred = false;      // text boxes and labels: centred text
    bool multiline = false;    // text boxes: lines broken at words, with a scroll bar
    bool readOnly = false;     // text boxes: text to read and select, not to change
    bool tabStop = false;      // picture boxes: reached with Tab (those that act as buttons, and the main picture)
    ControlId parent = -1;     // a frame's tab index when the control sits inside it
};

// A list view's column: header and width in twips.
struct ColumnDesign {
    const char* header;
    int width;
};

enum class BorderStyle { FixedToolWindow, FixedDialog };

// The frame a window's outer heights are given for, in twips: what its title bar and top edge,
// and its bottom edge, add to the client area. The window's real frame replaces it. A window
// whose height is never set keeps none.
struct HeightFrame {
    int top = 0;
    int edge = 0;
};

struct WindowDesign {
    std::string caption;
    BorderStyle border = BorderStyle::FixedDialog;
    int clientWidth = 0, clientHeight = 0;  // twips
    bool centred = true;                    // else placed at `left`, `top` (client area, twips)
    int left = 0, top = 0;
    std::int32_t backColor = kWindowBackground;
    BuiltInPicture icon = BuiltInPicture::None;
    HeightFrame heightFrame;
    std::vector<ControlDesign> controls;    // in tab order: controls[id] has tab index id
};

// Twips to pixels at a given dots-per-inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
    return (twips * dpi + (twips >= 0 ? 720 : -720)) / 1440;
}

// ---- fitting windows onto a screen -------------------------------------------------------------

// Screen pixels. A rectangle includes left and top, excludes right and bottom.
struct PixelPoint {
    int x = 0, y = 0;
};
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The smallest DPI a window is laid out at, however small the screen: below it text is no longer
// text.
constexpr int kMinLayoutDpi = 48;

// The DPI to lay a window out at on a monitor of `dpi`: the monitor's own when the window fits
// into the work area, else the largest smaller one at which the client area of
// clientWidth x clientHeight twips plus the frame (its pixels at the monitor's DPI, which the
// system draws whatever the layout) fits; never below kMinLayoutDpi.
int FittingDpi(int dpi, int clientWidth, int clientHeight, PixelPoint frame, const PixelRect& work);

// Where a window of width x height sits centred in the work area. A window larger than the work
// area keeps its top left corner inside it, so that its title bar can always be reached.
PixelPoint CentredIn(const PixelRect& work, int width, int height);

// Where a window placed at `at` goes so that it lies inside the work area: where it is when it
// does already, else moved the least distance in; as in CentredIn, the top left corner wins.
PixelPoint KeptInside(const PixelRect& work, PixelPoint at, int width, int height);

// What a control shows of a picture, in 96-dpi pixels: its whole size (one pixel to spare for
// rounding), centred on buttons.
inline ShownArea ShownIn(const ControlDesign& c) {
    return {c.width / 15 + 1, c.height / 15 + 1, c.kind == ControlKind::CommandButton};
}
