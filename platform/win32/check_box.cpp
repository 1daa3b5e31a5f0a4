// Check boxes of the Win32 platform: pressed without taking the focus, and
// their check.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

// A check box of a window that never takes the activation: the system's
// button takes the keyboard focus when pressed, which activates its window.
// This one tracks the press itself and reports the click as the system's
// would (BN_CLICKED after the check changed), without the focus.
LRESULT CALLBACK focuslessCheckBox(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    const auto inside = [hwnd, lp] {
        RECT r{};
        GetClientRect(hwnd, &r);
        return PtInRect(&r, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) != FALSE;
    };
    switch (msg) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, focuslessCheckBox, id);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd);
        SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) SendMessageW(hwnd, BM_SETSTATE, inside() ? TRUE : FALSE, 0);
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() != hwnd) return 0;
        const bool clicked = inside();
        ReleaseCapture();
        if (clicked) {
            const bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
            SendMessageW(hwnd, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
        break;
    default: break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// --- check box ------------------------------------------------------------------------------------

void Win32Backend::setChecked(const ControlRef& ref, bool checked) {
    Control* c = findControl(ref, ui::ControlKind::CheckBox);
    if (!c) return;
    QuietScope quiet(*c);
    SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Backend::isChecked(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::CheckBox);
    return c && SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace pallo::platform::win32
