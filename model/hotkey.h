// The optional [Config] key Hotkey, e.g. "Ctrl+Alt+P".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/hotkey.h"

namespace pallo {

// Parses one or more of Ctrl, Alt, Shift and Win, each once and in any order,
// then "+" and one key: a letter, a digit or F1 to F24. Names are matched
// without regard to ASCII case; blanks around the parts are ignored. Nothing
// else is a hotkey: no modifier, two keys, an unknown name, an empty part.
std::optional<platform::Hotkey> parseHotkey(std::string_view text);

// The hotkey as the user reads it: "Ctrl+Alt+P", modifiers in that order.
std::string hotkeyText(const platform::Hotkey& hotkey);

}  // namespace pallo
