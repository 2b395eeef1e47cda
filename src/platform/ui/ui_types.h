// The window system's data: geometry, control kinds, dialog and menu templates, paint orders.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Left, top, width, height in pixels.
struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class ControlKind {
    Static,
    GroupBox,
    Button,
    CheckBox,
    Radio,
    Edit,
    Combo,  // a drop-down list: the user can only pick an entry
    DatePicker,
    ListBox,
    ListView,
};

// Style bits of a control template.
enum ControlStyle : uint32_t {
    kStyleNone = 0,
    kStyleSorted = 1u << 0,     // combo or list box keeps its entries in alphabetical order
    kStyleHidden = 1u << 1,     // hidden at first
    kStyleDisabled = 1u << 2,   // disabled at first
    kStyleDefault = 1u << 3,    // the default button at first
    kStyleAutoCheck = 1u << 4,  // check box or radio button that changes itself when tapped
    kStyleNotify = 1u << 5,     // list box reports selection changes
    kStyleGroup = 1u << 6,      // starts a new group of radio buttons
    kStyleIcon = 1u << 7,       // static showing the icon resource `image`
};

// The identifier of labels and frames nobody addresses.
constexpr int kUnnamedControl = -1;

// A rectangle of one layout, or "hidden in this layout".
struct LayoutRect {
    Rect rect;
    bool hidden = false;
};

struct ControlTemplate {
    int id = kUnnamedControl;
    ControlKind kind = ControlKind::Static;
    std::u16string_view text;
    uint32_t style = kStyleNone;
    int editLimit = 0;  // characters an edit field accepts from typing; 0 for the default
    LayoutRect portrait;
    LayoutRect landscape;  // equal to portrait for templates with one layout
    int image = 0;         // icon resource of a kStyleIcon static
};

// Shell frame flags of a dialog.
enum FrameFlags : uint32_t {
    kFrameDoneButton = 1,  // the shell's Done button, arriving as command IDOK (1)
    kFrameFullScreen = 4,
    kFrameInputPanelDown = 8,
};
constexpr uint32_t kFrameNoEntry =
    kFrameDoneButton | kFrameFullScreen | kFrameInputPanelDown;        // 13
constexpr uint32_t kFrameEntry = kFrameDoneButton | kFrameFullScreen;  // 5

// The painted heading of a dialog: a text from the string table and, for headings, a rule
// below it. A hint is the same font without a rule.
struct TitleBand {
    enum class Kind { None, Heading, Hint };
    Kind kind = Kind::None;
    uint32_t stringId = 0;
    Point origin;
    Point ruleFrom;
    Point ruleTo;
    uint32_t colour = 0;  // COLORREF: 0x00BBGGRR
    bool portraitOnly = false;
};

constexpr uint32_t kBandBlue = 0x00FF0000;
constexpr uint32_t kHintColour = 0x008000FF;

struct DialogTemplate {
    int id = 0;
    std::u16string_view caption;
    uint32_t frameFlags = 0;
    TitleBand band;
    std::u16string_view helpAnchor;  // empty where the behaviour decides
    bool twoLayouts = false;         // the dialog moves its controls on every size change
    std::span<const ControlTemplate> controls;
};

// Menu bar of the main window.
struct MenuItemTemplate {
    int command = 0;  // 0 for a separator
    uint32_t stringId = 0;
};

struct MenuTemplate {
    int command = 0;  // the menu bar button that opens it
    uint32_t stringId = 0;
    std::span<const MenuItemTemplate> items;
};

struct MenuBarButton {
    enum class Kind { Command, Popup, Separator, Image };
    Kind kind = Kind::Command;
    int command = 0;
    uint32_t stringId = 0;  // label of a Command or Popup button
    int bitmap = 0;         // Image: bitmap resource and image index
    int image = 0;
    int menu = -1;  // Popup: index into MenuBarTemplate::menus
};

struct MenuBarTemplate {
    int id = 0;
    std::span<const MenuBarButton> buttons;
    std::span<const MenuTemplate> menus;
    std::span<const uint32_t> toolTips;  // given to the buttons in order; 0 = none
};

// Painting: a window's paint handler returns these orders and the host draws them.
struct FontSpec {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;  // DEFAULT_CHARSET
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;
    int pitchAndFamily = 0;
    std::u16string face;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct PaintText {
    Point at;
    std::u16string text;
    uint32_t colour = 0;
    FontSpec font;
    friend bool operator==(const PaintText&, const PaintText&) = default;
};

// Outline of a rectangle from `from` to `to` (right and bottom exclusive), one-pixel pen.
struct PaintRectangle {
    Point from;
    Point to;
    uint32_t colour = 0;
    friend bool operator==(const PaintRectangle&, const PaintRectangle&) = default;
};

struct PaintPolyline {
    std::vector<Point> points;
    uint32_t colour = 0;
    friend bool operator==(const PaintPolyline&, const PaintPolyline&) = default;
};

using PaintOp = std::variant<PaintText, PaintRectangle, PaintPolyline>;
using PaintList = std::vector<PaintOp>;

}  // namespace qv
