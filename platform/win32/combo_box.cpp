// Combo boxes of the Win32 platform: their keys, the committed choice, and
// their items and selection.
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

namespace {

LRESULT CALLBACK comboSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, comboSubclass, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    auto* c = reinterpret_cast<Control*>(ref);
    const auto keep = keepWindow(c);
    if (!keep || (c->hwnd != hwnd && GetParent(hwnd) != c->hwnd)) return DefSubclassProc(hwnd, msg, wp, lp);
    return c->window->platform->comboMessage(*c, hwnd, msg, wp, lp);
}

}  // namespace

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

}  // namespace pallo::platform::win32
