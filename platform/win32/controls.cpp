// Controls of the Win32 platform: building them from a design, finding them,
// and the properties every kind has. Each kind's own messages and properties
// are in its own file.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

bool intersects(const RECT& a, const RECT& b) {
    RECT out;
    return IntersectRect(&out, &a, &b) != FALSE;
}

// A design rectangle at dpi: each edge scaled, so controls that meet in the
// design still meet.
RECT scaledRect(const RECT& r, int dpi) {
    return RECT{scaleToDpi(r.left, dpi), scaleToDpi(r.top, dpi), scaleToDpi(r.right, dpi), scaleToDpi(r.bottom, dpi)};
}

}  // namespace

// A combo box's window includes its drop-down list.
constexpr int kComboListHeight = 200;

int createdHeight(const Control& c, int dpi) {
    const int height = c.placed.bottom - c.placed.top;
    return c.design.kind == ui::ControlKind::Combo ? height + scaleToDpi(kComboListHeight, dpi) : height;
}

std::optional<ui::EventKind> mouseEvent(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: return ui::EventKind::LeftDown;
    case WM_LBUTTONUP: return ui::EventKind::LeftUp;
    case WM_RBUTTONDOWN: return ui::EventKind::RightDown;
    case WM_RBUTTONUP: return ui::EventKind::RightUp;
    case WM_MBUTTONDOWN: return ui::EventKind::MiddleDown;
    case WM_MBUTTONUP: return ui::EventKind::MiddleUp;
    default: return std::nullopt;
    }
}

std::shared_ptr<TopWindow> keepWindow(const Control* c) {
    return c && c->window ? c->window->weak_from_this().lock() : nullptr;
}

LRESULT dispatchOwnControl(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                           LRESULT (Win32Backend::*handler)(Control&, UINT, WPARAM, LPARAM)) {
    Control* c = ownControl(hwnd, msg, lp);
    const auto keep = keepWindow(c);
    if (!keep) return DefWindowProcW(hwnd, msg, wp, lp);
    return (c->window->platform->*handler)(*c, msg, wp, lp);
}

// The control object of one of our own control windows, kept alive (with its
// window) while a message is handled.
Control* ownControl(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetLastError(0);
        if (!SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams)) &&
            GetLastError() != 0)
            return nullptr;
        return nullptr;
    }
    auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return nullptr;
    }
    return c;
}

// The pointer's place when the message being handled was sent, in screen
// coordinates: a window that moves under the pointer does not shift it.
POINT messagePoint() {
    const DWORD pos = GetMessagePos();
    return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

// --- building ------------------------------------------------------------------------

namespace {

// A new control of the window for the design, placed but without its
// native window yet.
std::unique_ptr<Control> newControl(TopWindow& w, const ui::ControlDesign& design, int index) {
    auto owned = std::make_unique<Control>();
    Control& c = *owned;
    c.window = &w;
    c.design = design;
    c.id = kFirstControlId + index;
    c.visible = design.visible;
    c.enabled = design.enabled;
    c.text = design.text;
    c.hasColour = design.textColour.has_value();
    c.colour = c.hasColour ? ui::packColour(*design.textColour) : 0;
    if (design.background) c.background.reset(CreateSolidBrush(toColorRef(*design.background)));
    if (!design.container.empty()) {
        const auto it = w.byName.find(design.container);
        if (it != w.byName.end()) c.container = it->second;
    }
    // Controls inside a container are children of the window, placed at the
    // container's origin plus their offset.
    int x = design.left;
    int y = design.top;
    for (const Control* k = c.container; k; k = k->container) {
        x += k->design.left;
        y += k->design.top;
    }
    c.designed = RECT{x, y, x + std::max(design.width, 0), y + std::max(design.height, 0)};
    c.placed = scaledRect(c.designed, w.dpi);
    return owned;
}

// The control's native window, shown and enabled as given.
HWND createNative(Control& c, const TopWindow& w, HINSTANCE instance, bool visible, bool enabled) {
    const ui::ControlDesign& design = c.design;
    ControlStyles styles = controlStyles(design, kPictureClass, kLabelClass);
    if (visible) styles.style |= WS_VISIBLE;
    if (!enabled) styles.style |= WS_DISABLED;
    const bool hasText = design.kind != ui::ControlKind::Combo && design.kind != ui::ControlKind::ListView &&
                         design.kind != ui::ControlKind::HScrollBar;
    const bool ours = design.kind == ui::ControlKind::PictureBox || design.kind == ui::ControlKind::Label;
    return CreateWindowExW(styles.exStyle, styles.className, hasText ? toWide(design.text).c_str() : L"",
                           styles.style, c.placed.left, c.placed.top, c.placed.right - c.placed.left,
                           createdHeight(c, w.dpi), w.hwnd.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                           instance, ours ? &c : nullptr);
}

// Full-row selection, the designed columns at dpi and our message hook.
void setUpListView(Control& c, int dpi) {
    SendMessageW(c.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int column = 0;
    for (const auto& col : c.design.columns) {
        std::wstring caption = toWide(col.caption);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = caption.data();
        lvc.cx = scaleToDpi(std::max(col.width, 0), dpi);
        lvc.iSubItem = column;
        SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
        ++column;
    }
    SetWindowSubclass(c.hwnd, listViewSubclass, 1, reinterpret_cast<DWORD_PTR>(&c));
}

// The designed range, page, step and position.
void setUpScrollBar(Control& c) {
    const auto& scroll = c.design.scroll;
    c.scroll = ScrollSettings{scroll.min, scroll.max, scroll.page, scroll.step};
    // nPage 0: the thumb reaches the maximum, so every position of
    // the range, the maximum included, can be set and read back.
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = scroll.min;
    si.nMax = scroll.max;
    si.nPage = 0;
    si.nPos = scrollTarget(c.scroll, scroll.pos, SB_THUMBPOSITION, scroll.pos);
    SetScrollInfo(c.hwnd, SB_CTL, &si, FALSE);
}

}  // namespace

void Win32Backend::createControl(TopWindow& w, const ui::ControlDesign& design, int index) {
    Control& c = *w.controls.emplace_back(newControl(w, design, index));
    w.byName.emplace(design.name, &c);
    c.deferred = design.kind == ui::ControlKind::Combo && !effectivelyVisible(c) && !effectivelyEnabled(c);
    if (!c.deferred) makeNative(w, c);
}

void Win32Backend::makeNative(TopWindow& w, Control& c) {
    const ui::ControlDesign& design = c.design;
    c.deferred = false;
    c.hwnd = createNative(c, w, instance_, effectivelyVisible(c), effectivelyEnabled(c));
    if (!c.hwnd) {
        OutputDebugStringA(("pallo win32: CreateWindowExW failed for control " + design.name + "\n").c_str());
        return;
    }
    c.font = fontFor(design.font, w.dpi);
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    const ControlRef ref{w.ref, design.name};
    switch (design.kind) {
    case ui::ControlKind::Combo:
        for (const auto& item : design.items) addItem(ref, item.text, item.data);
        // A combo box built with items shows the first one.
        if (!design.items.empty()) setSelection(ref, 0);
        hookCombo(c);
        break;
    case ui::ControlKind::ListView: setUpListView(c, w.dpi); break;
    case ui::ControlKind::CheckBox:
        if (!w.design.framed) SetWindowSubclass(c.hwnd, focuslessCheckBox, 1, 0);
        break;
    case ui::ControlKind::HScrollBar: setUpScrollBar(c); break;
    default: break;
    }
    if (design.kind == ui::ControlKind::PictureBox && design.picture != assets::Picture::None)
        setPicture(ref, PictureSource::builtIn(design.picture));
}

void Win32Backend::arrangeZOrder(TopWindow& w) {
    // A control lies over the earlier controls it overlaps (a caption over
    // its picture, a preview over a note); the others keep the design order,
    // which is also the tab order.
    std::vector<Control*> order;  // top first
    for (const auto& owned : w.controls) {
        Control* c = owned.get();
        auto at = order.end();
        for (auto it = order.begin(); it != order.end(); ++it) {
            if (intersects((*it)->designed, c->designed)) {
                at = it;
                break;
            }
        }
        order.insert(at, c);
    }
    HWND after = HWND_TOP;
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i]->zIndex = static_cast<int>(i);
        if (!order[i]->hwnd) continue;
        SetWindowPos(order[i]->hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = order[i]->hwnd;
    }
}

void Win32Backend::layoutControl(TopWindow& w, Control& c) {
    c.placed = scaledRect(c.designed, w.dpi);
    if (!c.hwnd) return;
    SetWindowPos(c.hwnd, nullptr, c.placed.left, c.placed.top, c.placed.right - c.placed.left, createdHeight(c, w.dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    c.font = fontFor(c.design.font, w.dpi);
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), TRUE);
    if (c.design.kind == ui::ControlKind::ListView) {
        for (std::size_t i = 0; i < c.design.columns.size(); ++i)
            SendMessageW(c.hwnd, LVM_SETCOLUMNWIDTH, i, scaleToDpi(std::max(c.design.columns[i].width, 0), w.dpi));
    }
    // Fitted again at the new size, so the picture stays sharp.
    if (c.design.kind == ui::ControlKind::PictureBox && c.source.kind != PictureSource::Kind::None)
        setPicture(ControlRef{w.ref, c.design.name}, c.source);
}

bool Win32Backend::effectivelyVisible(const Control& c) const {
    for (const Control* k = &c; k; k = k->container)
        if (!k->visible) return false;
    return true;
}

bool Win32Backend::effectivelyEnabled(const Control& c) const {
    for (const Control* k = &c; k; k = k->container)
        if (!k->enabled) return false;
    return true;
}

void Win32Backend::applyShown(const TopWindow& w, const Control& changed) {
    // A container's state reaches the controls inside it.
    for (const auto& owned : w.controls) {
        const Control& c = *owned;
        bool inside = false;
        for (const Control* k = &c; k; k = k->container)
            if (k == &changed) inside = true;
        if (!inside || !c.hwnd) continue;
        const bool visible = effectivelyVisible(c);
        if (((GetWindowLongW(c.hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
            ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
        EnableWindow(c.hwnd, effectivelyEnabled(c) ? TRUE : FALSE);
    }
}

LRESULT Win32Backend::mouseOrDefault(TopWindow& w, Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    if (const auto kind = mouseEvent(msg)) {
        fire(w, &c, *kind);
        return 0;
    }
    return DefWindowProcW(c.hwnd, msg, wp, lp);
}

// --- lookups ---------------------------------------------------------------------------

Control* Win32Backend::findControl(const ControlRef& ref) const {
    const TopWindow* w = findWindow(ref.window);
    if (!w) return nullptr;
    const auto it = w->byName.find(ref.name);
    if (it == w->byName.end()) return nullptr;
    Control* c = it->second;
    if (c->deferred) {
        // Made on first use; the lookup stays const for its callers, whose
        // view of the control does not change by it.
        auto& self = const_cast<Win32Backend&>(*this);
        self.makeNative(*c->window, *c);
        if (c->hwnd) self.arrangeZOrder(*c->window);
    }
    return c->hwnd ? c : nullptr;
}

Control* Win32Backend::findControl(const ControlRef& ref, ui::ControlKind kind) const {
    Control* c = findControl(ref);
    return c && c->design.kind == kind ? c : nullptr;
}

HWND Win32Backend::controlHandle(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c ? c->hwnd : nullptr;
}

// --- every control ----------------------------------------------------------------------

bool Win32Backend::hasControl(const ControlRef& c) const {
    return findControl(c) != nullptr;
}

void Win32Backend::setVisible(const ControlRef& ref, bool visible) {
    Control* c = findControl(ref);
    if (!c) return;
    c->visible = visible;
    applyShown(*c->window, *c);
}

bool Win32Backend::isVisible(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c && c->visible;
}

void Win32Backend::setEnabled(const ControlRef& ref, bool enabled) {
    Control* c = findControl(ref);
    if (!c) return;
    c->enabled = enabled;
    applyShown(*c->window, *c);
}

bool Win32Backend::isEnabled(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c && c->enabled;
}

void Win32Backend::setText(const ControlRef& ref, const std::string& text) {
    Control* c = findControl(ref);
    if (!c) return;
    const std::wstring wide = toWide(text);
    switch (c->design.kind) {
    case ui::ControlKind::Label:
        // A press sets every row window's page sign, nearly always to the
        // empty text it has: each setting is two requests to Wine's server.
        if (text == c->text) break;
        c->text = text;
        SetWindowTextW(c->hwnd, wide.c_str());
        InvalidateRect(c->hwnd, nullptr, FALSE);
        break;
    case ui::ControlKind::PictureBox:
        c->text = text;
        break;
    case ui::ControlKind::Edit: {
        // A single-line edit reports WM_SETTEXT with EN_CHANGE, a multi-line
        // one does not: silence both and report a change once, ourselves.
        const bool changed = windowText(c->hwnd) != toUtf8(wide);
        {
            QuietScope quiet(*c);
            SetWindowTextW(c->hwnd, wide.c_str());
        }
        if (changed) fire(*c->window, c, ui::EventKind::ContentChanged);
        break;
    }
    case ui::ControlKind::Combo: {
        QuietScope quiet(*c);
        if (c->design.editable) {
            SetWindowTextW(c->hwnd, wide.c_str());
        } else {
            // CB_FINDSTRINGEXACT ignores case; the item has to match exactly.
            int index = -1;
            const int count = itemCount(ref);
            for (int i = 0; i < count && index < 0; ++i)
                if (itemText(ref, i) == text) index = i;
            SendMessageW(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        rememberChoice(*c);
        break;
    }
    case ui::ControlKind::ListView:
    case ui::ControlKind::HScrollBar:
        break;
    default:
        SetWindowTextW(c->hwnd, wide.c_str());
        break;
    }
}

std::string Win32Backend::text(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    if (!c) return {};
    switch (c->design.kind) {
    case ui::ControlKind::Label:
    case ui::ControlKind::PictureBox: return c->text;
    case ui::ControlKind::ListView:
    case ui::ControlKind::HScrollBar: return {};
    default: return windowText(c->hwnd);
    }
}

void Win32Backend::setTag(const ControlRef& ref, const std::string& tag) {
    if (Control* c = findControl(ref)) c->tag = tag;
}

std::string Win32Backend::tag(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c ? c->tag : std::string{};
}

void Win32Backend::setFocus(const ControlRef& ref) {
    if (const Control* c = findControl(ref)) SetFocus(c->hwnd);
}

bool Win32Backend::hasFocus(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    if (!c) return false;
    const HWND focus = GetFocus();
    // An editable combo box keeps the focus in its edit child.
    return focus && (focus == c->hwnd || IsChild(c->hwnd, focus));
}

void Win32Backend::setTextColour(const ControlRef& ref, std::int32_t packedRgb) {
    Control* c = findControl(ref);
    if (!c) return;
    c->colour = packedRgb & 0xFFFFFF;
    c->hasColour = true;
    InvalidateRect(c->hwnd, nullptr, FALSE);
}

std::int32_t Win32Backend::textColour(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c ? c->colour : 0;
}

}  // namespace pallo::platform::win32
