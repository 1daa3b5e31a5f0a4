#include "model/settings.h"

#include <algorithm>

#include "config/ini.h"
#include "model/hotkey.h"
#include "model/text.h"
#include "ui/layout.h"

namespace pallo {

const ConfigKey* findConfigKey(std::string_view key) {
    for (const ConfigKey& k : kConfigKeys)
        if (ini::equalIgnoringAsciiCase(key, k.key)) return &k;
    return nullptr;
}

bool onSecondaryMonitor(std::int32_t x, std::int32_t y, const std::vector<platform::Monitor>& monitors) {
    for (const platform::Monitor& m : monitors) {
        if (m.primary) continue;
        // In 64 bits: a saved position can be anything an int holds.
        const std::int64_t left = x, top = y, size = platform::scaleToDpi(ui::layout::kSquare, m.dpi);
        if (left >= m.left && top >= m.top && left + size <= std::int64_t{m.left} + m.width &&
            top + size <= std::int64_t{m.top} + m.height)
            return true;
    }
    return false;
}

WindowSettings readWindowSettings(const ConfigStore::Snapshot& ini, const std::vector<platform::Monitor>& monitors) {
    WindowSettings s;
    for (const ConfigKey& k : kConfigKeys)
        if (k.field) s.*k.field = toInt(ini.read(kConfigSection, k.key, k.fallback));

    // The overlay keeps its place wherever its square, at the monitor's
    // scale, lies wholly on a monitor; on the primary one it keeps 100 pixels
    // from the top-left corner. Elsewhere each coordinate falls back to 100.
    const bool onSecondary = onSecondaryMonitor(s.X, s.Y, monitors);
    const platform::Monitor primary = monitors.empty() ? platform::Monitor{} : monitors.front();
    const int square = platform::scaleToDpi(ui::layout::kSquare, primary.dpi);
    for (const ConfigKey& k : kConfigKeys) {
        if (!k.field) continue;
        std::int32_t high = k.high;
        if (k.limit != Limit::Fixed) {
            if (onSecondary) continue;
            high = (k.limit == Limit::PrimaryWidth ? primary.width : primary.height) - square;
        }
        std::int32_t& value = s.*k.field;
        if (value < k.low || value > high) value = k.outside;
    }
    s.W = s.H = std::min(s.W, s.H);
    return s;
}

WindowSettingTexts settingsSavedAtExit(const WindowSettings& settings) {
    WindowSettingTexts texts;
    for (const ConfigKey& k : kConfigKeys)
        if (k.savedAtExit && k.field) texts.emplace(k.key, toText(settings.*k.field));
    return texts;
}

std::optional<ConfigFinding> judgeConfigValue(const ConfigKey& key, std::string_view written,
                                              const WindowSettings& used) {
    const std::string shown = std::string(key.key) + "=" + repairUtf8(written);
    if (key.judge == Judge::Hotkey) {
        if (removeBlanks(written).empty() || parseHotkey(written)) return std::nullopt;
        return ConfigFinding{
            true, "hotkey-invalid",
            shown + " 不是快捷键：程序启动时提示一次，之后没有快捷键。请写成 Ctrl+Alt+P 这样：Ctrl、Alt、Shift、Win "
                    "至少一个，加一个字母、数字或 F1 到 F24。",
            shown + " is no hotkey: the program says so once at start-up and then has none. Write it like "
                    "Ctrl+Alt+P: at least one of Ctrl, Alt, Shift and Win, and a letter, a digit or F1 to F24."};
    }
    if (!key.field || written.empty()) return std::nullopt;
    const std::int32_t value = used.*key.field;
    if (toInt(written) == value) return std::nullopt;
    return ConfigFinding{false, "config-range",
                         shown + " 超出范围（" + key.rangeZh + "）：程序改用 " + toText(value) + "。",
                         shown + " is out of range (" + key.rangeEn + "): the program uses " + toText(value) +
                             " instead."};
}

}  // namespace pallo
