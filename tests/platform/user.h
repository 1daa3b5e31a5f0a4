// What the contract suite needs of each platform: the platform itself and a
// user who acts on its windows. The headless user calls the test driver; the
// Win32 user makes the window receive what a real user's action makes it
// receive, so the backend's telling of user from program is exercised.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pallo::platform::contract {

// A message box as the user sees it while it is open.
struct OpenBox {
    NativeHandle owner = 0;
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
};

class User {
public:
    virtual ~User() = default;
    // Each returns false, doing nothing, when a user could not do it (a
    // hidden or disabled window or control).
    virtual bool press(const ControlRef& c, MouseButton button) = 0;
    virtual bool release(const ControlRef& c, MouseButton button) = 0;
    virtual bool click(const ControlRef& buttonOrCheckBox) = 0;
    // Opens the list with the mouse and clicks the item.
    virtual bool chooseItem(const ControlRef& combo, int index) = 0;
    // Clicks the closed combo box: its list opens.
    virtual bool openList(const ControlRef& combo) = 0;
    // Presses a key in the combo box, which takes the focus.
    virtual bool pressKey(const ControlRef& combo, Key key) = 0;
    // Selects the whole text, then types text over it, key after key.
    virtual bool typeText(const ControlRef& editOrCombo, const std::string& text) = 0;
    virtual bool selectRow(const ControlRef& list, int row) = 0;
    virtual bool ctrlClickRow(const ControlRef& list, int row) = 0;
    virtual bool dragWindow(WindowRef w, int left, int top) = 0;
    virtual bool closeByUser(WindowRef w) = 0;  // the frame's close button
    virtual bool turnWheel(const ControlRef& c, int delta) = 0;
    // Drags the scroll bar's thumb through the positions, then lets go.
    virtual bool dragThumb(const ControlRef& bar, const std::vector<int>& positions) = 0;
    // Presses the key combination wherever the keyboard is.
    virtual void pressHotkey(const Hotkey& hotkey) = 0;
    // Another program takes the hotkey for as long as the user lives.
    virtual void holdHotkeyElsewhere(const Hotkey& hotkey) = 0;
    // Lets everything the last actions caused reach the program.
    virtual void settle() = 0;
    // While set, each message box is answered by answer, called while the
    // box is open.
    virtual void answerBoxes(std::function<Answer(const OpenBox&)> answer) = 0;
    // Whether the row is drawn as selected: clearly apart from the rows
    // that are not.
    virtual bool looksSelected(const ControlRef& list, int row) = 0;
    // Whether a lies above b on the screen.
    virtual bool isAbove(WindowRef a, WindowRef b) const = 0;
};

struct Backend {
    virtual ~Backend() = default;
    virtual Platform& platform() = 0;
    virtual User& user() = 0;
};

// The platform under test, with its user; one per test.
std::unique_ptr<Backend> makeBackend();

}  // namespace pallo::platform::contract
