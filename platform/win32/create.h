// The Win32 desktop behind the Platform interface. This header stays free of
// windows.h so the program entry can include it.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace pallo::platform::win32 {

// Registers the window classes and initialises the common controls. One
// platform per process, created and used on the GUI thread.
std::unique_ptr<Platform> createPlatform();

}  // namespace pallo::platform::win32
