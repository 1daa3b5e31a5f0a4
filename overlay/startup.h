// Start-up and the overlay window: reading the window settings, loading the
// content, placing the overlay and its rows.
#pragma once

#include <string>

#include "program/state.h"
#include "config/config_store.h"

namespace pallo {

class HandlerRegistry;

// The overlay picture's hover tip.
inline constexpr const char* kOverlayTip = "左键拖动\r\n右键设置";

// The window settings of section Config, corrected: X and Y kept where the
// overlay's square, at the monitor's scale, lies wholly on a secondary
// monitor, otherwise each within 100 and the primary monitor's size less the
// square (100 otherwise); W and H within 70..200 (70 otherwise) and then
// both the smaller; T 0 or 1; S within 15..255 (150 otherwise).
WindowSettings readWindowSettings(const ConfigStore::Snapshot& ini, const std::vector<platform::Monitor>& monitors);

// The overlay is this square at start-up, whatever W and H say.
inline constexpr int kOverlaySize = 70;

// Whether the overlay's square at x, y, at that monitor's scale, lies wholly
// on a monitor other than the primary one.
bool onSecondaryMonitor(std::int32_t x, std::int32_t y, const std::vector<platform::Monitor>& monitors);

// Joins a directory and a name with the platform's separator.
std::string joinPath(const std::string& dir, const std::string& name);

bool loadWindowSettings(Context& ctx, std::string& message, bool report);
void placeRows(Context& ctx);
void onOverlayMoved(Context& ctx);
void startUp(Context& ctx, platform::WindowRef overlay);

void registerStartupHandlers(HandlerRegistry& handlers);

}  // namespace pallo
