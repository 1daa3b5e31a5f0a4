// The options panel under the overlay's picture: translucency, always on
// top, the editors, the donation window and the end of the program, with
// the window settings saved at exit.
#pragma once

#include <optional>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/settings.h"
#include "overlay/label_colours.h"
#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Writes each given value into section Config of cfgPath, in the order of
// the settings table (X, Y, H, W, S, T), and returns the failure message of
// every write that failed, in that order.
std::vector<std::string> writeWindowSettings(ConfigStore& store, const std::string& cfgPath,
                                             const WindowSettingTexts& values);

// writeWindowSettings told as one text: nothing when every write
// succeeded, otherwise each failure message followed by "\r\n".
std::optional<std::string> saveWindowSettings(ConfigStore& store, const std::string& cfgPath,
                                              const WindowSettingTexts& values);

void openOptions(Context& ctx);
void collapseOptions(Context& ctx);
void translucencyChanged(Context& ctx);
void onTopClicked(Context& ctx);
void toggleEditors(Context& ctx);
// Asks whether to end the program; on Yes saves the settings the exit
// saves (X, Y, T and S) and ends it.
void exitProgram(Context& ctx);
// The frame's close button of any window.
void closedByUser(Context& ctx, platform::WindowRef window);

void registerOptionsHandlers(HandlerRegistry& handlers);

}  // namespace pallo
