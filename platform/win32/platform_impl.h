// The Win32 platform itself. Internal: includes windows.h; only this folder
// and the conformance tests include it.
#pragma once

#include "platform/win32/handles.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/idle_task.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "platform/win32/rules.h"

namespace pallo::platform::win32 {

// A window's or control's text (GetWindowTextW) as UTF-8.
std::string windowText(HWND h);
// OS failures are logged and the call carries on; nothing here is fatal.
void logFailure(const char* call);

class Win32Backend;
struct TopWindow;

// Private messages of our top-level windows.
inline constexpr UINT kMsgListChanged = WM_APP + 1;  // wParam: control id
inline constexpr int kFirstControlId = 1000;         // above IDOK/IDCANCEL, which dialog keys send
// To the host window: the overlay or a row changed while a tip shows.
inline constexpr UINT kMsgPlaceTip = WM_APP + 2;

// Our own window classes: top-level windows and our own controls.
inline constexpr const wchar_t* kWindowClass = L"PalloWindow";
inline constexpr const wchar_t* kPictureClass = L"PalloPicture";
inline constexpr const wchar_t* kLabelClass = L"PalloLabel";
LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

struct Control {
    TopWindow* window = nullptr;
    ui::ControlDesign design;  // a copy: the caller's design need not outlive the window
    const Control* container = nullptr;
    HWND hwnd = nullptr;  // destroyed with its top-level window
    // A combo box the user can neither see nor use gets its native window
    // when the program first touches it: its drop-down list is a top-level
    // window of its own, slow to make, and the overlay shows sooner without.
    bool deferred = false;
    int id = 0;
    RECT designed{};  // in the window's client area, in design units
    RECT placed{};    // the same in pixels at the window's DPI
    int zIndex = 0;   // 0 is the top of its siblings

    std::string tag;
    bool visible = true;  // the control's own state; shown only when its containers are too
    bool enabled = true;
    std::string text;  // labels draw it themselves
    std::int32_t colour = 0;
    bool hasColour = false;
    OwnedBrush background;
    HFONT font = nullptr;  // owned by the platform's font cache

    // Picture box
    PictureSource source;
    std::shared_ptr<const image::Rgba> picture;
    std::vector<std::uint8_t> bgra;  // the picture as a top-down 32-bit DIB
    std::string tooltip;

    // Scroll bar
    ScrollSettings scroll;

    // Combo box: the choice the program knows of, the last one committed
    // by the user or set by the program.
    int committed = -1;

    // Program changes in progress: notifications they cause are not user actions.
    int quiet = 0;
    // List view: what the last event (or the program) left, and whether a
    // coalescing message is on its way.
    int lastCurrent = -1;
    std::vector<int> lastSelection;
    bool listChangePending = false;
};

struct TopWindow : std::enable_shared_from_this<TopWindow> {
    Win32Backend* platform = nullptr;
    WindowRef ref;
    ui::WindowDesign design;  // controls emptied: each Control keeps its own copy
    OwnedWindow hwnd;
    WindowRef owner;
    std::string tag;
    std::string title;
    OwnedBrush background;
    COLORREF backgroundColour = 0;
    OwnedIcon icon;
    std::vector<std::unique_ptr<Control>> controls;
    std::map<std::string, Control*, std::less<>> byName;
    ui::Rgb backgroundRgb;
    // The on-top state asked for. Wine 8 hands WS_EX_TOPMOST of a window that
    // owns pop-ups to those pop-ups instead, so the style alone would make the
    // overlay read as not on top (and save "T" wrong) once its rows exist.
    bool topMost = false;
    bool ready = false;  // set once Created may fire; cleared when destroyed
    RECT lastRect{};
    OwnedHotkey hotkey;  // released at WM_DESTROY, while the window still exists
    // A drag by the picture box under way: where the pointer and the
    // window's top-left corner were when it began (screen coordinates).
    struct Drag {
        POINT pointer{};
        POINT origin{};
    };
    std::optional<Drag> drag;
    // The designed size in design units, and the DPI of the monitor the
    // window stands on: on the screen it is that size scaled.
    int width = 0;
    int height = 0;
    int dpi = kDesignDpi;
    // The width of a tip's lines for this window's monitor (0: not known).
    // Asking the system for the monitor is two requests to Wine's server,
    // and a press fills 28 tips: it is asked again only once the window has
    // moved, its DPI changed or the screen changed.
    int tipWidth = 0;
    bool userMoving = false;  // inside the system's move loop (a drag)

    TopWindow() = default;
    ~TopWindow();  // destroys the native window (and with it the controls)
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;
    Control* controlByHwnd(HWND h) const;
};

// What a test sees of a message box on screen.
struct ShownBox {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
};
using BoxAnswerer = std::function<Answer(const ShownBox&)>;

class Win32Backend final : public Platform {
public:
    Win32Backend();
    ~Win32Backend() override;

    // --- test hooks ---------------------------------------------------------
    // While set, each message box is answered on screen (its button is
    // pressed) with what the answerer returns for the box as it was shown.
    void setMessageBoxAnswerer(BoxAnswerer answerer) { answerer_ = std::move(answerer); }
    // While set, folders are handed to the hook instead of the file browser.
    void setOpenFolderHook(std::function<void(const std::string&)> hook) { openFolderHook_ = std::move(hook); }
    HWND controlHandle(const ControlRef& c) const;
    HWND tooltipHandle() const { return tooltip_.get(); }
    image::PictureCache& pictureCache() { return pictures_; }

    // --- the program ---------------------------------------------------------
    void setEventSink(EventSink* sink) override { sink_ = sink; }
    int run() override;
    void requestExit() override;
    bool exitRequested() const override { return exit_; }
    void waitProcessingEvents(int ms) override;
    std::int64_t tickMs() const override;
    void setIdleTask(std::function<bool()> task) override { idleTask_.set(std::move(task)); }
    std::vector<Monitor> monitors() const override;
    std::string runDirectory() const override;
    std::string programFile() const override;
    void openFolder(const std::string& path) override;
    Answer messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                      MessageButtons buttons) override;
    std::optional<std::string> chooseSaveFile(WindowRef owner, const std::string& title,
                                              const std::string& suggestedName, const FileKind& kind) override;

    // --- top-level windows ----------------------------------------------------
    WindowRef createWindow(const ui::WindowDesign& design, WindowRef owner) override;
    bool exists(WindowRef w) const override;
    void destroy(WindowRef w) override;
    NativeHandle nativeHandle(WindowRef w) const override;
    std::string designName(WindowRef w) const override;
    WindowRef owner(WindowRef w) const override;
    void setVisible(WindowRef w, bool visible) override;
    void showWithoutActivating(WindowRef w) override;
    void prepareToShow(WindowRef w) override;
    bool isVisible(WindowRef w) const override;
    bool isEnabled(WindowRef w) const override;
    void move(WindowRef w, int left, int top) override;
    void resize(WindowRef w, int width, int height) override;
    int left(WindowRef w) const override;
    int top(WindowRef w) const override;
    int width(WindowRef w) const override;
    int height(WindowRef w) const override;
    int outerHeight(WindowRef w) const override;
    int dpi(WindowRef w) const override;
    void setTopMost(WindowRef w, bool onTop) override;
    bool isTopMost(WindowRef w) const override;
    void setWindowTag(WindowRef w, const std::string& tag) override;
    std::string windowTag(WindowRef w) const override;
    void setTitle(WindowRef w, const std::string& title) override;
    std::string title(WindowRef w) const override;
    bool registerHotkey(WindowRef w, const Hotkey& hotkey) override;
    void unregisterHotkey(WindowRef w) override;
    void setLayeredAlpha(WindowRef w, int alpha) override;
    int layeredAlpha(WindowRef w) const override;

    // --- controls ---------------------------------------------------------------
    bool hasControl(const ControlRef& c) const override;
    void setVisible(const ControlRef& c, bool visible) override;
    bool isVisible(const ControlRef& c) const override;
    void setEnabled(const ControlRef& c, bool enabled) override;
    bool isEnabled(const ControlRef& c) const override;
    void setText(const ControlRef& c, const std::string& text) override;
    std::string text(const ControlRef& c) const override;
    void setTag(const ControlRef& c, const std::string& tag) override;
    std::string tag(const ControlRef& c) const override;
    void setFocus(const ControlRef& c) override;
    bool hasFocus(const ControlRef& c) const override;
    void setTextColour(const ControlRef& c, std::int32_t packedRgb) override;
    std::int32_t textColour(const ControlRef& c) const override;
    void setPicture(const ControlRef& c, const PictureSource& source) override;
    PictureSource picture(const ControlRef& c) const override;
    void preparePicture(const ControlRef& c, const PictureSource& source) override;
    void setTooltip(const ControlRef& c, const std::string& text) override;
    std::string tooltip(const ControlRef& c) const override;
    void clearItems(const ControlRef& c) override;
    void addItem(const ControlRef& c, const std::string& text, std::int64_t data) override;
    int itemCount(const ControlRef& c) const override;
    std::string itemText(const ControlRef& c, int index) const override;
    std::int64_t itemData(const ControlRef& c, int index) const override;
    void setSelection(const ControlRef& c, int index) override;
    int selection(const ControlRef& c) const override;
    void setEditable(const ControlRef& c, bool editable) override;
    bool isEditable(const ControlRef& c) const override;
    void setChecked(const ControlRef& c, bool checked) override;
    bool isChecked(const ControlRef& c) const override;
    void setScrollRange(const ControlRef& c, int min, int max) override;
    void setScrollPos(const ControlRef& c, int pos) override;
    int scrollPos(const ControlRef& c) const override;
    void setReadOnly(const ControlRef& c, bool readOnly) override;
    bool isReadOnly(const ControlRef& c) const override;
    int rowCount(const ControlRef& c) const override;
    int columnCount(const ControlRef& c) const override;
    int addRow(const ControlRef& c, const std::string& firstCell) override;
    void setCell(const ControlRef& c, int row, int column, const std::string& text) override;
    std::string cell(const ControlRef& c, int row, int column) const override;
    void deleteRow(const ControlRef& c, int row) override;
    void clearRows(const ControlRef& c) override;
    void setCurrentRow(const ControlRef& c, int row) override;
    int currentRow(const ControlRef& c) const override;
    void setRowSelected(const ControlRef& c, int row, bool selected) override;
    std::vector<int> selectedRows(const ControlRef& c) const override;

    // --- used by the window procedures ----------------------------------------
    LRESULT topWindowMessage(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT pictureMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT labelMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp);
    // The rest of our own controls' messages: a mouse button becomes its
    // event, anything else gets the default handling.
    LRESULT mouseOrDefault(TopWindow& w, Control& c, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT listViewMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT listNotify(Control& c, NMHDR& hdr);
    // A message of a combo box or of its edit child (hwnd).
    LRESULT comboMessage(Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT hostMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    TopWindow* findWindow(WindowRef w) const;
    Control* findControl(const ControlRef& c) const;
    Control* findControl(const ControlRef& c, ui::ControlKind kind) const;
    HWND hwndOf(WindowRef w) const;

    void fire(const TopWindow& w, const Control* c, ui::EventKind kind, int wheelDelta = 0);
    // The steps of topWindowMessage: what the message returns, or nothing
    // when it is left to DefWindowProc.
    LRESULT positionChanged(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> commandMessage(TopWindow& w, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> scrollMessage(TopWindow& w, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> notifyMessage(TopWindow& w, LPARAM lp);
    bool bound(const TopWindow& w, const Control& c, ui::EventKind kind) const;
    void dispatch(MSG& msg);
    // One call of the idle task when no message is waiting; false when
    // there is nothing to do.
    bool runIdleTask();
    // The box's picture from the cache, fitted to the box on its background.
    std::shared_ptr<const image::Rgba> fittedPicture(const Control& c, const PictureSource& source);

    void createControl(TopWindow& w, const ui::ControlDesign& design, int index);
    void makeNative(TopWindow& w, Control& c);
    void arrangeZOrder(TopWindow& w);
    void applyShown(const TopWindow& w, const Control& c);
    bool effectivelyVisible(const Control& c) const;
    bool effectivelyEnabled(const Control& c) const;
    HFONT fontFor(const ui::Font& font, int dpi);
    // The outer window size for the window's designed size at dpi.
    SIZE outerSize(const TopWindow& w, int dpi) const;
    // Lays the control out at its window's DPI: place, size, font, column
    // widths and the picture fitted anew.
    void layoutControl(TopWindow& w, Control& c);
    // The window moved to a monitor of another DPI (WM_DPICHANGED).
    void applyDpi(TopWindow& w, int dpi, const RECT* suggested);
    // Corrects a framed window whose client area missed its scaled designed size.
    void fitClientArea(const TopWindow& w);
    int windowDpi(HWND h) const;
    void loadIcon(TopWindow& w);
    void repaintArea(const Control& c);
    void paintPicture(const Control& c, HDC dc, int dx, int dy) const;
    void paintLabel(Control& c, HDC dc);
    void removeTools(const TopWindow& w);
    // Moves the shown tip of the tool window to where it stands clear of
    // every visible borderless window (the overlay and the rows), wholly on
    // the work area of the monitor of the tool's top owner.
    void placeShownTip(HWND tool);
    void placeCurrentTip();  // the tip on screen, if any
    // A borderless window appeared, went or moved: a tip on screen is placed
    // anew, once, when the changes of this turn are done.
    void placeTipLater();

    // combo boxes
    void hookCombo(Control& c);
    // The user's choice is taken: fires ItemChosen when an item is selected,
    // and, unless always, only when it is another than the one taken last.
    void commitChoice(TopWindow& w, Control& c, bool always);
    // After a program change: what the combo box shows is known.
    void rememberChoice(Control& c);

    // list views
    int listCurrent(const Control& c) const;
    std::vector<int> listSelection(const Control& c) const;
    void rememberListState(Control& c);
    // Runs a program change of a list view quietly, then fires what the
    // change made: CurrentItemChanged when the current row changed (a row
    // that only moved up with the deletion of deletedRow is the same row),
    // Selection when the design asks for the program's selections too.
    template <typename Change>
    void changeList(Control& c, int deletedRow, Change change);
    void listChanged(TopWindow& w, int controlId);

    // message boxes
    void answerShownBox();

    EventSink* sink_ = nullptr;
    bool exit_ = false;
    IdleTask idleTask_;
    bool registeredClasses_ = false;
    HINSTANCE instance_ = nullptr;

    image::PictureCache pictures_;
    // By face, pixel size, bold and DPI: a font for each DPI a window met.
    std::map<std::tuple<std::string, int, bool, int>, OwnedFont> fonts_;
    // The DPI functions of Windows 10 1607 and later, when the system has them.
    UINT(WINAPI* getDpiForWindow_)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi_)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    HRESULT(WINAPI* getDpiForMonitor_)(HMONITOR, int, UINT*, UINT*) = nullptr;
    int systemDpi_ = kDesignDpi;  // the DPI the stock GUI font is made for
    OwnedWindow host_;     // message-only window: wake-ups and the message-box answerer
    OwnedWindow tooltip_;  // the one shared tooltip control
    bool tipPlacePending_ = false;
    std::uint32_t nextWindowId_ = 1;
    std::map<std::uint32_t, std::shared_ptr<TopWindow>> windows_;

    BoxAnswerer answerer_;
    bool answering_ = false;
    HWND answeringOwner_ = nullptr;
    std::function<void(const std::string&)> openFolderHook_;
    LazyLibrary shell_{L"shell32.dll"};
    LazyLibrary commonDialogs_{L"comdlg32.dll"};
};

}  // namespace pallo::platform::win32
