#include "platform/win32/rules.h"

#include <algorithm>
#include <commctrl.h>

namespace pallo::platform::win32 {

WindowStyles windowStyles(const ui::WindowDesign& design) {
    WindowStyles s;
    if (design.framed) {
        s.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    } else {
        s.style = WS_POPUP | WS_CLIPCHILDREN;
        s.exStyle |= WS_EX_NOACTIVATE;
        s.exStyle |= design.icon == assets::Picture::None ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    }
    return s;
}

HotkeyCodes hotkeyCodes(const Hotkey& h) {
    HotkeyCodes codes;
    codes.modifiers = MOD_NOREPEAT;
    if (h.ctrl) codes.modifiers |= MOD_CONTROL;
    if (h.alt) codes.modifiers |= MOD_ALT;
    if (h.shift) codes.modifiers |= MOD_SHIFT;
    if (h.win) codes.modifiers |= MOD_WIN;
    // Letters and digits are their own virtual keys ('A', '0').
    codes.virtualKey = h.function > 0 ? static_cast<UINT>(VK_F1 + h.function - 1) : static_cast<UINT>(h.key);
    return codes;
}

ControlStyles controlStyles(const ui::ControlDesign& d, const wchar_t* pictureClass, const wchar_t* labelClass) {
    ControlStyles s;
    s.style = WS_CHILD | WS_CLIPSIBLINGS;
    switch (d.kind) {
    case ui::ControlKind::PictureBox:
        s.className = pictureClass;
        break;
    case ui::ControlKind::Label:
        s.className = labelClass;
        break;
    case ui::ControlKind::Button:
        s.className = L"BUTTON";
        s.style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case ui::ControlKind::CheckBox:
        s.className = L"BUTTON";
        s.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case ui::ControlKind::GroupBox:
        s.className = L"BUTTON";
        s.style |= BS_GROUPBOX;
        break;
    case ui::ControlKind::Edit:
        s.className = L"EDIT";
        s.exStyle = WS_EX_CLIENTEDGE;
        s.style |= WS_TABSTOP;
        if (d.multiLine)
            s.style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
        else
            s.style |= ES_AUTOHSCROLL;
        if (d.readOnly) s.style |= ES_READONLY;
        if (d.integerInput) s.style |= ES_NUMBER;
        break;
    case ui::ControlKind::Combo:
        s.className = L"COMBOBOX";
        s.style |= WS_TABSTOP | WS_VSCROLL | (d.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
        break;
    case ui::ControlKind::HScrollBar:
        s.className = L"SCROLLBAR";
        s.style |= SBS_HORZ;
        break;
    case ui::ControlKind::ListView:
        s.className = WC_LISTVIEWW;
        s.exStyle = WS_EX_CLIENTEDGE;
        s.style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
        if (!d.multiSelect) s.style |= LVS_SINGLESEL;
        break;
    }
    return s;
}

int scrollTarget(const ScrollSettings& s, int pos, int code, int thumbPos) {
    const int lo = std::min(s.min, s.max);
    const int hi = std::max(s.min, s.max);
    long long target = pos;
    switch (code) {
    case SB_LINELEFT: target = static_cast<long long>(pos) - s.step; break;
    case SB_LINERIGHT: target = static_cast<long long>(pos) + s.step; break;
    case SB_PAGELEFT: target = static_cast<long long>(pos) - s.page; break;
    case SB_PAGERIGHT: target = static_cast<long long>(pos) + s.page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = thumbPos; break;
    case SB_LEFT: target = lo; break;
    case SB_RIGHT: target = hi; break;
    default: break;  // SB_ENDSCROLL and anything unknown
    }
    return static_cast<int>(std::clamp<long long>(target, lo, hi));
}

bool dragsWindow(const ui::WindowDesign& window, const ui::ControlDesign& control, bool leftButtonBound) {
    return !window.framed && window.icon != assets::Picture::None &&
           control.kind == ui::ControlKind::PictureBox && !leftButtonBound;
}

std::uint32_t opaqueArgb(ui::Rgb c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(c.r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(c.g & 0xFF) << 8) | static_cast<std::uint32_t>(c.b & 0xFF);
}

COLORREF toColorRef(ui::Rgb c) {
    return RGB(c.r & 0xFF, c.g & 0xFF, c.b & 0xFF);
}

}  // namespace pallo::platform::win32
