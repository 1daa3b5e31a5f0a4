// Controls of the Win32 platform: building them from a design, their
// properties, and the procedures of our own picture boxes and labels.
#include "platform/win32/platform_impl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

// Program changes to a control run inside one of these; the notifications
// they cause are then not taken for the user's.
class QuietScope {
public:
    explicit QuietScope(Control& c) : c_(c) { ++c_.quiet; }
    ~QuietScope() { --c_.quiet; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    Control& c_;
};

bool intersects(const RECT& a, const RECT& b) {
    RECT out;
    return IntersectRect(&out, &a, &b) != FALSE;
}

// A design rectangle at dpi: each edge scaled, so controls that meet in the
// design still meet.
RECT scaledRect(const RECT& r, int dpi) {
    return RECT{scaleToDpi(r.left, dpi), scaleToDpi(r.top, dpi), scaleToDpi(r.right, dpi), scaleToDpi(r.bottom, dpi)};
}

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

constexpr ui::EventKind kMouseEvents[] = {ui::EventKind::LeftDown,   ui::EventKind::LeftUp,
                                          ui::EventKind::RightDown,  ui::EventKind::RightUp,
                                          ui::EventKind::MiddleDown, ui::EventKind::MiddleUp};

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

LRESULT CALLBACK listViewSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, listViewSubclass, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    auto* c = reinterpret_cast<Control*>(ref);
    const auto keep = c && c->window ? c->window->weak_from_this().lock() : nullptr;
    if (!keep) return DefSubclassProc(hwnd, msg, wp, lp);
    return c->window->platform->listViewMessage(*c, msg, wp, lp);
}

LRESULT CALLBACK comboSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, comboSubclass, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    auto* c = reinterpret_cast<Control*>(ref);
    const auto keep = c && c->window ? c->window->weak_from_this().lock() : nullptr;
    if (!keep || (c->hwnd != hwnd && GetParent(hwnd) != c->hwnd)) return DefSubclassProc(hwnd, msg, wp, lp);
    return c->window->platform->comboMessage(*c, hwnd, msg, wp, lp);
}

// Selected rows of a list without the focus are drawn as with it: the
// system's own unfocused look is a face colour hardly apart from white.
LRESULT listCustomDraw(const Control& c, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        if (GetFocus() == c.hwnd) return CDRF_DODEFAULT;
        const auto row = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
        if (!(SendMessageW(c.hwnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED)) return CDRF_DODEFAULT;
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
    }
}

// The pointer's place when the message being handled was sent, in screen
// coordinates: a window that moves under the pointer does not shift it.
POINT messagePoint() {
    const DWORD pos = GetMessagePos();
    return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

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

}  // namespace

LRESULT Win32Backend::listNotify(Control& c, NMHDR& hdr) {
    return listCustomDraw(c, reinterpret_cast<NMLVCUSTOMDRAW&>(hdr));
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Control* c = ownControl(hwnd, msg, lp);
    const auto keep = c && c->window ? c->window->weak_from_this().lock() : nullptr;
    if (!keep) return DefWindowProcW(hwnd, msg, wp, lp);
    return c->window->platform->pictureMessage(*c, msg, wp, lp);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Control* c = ownControl(hwnd, msg, lp);
    const auto keep = c && c->window ? c->window->weak_from_this().lock() : nullptr;
    if (!keep) return DefWindowProcW(hwnd, msg, wp, lp);
    return c->window->platform->labelMessage(*c, msg, wp, lp);
}

// --- procedures ---------------------------------------------------------------------

LRESULT Win32Backend::pictureMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    TopWindow& w = *c.window;
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
        PaintScope paint(c.hwnd);
        paintPicture(c, paint.dc(), 0, 0);
        return 0;
    }
    case WM_SETFONT:
        c.font = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(c.font);
    case WM_LBUTTONDOWN: {
        const bool leftBound = bound(w, c, ui::EventKind::LeftDown) || bound(w, c, ui::EventKind::LeftUp);
        if (dragsWindow(w.design, c.design, leftBound)) {
            // The window follows the pointer while the button is held. Not the
            // system's move loop: it activates the window it moves, and the
            // game beside it would lose the keyboard.
            RECT r{};
            GetWindowRect(w.hwnd.get(), &r);
            w.drag = TopWindow::Drag{messagePoint(), POINT{r.left, r.top}};
            SetCapture(c.hwnd);
            return 0;
        }
        fire(w, &c, ui::EventKind::LeftDown);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (w.drag && GetCapture() == c.hwnd) {
            const POINT now = messagePoint();
            SetWindowPos(w.hwnd.get(), nullptr, w.drag->origin.x + now.x - w.drag->pointer.x,
                         w.drag->origin.y + now.y - w.drag->pointer.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        w.drag.reset();
        break;
    case WM_LBUTTONUP:
        if (w.drag) {
            ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
            return 0;
        }
        fire(w, &c, ui::EventKind::LeftUp);
        return 0;
    default:
        if (const auto kind = mouseEvent(msg)) {
            fire(w, &c, *kind);
            return 0;
        }
        break;
    }
    return DefWindowProcW(c.hwnd, msg, wp, lp);
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
    default:
        if (const auto kind = mouseEvent(msg)) {
            fire(w, &c, *kind);
            return 0;
        }
        break;
    }
    return DefWindowProcW(c.hwnd, msg, wp, lp);
}

LRESULT Win32Backend::listViewMessage(Control& c, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEWHEEL) fire(*c.window, &c, ui::EventKind::Wheel, GET_WHEEL_DELTA_WPARAM(wp));
    return DefSubclassProc(c.hwnd, msg, wp, lp);
}

LRESULT Win32Backend::comboMessage(Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_KEYDOWN || wp != VK_RETURN) return DefSubclassProc(hwnd, msg, wp, lp);
    // Return in the open list closes it, and the closing commits; in the
    // closed box it takes the item the arrow keys moved to.
    const bool dropped = SendMessageW(c.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (!dropped && c.quiet == 0) commitChoice(*c.window, c, false);
    return result;
}

void Win32Backend::hookCombo(Control& c) {
    SetWindowSubclass(c.hwnd, comboSubclass, 1, reinterpret_cast<DWORD_PTR>(&c));
    // An editable combo box takes its keys in its edit child.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(c.hwnd, &info) && info.hwndItem && info.hwndItem != c.hwnd)
        SetWindowSubclass(info.hwndItem, comboSubclass, 1, reinterpret_cast<DWORD_PTR>(&c));
    rememberChoice(c);
}

void Win32Backend::commitChoice(TopWindow& w, Control& c, bool always) {
    const auto index = static_cast<int>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
    if (index < 0 || (!always && index == c.committed)) return;
    c.committed = index;
    fire(w, &c, ui::EventKind::ItemChosen);
}

void Win32Backend::rememberChoice(Control& c) {
    const LRESULT index = SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0);
    c.committed = index == CB_ERR ? -1 : static_cast<int>(index);
}

// --- building ------------------------------------------------------------------------

void Win32Backend::createControl(TopWindow& w, const ui::ControlDesign& design, int index) {
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

    w.byName.emplace(design.name, &c);
    w.controls.push_back(std::move(owned));

    ControlStyles styles = controlStyles(design, kPictureClass, kLabelClass);
    if (effectivelyVisible(c)) styles.style |= WS_VISIBLE;
    if (!effectivelyEnabled(c)) styles.style |= WS_DISABLED;
    const bool hasText = design.kind != ui::ControlKind::Combo && design.kind != ui::ControlKind::ListView &&
                         design.kind != ui::ControlKind::HScrollBar;
    const bool ours = design.kind == ui::ControlKind::PictureBox || design.kind == ui::ControlKind::Label;
    c.hwnd = CreateWindowExW(styles.exStyle, styles.className, hasText ? toWide(design.text).c_str() : L"",
                             styles.style, c.placed.left, c.placed.top, c.placed.right - c.placed.left,
                             createdHeight(c, w.dpi), w.hwnd.get(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, ours ? &c : nullptr);
    if (!c.hwnd) {
        OutputDebugStringA(("pallo win32: CreateWindowExW failed for control " + design.name + "\n").c_str());
    } else {
        c.font = fontFor(design.font, w.dpi);
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
        switch (design.kind) {
        case ui::ControlKind::Combo:
            for (const auto& item : design.items) addItem(ControlRef{w.ref, design.name}, item.text, item.data);
            // A combo box built with items shows the first one.
            if (!design.items.empty()) setSelection(ControlRef{w.ref, design.name}, 0);
            hookCombo(c);
            break;
        case ui::ControlKind::ListView: {
            SendMessageW(c.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
            int column = 0;
            for (const auto& col : design.columns) {
                std::wstring caption = toWide(col.caption);
                LVCOLUMNW lvc{};
                lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                lvc.pszText = caption.data();
                lvc.cx = scaleToDpi(std::max(col.width, 0), w.dpi);
                lvc.iSubItem = column;
                SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
                ++column;
            }
            SetWindowSubclass(c.hwnd, listViewSubclass, 1, reinterpret_cast<DWORD_PTR>(&c));
            break;
        }
        case ui::ControlKind::CheckBox:
            if (!w.design.framed) SetWindowSubclass(c.hwnd, focuslessCheckBox, 1, 0);
            break;
        case ui::ControlKind::HScrollBar: {
            c.scroll = ScrollSettings{design.scroll.min, design.scroll.max, design.scroll.page, design.scroll.step};
            // nPage 0: the thumb reaches the maximum, so every position of
            // the range, the maximum included, can be set and read back.
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = design.scroll.min;
            si.nMax = design.scroll.max;
            si.nPage = 0;
            si.nPos = scrollTarget(c.scroll, design.scroll.pos, SB_THUMBPOSITION, design.scroll.pos);
            SetScrollInfo(c.hwnd, SB_CTL, &si, FALSE);
            break;
        }
        default: break;
        }
    }
    if (c.hwnd && design.kind == ui::ControlKind::PictureBox && design.picture != assets::Picture::None)
        setPicture(ControlRef{w.ref, design.name}, PictureSource::builtIn(design.picture));
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

// --- lookups ---------------------------------------------------------------------------

Control* Win32Backend::findControl(const ControlRef& ref) const {
    const TopWindow* w = findWindow(ref.window);
    if (!w) return nullptr;
    const auto it = w->byName.find(ref.name);
    if (it == w->byName.end() || !it->second->hwnd) return nullptr;
    return it->second;
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

// --- picture box ---------------------------------------------------------------------------

void Win32Backend::setPicture(const ControlRef& ref, const PictureSource& source) {
    Control* c = findControl(ref, ui::ControlKind::PictureBox);
    if (!c) return;
    c->source = source;
    c->picture.reset();
    c->bgra.clear();
    if (source.kind != PictureSource::Kind::None) {
        c->picture = fittedPicture(*c, source);
        const image::Rgba* p = c->picture.get();
        if (p && !p->empty() &&
            p->pixels.size() == static_cast<std::size_t>(p->width) * static_cast<std::size_t>(p->height) * 4) {
            c->bgra.resize(p->pixels.size());
            for (std::size_t i = 0; i < p->pixels.size(); i += 4) {
                c->bgra[i] = p->pixels[i + 2];
                c->bgra[i + 1] = p->pixels[i + 1];
                c->bgra[i + 2] = p->pixels[i];
                c->bgra[i + 3] = 255;
            }
        } else {
            c->picture.reset();
        }
    }
    repaintArea(*c);
}

std::shared_ptr<const image::Rgba> Win32Backend::fittedPicture(const Control& c, const PictureSource& source) {
    const int w = c.placed.right - c.placed.left;
    const int h = c.placed.bottom - c.placed.top;
    if (w <= 0 || h <= 0) return nullptr;
    const ui::Rgb background = c.design.background.value_or(c.window->backgroundRgb);
    return pictures_.get(source, w, h, opaqueArgb(background));
}

void Win32Backend::preparePicture(const ControlRef& ref, const PictureSource& source) {
    if (const Control* c = findControl(ref, ui::ControlKind::PictureBox)) fittedPicture(*c, source);
}

PictureSource Win32Backend::picture(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::PictureBox);
    return c ? c->source : PictureSource{};
}

void Win32Backend::setTooltip(const ControlRef& ref, const std::string& text) {
    Control* c = findControl(ref);
    if (!c) return;
    if (!tooltip_ && !text.empty()) {
        HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   instance_, nullptr);
        if (!tip) {
            OutputDebugStringA("pallo win32: the tooltip control could not be created\n");
            return;
        }
        tooltip_.reset(tip);
        // Any maximum width makes the tooltip honour the line breaks of a text.
        SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    if (!tooltip_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_CENTERTIP;
    ti.hwnd = c->window->hwnd.get();
    ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
    if (text.empty()) {
        if (!c->tooltip.empty()) SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        c->tooltip.clear();
        return;
    }
    std::wstring wide = toWide(text);
    ti.lpszText = wide.data();  // the control keeps its own copy
    if (c->tooltip.empty()) {
        if (!SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
            OutputDebugStringA("pallo win32: TTM_ADDTOOLW failed\n");
            return;
        }
    } else {
        SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    c->tooltip = text;
}

std::string Win32Backend::tooltip(const ControlRef& ref) const {
    const Control* c = findControl(ref);
    return c ? c->tooltip : std::string{};
}

// --- combo box ---------------------------------------------------------------------------------

void Win32Backend::clearItems(const ControlRef& ref) {
    Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c) return;
    QuietScope quiet(*c);
    SendMessageW(c->hwnd, CB_RESETCONTENT, 0, 0);
    if (c->design.editable) SetWindowTextW(c->hwnd, L"");
    rememberChoice(*c);
}

void Win32Backend::addItem(const ControlRef& ref, const std::string& text, std::int64_t data) {
    Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c) return;
    QuietScope quiet(*c);
    const std::wstring wide = toWide(text);
    const LRESULT index = SendMessageW(c->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0) return;
    SendMessageW(c->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

int Win32Backend::itemCount(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c) return 0;
    return std::max(0, static_cast<int>(SendMessageW(c->hwnd, CB_GETCOUNT, 0, 0)));
}

std::string Win32Backend::itemText(const ControlRef& ref, int index) const {
    const Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c || index < 0 || index >= itemCount(ref)) return {};
    const LRESULT n = SendMessageW(c->hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got =
        SendMessageW(c->hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return toUtf8(buf);
}

std::int64_t Win32Backend::itemData(const ControlRef& ref, int index) const {
    const Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c || index < 0 || index >= itemCount(ref)) return 0;
    return static_cast<std::int64_t>(SendMessageW(c->hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void Win32Backend::setSelection(const ControlRef& ref, int index) {
    Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c) return;
    if (index < 0 || index >= itemCount(ref)) index = -1;
    QuietScope quiet(*c);
    SendMessageW(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index < 0 && c->design.editable) SetWindowTextW(c->hwnd, L"");
    rememberChoice(*c);
}

int Win32Backend::selection(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c) return -1;
    const LRESULT index = SendMessageW(c->hwnd, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32Backend::setEditable(const ControlRef& ref, bool editable) {
    Control* c = findControl(ref, ui::ControlKind::Combo);
    if (!c || c->design.editable == editable) return;
    // CBS_DROPDOWN and CBS_DROPDOWNLIST cannot change after creation: a new
    // combo box takes the old one's id, place, font, items, selection, place
    // in the tab order (the z-order of the siblings) and tooltip.
    struct Item {
        std::string text;
        std::int64_t data;
    };
    std::vector<Item> items;
    const int count = itemCount(ref);
    for (int i = 0; i < count; ++i) items.push_back({itemText(ref, i), itemData(ref, i)});
    const int selected = selection(ref);
    const bool hadFocus = hasFocus(ref);
    const std::string tooltipText = c->tooltip;
    HWND old = c->hwnd;
    HWND above = GetWindow(old, GW_HWNDPREV);

    ui::ControlDesign design = c->design;
    design.editable = editable;
    ControlStyles styles = controlStyles(design, kPictureClass, kLabelClass);
    if (effectivelyVisible(*c)) styles.style |= WS_VISIBLE;
    if (!effectivelyEnabled(*c)) styles.style |= WS_DISABLED;
    HWND fresh = CreateWindowExW(styles.exStyle, styles.className, L"", styles.style, c->placed.left,
                                 c->placed.top, c->placed.right - c->placed.left, createdHeight(*c, c->window->dpi),
                                 c->window->hwnd.get(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)), instance_, nullptr);
    if (!fresh) {
        OutputDebugStringA(("pallo win32: recreating combo box " + design.name + " failed\n").c_str());
        return;
    }
    if (!tooltipText.empty()) setTooltip(ref, "");
    c->design.editable = editable;
    c->hwnd = fresh;  // from here on, notifications of the old window are no one's
    DestroyWindow(old);
    SendMessageW(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(c->font), FALSE);
    for (const Item& item : items) addItem(ref, item.text, item.data);
    setSelection(ref, selected);
    hookCombo(*c);
    SetWindowPos(fresh, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!tooltipText.empty()) setTooltip(ref, tooltipText);
    if (hadFocus) SetFocus(fresh);
}

bool Win32Backend::isEditable(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::Combo);
    return c && c->design.editable;
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

// --- edit box --------------------------------------------------------------------------------------------

void Win32Backend::setReadOnly(const ControlRef& ref, bool readOnly) {
    if (const Control* c = findControl(ref, ui::ControlKind::Edit))
        SendMessageW(c->hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool Win32Backend::isReadOnly(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::Edit);
    return c && (GetWindowLongW(c->hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

// --- list view ----------------------------------------------------------------------------------------------

int Win32Backend::rowCount(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? std::max(0, static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0))) : 0;
}

int Win32Backend::columnCount(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return 0;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(c->hwnd, LVM_GETHEADER, 0, 0));
    return header ? std::max(0, static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) : 0;
}

int Win32Backend::addRow(const ControlRef& ref, const std::string& firstCell) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return -1;
    std::wstring wide = toWide(firstCell);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = rowCount(ref);
    item.pszText = wide.data();
    int index = -1;
    {
        QuietScope quiet(*c);
        index = static_cast<int>(SendMessageW(c->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    rememberListState(*c);
    return index;
}

void Win32Backend::setCell(const ControlRef& ref, int row, int column, const std::string& text) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref) || column < 0 || column >= columnCount(ref)) return;
    std::wstring wide = toWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    QuietScope quiet(*c);
    SendMessageW(c->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string Win32Backend::cell(const ControlRef& ref, int row, int column) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref) || column < 0 || column >= columnCount(ref)) return {};
    std::wstring buf(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buf.data();
        item.cchTextMax = static_cast<int>(buf.size());
        const auto n = static_cast<std::size_t>(std::max<LRESULT>(
            0, SendMessageW(c->hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
        // A full buffer may mean a cut text: try again with more room.
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            buf.resize(std::min(n, buf.size()));
            return toUtf8(buf);
        }
        buf.assign(buf.size() * 4, L'\0');
    }
}

template <typename Change>
void Win32Backend::changeList(Control& c, int deletedRow, Change change) {
    int before = listCurrent(c);
    const std::vector<int> selectedBefore = listSelection(c);
    {
        QuietScope quiet(c);
        change();
    }
    rememberListState(c);
    const bool currentDeleted = deletedRow >= 0 && before == deletedRow;
    if (deletedRow >= 0 && before > deletedRow) --before;
    // The program's selections count where the design asks, when they
    // select a row; emptying the list or the selection is no selection.
    const bool rowSelected = deletedRow < 0 && std::any_of(c.lastSelection.begin(), c.lastSelection.end(), [&](int r) {
                                 return std::find(selectedBefore.begin(), selectedBefore.end(), r) == selectedBefore.end();
                             });
    const bool currentChanged = currentDeleted || c.lastCurrent != before;
    // The handlers may destroy the window: keep it until they return.
    const auto keep = c.window->shared_from_this();
    if (rowSelected && c.design.selectionEventsFromProgram) fire(*c.window, &c, ui::EventKind::Selection);
    if (currentChanged && c.hwnd && keep->ready) fire(*c.window, &c, ui::EventKind::CurrentItemChanged);
}

void Win32Backend::deleteRow(const ControlRef& ref, int row) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref)) return;
    changeList(*c, row, [c, row] { SendMessageW(c->hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); });
}

void Win32Backend::clearRows(const ControlRef& ref) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return;
    changeList(*c, -1, [c] { SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0); });
}

void Win32Backend::setCurrentRow(const ControlRef& ref, int row) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c) return;
    const bool valid = row >= 0 && row < rowCount(ref);
    changeList(*c, -1, [c, row, valid] {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        if (valid) {
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            SendMessageW(c->hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        }
    });
}

int Win32Backend::currentRow(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? listCurrent(*c) : -1;
}

void Win32Backend::setRowSelected(const ControlRef& ref, int row, bool selected) {
    Control* c = findControl(ref, ui::ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(ref)) return;
    changeList(*c, -1, [c, row, selected] {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = selected ? LVIS_SELECTED : 0;
        SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    });
}

std::vector<int> Win32Backend::selectedRows(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::ListView);
    return c ? listSelection(*c) : std::vector<int>{};
}

int Win32Backend::listCurrent(const Control& c) const {
    // The focused row while it is selected, else the first selected one.
    const auto focused = static_cast<int>(
        SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    if (focused >= 0 && (SendMessageW(c.hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED) &
                         LVIS_SELECTED))
        return focused;
    return static_cast<int>(
        SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

std::vector<int> Win32Backend::listSelection(const Control& c) const {
    std::vector<int> rows;
    int row = -1;
    for (;;) {
        row = static_cast<int>(
            SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0 || (!rows.empty() && row <= rows.back())) break;
        rows.push_back(row);
    }
    return rows;
}

void Win32Backend::rememberListState(Control& c) {
    c.lastCurrent = listCurrent(c);
    c.lastSelection = listSelection(c);
}

void Win32Backend::listChanged(TopWindow& w, int controlId) {
    const int index = controlId - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= w.controls.size()) return;
    Control& c = *w.controls[static_cast<std::size_t>(index)];
    c.listChangePending = false;
    if (!c.hwnd) return;
    const int current = listCurrent(c);
    std::vector<int> selection = listSelection(c);
    const bool selectionChanged = selection != c.lastSelection;
    const bool currentChanged = current != c.lastCurrent;
    c.lastCurrent = current;
    c.lastSelection = std::move(selection);
    if (selectionChanged) fire(w, &c, ui::EventKind::Selection);
    if (currentChanged) fire(w, &c, ui::EventKind::CurrentItemChanged);
}

}  // namespace pallo::platform::win32
