// The [Config] keys: which the program reads, and what it makes of their
// values. Everything the checker knows of [Config] is here.
#include <climits>

#include "model/hotkey.h"
#include "model/text.h"
#include "overlay/startup.h"
#include "platform/platform.h"
#include "tools/check/checker.h"

namespace pallo::check {

bool knownConfigKey(std::string_view key) {
    const auto is = [&](const char* name) { return ini::equalIgnoringAsciiCase(key, name); };
    return is("X") || is("Y") || is("W") || is("H") || is("T") || is("S") || is("Hotkey");
}

// The window settings out of range, and a Hotkey the program cannot use.
void Checker::checkWindowSettings() {
    if (!section("Config")) return;
    // The monitors are the user's: only the limits that hold on any
    // primary screen are checked here.
    const WindowSettings used =
        readWindowSettings(ini_, {platform::Monitor{0, 0, INT_MAX, INT_MAX, true}});
    struct Setting {
        const char* key;
        std::int32_t used;
        const char* rangeZh;
        const char* rangeEn;
    };
    const Setting settings[] = {
        {"X", used.X, "主屏上至少 100，且悬浮窗整个在某个显示器上",
         "at least 100 on the primary screen, and the overlay wholly on a monitor"},
        {"Y", used.Y, "主屏上至少 100，且悬浮窗整个在某个显示器上",
         "at least 100 on the primary screen, and the overlay wholly on a monitor"},
        {"W", used.W, "70 到 200，且 W 和 H 取两者中较小的", "70 to 200, and W and H both take the smaller"},
        {"H", used.H, "70 到 200，且 W 和 H 取两者中较小的", "70 to 200, and W and H both take the smaller"},
        {"T", used.T, "0 或 1", "0 or 1"},
        {"S", used.S, "15 到 255", "15 to 255"},
    };
    for (const Setting& s : settings) {
        const ini::Entry* e = entry("Config", s.key);
        if (!e || !e->hasValue) continue;
        const std::string written = ini_.read("Config", s.key, "");
        if (written.empty() || toInt(written) == s.used) continue;
        add(lineAt(e->keyBegin), "Config", s.key, Severity::Warning, "config-range",
            std::string(s.key) + "=" + repairUtf8(written) + " 超出范围（" + s.rangeZh + "）：程序改用 " +
                toText(s.used) + "。",
            std::string(s.key) + "=" + repairUtf8(written) + " is out of range (" + s.rangeEn +
                "): the program uses " + toText(s.used) + " instead.");
    }
    const ini::Entry* hotkey = entry("Config", "Hotkey");
    if (!hotkey || !hotkey->hasValue) return;
    const std::string written = ini_.read("Config", "Hotkey", "");
    if (removeBlanks(written).empty() || parseHotkey(written)) return;
    add(lineAt(hotkey->keyBegin), "Config", "Hotkey", Severity::Error, "hotkey-invalid",
        "Hotkey=" + repairUtf8(written) +
            " 不是快捷键：程序启动时提示一次，之后没有快捷键。请写成 Ctrl+Alt+P 这样：Ctrl、Alt、Shift、Win "
            "至少一个，加一个字母、数字或 F1 到 F24。",
        "Hotkey=" + repairUtf8(written) +
            " is no hotkey: the program says so once at start-up and then has none. Write it like "
            "Ctrl+Alt+P: at least one of Ctrl, Alt, Shift and Win, and a letter, a digit or F1 to F24.");
}

}  // namespace pallo::check
