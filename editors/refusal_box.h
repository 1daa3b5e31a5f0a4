// How an editor tells of a write that did not happen.
#pragma once

#include <string>

#include "platform/platform.h"

namespace pallo {

// The message, caption "错误", owned by window; the focus goes to the box
// at fault (none when at is null) before the box, so that it comes back
// there, and again after it.
inline void showWriteFailure(platform::Platform& p, platform::WindowRef window, const std::string& message,
                             const char* at) {
    if (at) p.setFocus(platform::ControlRef{window, at});
    p.messageBox(window, message, "错误", platform::MessageButtons::Ok);
    if (at && p.exists(window)) p.setFocus(platform::ControlRef{window, at});
}

}  // namespace pallo
