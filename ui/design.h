// Window designs as data. Every window of the program is described by a
// WindowDesign; the platform backends build windows from these and from
// nothing else, so a layout lives in exactly one place. Places, sizes, font
// sizes and column widths are in units of 96 DPI; on a scaled monitor the
// platform draws them that many times larger.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assets/assets.h"

namespace pallo::ui {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLavender{191, 191, 255};
inline constexpr Rgb kGrey{192, 192, 192};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};

// Colour as a packed integer, red in the lowest byte (pure green is 65280).
constexpr std::int32_t packColour(Rgb c) { return c.r | (c.g << 8) | (c.b << 16); }
constexpr Rgb unpackColour(std::int32_t v) { return Rgb{v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF}; }

enum class ControlKind {
    PictureBox,
    Label,  // transparent label: text drawn without background
    Button,
    Edit,
    Combo,  // drop-down list (editable when ControlDesign::editable)
    CheckBox,
    GroupBox,
    HScrollBar,
    ListView,  // report view with column headers
};

enum class Align { Left, Centre };

struct Font {
    std::string face;  // empty: the system's default GUI font
    int pixelSize = 0;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct ComboItem {
    std::string text;
    std::int64_t data = 0;
};

struct ListColumn {
    std::string caption;
    int width = 0;  // 0 hides the column
};

struct ScrollRange {
    int min = 0;
    int max = 100;
    int page = 1;  // how far a click in the trough moves the thumb
    int step = 1;
    int pos = 0;
};

struct ControlDesign {
    ControlKind kind = ControlKind::Label;
    std::string name;       // unique within its window
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string container;  // name of the enclosing control, empty for the client area
    bool visible = true;
    bool enabled = true;
    std::string text;
    Font font;
    std::optional<Rgb> textColour;  // empty: system default
    std::optional<Rgb> background;  // empty: system default / transparent for labels
    Align align = Align::Left;
    bool wrap = false;
    // Label, one line: a text too wide for it ends cut with "…" (a caption
    // whose text comes from the content); otherwise it shows whole.
    bool ellipsis = false;
    // Combo box
    std::vector<ComboItem> items;
    bool editable = false;
    // List view
    std::vector<ListColumn> columns;
    bool multiSelect = false;
    // The program's changes of the selection fire Selection too, not only
    // the user's.
    bool selectionEventsFromProgram = false;
    // Edit box
    bool readOnly = false;
    bool multiLine = false;
    bool integerInput = false;
    // Scroll bar
    ScrollRange scroll;
    // Picture box
    assets::Picture picture = assets::Picture::None;
};

struct WindowDesign {
    std::string name;  // design name, e.g. "OverlayWindow"
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool framed = false;  // fixed frame with caption bar; otherwise a borderless popup
    std::optional<Rgb> background;
    std::string caption;
    assets::Picture icon = assets::Picture::None;
    std::vector<ControlDesign> controls;

    const ControlDesign* find(const std::string& controlName) const;
};

}  // namespace pallo::ui
