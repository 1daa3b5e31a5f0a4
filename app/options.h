// The options panel under the overlay's picture: translucency, always on
// top, the editors, the donation window and the end of the program, with
// the window settings saved at exit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "app/state.h"

namespace pallo {

class HandlerRegistry;

// The overlay's toggle labels by design name.
inline constexpr const char* kEditorsLabel = "透明标签1";  // "编辑配置"
inline constexpr const char* kExitLabel = "透明标签2";     // "退出程序"
inline constexpr const char* kSupportLabel = "透明标签4";  // "支持作者"

// A toggle label is green while the window it stands for is open or its
// action is under way, black otherwise.
inline constexpr std::int32_t kLabelGreen = 65280;
inline constexpr std::int32_t kLabelBlack = 0;

// The values of section Config to save; an empty one is not written.
struct WindowSettingTexts {
    std::optional<std::string> X;
    std::optional<std::string> Y;
    std::optional<std::string> H;
    std::optional<std::string> W;
    std::optional<std::string> T;
    std::optional<std::string> S;
};

// Writes each given value into section Config of cfgPath, in the order X,
// Y, H, W, S, T, and returns the failure message of every write that
// failed, in that order.
std::vector<std::string> writeWindowSettings(ConfigStore& store, const std::string& cfgPath,
                                             const WindowSettingTexts& values);

// writeWindowSettings with the caller's message: "配置保存成功。" when every
// write succeeded, otherwise each failure message followed by "\r\n"
// appended to it. Returns true when every write succeeded.
bool saveWindowSettings(ConfigStore& store, const std::string& cfgPath, std::string& message, bool report,
                        const WindowSettingTexts& values);

// Fills the node editor's node chooser: "选择项目" (data 0, selected), then
// the Title of sections 1..10 with data i, up to the first empty one.
void fillNodeChooser(platform::Platform& platform, const platform::ControlRef& combo,
                     const ConfigStore::Snapshot& ini);

// Calls fn(info) for the first 15 windows of every row, in the order
// window 1 of rows one, two, three, then window 2 of each, and so on.
template <typename Fn>
void forLeadingRowWindows(const std::array<RowWindowList, 3>& rows, Fn&& fn) {
    for (std::size_t i = 0; i < 15; ++i)
        for (const RowWindowList& row : rows)
            if (i < row.size()) fn(row[i]);
}

void openOptions(Context& ctx);
void collapseOptions(Context& ctx);
void translucencyChanged(Context& ctx);
void onTopClicked(Context& ctx);
void toggleEditors(Context& ctx);
// Opens the node editor (closing an open one first), filled and placed
// beside the overlay.
void openNodeEditor(Context& ctx);
// Asks whether to end the program; on Yes saves X, Y, T and S and ends it.
void exitProgram(Context& ctx);
// The frame's close button of any window.
void closedByUser(Context& ctx, platform::WindowRef window);

void registerOptionsHandlers(HandlerRegistry& handlers);

}  // namespace pallo
