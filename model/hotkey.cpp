#include "model/hotkey.h"

#include "model/text.h"

namespace pallo {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperText(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upper(c);
    return out;
}

// F1 to F24, written without leading zeros; 0 for anything else.
int functionNumber(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || name[0] != 'F' || name[1] == '0') return 0;
    int n = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n <= 24 ? n : 0;
}

}  // namespace

std::optional<platform::Hotkey> parseHotkey(std::string_view text) {
    const std::string clean = removeBlanks(text);
    if (clean.empty() || clean.back() == '+') return std::nullopt;
    const std::vector<std::string> parts = split(clean, "+");
    if (parts.size() < 2) return std::nullopt;  // a modifier is required
    platform::Hotkey hotkey;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::string name = upperText(parts[i]);
        bool* flag = name == "CTRL" ? &hotkey.ctrl
                     : name == "ALT" ? &hotkey.alt
                     : name == "SHIFT" ? &hotkey.shift
                     : name == "WIN" ? &hotkey.win
                                     : nullptr;
        if (!flag || *flag) return std::nullopt;  // unknown, or named twice
        *flag = true;
    }
    const std::string key = upperText(parts.back());
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
        hotkey.key = key[0];
        return hotkey;
    }
    hotkey.function = functionNumber(key);
    if (hotkey.function == 0) return std::nullopt;
    return hotkey;
}

std::string hotkeyText(const platform::Hotkey& hotkey) {
    std::string text;
    if (hotkey.ctrl) text += "Ctrl+";
    if (hotkey.alt) text += "Alt+";
    if (hotkey.shift) text += "Shift+";
    if (hotkey.win) text += "Win+";
    if (hotkey.function > 0) text += "F" + toText(hotkey.function);
    else text += hotkey.key;
    return text;
}

}  // namespace pallo
