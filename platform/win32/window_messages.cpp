// The window procedure of the Win32 platform's top-level windows: the
// events they fire and the notifications of their controls.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>

namespace pallo::platform::win32 {

// --- events -----------------------------------------------------------------------

void Win32Backend::fire(const TopWindow& w, const Control* c, ui::EventKind kind, int wheelDelta) {
    if (!sink_ || !w.ready) return;
    Event e;
    e.window = w.ref;
    e.design = w.design.name;
    if (c) e.control = c->design.name;
    e.kind = kind;
    e.wheelDelta = wheelDelta;
    sink_->handle(e);
}

bool Win32Backend::bound(const TopWindow& w, const Control& c, ui::EventKind kind) const {
    return sink_ && sink_->isBound(w.design.name, c.design.name, kind);
}

namespace {

// Paints the whole client area in the window's background.
LRESULT eraseBackground(const TopWindow& w, HDC dc) {
    RECT r;
    GetClientRect(w.hwnd.get(), &r);
    FillRect(dc, &r, w.background.get());
    return 1;
}

// The colours of a static or button control: its text colour and
// background, a check or group box without one taking the window's.
std::optional<LRESULT> controlColours(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c) return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wp);
    const LRESULT standard = DefWindowProcW(w.hwnd.get(), msg, wp, lp);
    if (c->hasColour) SetTextColor(dc, toColorRef(ui::unpackColour(c->colour)));
    HBRUSH brush = c->background.get();
    COLORREF colour = c->design.background ? toColorRef(*c->design.background) : 0;
    const bool buttonLike = c->design.kind == ui::ControlKind::CheckBox || c->design.kind == ui::ControlKind::GroupBox;
    if (!brush && buttonLike && w.design.background) {
        brush = w.background.get();
        colour = w.backgroundColour;
    }
    if (!brush) return standard;
    SetBkColor(dc, colour);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

LRESULT Win32Backend::positionChanged(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = w.hwnd.get();
    // DefWindowProc turns this into WM_MOVE and WM_SIZE; call it first so
    // the handler sees the window complete at its new place.
    const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
    RECT now;
    if (GetWindowRect(hwnd, &now) && !EqualRect(&now, &w.lastRect)) {
        w.lastRect = now;
        w.tipWidth = 0;
        fire(w, nullptr, ui::EventKind::PositionChanged);
    }
    return result;
}

std::optional<LRESULT> Win32Backend::commandMessage(TopWindow& w, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c) return std::nullopt;
    const UINT code = HIWORD(wp);
    switch (c->design.kind) {
    case ui::ControlKind::Button:
    case ui::ControlKind::CheckBox:
        if (code == BN_CLICKED && c->quiet == 0) fire(w, c, ui::EventKind::Clicked);
        break;
    case ui::ControlKind::Combo:
        // A choice counts once it is committed: picked in the open list
        // (CBN_SELENDOK while it is still open), or the list closed or the
        // box left on another item than before. CBN_SELCHANGE also comes for
        // every arrow key, which only moves the item shown. The box hears of
        // its focus leaving before the control that takes it hears of the
        // press that took it, so the choice is known before that acts.
        if (c->quiet != 0) break;
        if (code == CBN_SELENDOK && SendMessageW(c->hwnd, CB_GETDROPPEDSTATE, 0, 0))
            commitChoice(w, *c, true);
        else if (code == CBN_CLOSEUP || code == CBN_KILLFOCUS)
            commitChoice(w, *c, false);
        break;
    case ui::ControlKind::Edit:
        if (code == EN_CHANGE && c->quiet == 0) fire(w, c, ui::EventKind::ContentChanged);
        break;
    default: break;
    }
    return 0;
}

std::optional<LRESULT> Win32Backend::scrollMessage(TopWindow& w, WPARAM wp, LPARAM lp) {
    Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
    if (!c || c->design.kind != ui::ControlKind::HScrollBar) return std::nullopt;
    const int pos = GetScrollPos(c->hwnd, SB_CTL);
    const int target = scrollTarget(c->scroll, pos, LOWORD(wp), static_cast<short>(HIWORD(wp)));
    if (target != pos) {
        SetScrollPos(c->hwnd, SB_CTL, target, TRUE);
        fire(w, c, ui::EventKind::ScrollChanged);
    }
    return 0;
}

std::optional<LRESULT> Win32Backend::notifyMessage(TopWindow& w, LPARAM lp) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr && tooltip_ && hdr->hwndFrom == tooltip_.get()) {
        if (hdr->code != TTN_SHOW) return std::nullopt;
        // The control has sized and placed the tip; TRUE keeps our place.
        placeShownTip(reinterpret_cast<HWND>(hdr->idFrom));
        return TRUE;
    }
    Control* c = hdr ? w.controlByHwnd(hdr->hwndFrom) : nullptr;
    if (!c || c->design.kind != ui::ControlKind::ListView) return std::nullopt;
    if (hdr->code == NM_CUSTOMDRAW) return listNotify(*c, *hdr);
    if (hdr->code == LVN_ITEMCHANGED) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
        const UINT watched = LVIS_SELECTED | LVIS_FOCUSED;
        // One click deselects one row and selects another: the changes are
        // gathered into one posted message, so the user's action fires once.
        if ((lv->uChanged & LVIF_STATE) && ((lv->uOldState ^ lv->uNewState) & watched) && c->quiet == 0 &&
            !c->listChangePending) {
            c->listChangePending = true;
            PostMessageW(w.hwnd.get(), kMsgListChanged, static_cast<WPARAM>(c->id), 0);
        }
    }
    return 0;
}

LRESULT Win32Backend::topWindowMessage(TopWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = w.hwnd.get();
    std::optional<LRESULT> handled;
    switch (msg) {
    case WM_ERASEBKGND: return eraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_MOUSEACTIVATE:
        // A press on the overlay or a row leaves the game active, with its
        // keyboard focus.
        if (!w.design.framed) return MA_NOACTIVATE;
        break;
    case WM_HOTKEY:
        if (static_cast<int>(wp) == kHotkeyId) fire(w, nullptr, ui::EventKind::HotkeyPressed);
        return 0;
    case WM_CLOSE:
        // The core decides: a node window ignores it, the overlay asks first.
        fire(w, nullptr, ui::EventKind::ClosedByUser);
        return 0;
    case WM_ENTERSIZEMOVE: w.userMoving = true; break;
    case WM_EXITSIZEMOVE: w.userMoving = false; break;
    case WM_GETDPISCALEDSIZE:
        // The designed size at the new DPI, so the rectangle the system
        // suggests with WM_DPICHANGED is exactly the window's.
        *reinterpret_cast<SIZE*>(lp) = outerSize(w, static_cast<int>(wp));
        return TRUE;
    case WM_DPICHANGED: applyDpi(w, LOWORD(wp), reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:  // the work area may have changed with the taskbar
        w.tipWidth = 0;
        break;
    case WM_WINDOWPOSCHANGED:
        if (!w.design.framed) placeTipLater();
        return positionChanged(w, msg, wp, lp);
    case WM_COMMAND: handled = commandMessage(w, wp, lp); break;
    case WM_HSCROLL: handled = scrollMessage(w, wp, lp); break;
    case WM_NOTIFY: handled = notifyMessage(w, lp); break;
    case kMsgListChanged: listChanged(w, static_cast<int>(wp)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: handled = controlColours(w, msg, wp, lp); break;
    default: break;
    }
    return handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pallo::platform::win32
