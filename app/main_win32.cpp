// Program entry of the Windows program.
#include "app/app.h"
#include "platform/win32/create.h"

int wmain() {
    const auto platform = pallo::platform::win32::createPlatform();
    pallo::App app(*platform);
    return app.run();
}
