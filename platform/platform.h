// What the core asks of the desktop, and nothing more. Two implementations:
// platform/headless (in memory, with a test driver) and platform/win32.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/hotkey.h"
#include "platform/picture_source.h"
#include "ui/design.h"
#include "ui/events.h"

namespace pallo::platform {

// A top-level window. Ids are never reused, so a stale reference to a
// destroyed window is simply a window that does not exist.
struct WindowRef {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(const WindowRef&, const WindowRef&) = default;
};

// A control, addressed by its design name within its window.
struct ControlRef {
    WindowRef window;
    std::string name;
    explicit operator bool() const { return static_cast<bool>(window) && !name.empty(); }
    friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

// The native window handle (HWND on Windows), as an integer.
using NativeHandle = std::intptr_t;

struct Event {
    WindowRef window;
    std::string design;   // design name of the window
    std::string control;  // empty for the window itself
    ui::EventKind kind = ui::EventKind::Created;
    int wheelDelta = 0;
};

// Implemented by the core: receives every event of every window.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void handle(const Event& event) = 0;
    // Whether a handler is bound; a transparent label without one lets
    // mouse presses through to the control under it.
    virtual bool isBound(const std::string& design, const std::string& control, ui::EventKind kind) const = 0;
};

// Designs are in units of 96 dots per inch (100 %). On a scaled monitor a
// window, its controls, fonts and pictures are that many times larger.
inline constexpr int kDesignDpi = 96;

// A design length on a monitor of dpi dots per inch, computed in double
// precision and truncated toward zero like the rest of the geometry (a
// 70-pixel window is 105 pixels at 144 DPI, 87 at 120). A dpi of 0 or less
// counts as 96.
// A tip shows at most this many UTF-16 units of its text, what the system's
// tooltip control keeps; a longer text shows cut, ending with "…".
inline constexpr int kTipShownUnits = 1023;

constexpr int scaleToDpi(int length, int dpi) {
    if (dpi <= 0 || dpi == kDesignDpi) return length;
    const double scaled = static_cast<double>(length) * dpi / kDesignDpi;
    if (scaled >= 2147483647.0) return 2147483647;
    if (scaled <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(scaled);
}

enum class MouseButton { Left, Right, Middle };
// Keys a user presses in a combo box.
enum class Key { Up, Down, Return };
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// The kind of file a save-as dialog offers: "Zip 压缩包 (*.zip)", "*.zip";
// a name typed without an extension gets extension ("zip").
struct FileKind {
    std::string description;
    std::string pattern;
    std::string extension;
};

// One monitor's rectangle on the virtual desktop (the primary monitor's
// top-left corner is 0, 0; others may lie left of or above it).
struct Monitor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool primary = false;
    int dpi = kDesignDpi;  // its scale: windows standing on it are scaleToDpi(size, dpi) pixels
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

class Platform {
public:
    virtual ~Platform() = default;
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // --- the program ---------------------------------------------------
    virtual void setEventSink(EventSink* sink) = 0;
    // Runs the event loop until the program ends.
    virtual int run() = 0;
    // Asks the program to end: a running waitProcessingEvents returns at
    // once, an open message box closes as if answered No (OK for a box with
    // only OK) and a later one is not shown and gives that answer, so no
    // handler goes on as if the user had said Yes; the event loop stops
    // after the outermost handler has returned.
    virtual void requestExit() = 0;
    virtual bool exitRequested() const = 0;
    // Dispatches events while it waits; returns at once for ms <= 0.
    virtual void waitProcessingEvents(int ms) = 0;
    virtual std::int64_t tickMs() const = 0;
    // Work for the time the program waits for the user: the event loop calls
    // task whenever no input or other message is waiting, once per pass, on
    // the GUI thread, until it returns false (or another task replaces it;
    // an empty one cancels). Input is handled between two calls, so a call
    // must be short: a few milliseconds.
    virtual void setIdleTask(std::function<bool()> task) = 0;
    // Every monitor of the desktop, the primary one first.
    virtual std::vector<Monitor> monitors() const = 0;
    // The directory of the executable, without a trailing separator.
    virtual std::string runDirectory() const = 0;
    // The running program's own file; empty where there is none (headless).
    virtual std::string programFile() const = 0;
    virtual void openFolder(const std::string& path) = 0;
    // A modal box owned by owner, which is disabled until it is answered.
    virtual Answer messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                              MessageButtons buttons) = 0;
    // The system's modal save-as dialog: the path the user chose (an
    // existing file only once the user confirmed replacing it), nothing
    // when cancelled. suggestedName fills the name box at first.
    virtual std::optional<std::string> chooseSaveFile(WindowRef owner, const std::string& title,
                                                      const std::string& suggestedName, const FileKind& kind) = 0;

    // --- top-level windows ---------------------------------------------
    // Builds a window with its controls from a design, hidden, then fires
    // its Created event.
    virtual WindowRef createWindow(const ui::WindowDesign& design, WindowRef owner) = 0;
    virtual bool exists(WindowRef w) const = 0;
    virtual void destroy(WindowRef w) = 0;
    virtual NativeHandle nativeHandle(WindowRef w) const = 0;
    virtual std::string designName(WindowRef w) const = 0;
    virtual WindowRef owner(WindowRef w) const = 0;
    // Showing a framed window activates it; a borderless one (the overlay,
    // the rows) never takes the activation or the keyboard focus from the
    // program the user is in, not even when the user presses or drags it.
    virtual void setVisible(WindowRef w, bool visible) = 0;
    // Shows any window without activating it.
    virtual void showWithoutActivating(WindowRef w) = 0;
    // Makes ahead what the window system needs for the first showing of a
    // hidden translucent (layered) window, unseen, so that showing it later
    // is as quick as showing it again. Nothing the user sees or the program
    // reads changes; a visible or opaque window is left alone.
    virtual void prepareToShow(WindowRef w) = 0;
    virtual bool isVisible(WindowRef w) const = 0;
    // False while a message box owned by the window is open: the user cannot
    // reach the window until the box is answered.
    virtual bool isEnabled(WindowRef w) const = 0;
    // Left and top are the outer window's, in screen pixels as the system
    // reports them (what Cfg.ini keeps as X and Y). Width and height are the
    // designed size in design units: a framed window's client area (the frame
    // and caption come on top), a borderless window's whole rectangle; on the
    // screen the window is scaleToDpi(size, dpi(w)) pixels. One call sets left
    // and top; PositionChanged fires once, afterwards, for moves and resizes
    // by the program and by the user alike, and when the window is rescaled
    // for a monitor of another DPI.
    virtual void move(WindowRef w, int left, int top) = 0;
    virtual void resize(WindowRef w, int width, int height) = 0;
    virtual int left(WindowRef w) const = 0;
    virtual int top(WindowRef w) const = 0;
    virtual int width(WindowRef w) const = 0;
    virtual int height(WindowRef w) const = 0;
    // The outer rectangle's height in screen pixels: a framed window's frame
    // and caption included, so top + outerHeight is where the window ends on
    // the screen.
    virtual int outerHeight(WindowRef w) const = 0;
    // Dots per inch of the monitor the window stands on (96 at 100 %): how
    // far a design length reaches on the screen there. An offset from a
    // window's left or top is scaleToDpi(offset, dpi(w)) pixels.
    virtual int dpi(WindowRef w) const = 0;
    // An owned window always stays above its owner; leaving the top-most
    // band takes the owned windows (and theirs) along.
    virtual void setTopMost(WindowRef w, bool onTop) = 0;
    virtual bool isTopMost(WindowRef w) const = 0;
    virtual void setWindowTag(WindowRef w, const std::string& tag) = 0;
    virtual std::string windowTag(WindowRef w) const = 0;
    virtual void setTitle(WindowRef w, const std::string& title) = 0;
    virtual std::string title(WindowRef w) const = 0;
    // Registers a hotkey for the window: each press, wherever the user is,
    // fires the window's HotkeyPressed. A window holds one hotkey; a new one
    // replaces it, and destroying the window releases it. False, with nothing
    // registered, when the desktop refuses it (another program holds it).
    virtual bool registerHotkey(WindowRef w, const Hotkey& hotkey) = 0;
    virtual void unregisterHotkey(WindowRef w) = 0;
    // Makes the window layered with the given alpha (255 = opaque); a
    // window that does not exist is left alone.
    virtual void setLayeredAlpha(WindowRef w, int alpha) = 0;
    virtual int layeredAlpha(WindowRef w) const = 0;  // 255 when not layered

    // --- every control
    // Program changes fire nothing unless said otherwise here. ---------------------------------------------------
    virtual bool hasControl(const ControlRef& c) const = 0;
    virtual void setVisible(const ControlRef& c, bool visible) = 0;
    virtual bool isVisible(const ControlRef& c) const = 0;
    virtual void setEnabled(const ControlRef& c, bool enabled) = 0;
    virtual bool isEnabled(const ControlRef& c) const = 0;
    // Label, button, check box, group box, edit box; a combo box's current
    // text. On an editable combo box it sets the edit text. On a drop-down
    // list it selects the item whose text is exactly that text, or no item
    // when none is (the text then reads back empty), firing nothing. An edit
    // box fires ContentChanged once when its text changes, single- or
    // multi-line; its text reads back exactly, CR LF line breaks included.
    virtual void setText(const ControlRef& c, const std::string& text) = 0;
    virtual std::string text(const ControlRef& c) const = 0;
    virtual void setTag(const ControlRef& c, const std::string& tag) = 0;
    virtual std::string tag(const ControlRef& c) const = 0;
    virtual void setFocus(const ControlRef& c) = 0;
    virtual bool hasFocus(const ControlRef& c) const = 0;

    // --- label ------------------------------------------------------------
    virtual void setTextColour(const ControlRef& c, std::int32_t packedRgb) = 0;
    virtual std::int32_t textColour(const ControlRef& c) const = 0;

    // --- picture box ------------------------------------------------------
    virtual void setPicture(const ControlRef& c, const PictureSource& source) = 0;
    virtual PictureSource picture(const ControlRef& c) const = 0;
    // Decodes and fits the picture as the box would show it, without showing
    // it: a later setPicture of that source on a box of this size and
    // background finds it ready. What any box shows stays as it is.
    virtual void preparePicture(const ControlRef& c, const PictureSource& source) = 0;
    // The shared tooltip control, attached to the control's native window.
    // It shows at most kTipShownUnits of the text (tooltip() gives it whole).
    virtual void setTooltip(const ControlRef& c, const std::string& text) = 0;
    virtual std::string tooltip(const ControlRef& c) const = 0;

    // --- combo box --------------------------------------------------------
    // ItemChosen fires when the user commits a choice: picks an item from
    // the open list, or presses Return. The arrow keys only move the item
    // shown, open list or closed. Typing into an editable combo box leaves
    // no item selected (-1), whatever the text.
    virtual void clearItems(const ControlRef& c) = 0;
    virtual void addItem(const ControlRef& c, const std::string& text, std::int64_t data) = 0;
    virtual int itemCount(const ControlRef& c) const = 0;
    virtual std::string itemText(const ControlRef& c, int index) const = 0;
    virtual std::int64_t itemData(const ControlRef& c, int index) const = 0;
    // -1 selects none; on an editable combo box that also empties its text.
    virtual void setSelection(const ControlRef& c, int index) = 0;
    virtual int selection(const ControlRef& c) const = 0;
    // Switches between a drop-down list and an editable drop-down. Items,
    // their data, the selection, the enabled and visible state, the tooltip,
    // the focus and the event bindings stay; the control keeps its reference.
    // Becoming a list, the text is the selected item's (empty without one).
    virtual void setEditable(const ControlRef& c, bool editable) = 0;
    virtual bool isEditable(const ControlRef& c) const = 0;

    // --- check box --------------------------------------------------------
    virtual void setChecked(const ControlRef& c, bool checked) = 0;
    virtual bool isChecked(const ControlRef& c) const = 0;

    // --- horizontal scroll bar ---------------------------------------------
    virtual void setScrollRange(const ControlRef& c, int min, int max) = 0;
    virtual void setScrollPos(const ControlRef& c, int pos) = 0;
    virtual int scrollPos(const ControlRef& c) const = 0;

    // --- edit box -----------------------------------------------------------
    virtual void setReadOnly(const ControlRef& c, bool readOnly) = 0;
    virtual bool isReadOnly(const ControlRef& c) const = 0;

    // --- list view (report view) ---------------------------------------------
    // Rows may be selected (several in a multi-selection list); the current
    // row is the focused row while it is selected, else the first selected
    // row, else none (-1).
    // CurrentItemChanged fires whenever the current row changes, by the user
    // or the program: choosing rows, deleting the current row or all rows
    // (then once, with no current row). Moving down when an earlier row is
    // deleted is no change. Selection fires for the user's changes of the
    // selection, and in a list whose design sets selectionEventsFromProgram
    // also when the program selects a row. Selected rows look selected also
    // while another control has the focus.
    virtual int rowCount(const ControlRef& c) const = 0;
    virtual int columnCount(const ControlRef& c) const = 0;
    // Appends a row whose first cell is text; returns its index.
    virtual int addRow(const ControlRef& c, const std::string& firstCell) = 0;
    virtual void setCell(const ControlRef& c, int row, int column, const std::string& text) = 0;
    virtual std::string cell(const ControlRef& c, int row, int column) const = 0;
    virtual void deleteRow(const ControlRef& c, int row) = 0;
    virtual void clearRows(const ControlRef& c) = 0;
    // Makes row the only selected row and the focused one; -1: none selected.
    virtual void setCurrentRow(const ControlRef& c, int row) = 0;
    virtual int currentRow(const ControlRef& c) const = 0;
    // Selects or deselects one row; in a single-selection list selecting a
    // row deselects the others.
    virtual void setRowSelected(const ControlRef& c, int row, bool selected) = 0;
    // In row order.
    virtual std::vector<int> selectedRows(const ControlRef& c) const = 0;
};

}  // namespace pallo::platform
