// Edit boxes of the Win32 platform: read-only or not (their text is every
// control's, in controls.cpp).
#include "platform/win32/control_parts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace pallo::platform::win32 {

// --- edit box --------------------------------------------------------------------------------------------

void Win32Backend::setReadOnly(const ControlRef& ref, bool readOnly) {
    if (const Control* c = findControl(ref, ui::ControlKind::Edit))
        SendMessageW(c->hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool Win32Backend::isReadOnly(const ControlRef& ref) const {
    const Control* c = findControl(ref, ui::ControlKind::Edit);
    return c && (GetWindowLongW(c->hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

}  // namespace pallo::platform::win32
