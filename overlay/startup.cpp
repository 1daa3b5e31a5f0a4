#include "overlay/startup.h"

#include "display/predecode.h"
#include "display/rows.h"
#include "model/loaders.h"
#include "model/pack.h"
#include "model/text.h"
#include "overlay/hotkey.h"
#include "platform/files.h"
#include "program/handlers.h"
#include "program/row_windows.h"
#include "ui/layout.h"
#include "ui/names.h"

namespace pallo {

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir + files::separator() + name;
}

std::optional<std::string> loadWindowSettings(Context& ctx) {
    ProgramState& st = ctx.state;
    const std::string runDir = ctx.platform.runDirectory();
    st.CfgPath = joinPath(runDir, "Cfg.ini");
    const bool found = files::exists(st.CfgPath);

    // Without Cfg.ini everything that does not come from the file is still
    // set up, with the settings an empty file gives, so the program works
    // and the first write creates the file.
    const PicturePlaces pictures = PicturePlaces::ofPack(runDir);
    st.ImageRoot = pictures.imageRoot();
    // A write killed half-way leaves its temporary file: ours are removed.
    files::removeLeftoverTemps(st.CfgPath);

    st.settings = readWindowSettings(st.store.snapshot(st.CfgPath), ctx.platform.monitors());

    // A reload starts the rows afresh: the windows of the old records go
    // with them, or a later rebuild would leave them alive beside the new.
    for (auto& row : st.rows) {
        for (const WindowInfo& old : row) ctx.platform.destroy(old.self);
        row.clear();
    }

    if (!found) return st.CfgPath + " 配置文件不存在。";
    return std::nullopt;
}

void placeRows(Context& ctx) {
    // The rows take the overlay's scale and keep inside its monitor.
    const RowFrame frame = rowFrame(ctx.platform, ctx.state);
    for (int i = 1; i <= ui::layout::kFollowingWindows; ++i) {
        for (const RowIndex r : {kFirstRow, kSecondRow, kThirdRow}) {
            const RowWindowList& row = ctx.state.rows[r];
            if (static_cast<int>(row.size()) < i) continue;
            const NodePlace at = nodePlace(frame, r, i);
            ctx.platform.move(row[static_cast<std::size_t>(i - 1)].self, at.left, at.top);
        }
    }
}

void onOverlayMoved(Context& ctx) {
    ctx.state.settings.X = ctx.platform.left(ctx.state.overlay);
    ctx.state.settings.Y = ctx.platform.top(ctx.state.overlay);
    placeRows(ctx);
}

void startUp(Context& ctx, platform::WindowRef overlay) {
    ProgramState& st = ctx.state;
    platform::Platform& p = ctx.platform;
    st.overlay = overlay;
    const auto tell = [&](const std::optional<std::string>& refusal) {
        if (refusal) p.messageBox(overlay, *refusal, "错误", platform::MessageButtons::Ok);
    };

    tell(loadWindowSettings(ctx));

    const WindowSettings& settings = st.settings;
    p.setScrollPos(platform::ControlRef{overlay, ui::names::overlay::translucencyBar}, settings.S);
    setTranslucency(p, st.overlay, settings.S);
    // One move sets left and top together, so the rows never follow a
    // half-moved overlay; the overlay starts as the bare 70 x 70 picture.
    p.move(overlay, settings.X, settings.Y);
    p.resize(overlay, ui::layout::kSquare, ui::layout::kSquare);
    // Each check box of the panel shows its setting; the saved on-top state
    // applies to the overlay and its rows.
    for (const ConfigKey& k : kConfigKeys)
        if (k.box) p.setChecked(platform::ControlRef{overlay, k.box}, settings.*k.field == 1);
    const bool onTop = settings.T == 1;
    p.setTopMost(overlay, onTop);
    // The overlay shows as soon as it stands at its place; its rows follow
    // within this same call.
    p.setVisible(overlay, true);
    // The tip's window is made with the first tip, after the overlay shows.
    p.setTooltip(platform::ControlRef{overlay, ui::names::overlay::picture}, kOverlayTip);

    // A node with a Link no loader knows loads with blank children, untold.
    loadMainNodes(st.store, st.CfgPath, st.nodeTable);
    loadCatalog(st.store, st.CfgPath, "Item", st.itemTable);
    loadCatalog(st.store, st.CfgPath, "Hero", st.heroTable);

    buildFirstRow(ctx);
    for (const auto& info : st.rows[kFirstRow]) p.setTopMost(info.self, onTop);
    // The overlay is drawn before the rows are built, so it appears at once.
    p.waitProcessingEvents(1);
    // Every row starts hidden: the second and third until a menu press, each
    // menu window until what a press on it opens is ready (work done ahead
    // in idle time).
    buildSecondRow(ctx);
    buildThirdRow(ctx);
    for (const RowIndex r : {kSecondRow, kThirdRow})
        for (const auto& info : st.rows[r]) p.setTopMost(info.self, onTop);
    startPredecode(ctx);
    // A box waits until the menu is on screen, so that the menu can be used
    // while the box waits for its answer.
    if (const auto refusal = registerConfiguredHotkey(ctx)) {
        showMenuNow(ctx);
        tell(refusal);
    }
}

void registerStartupHandlers(HandlerRegistry& handlers) {
    namespace o = ui::names::overlay;
    handlers.add({
        {o::window, ui::EventKind::Created, &startUp},
        {o::window, ui::EventKind::PositionChanged, &onOverlayMoved},
    });
}

}  // namespace pallo
