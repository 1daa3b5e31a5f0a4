#include "overlay/startup.h"

#include "display/predecode.h"
#include "display/rows.h"
#include "model/loaders.h"
#include "model/text.h"
#include "overlay/hotkey.h"
#include "platform/files.h"
#include "program/handlers.h"
#include "program/row_windows.h"
#include "ui/handlers.h"
#include "ui/names.h"

namespace pallo {

namespace {

std::int32_t readSetting(const ConfigStore::Snapshot& ini, const char* key, const char* fallback) {
    return toInt(ini.read("Config", key, fallback));
}

}  // namespace

bool onSecondaryMonitor(std::int32_t x, std::int32_t y, const std::vector<platform::Monitor>& monitors) {
    for (const platform::Monitor& m : monitors) {
        if (m.primary) continue;
        // In 64 bits: a saved position can be anything an int holds.
        const std::int64_t left = x, top = y, size = platform::scaleToDpi(kOverlaySize, m.dpi);
        if (left >= m.left && top >= m.top && left + size <= std::int64_t{m.left} + m.width &&
            top + size <= std::int64_t{m.top} + m.height)
            return true;
    }
    return false;
}

WindowSettings readWindowSettings(const ConfigStore::Snapshot& ini, const std::vector<platform::Monitor>& monitors) {
    WindowSettings s;
    s.X = readSetting(ini, "X", "0");
    s.Y = readSetting(ini, "Y", "0");
    // The overlay keeps its place wherever its square, at the monitor's
    // scale, lies wholly on a monitor; on the primary one it keeps 100 pixels
    // from the top-left corner. Elsewhere each coordinate falls back to 100.
    if (!onSecondaryMonitor(s.X, s.Y, monitors)) {
        const platform::Monitor primary = monitors.empty() ? platform::Monitor{} : monitors.front();
        const int size = platform::scaleToDpi(kOverlaySize, primary.dpi);
        if (s.X < 100 || s.X > primary.width - size) s.X = 100;
        if (s.Y < 100 || s.Y > primary.height - size) s.Y = 100;
    }
    s.W = readSetting(ini, "W", "0");
    if (s.W < 70 || s.W > 200) s.W = 70;
    s.H = readSetting(ini, "H", "0");
    if (s.H < 70 || s.H > 200) s.H = 70;
    if (s.W > s.H) s.W = s.H;
    else if (s.W < s.H) s.H = s.W;
    s.T = readSetting(ini, "T", "0") == 1 ? 1 : 0;
    s.S = readSetting(ini, "S", "150");
    if (s.S < 15 || s.S > 255) s.S = 150;
    return s;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir + files::separator() + name;
}

bool loadWindowSettings(Context& ctx, std::string& message, bool report) {
    ProgramState& st = ctx.state;
    const std::string runDir = ctx.platform.runDirectory();
    st.CfgPath = joinPath(runDir, "Cfg.ini");
    const bool found = files::exists(st.CfgPath);

    // Without Cfg.ini everything that does not come from the file is still
    // set up, with the settings an empty file gives, so the program works
    // and the first write creates the file.
    st.ImageRoot = joinPath(runDir, "Img") + files::separator();
    st.MenuImageDir = joinPath(joinPath(runDir, "Img"), "Menu") + files::separator();

    st.OverlayInfo = WindowInfo{};
    st.OverlayInfo.settings() = readWindowSettings(st.store.snapshot(st.CfgPath), ctx.platform.monitors());

    // A reload starts the rows afresh: the windows of the old records go
    // with them, or a later rebuild would leave them alive beside the new.
    for (auto& row : st.rows) {
        for (const WindowInfo& old : row) ctx.platform.destroy(old.self);
        row.clear();
    }

    st.OverlayInfo.self = st.overlay;
    st.OverlayInfo.picture = platform::ControlRef{st.overlay, ui::names::overlay::picture};
    st.OverlayInfo.caption = platform::ControlRef{st.overlay, ui::names::overlay::collapseLabel};

    if (!found) {
        if (report) message = st.CfgPath + " 配置文件不存在。";
        return false;
    }
    if (report) message = "初始化完毕。";
    return true;
}

void placeRows(Context& ctx) {
    const WindowInfo& o = ctx.state.OverlayInfo;
    // The rows take the overlay's scale: they stand on its monitor.
    const int dpi = ctx.platform.dpi(ctx.state.overlay);
    for (int i = 1; i <= 15; ++i) {
        for (const RowIndex r : {kFirstRow, kSecondRow, kThirdRow}) {
            const RowWindowList& row = ctx.state.rows[r];
            if (static_cast<int>(row.size()) < i) continue;
            const NodePlace at = nodePlace(r, i, o, dpi);
            ctx.platform.move(row[static_cast<std::size_t>(i - 1)].self, at.left, at.top);
        }
    }
}

void onOverlayMoved(Context& ctx) {
    ctx.state.OverlayInfo.X = ctx.platform.left(ctx.state.overlay);
    ctx.state.OverlayInfo.Y = ctx.platform.top(ctx.state.overlay);
    placeRows(ctx);
}

void startUp(Context& ctx, platform::WindowRef overlay) {
    ProgramState& st = ctx.state;
    platform::Platform& p = ctx.platform;
    st.overlay = overlay;
    std::string message;
    const auto check = [&](bool ok) {
        if (!ok) p.messageBox(overlay, message, "错误", platform::MessageButtons::Ok);
    };

    check(loadWindowSettings(ctx, message, true));

    p.setScrollPos(platform::ControlRef{overlay, ui::names::overlay::translucencyBar}, st.OverlayInfo.S);
    setTranslucency(p, st.overlay, st.OverlayInfo.S);
    // One move sets left and top together, so the rows never follow a
    // half-moved overlay; the overlay starts as the bare 70 x 70 picture.
    p.move(overlay, st.OverlayInfo.X, st.OverlayInfo.Y);
    p.resize(overlay, kOverlaySize, kOverlaySize);
    // The saved on-top state applies to the overlay, its rows and the check box.
    const bool onTop = st.OverlayInfo.T == 1;
    p.setChecked(platform::ControlRef{overlay, ui::names::overlay::onTopBox}, onTop);
    p.setTopMost(overlay, onTop);
    // The overlay shows as soon as it stands at its place; its rows follow
    // within this same call, so no input is handled before they exist.
    p.setVisible(overlay, true);
    // The tip's window is made with the first tip, after the overlay shows.
    p.setTooltip(st.OverlayInfo.picture, kOverlayTip);

    check(loadMainNodes(st.store, st.CfgPath, st.nodeTable, message, true));
    check(loadCatalog(st.store, st.CfgPath, "Item", st.itemTable, message, true));
    check(loadCatalog(st.store, st.CfgPath, "Hero", st.heroTable, message, true));

    check(buildFirstRow(ctx, message, true));
    for (const auto& info : st.rows[kFirstRow]) p.setTopMost(info.self, onTop);
    // The second and third rows stay hidden until a menu press.
    check(buildSecondRow(ctx, message, true));
    check(buildThirdRow(ctx, message, true));
    for (const RowIndex r : {kSecondRow, kThirdRow})
        for (const auto& info : st.rows[r]) p.setTopMost(info.self, onTop);

    startPredecode(ctx);
    // Last: while its box waits for an answer, a menu press already shows
    // the topic's rows.
    check(registerConfiguredHotkey(ctx, message));
}

void registerStartupHandlers(HandlerRegistry& handlers) {
    handlers.add({
        {ui::handler::startUp, &startUp},
        {ui::handler::onOverlayMoved, &onOverlayMoved},
    });
}

}  // namespace pallo
