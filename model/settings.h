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
#include "ui/names.h"

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
    const char* box = nullptr;            // the panel's check box, ticked at start-up for 1
};

inline constexpr ConfigKey kHotkeyKey{.key = "Hotkey", .fallback = "", .field = nullptr, .judge = Judge::Hotkey};

// Every key of [Config], in the order the exit save writes them (S before T).
inline constexpr ConfigKey kConfigKeys[] = {
    {.key = "X", .fallback = "0", .field = &WindowSettings::X, .low = 100, .limit = Limit::PrimaryWidth,
     .outside = 100, .writeFailure = "窗口X写入失败。", .savedAtExit = true,
     .rangeZh = "主屏上至少 100，且悬浮窗整个在某个显示器上",
     .rangeEn = "at least 100 on the primary screen, and the overlay wholly on a monitor"},
    {.key = "Y", .fallback = "0", .field = &WindowSettings::Y, .low = 100, .limit = Limit::PrimaryHeight,
     .outside = 100, .writeFailure = "窗口Y写入失败。", .savedAtExit = true,
     .rangeZh = "主屏上至少 100，且悬浮窗整个在某个显示器上",
     .rangeEn = "at least 100 on the primary screen, and the overlay wholly on a monitor"},
    {.key = "H", .fallback = "0", .field = &WindowSettings::H, .low = 70, .high = 200, .outside = 70,
     .writeFailure = "窗口高度写入失败。", .rangeZh = "70 到 200，且 W 和 H 取两者中较小的",
     .rangeEn = "70 to 200, and W and H both take the smaller"},
    {.key = "W", .fallback = "0", .field = &WindowSettings::W, .low = 70, .high = 200, .outside = 70,
     .writeFailure = "窗口宽度写入失败。", .rangeZh = "70 到 200，且 W 和 H 取两者中较小的",
     .rangeEn = "70 to 200, and W and H both take the smaller"},
    {.key = "S", .fallback = "150", .field = &WindowSettings::S, .low = 15, .high = 255, .outside = 150,
     .writeFailure = "窗口透明度写入失败。", .savedAtExit = true, .rangeZh = "15 到 255", .rangeEn = "15 to 255"},
    {.key = "T", .fallback = "0", .field = &WindowSettings::T, .low = 0, .high = 1, .outside = 0,
     .writeFailure = "窗口置顶写入失败。", .savedAtExit = true, .rangeZh = "0 或 1", .rangeEn = "0 or 1",
     .box = ui::names::overlay::onTopBox},
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
