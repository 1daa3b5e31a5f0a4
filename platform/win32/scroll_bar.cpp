// Horizontal scroll bars of the Win32 platform: range and position.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

// --- scroll bar --------------------------------------------------------------------------------------

void Win32Backend::setScrollRange(const ControlRef& ref, int min, int max) {
    Control* c = findControl(ref, ui::ControlKind::HScrollBar);
    if (!c) return;
    if (min > max) std::swap(min, max);
    c->scroll.min = min;
    c->scroll.max = max;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = min;
    si.nMax = max;
    si.nPage = 0;
    si.nPos = std::clamp(GetScrollPos(c->hwnd, SB_CTL), min, max);
    SetScrollInfo(c->hwnd, SB_CTL, &si, TRUE);
}

void Win32Backend::setScrollPos(const ControlRef& ref, int pos) {
    Control* c = findControl(ref, ui::ControlKind::HScrollBar);
    if (!c) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = std::clamp(pos, c->scroll.min, c->scroll.max);
    SetScrollInfo(c->hwnd, SB_CTL, &si, TRUE);
}

int Win32Backend::scrollPos(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::HScrollBar);
    if (!c) return 0;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    if (!GetScrollInfo(c->hwnd, SB_CTL, &si)) return 0;
    return si.nPos;
}

}  // namespace pallo::platform::win32
