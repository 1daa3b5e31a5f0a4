// Transparent labels of the Win32 platform: our own window class and its messages.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

constexpr ui::EventKind kMouseEvents[] = {ui::EventKind::LeftDown,   ui::EventKind::LeftUp,
                                          ui::EventKind::RightDown,  ui::EventKind::RightUp,
                                          ui::EventKind::MiddleDown, ui::EventKind::MiddleUp};

}  // namespace

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return dispatchOwnControl(hwnd, msg, wp, lp, &Win32Backend::labelMessage);
}

LRESULT Win32Backend::labelMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    TopWindow& w = *c.window;
    switch (msg) {
    case WM_NCHITTEST:
        // A label nobody listens to lets the press through to the control
        // under it (a node window's caption over its picture box).
        for (const auto kind : kMouseEvents)
            if (bound(w, c, kind)) return HTCLIENT;
        return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintScope paint(c.hwnd);
        paintLabel(c, paint.dc());
        return 0;
    }
    case WM_SETFONT:
        c.font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp)) InvalidateRect(c.hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(c.font);
    default: return mouseOrDefault(w, c, msg, wp, lp);
    }
    return DefWindowProcW(c.hwnd, msg, wp, lp);
}

}  // namespace pallo::platform::win32
