// Program entry of the Windows program.
#include "app/app.h"
#include "platform/win32/win32_platform.h"

int wmain() {
    pallo::win32::Win32Platform platform;
    pallo::App app(platform);
    return app.run();
}
