// The settings of section [Config], one row each: the key, what reading it
// gives when it is missing, the limits it is kept within, the message of a
// failed write, whether the exit saves it and how pallo-check explains it.
// Start-up reads the file through this table, the exit save writes through
// it and pallo-check judges the file by it. A new key is one row here (and a
// field of WindowSettings when it is a number the program keeps).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "platform/platform.h"

namespace pallo {

inline constexpr const char* kConfigSection = "Config";

// The window settings, held once while the program runs: where the overlay
// stands (X, Y), the spacing of the rows beside it (W, H), always on top
// (T, 0 or 1) and its opacity (S, 255 = opaque). The handlers that change
// them keep them current; the exit saves them from here.
struct WindowSettings {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 0;
    std::int32_t H = 0;
    std::int32_t T = 0;
    std::int32_t S = 0;
};

// Where a setting's upper limit comes from: the row itself, or the primary
// monitor's width (height) less the overlay's square at its scale.
enum class Limit { Fixed, PrimaryWidth, PrimaryHeight };

// How pallo-check judges a written value: a number outside its limits is a
// warning; a hotkey that does not parse is an error.
enum class Judge { Range, Hotkey };

struct ConfigKey {
    const char* key;
    const char* fallback;                 // what reading a missing key gives
    std::int32_t WindowSettings::*field;  // nullptr: no number of WindowSettings
    std::int32_t low = 0;                 // a value outside low..high
    std::int32_t high = 0;                //   becomes `outside`
    Limit limit = Limit::Fixed;
    std::int32_t outside = 0;
    const char* writeFailure = nullptr;   // nullptr: the program never writes it
    bool savedAtExit = false;
    const char* rangeZh = "";             // the limits as pallo-check words them
    const char* rangeEn = "";
    Judge judge = Judge::Range;
};

inline constexpr ConfigKey kHotkeyKey{.key = "Hotkey", .fallback = "", .field = nullptr, .judge = Judge::Hotkey};

// Every key of [Config], in the order the exit save writes them (S before T).
inline constexpr ConfigKey kConfigKeys[] = {
    {"X", "0", &WindowSettings::X, 100, 0, Limit::PrimaryWidth, 100, "窗口X写入失败。", true,
     "主屏上至少 100，且悬浮窗整个在某个显示器上",
     "at least 100 on the primary screen, and the overlay wholly on a monitor"},
    {"Y", "0", &WindowSettings::Y, 100, 0, Limit::PrimaryHeight, 100, "窗口Y写入失败。", true,
     "主屏上至少 100，且悬浮窗整个在某个显示器上",
     "at least 100 on the primary screen, and the overlay wholly on a monitor"},
    {"H", "0", &WindowSettings::H, 70, 200, Limit::Fixed, 70, "窗口高度写入失败。", false,
     "70 到 200，且 W 和 H 取两者中较小的", "70 to 200, and W and H both take the smaller"},
    {"W", "0", &WindowSettings::W, 70, 200, Limit::Fixed, 70, "窗口宽度写入失败。", false,
     "70 到 200，且 W 和 H 取两者中较小的", "70 to 200, and W and H both take the smaller"},
    {"S", "150", &WindowSettings::S, 15, 255, Limit::Fixed, 150, "窗口透明度写入失败。", true, "15 到 255",
     "15 to 255"},
    {"T", "0", &WindowSettings::T, 0, 1, Limit::Fixed, 0, "窗口置顶写入失败。", true, "0 或 1", "0 or 1"},
    kHotkeyKey,
};

// The row of this key (ASCII case ignored, as reading does), or nullptr.
const ConfigKey* findConfigKey(std::string_view key);

// Whether the overlay's square at x, y, at that monitor's scale, lies wholly
// on a monitor other than the primary one.
bool onSecondaryMonitor(std::int32_t x, std::int32_t y, const std::vector<platform::Monitor>& monitors);

// The window settings of [Config], each kept within its row's limits. X and
// Y are kept as written where the overlay's square lies wholly on a
// secondary monitor; W and H then both take the smaller.
WindowSettings readWindowSettings(const ConfigStore::Snapshot& ini, const std::vector<platform::Monitor>& monitors);

// Values of [Config] to write, by key; a key not given is not written.
using WindowSettingTexts = std::map<std::string, std::string, std::less<>>;

// The settings the exit saves, as texts.
WindowSettingTexts settingsSavedAtExit(const WindowSettings& settings);

// What pallo-check says of the value written for key, when the program
// reads something else (used: the settings the program reads).
struct ConfigFinding {
    bool error = false;  // otherwise a warning
    const char* code = "";
    std::string zh;
    std::string en;
};
std::optional<ConfigFinding> judgeConfigValue(const ConfigKey& key, std::string_view written,
                                              const WindowSettings& used);

}  // namespace pallo
