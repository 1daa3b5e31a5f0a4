// The in-memory platform: every property of every window and control lives
// here, and a test driver acts as a user would. User actions fire exactly
// the handlers a real event fires; program changes fire only what the real
// platform fires for them (see platform.h).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/idle_task.h"
#include "platform/image.h"
#include "platform/platform.h"

namespace pallo::platform::headless {

using platform::Answer;
using platform::ControlRef;
using platform::Key;
using platform::MessageButtons;
using platform::MouseButton;
using platform::NativeHandle;
using platform::PictureSource;
using platform::WindowRef;

struct SaveDialogRecord {
    WindowRef owner;
    std::string title;
    std::string suggestedName;
    platform::FileKind kind;
    std::optional<std::string> answer;
};

struct MessageBoxRecord {
    WindowRef owner;
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    Answer answer = Answer::Ok;
};

class HeadlessPlatform final : public platform::Platform {
public:
    explicit HeadlessPlatform(std::string runDirectory);
    ~HeadlessPlatform() override;

    // --- platform::Platform ---------------------------------------------
    void setEventSink(platform::EventSink* sink) override { sink_ = sink; }
    int run() override;
    void requestExit() override { exitRequested_ = true; }
    bool exitRequested() const override { return exitRequested_; }
    void waitProcessingEvents(int ms) override;
    std::int64_t tickMs() const override { return clock_; }
    void setIdleTask(std::function<bool()> task) override { idleTask_.set(std::move(task)); }
    std::vector<platform::Monitor> monitors() const override { return monitors_; }
    std::string runDirectory() const override { return runDirectory_; }
    std::string programFile() const override { return programFile_; }
    void openFolder(const std::string& path) override { openedFolders_.push_back(path); }
    Answer messageBox(WindowRef owner, const std::string& text, const std::string& caption,
                      MessageButtons buttons) override;
    std::optional<std::string> chooseSaveFile(WindowRef owner, const std::string& title,
                                              const std::string& suggestedName,
                                              const platform::FileKind& kind) override;

    WindowRef createWindow(const ui::WindowDesign& design, WindowRef owner) override;
    bool exists(WindowRef w) const override;
    void destroy(WindowRef w) override;
    NativeHandle nativeHandle(WindowRef w) const override;
    std::string designName(WindowRef w) const override;
    WindowRef owner(WindowRef w) const override;
    void setVisible(WindowRef w, bool visible) override;
    void showWithoutActivating(WindowRef w) override { setVisible(w, true); }
    void prepareToShow(WindowRef w) override;
    bool isVisible(WindowRef w) const override;
    bool isEnabled(WindowRef w) const override;
    void move(WindowRef w, int left, int top) override;
    void resize(WindowRef w, int width, int height) override;
    int left(WindowRef w) const override;
    int top(WindowRef w) const override;
    int width(WindowRef w) const override;
    int height(WindowRef w) const override;
    // A framed window's frame and caption add kFrameExtent to its height;
    // both are scaled by the monitor's DPI, as on the screen.
    int outerHeight(WindowRef w) const override;
    static constexpr int kFrameExtent = 29;
    int dpi(WindowRef) const override { return dpi_; }
    void setTopMost(WindowRef w, bool onTop) override;
    bool isTopMost(WindowRef w) const override;
    void setWindowTag(WindowRef w, const std::string& tag) override;
    std::string windowTag(WindowRef w) const override;
    void setTitle(WindowRef w, const std::string& title) override;
    std::string title(WindowRef w) const override;
    bool registerHotkey(WindowRef w, const platform::Hotkey& hotkey) override;
    void unregisterHotkey(WindowRef w) override;
    void setLayeredAlpha(WindowRef w, int alpha) override;
    int layeredAlpha(WindowRef w) const override;

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

    // --- test driver: user actions ----------------------------------------
    // Each returns false, doing nothing, when a real user could not do it:
    // the window is missing or hidden, the control is missing, hidden or
    // disabled, or the action does not fit the control. The actions on a
    // control (not the mouse presses, which land on pictures and labels)
    // give it the keyboard focus first; a combo box that loses it takes the
    // item it shows, and when that takes the control away the action ends
    // there, returning false.
    bool pressMouse(const ControlRef& c, MouseButton button);
    bool releaseMouse(const ControlRef& c, MouseButton button);
    bool clickMouse(const ControlRef& c, MouseButton button = MouseButton::Left);  // press, then release
    bool turnWheel(const ControlRef& c, int delta);
    bool click(const ControlRef& buttonOrCheckBox);  // a check box toggles first
    // Opens the combo box's list, picks the item and closes the list.
    bool chooseItem(const ControlRef& combo, int index);
    // A click on the closed combo box: its list opens.
    bool openList(const ControlRef& combo);
    // A key pressed in a combo box that has the focus.
    bool pressKey(const ControlRef& combo, platform::Key key);
    bool selectRow(const ControlRef& list, int row);     // plain click on a row
    bool ctrlClickRow(const ControlRef& list, int row);  // toggles the row in a multi-selection list
    // Selects the whole text and types text over it, one character after
    // another; an integer-only box refuses every character but digits.
    bool typeText(const ControlRef& edit, const std::string& text);
    bool moveScroll(const ControlRef& scrollBar, int pos);  // drags the thumb there
    bool dragWindow(WindowRef w, int left, int top);
    bool closeByUser(WindowRef w);
    // The key combination pressed anywhere: fires HotkeyPressed of the window
    // that registered it, shown or hidden. False when no window holds it.
    bool pressHotkey(const platform::Hotkey& hotkey);
    // The program waits for the user: one call of the idle task, as the
    // event loop makes when no input is waiting. False when there is none
    // (then nothing runs).
    bool idle();
    // Calls the idle task until it is done; how many calls it took.
    int idleUntilDone();
    bool hasIdleTask() const { return idleTask_.pending(); }

    // --- test driver: the environment ---------------------------------------
    // One primary monitor of this size.
    void setScreenSize(int width, int height) { monitors_ = {{0, 0, width, height, true}}; }
    // The primary monitor comes first.
    void setMonitors(std::vector<platform::Monitor> monitors) { monitors_ = std::move(monitors); }
    // The DPI of every monitor (96 unless set): the platform reports it; sizes
    // stay in design units, as they read back on Win32 too.
    void setDpi(int dpi) { dpi_ = dpi; }
    void advanceClock(std::int64_t ms) { clock_ += ms; }
    // Another program holds the hotkey: registering it fails.
    void holdHotkeyElsewhere(const platform::Hotkey& hotkey) { heldElsewhere_.push_back(hotkey); }
    // Runs during the next waitProcessingEvents, in order.
    void queueDuringWait(std::function<void()> action) { duringWait_.push_back(std::move(action)); }
    std::size_t pendingWaitActions() const { return duringWait_.size(); }
    // Answers for the next message boxes; an unanswered box gets OK or No.
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    // While set, answers every box instead of the queue, called while the
    // box is open (its owner disabled).
    void setMessageBoxAnswerer(std::function<Answer(const MessageBoxRecord&)> answerer) {
        answerer_ = std::move(answerer);
    }
    const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }
    // Answers for the next save-as dialogs (a path, or nothing for Cancel);
    // an unanswered dialog is cancelled.
    void queueSaveFile(std::optional<std::string> path) { savePaths_.push_back(std::move(path)); }
    const std::vector<SaveDialogRecord>& saveDialogs() const { return saveDialogs_; }
    // What programFile() answers (nothing by default).
    void setProgramFile(std::string path) { programFile_ = std::move(path); }
    void clearMessageBoxes() { boxes_.clear(); }
    const std::vector<std::string>& openedFolders() const { return openedFolders_; }
    // Called with each window just before the program destroys it, so a test
    // can look at what else is on screen at that moment.
    void setDestroyObserver(std::function<void(WindowRef)> observer) { destroyObserver_ = std::move(observer); }

    // --- test driver: inspection ---------------------------------------------
    // Existing windows in creation order; of one design name.
    std::vector<WindowRef> windows() const;
    std::vector<WindowRef> windowsOfDesign(const std::string& design) const;
    bool isLayered(WindowRef w) const;
    // Whether the window was prepared to show (prepareToShow) while hidden
    // and layered, as the Win32 platform prepares one.
    bool isPreparedToShow(WindowRef w) const;
    std::optional<platform::Hotkey> registeredHotkey(WindowRef w) const;
    // The stacking order: an owned window lies above its owner, the top-most
    // band above the rest, and otherwise the window raised last on top.
    bool isAbove(WindowRef a, WindowRef b) const;
    // The decoded picture the box shows (empty when none or undecodable).
    std::shared_ptr<const image::Rgba> shownPicture(const ControlRef& c) const;
    const image::PictureCache& pictureCache() const { return cache_; }
    // Design name of the control under c whose press c lets through.
    std::string pressTarget(const ControlRef& c) const;

private:
    struct Control;
    struct Window;

    Window* findWindow(WindowRef w);
    const Window* findWindow(WindowRef w) const;
    Control* findControl(const ControlRef& c);
    const Control* findControl(const ControlRef& c) const;
    Control& control(const ControlRef& c);  // asserts it exists
    const Control& control(const ControlRef& c) const;
    bool userCanReach(const ControlRef& c) const;
    // The keyboard focus moves to c; an empty name is a window of no
    // control (a message box), after which it comes back. Every action that
    // moves it comes here: a combo box that loses it takes the item it shows
    // (ItemChosen, as Return would) before the action goes on.
    void moveFocus(const ControlRef& c);
    // Takes the item a combo box shows as the user's choice: fires
    // ItemChosen when one is shown and, unless always, only when it is
    // another than the one taken last.
    void takeShownItem(const ControlRef& combo, bool always);
    // A user's action on c, when the user can reach it and it fits: the
    // focus moves there first, then c is checked again. The control, or
    // null when the action cannot go on.
    template <typename Fits>
    Control* focusForAction(const ControlRef& c, Fits fits);
    void fire(WindowRef w, const std::string& control, ui::EventKind kind, int wheelDelta = 0);
    void firePositionChanged(WindowRef w);
    // Runs a change of a list view's rows or selection and fires what it
    // caused (see platform.h); deletedRow is the row a deletion removed (-1 for none).
    template <typename Change>
    void changeList(const ControlRef& c, bool byUser, int deletedRow, Change change);

    std::string runDirectory_;
    std::string programFile_;
    platform::EventSink* sink_ = nullptr;
    std::vector<platform::Monitor> monitors_{{0, 0, 1920, 1080, true}};
    std::int64_t clock_ = 0;
    int dpi_ = platform::kDesignDpi;
    bool exitRequested_ = false;
    std::uint32_t nextId_ = 1;
    std::uint64_t raises_ = 0;
    WindowRef active_;  // the window whose focused control has the keyboard
    std::map<std::uint32_t, std::unique_ptr<Window>> windows_;
    std::deque<std::function<void()>> duringWait_;
    std::deque<Answer> answers_;
    std::function<Answer(const MessageBoxRecord&)> answerer_;
    platform::IdleTask idleTask_;
    std::function<void(WindowRef)> destroyObserver_;
    std::vector<MessageBoxRecord> boxes_;
    std::deque<std::optional<std::string>> savePaths_;
    std::vector<SaveDialogRecord> saveDialogs_;
    std::vector<std::string> openedFolders_;
    std::vector<platform::Hotkey> heldElsewhere_;
    image::PictureCache cache_;
};

}  // namespace pallo::platform::headless
