// The hotkey of [Config] Hotkey: one press hides the overlay with its rows
// and every open window, the next shows them again as they were.
#pragma once

#include <optional>
#include <string>

#include <string>

#include "program/state.h"

namespace pallo {

class HandlerRegistry;

// Reads Hotkey from section Config and registers it for the overlay. No
// value (or blanks only): no hotkey, true. A value that is no hotkey, or
// one another program holds: false, with the message to show.
std::optional<std::string> registerConfiguredHotkey(Context& ctx);

// Hides every shown window of the program, or shows again the ones it hid.
// While a message box waits for its answer it does nothing.
void toggleAllWindows(Context& ctx);

void registerHotkeyHandlers(HandlerRegistry& handlers);

}  // namespace pallo
