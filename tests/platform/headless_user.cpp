// The contract's user on the headless platform: its test driver.
#include <algorithm>

#include "platform/headless/headless_platform.h"
#include "tests/platform/user.h"

namespace pallo::platform::contract {
namespace {

class HeadlessUser final : public User, public Backend {
public:
    Platform& platform() override { return p_; }
    User& user() override { return *this; }

    bool press(const ControlRef& c, MouseButton b) override { return p_.pressMouse(c, b); }
    bool release(const ControlRef& c, MouseButton b) override { return p_.releaseMouse(c, b); }
    bool click(const ControlRef& c) override { return p_.click(c); }
    bool chooseItem(const ControlRef& c, int index) override { return p_.chooseItem(c, index); }
    bool openList(const ControlRef& c) override { return p_.openList(c); }
    bool pressKey(const ControlRef& c, Key key) override { return p_.pressKey(c, key); }
    bool typeText(const ControlRef& c, const std::string& text) override { return p_.typeText(c, text); }
    bool selectRow(const ControlRef& c, int row) override { return p_.selectRow(c, row); }
    bool ctrlClickRow(const ControlRef& c, int row) override { return p_.ctrlClickRow(c, row); }
    bool dragWindow(WindowRef w, int left, int top) override { return p_.dragWindow(w, left, top); }
    bool closeByUser(WindowRef w) override { return p_.closeByUser(w); }
    bool turnWheel(const ControlRef& c, int delta) override { return p_.turnWheel(c, delta); }
    bool dragThumb(const ControlRef& bar, const std::vector<int>& positions) override {
        for (int pos : positions)
            if (!p_.moveScroll(bar, pos)) return false;
        return true;
    }
    void pressHotkey(const Hotkey& hotkey) override { p_.pressHotkey(hotkey); }
    void holdHotkeyElsewhere(const Hotkey& hotkey) override { p_.holdHotkeyElsewhere(hotkey); }
    void settle() override {}
    void answerBoxes(std::function<Answer(const OpenBox&)> answer) override {
        if (!answer) {
            p_.setMessageBoxAnswerer(nullptr);
            return;
        }
        p_.setMessageBoxAnswerer([this, answer](const headless::MessageBoxRecord& box) {
            return answer(OpenBox{p_.nativeHandle(box.owner), box.text, box.caption, box.buttons});
        });
    }
    bool isAbove(WindowRef a, WindowRef b) const override { return p_.isAbove(a, b); }
    // Nothing is drawn here: a selected row is one that looks selected.
    bool looksSelected(const ControlRef& list, int row) override {
        const std::vector<int> rows = p_.selectedRows(list);
        return std::find(rows.begin(), rows.end(), row) != rows.end();
    }

private:
    headless::HeadlessPlatform p_{"/run"};
};

}  // namespace

std::unique_ptr<Backend> makeBackend() { return std::make_unique<HeadlessUser>(); }

}  // namespace pallo::platform::contract
