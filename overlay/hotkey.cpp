#include "overlay/hotkey.h"

#include "model/hotkey.h"
#include "model/settings.h"
#include "model/text.h"
#include "program/handlers.h"
#include "ui/names.h"

namespace pallo {

namespace {

// A value as the message quotes it: a long one is cut.
std::string quoted(std::string value) {
    constexpr std::size_t kShown = 40;
    if (value.size() <= kShown) return value;
    value.resize(kShown);
    mendUtf8(value);
    return value + "…";
}

// Every window the hotkey hides, the overlay first (it is shown first again,
// so the windows it owns come back above it).
std::vector<platform::WindowRef> programWindows(const ProgramState& st) {
    std::vector<platform::WindowRef> windows{st.overlay};
    for (const RowWindowList& row : st.rows)
        for (const WindowInfo& info : row) windows.push_back(info.self);
    for (const platform::WindowRef w : {st.nodeEditor, st.catalogEditor, st.associationWindow, st.donationWindow})
        windows.push_back(w);
    return windows;
}

}  // namespace

std::optional<std::string> registerConfiguredHotkey(Context& ctx) {
    ProgramState& st = ctx.state;
    const std::string value = st.store.read(st.CfgPath, kConfigSection, kHotkeyKey.key, kHotkeyKey.fallback);
    if (removeBlanks(value).empty()) return std::nullopt;
    const std::optional<platform::Hotkey> hotkey = parseHotkey(value);
    if (!hotkey) {
        return "快捷键 Hotkey=" + quoted(repairUtf8(value)) +
               " 无法识别：请写成 Ctrl+Alt+P 这样，Ctrl、Alt、Shift、Win 至少一个，加一个字母、数字或 F1 到 F24。";
    }
    if (!ctx.platform.registerHotkey(st.overlay, *hotkey))
        return "快捷键 " + hotkeyText(*hotkey) + " 已被其他程序占用，显示和隐藏全部窗口的快捷键不可用。";
    return std::nullopt;
}

void toggleAllWindows(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    HotkeyHiding& hiding = st.hiddenByHotkey;
    if (hiding.active) {
        for (const platform::WindowRef w : hiding.windows)
            if (p.exists(w)) p.showWithoutActivating(w);
        hiding.windows.clear();
        hiding.active = false;
        return;
    }
    const std::vector<platform::WindowRef> windows = programWindows(st);
    // A message box is waiting for its answer: its owner stays in view.
    for (const platform::WindowRef w : windows)
        if (p.exists(w) && !p.isEnabled(w)) return;
    for (const platform::WindowRef w : windows) {
        if (!p.exists(w) || !p.isVisible(w)) continue;
        hiding.windows.push_back(w);
        p.setVisible(w, false);
    }
    hiding.active = true;
}

void registerHotkeyHandlers(HandlerRegistry& handlers) {
    handlers.add({
        {ui::names::overlay::window, ui::EventKind::HotkeyPressed, &toggleAllWindows},
    });
}

}  // namespace pallo
