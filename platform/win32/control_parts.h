// What the files of the Win32 controls share: the quiet scope of a program
// change, and the procedures and helpers one kind's file defines and the
// building of controls (or another kind) uses.
#pragma once

#include <memory>
#include <optional>

#include "platform/win32/platform_impl.h"

namespace pallo::platform::win32 {

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

// The height a control's window is created with (a combo box's holds its list).
int createdHeight(const Control& c, int dpi);
// The mouse event a message stands for, if any.
std::optional<ui::EventKind> mouseEvent(UINT msg);
// The control object of one of our own control windows (picture boxes, labels).
Control* ownControl(HWND hwnd, UINT msg, LPARAM lp);
// Keeps the window a control belongs to alive while one of its messages is
// handled; empty when the control or its window is gone.
std::shared_ptr<TopWindow> keepWindow(const Control* c);
// Hands a message of one of our own control windows to the backend's handler
// of its kind, the window kept alive meanwhile.
LRESULT dispatchOwnControl(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                           LRESULT (Win32Backend::*handler)(Control&, UINT, WPARAM, LPARAM));
// The pointer's place when the message being handled was sent, in screen coordinates.
POINT messagePoint();
LRESULT CALLBACK listViewSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
LRESULT CALLBACK focuslessCheckBox(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR);

}  // namespace pallo::platform::win32
