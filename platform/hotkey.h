// A key combination that reaches the program wherever the user is: one or
// more modifiers and one key (a letter, a digit or a function key).
#pragma once

namespace pallo::platform {

struct Hotkey {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    bool win = false;
    // 'A' to 'Z' or '0' to '9'; 0 when the key is a function key.
    char key = 0;
    // 1 to 24 for F1 to F24; 0 when the key is a letter or a digit.
    int function = 0;
    friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

}  // namespace pallo::platform
