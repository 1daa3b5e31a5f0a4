// Decisions of the Win32 backend that are plain functions of their inputs,
// kept apart from the window code so the conformance tests can check them
// one by one.
#pragma once

// UNICODE and NOMINMAX come from the target: wide (W) functions only.
#include <windows.h>

#include <cstdint>

#include "platform/hotkey.h"
#include "ui/design.h"

namespace pallo::platform::win32 {

struct WindowStyles {
    DWORD style = 0;
    DWORD exStyle = 0;
};

// Framed designs get a fixed frame with a caption and a close box, nothing
// resizable; the others are borderless pop-ups that never take the
// activation (the game beside them keeps it). A borderless window without
// an icon (the node windows) is a tool window, so the rows do not crowd the
// task bar; one with an icon (the overlay) keeps its task bar button.
WindowStyles windowStyles(const ui::WindowDesign& design);

// RegisterHotKey's modifiers (MOD_NOREPEAT: holding the keys down is one
// press) and virtual key of a hotkey.
struct HotkeyCodes {
    UINT modifiers = 0;
    UINT virtualKey = 0;
};
HotkeyCodes hotkeyCodes(const Hotkey& hotkey);

// The system class and styles of a control. Picture boxes and labels use the
// backend's own classes (className then names them).
struct ControlStyles {
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
};
ControlStyles controlStyles(const ui::ControlDesign& design, const wchar_t* pictureClass,
                            const wchar_t* labelClass);

struct ScrollSettings {
    int min = 0;
    int max = 100;
    int page = 1;  // how far a click in the trough moves the thumb
    int step = 1;  // how far an arrow moves it
};

// Where a WM_HSCROLL request (SB_* code, with the thumb position for the
// thumb codes) takes a scroll bar that stands at pos; always within
// min..max. Codes that do not move the thumb leave pos.
int scrollTarget(const ScrollSettings& settings, int pos, int code, int thumbPos);

// A press on a picture box drags its window when the window is borderless,
// carries an icon (the overlay, the one window that moves on its own) and no
// handler wants the left button of that picture box.
bool dragsWindow(const ui::WindowDesign& window, const ui::ControlDesign& control, bool leftButtonBound);

// 0xFFRRGGBB for the picture cache, from a design colour.
std::uint32_t opaqueArgb(ui::Rgb colour);
COLORREF toColorRef(ui::Rgb colour);

}  // namespace pallo::platform::win32
