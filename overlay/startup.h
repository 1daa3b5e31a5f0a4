// Start-up and the overlay window: reading the window settings, loading the
// content, placing the overlay and its rows.
#pragma once

#include <optional>
#include <string>

#include <string>

#include "config/config_store.h"
#include "model/settings.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// The overlay picture's hover tip.
inline constexpr const char* kOverlayTip = "左键拖动\r\n右键设置";

// Joins a directory and a name with the platform's separator.
std::string joinPath(const std::string& dir, const std::string& name);

// Sets up the paths, the settings and empty rows. Without Cfg.ini the
// settings are those of an empty file and the result is what to tell.
std::optional<std::string> loadWindowSettings(Context& ctx);
void placeRows(Context& ctx);
void onOverlayMoved(Context& ctx);
void startUp(Context& ctx, platform::WindowRef overlay);

void registerStartupHandlers(HandlerRegistry& handlers);

}  // namespace pallo
