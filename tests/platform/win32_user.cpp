// The contract's user on the Win32 platform. Each action makes the windows
// receive what a real user's action makes them receive: mouse messages at
// the control's place (hit-tested as the system does, so a label that lets
// presses through is skipped), key characters, the notifications a control
// sends its window for the user's choice, the scroll bar's tracking
// messages, the system's move loop and the close command of the frame.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "platform/win32/text.h"
#include "tests/platform/user.h"

namespace pallo::platform::contract {
namespace {

using win32::Win32Backend;

LPARAM clientPoint(POINT pt) { return MAKELPARAM(pt.x, pt.y); }

POINT centre(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class Win32User final : public User, public Backend {
public:
    Win32User() = default;
    ~Win32User() override {
        for (int id : held_) UnregisterHotKey(nullptr, id);
    }
    Win32User(const Win32User&) = delete;
    Win32User& operator=(const Win32User&) = delete;

    Platform& platform() override { return p_; }
    User& user() override { return *this; }

    bool press(const ControlRef& c, MouseButton b) override { return mouse(c, b, true); }
    bool release(const ControlRef& c, MouseButton b) override { return mouse(c, b, false); }

    bool click(const ControlRef& c) override {
        HWND h = reachable(c);
        if (!h) return false;
        const POINT pt = centre(h);
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(pt));
        SendMessageW(h, WM_LBUTTONUP, 0, clientPoint(pt));
        return true;
    }

    bool chooseItem(const ControlRef& c, int index) override {
        HWND h = reachable(c);
        if (!h || index < 0 || index >= static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0))) return false;
        // The list opens; the item is clicked in it, which closes it.
        if (!openList(c)) return false;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (!GetComboBoxInfo(h, &info) || !info.hwndList) return false;
        SendMessageW(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT r{};
        if (SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) ==
            LB_ERR)
            return false;
        const POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, clientPoint(pt));
        SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(pt));
        SendMessageW(info.hwndList, WM_LBUTTONUP, 0, clientPoint(pt));
        return true;
    }

    bool openList(const ControlRef& c) override {
        HWND h = reachable(c);
        if (!h) return false;
        SetFocus(h);
        // What a click on the closed box does (F4 too).
        SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
        return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }

    bool pressKey(const ControlRef& c, Key key) override {
        HWND h = reachable(c);
        if (!h) return false;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        HWND target = GetComboBoxInfo(h, &info) && info.hwndItem ? info.hwndItem : h;
        if (GetFocus() != target) SetFocus(target);
        const WPARAM vk = key == Key::Up ? VK_UP : key == Key::Down ? VK_DOWN : VK_RETURN;
        SendMessageW(target, WM_KEYDOWN, vk, 1);
        if (vk == VK_RETURN) SendMessageW(target, WM_CHAR, VK_RETURN, 1);
        SendMessageW(target, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
        return true;
    }

    bool typeText(const ControlRef& c, const std::string& text) override {
        HWND h = reachable(c);
        if (!h) return false;
        HWND target = h;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(h, &info)) {
            if (!info.hwndItem || info.hwndItem == h) return false;  // a drop-down list takes no text
            target = info.hwndItem;
        }
        SetFocus(target);
        SendMessageW(target, EM_SETSEL, 0, -1);
        for (wchar_t ch : win32::toWide(text)) SendMessageW(target, WM_CHAR, ch, 1);
        return true;
    }

    bool selectRow(const ControlRef& c, int row) override { return clickRow(c, row, 0); }
    bool ctrlClickRow(const ControlRef& c, int row) override { return clickRow(c, row, MK_CONTROL); }

    bool dragWindow(WindowRef w, int left, int top) override {
        HWND h = reinterpret_cast<HWND>(p_.nativeHandle(w));
        if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
        SendMessageW(h, WM_ENTERSIZEMOVE, 0, 0);
        SetWindowPos(h, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(h, WM_EXITSIZEMOVE, 0, 0);
        return true;
    }

    bool closeByUser(WindowRef w) override {
        HWND h = reinterpret_cast<HWND>(p_.nativeHandle(w));
        if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
        SendMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }

    bool turnWheel(const ControlRef& c, int delta) override {
        HWND h = reachable(c);
        if (!h) return false;
        POINT pt = centre(h);
        ClientToScreen(h, &pt);
        SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                     MAKELPARAM(pt.x, pt.y));
        return true;
    }

    bool dragThumb(const ControlRef& bar, const std::vector<int>& positions) override {
        HWND h = reachable(bar);
        if (!h || positions.empty()) return false;
        HWND parent = GetParent(h);
        const auto send = [&](int code, int pos) {
            SendMessageW(parent, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(h));
        };
        for (int pos : positions) send(SB_THUMBTRACK, pos);
        send(SB_THUMBPOSITION, positions.back());
        send(SB_ENDSCROLL, 0);
        return true;
    }

    void pressHotkey(const Hotkey& hotkey) override {
        // The keys as the keyboard sends them: modifiers down, the key down
        // and up, modifiers up.
        const win32::HotkeyCodes codes = win32::hotkeyCodes(hotkey);
        std::vector<WORD> keys;
        if (codes.modifiers & MOD_CONTROL) keys.push_back(VK_CONTROL);
        if (codes.modifiers & MOD_ALT) keys.push_back(VK_MENU);
        if (codes.modifiers & MOD_SHIFT) keys.push_back(VK_SHIFT);
        if (codes.modifiers & MOD_WIN) keys.push_back(VK_LWIN);
        keys.push_back(static_cast<WORD>(codes.virtualKey));
        std::vector<INPUT> inputs;
        const auto key = [&inputs](WORD vk, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(in);
        };
        for (WORD vk : keys) key(vk, false);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) key(*it, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }

    void holdHotkeyElsewhere(const Hotkey& hotkey) override {
        const win32::HotkeyCodes codes = win32::hotkeyCodes(hotkey);
        const int id = 0x100 + static_cast<int>(held_.size());
        if (RegisterHotKey(nullptr, id, codes.modifiers, codes.virtualKey)) held_.push_back(id);
    }

    void settle() override {
        // Everything queued, and what handling it queues in turn.
        for (int round = 0; round < 3; ++round) p_.waitProcessingEvents(1);
    }

    void answerBoxes(std::function<Answer(const OpenBox&)> answer) override {
        if (!answer) {
            p_.setMessageBoxAnswerer(nullptr);
            return;
        }
        p_.setMessageBoxAnswerer([answer](const win32::ShownBox& box) {
            return answer(OpenBox{reinterpret_cast<NativeHandle>(box.owner), box.text, box.caption, box.buttons});
        });
    }

    bool looksSelected(const ControlRef& list, int row) override {
        HWND h = p_.controlHandle(list);
        if (!h) return false;
        // The row as drawn, beside the text of its first cell; compared with
        // the list's own background.
        RECT r{};
        r.left = LVIR_BOUNDS;
        if (!SendMessageW(h, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))) return false;
        RECT client{};
        GetClientRect(h, &client);
        HDC screen = GetDC(h);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF drawn = GetPixel(dc, std::min<LONG>(r.right, client.right) - 4, (r.top + r.bottom) / 2);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(h, screen);
        const auto background = static_cast<COLORREF>(SendMessageW(h, LVM_GETBKCOLOR, 0, 0));
        const int distance = std::abs(GetRValue(drawn) - GetRValue(background)) +
                             std::abs(GetGValue(drawn) - GetGValue(background)) +
                             std::abs(GetBValue(drawn) - GetBValue(background));
        return distance > 96;
    }

    bool isAbove(WindowRef a, WindowRef b) const override {
        HWND ha = reinterpret_cast<HWND>(p_.nativeHandle(a));
        HWND hb = reinterpret_cast<HWND>(p_.nativeHandle(b));
        if (!ha || !hb) return false;
        for (HWND h = GetWindow(ha, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
            if (h == hb) return true;
        return false;
    }

private:
    // The control's window when the user can reach it.
    HWND reachable(const ControlRef& c) const {
        HWND h = p_.controlHandle(c);
        if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) return nullptr;
        HWND root = GetAncestor(h, GA_ROOT);
        return root && IsWindowEnabled(root) ? h : nullptr;
    }

    // The child of the window that a press at pt (screen) lands on: the
    // topmost visible one there whose hit test does not pass it on.
    static HWND hitTest(HWND root, POINT pt) {
        for (HWND h = GetWindow(root, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            RECT r{};
            if (!IsWindowVisible(h) || !GetWindowRect(h, &r) || !PtInRect(&r, pt)) continue;
            if (SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTTRANSPARENT) continue;
            return h;
        }
        return root;
    }

    bool mouse(const ControlRef& c, MouseButton b, bool down) {
        HWND h = reachable(c);
        if (!h) return false;
        POINT pt = centre(h);
        ClientToScreen(h, &pt);
        HWND target = hitTest(GetAncestor(h, GA_ROOT), pt);
        ScreenToClient(target, &pt);
        UINT msg = 0;
        WPARAM keys = 0;
        switch (b) {
        case MouseButton::Left: msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; keys = MK_LBUTTON; break;
        case MouseButton::Right: msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; keys = MK_RBUTTON; break;
        case MouseButton::Middle: msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; keys = MK_MBUTTON; break;
        }
        SendMessageW(target, msg, down ? keys : 0, clientPoint(pt));
        return true;
    }

    bool clickRow(const ControlRef& c, int row, WPARAM keys) {
        HWND h = reachable(c);
        if (!h || row < 0 || row >= static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0))) return false;
        SendMessageW(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT r{};
        r.left = LVIR_LABEL;
        if (!SendMessageW(h, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))) return false;
        const POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | keys, clientPoint(pt));
        SendMessageW(h, WM_LBUTTONUP, keys, clientPoint(pt));
        return true;
    }

    Win32Backend p_;
    std::vector<int> held_;  // hotkeys of the thread: another program's stand-in
};

}  // namespace

std::unique_ptr<Backend> makeBackend() { return std::make_unique<Win32User>(); }

}  // namespace pallo::platform::contract
