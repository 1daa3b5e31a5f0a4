#include <gtest/gtest.h>

#include "model/hotkey.h"

namespace pallo {
namespace {

using platform::Hotkey;

Hotkey with(bool ctrl, bool alt, bool shift, bool win, char key, int function = 0) {
    return Hotkey{ctrl, alt, shift, win, key, function};
}

TEST(Hotkey, ParsesModifiersAndOneKeyAndNothingElse) {
    const struct {
        const char* text;
        std::optional<Hotkey> expected;
    } cases[] = {
        {"Ctrl+Alt+P", with(true, true, false, false, 'P')},
        {"ctrl+alt+p", with(true, true, false, false, 'P')},
        {"ALT+CTRL+p", with(true, true, false, false, 'P')},
        {" Ctrl + Shift + 7 ", with(true, false, true, false, '7')},
        {"Win+0", with(false, false, false, true, '0')},
        {"Shift+F1", with(false, false, true, false, 0, 1)},
        {"Ctrl+Alt+Shift+Win+f24", with(true, true, true, true, 0, 24)},
        {"Alt+F10", with(false, true, false, false, 0, 10)},
        {"", std::nullopt},
        {"P", std::nullopt},             // a modifier is required
        {"F5", std::nullopt},
        {"Ctrl", std::nullopt},          // and a key
        {"Ctrl+Alt", std::nullopt},
        {"Ctrl+Ctrl+P", std::nullopt},   // each modifier once
        {"Ctrl+P+Q", std::nullopt},      // one key
        {"Ctrl+PQ", std::nullopt},
        {"Ctrl++P", std::nullopt},
        {"+P", std::nullopt},
        {"Ctrl+P+", std::nullopt},
        {"Ctrl+F0", std::nullopt},
        {"Ctrl+F25", std::nullopt},
        {"Ctrl+F01", std::nullopt},
        {"Ctrl+F", with(true, false, false, false, 'F')},
        {"Control+P", std::nullopt},
        {"Ctrl+Space", std::nullopt},
        {"Ctrl+Ä", std::nullopt},
        {"Ctrl-Alt-P", std::nullopt},
        {"Ctrl+Alt+Ｐ", std::nullopt},  // full-width letter
    };
    for (const auto& c : cases) EXPECT_EQ(parseHotkey(c.text), c.expected) << c.text;
}

TEST(Hotkey, TextNamesModifiersInOneOrder) {
    for (const char* text : {"Ctrl+Alt+P", "Shift+Win+F12", "Alt+7"})
        EXPECT_EQ(hotkeyText(*parseHotkey(text)), text);
    EXPECT_EQ(hotkeyText(*parseHotkey("win+shift+alt+ctrl+q")), "Ctrl+Alt+Shift+Win+Q");
}

}  // namespace
}  // namespace pallo
