// Top-level windows of the Win32 platform: creating and destroying them,
// their place, size and DPI, and the properties the program sets.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

// --- top-level windows -------------------------------------------------------------

TopWindow* Win32Backend::findWindow(WindowRef w) const {
    const auto it = windows_.find(w.id);
    if (it == windows_.end() || !it->second->hwnd) return nullptr;
    return it->second.get();
}

HWND Win32Backend::hwndOf(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->hwnd.get() : nullptr;
}

WindowRef Win32Backend::createWindow(const ui::WindowDesign& design, WindowRef owner) {
    // Forget windows whose native window is gone (destroyed with an owner).
    std::erase_if(windows_, [](const auto& entry) { return !entry.second->hwnd; });

    auto w = std::make_shared<TopWindow>();
    w->platform = this;
    w->ref = WindowRef{nextWindowId_++};
    w->design = design;
    w->design.controls.clear();
    w->owner = findWindow(owner) ? owner : WindowRef{};
    w->title = design.caption;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    w->backgroundRgb = design.background.value_or(ui::Rgb{GetRValue(face), GetGValue(face), GetBValue(face)});
    w->backgroundColour = toColorRef(w->backgroundRgb);
    w->background.reset(CreateSolidBrush(w->backgroundColour));

    const WindowStyles styles = windowStyles(design);
    w->width = std::max(design.width, 0);
    w->height = std::max(design.height, 0);
    w->dpi = systemDpi_;
    const SIZE outer = outerSize(*w, w->dpi);
    HWND hwnd = CreateWindowExW(styles.exStyle, kWindowClass, toWide(design.caption).c_str(), styles.style,
                                design.left, design.top, outer.cx, outer.cy, hwndOf(w->owner), nullptr, instance_,
                                w.get());
    if (!hwnd) {
        logFailure("CreateWindowExW");
        return {};
    }
    // The design place may lie on a monitor of another DPI than the system's.
    if (const int dpi = windowDpi(hwnd); dpi != w->dpi) {
        w->dpi = dpi;
        const SIZE scaled = outerSize(*w, w->dpi);
        SetWindowPos(hwnd, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        fitClientArea(*w);
    }
    windows_[w->ref.id] = w;
    for (std::size_t i = 0; i < design.controls.size(); ++i) createControl(*w, design.controls[i], static_cast<int>(i));
    arrangeZOrder(*w);
    GetWindowRect(hwnd, &w->lastRect);
    w->ready = true;
    const WindowRef ref = w->ref;
    fire(*w, nullptr, ui::EventKind::Created);
    // The icon (taskbar, frame) is decoded once the window's own set-up has
    // run, which may show it: the picture comes a moment after the window.
    if (TopWindow* made = findWindow(ref)) loadIcon(*made);
    return ref;
}

bool Win32Backend::exists(WindowRef w) const {
    return findWindow(w) != nullptr;
}

void Win32Backend::removeTools(const TopWindow& w) {
    if (!tooltip_) return;
    for (const auto& c : w.controls) {
        if (c->tooltip.empty() || !c->hwnd) continue;
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = w.hwnd.get();
        ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
        SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        c->tooltip.clear();
    }
}

void Win32Backend::destroy(WindowRef ref) {
    const auto it = windows_.find(ref.id);
    if (it == windows_.end()) return;
    // Keep the object until this returns: destroy may be called by a handler
    // of this very window, whose procedure is still on the stack.
    const std::shared_ptr<TopWindow> w = it->second;
    windows_.erase(it);
    w->ready = false;
    if (w->hwnd) {
        removeTools(*w);
        DestroyWindow(w->hwnd.release());
    }
}

NativeHandle Win32Backend::nativeHandle(WindowRef w) const {
    return reinterpret_cast<NativeHandle>(hwndOf(w));
}

std::string Win32Backend::designName(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->design.name : std::string{};
}

WindowRef Win32Backend::owner(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->owner : WindowRef{};
}

void Win32Backend::setVisible(WindowRef w, bool visible) {
    const TopWindow* t = findWindow(w);
    if (!t) return;
    // Borderless windows (overlay, rows) appear without taking the focus
    // from the program the user is in.
    if (!visible || t->design.framed) {
        ShowWindow(t->hwnd.get(), visible ? SW_SHOW : SW_HIDE);
        return;
    }
    // What SW_SHOWNOACTIVATE does, except that the window is erased and
    // painted through WM_PAINT like any other instead of at once, window by
    // window: under Wine that costs a third fewer requests to its server
    // when a press shows 28 windows.
    SetWindowPos(t->hwnd.get(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_DEFERERASE);
}

void Win32Backend::showWithoutActivating(WindowRef w) {
    if (const TopWindow* t = findWindow(w)) ShowWindow(t->hwnd.get(), SW_SHOWNOACTIVATE);
}

void Win32Backend::prepareToShow(WindowRef w) {
    const HWND h = hwndOf(w);
    if (!h || IsWindowVisible(h) || !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return;
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags)) return;
    // Shown fully transparent and hidden again at once, unpainted: the window
    // system makes the window's surface now (under Wine the first showing of
    // a window costs half again as much as the next) rather than at the
    // user's first press. Its translucency is restored afterwards.
    if (!SetLayeredWindowAttributes(h, 0, 0, LWA_ALPHA)) return;
    constexpr UINT unseen = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    SetWindowPos(h, nullptr, 0, 0, 0, 0, unseen | SWP_SHOWWINDOW);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, unseen | SWP_HIDEWINDOW);
    if (!SetLayeredWindowAttributes(h, key, alpha, flags ? flags : LWA_ALPHA)) logFailure("SetLayeredWindowAttributes");
}

bool Win32Backend::isVisible(WindowRef w) const {
    const HWND h = hwndOf(w);
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Backend::isEnabled(WindowRef w) const {
    const HWND h = hwndOf(w);
    return h && IsWindowEnabled(h);
}

void Win32Backend::move(WindowRef w, int left, int top) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    if (!SetWindowPos(t->hwnd.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(move)");
    // Moved onto a monitor of another DPI, the window is rescaled at once,
    // should the system not have told it (a hidden window, before start-up
    // shows the overlay and places its rows by its scale).
    if (const int dpi = windowDpi(t->hwnd.get()); getDpiForWindow_ && dpi != t->dpi) applyDpi(*t, dpi, nullptr);
}

void Win32Backend::resize(WindowRef w, int width, int height) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    // Kept in design units: the size reads back exactly at any DPI.
    t->width = std::max(width, 0);
    t->height = std::max(height, 0);
    const SIZE outer = outerSize(*t, t->dpi);
    if (!SetWindowPos(t->hwnd.get(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(resize)");
    fitClientArea(*t);
}

void Win32Backend::fitClientArea(const TopWindow& w) {
    if (!w.design.framed || !w.hwnd) return;
    // The frame the system draws can differ from the one it computes for a
    // DPI (Wine draws every frame at the system's DPI): the client area is
    // what has to come out at the designed size.
    HWND hwnd = w.hwnd.get();
    RECT client{};
    RECT outer{};
    if (!GetClientRect(hwnd, &client) || !GetWindowRect(hwnd, &outer)) return;
    const int dx = scaleToDpi(w.width, w.dpi) - client.right;
    const int dy = scaleToDpi(w.height, w.dpi) - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Win32Backend::outerSize(const TopWindow& w, int dpi) const {
    RECT outer{0, 0, scaleToDpi(w.width, dpi), scaleToDpi(w.height, dpi)};
    // The designed size of a framed window is its client area; the frame and
    // caption, as thick as the DPI makes them, come on top.
    if (w.design.framed) {
        const WindowStyles styles = windowStyles(w.design);
        const BOOL ok = adjustWindowRectExForDpi_
                            ? adjustWindowRectExForDpi_(&outer, styles.style, FALSE, styles.exStyle,
                                                        static_cast<UINT>(dpi))
                            : AdjustWindowRectEx(&outer, styles.style, FALSE, styles.exStyle);
        if (!ok) logFailure("AdjustWindowRectEx");
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

int Win32Backend::windowDpi(HWND h) const {
    const UINT dpi = getDpiForWindow_ && h ? getDpiForWindow_(h) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : systemDpi_;
}

void Win32Backend::applyDpi(TopWindow& w, int dpi, const RECT* suggested) {
    w.tipWidth = 0;  // scaled by the DPI
    if (dpi <= 0 || !w.hwnd) return;
    w.dpi = dpi;
    for (const auto& c : w.controls) layoutControl(w, *c);
    HWND hwnd = w.hwnd.get();
    RECT now{};
    GetWindowRect(hwnd, &now);
    // Dragged across by the user, the window takes the place the system
    // suggests, which keeps it under the pointer; a window the program put
    // somewhere keeps its top-left corner, where the core placed it.
    POINT at{now.left, now.top};
    if (w.userMoving && suggested) at = POINT{suggested->left, suggested->top};
    const SIZE outer = outerSize(w, w.dpi);
    if (!SetWindowPos(hwnd, nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE))
        logFailure("SetWindowPos(dpi)");
    fitClientArea(w);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {
RECT outerRect(HWND h) {
    RECT r{};
    if (h) GetWindowRect(h, &r);
    return r;
}
}  // namespace

int Win32Backend::left(WindowRef w) const { return outerRect(hwndOf(w)).left; }
int Win32Backend::top(WindowRef w) const { return outerRect(hwndOf(w)).top; }
int Win32Backend::width(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->width : 0;
}
int Win32Backend::outerHeight(WindowRef w) const {
    const RECT r = outerRect(hwndOf(w));
    return r.bottom - r.top;
}
int Win32Backend::height(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->height : 0;
}
int Win32Backend::dpi(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->dpi : kDesignDpi;
}

void Win32Backend::setTopMost(WindowRef w, bool onTop) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    t->topMost = onTop;
    if (!SetWindowPos(t->hwnd.get(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        logFailure("SetWindowPos(topmost)");
    if (onTop) return;
    // Leaving the top-most band takes the owned windows along, all the way
    // down. The owner goes first: an owned window cannot leave the band while
    // its owner is in it.
    std::vector<WindowRef> owned;
    for (const auto& [id, other] : windows_)
        if (other->hwnd && other->owner == w) owned.push_back(other->ref);
    for (const WindowRef o : owned) setTopMost(o, false);
}

bool Win32Backend::isTopMost(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t && t->topMost;
}

void Win32Backend::setWindowTag(WindowRef w, const std::string& tag) {
    if (TopWindow* t = findWindow(w)) t->tag = tag;
}

std::string Win32Backend::windowTag(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->tag : std::string{};
}

void Win32Backend::setTitle(WindowRef w, const std::string& title) {
    TopWindow* t = findWindow(w);
    if (!t) return;
    t->title = title;
    SetWindowTextW(t->hwnd.get(), toWide(title).c_str());
}

std::string Win32Backend::title(WindowRef w) const {
    const TopWindow* t = findWindow(w);
    return t ? t->title : std::string{};
}

bool Win32Backend::registerHotkey(WindowRef w, const Hotkey& hotkey) {
    TopWindow* t = findWindow(w);
    if (!t) return false;
    t->hotkey.reset();
    const HotkeyCodes codes = hotkeyCodes(hotkey);
    if (!RegisterHotKey(t->hwnd.get(), kHotkeyId, codes.modifiers, codes.virtualKey)) {
        logFailure("RegisterHotKey");
        return false;
    }
    t->hotkey.reset(t->hwnd.get());
    return true;
}

void Win32Backend::unregisterHotkey(WindowRef w) {
    if (TopWindow* t = findWindow(w)) t->hotkey.reset();
}

void Win32Backend::setLayeredAlpha(WindowRef w, int alpha) {
    const HWND h = hwndOf(w);
    if (!h || !IsWindow(h)) return;
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    if (!SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA))
        logFailure("SetLayeredWindowAttributes");
}

int Win32Backend::layeredAlpha(WindowRef w) const {
    const HWND h = hwndOf(w);
    if (!h || !IsWindow(h) || !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return 255;
    return alpha;
}

}  // namespace pallo::platform::win32
