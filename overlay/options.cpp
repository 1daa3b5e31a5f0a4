#include "overlay/options.h"

#include <algorithm>

#include "display/rows.h"
#include "editors/node_editor.h"
#include "overlay/donation.h"
#include "overlay/startup.h"
#include "program/editor_window.h"
#include "program/handlers.h"
#include "program/row_windows.h"
#include "model/text.h"
#include "ui/designs.h"
#include "ui/layout.h"
#include "ui/names.h"

namespace pallo {

namespace {

using platform::ControlRef;
using platform::WindowRef;

void setLabelColour(Context& ctx, const char* label, std::int32_t colour) {
    const ControlRef c = kOverlayWindow.control(ctx, label);
    if (ctx.platform.hasControl(c)) ctx.platform.setTextColour(c, colour);
}

bool anyEditorOpen(const Context& ctx) {
    return kNodeEditor.isOpen(ctx) || kCatalogEditor.isOpen(ctx) || kAssociationWindow.isOpen(ctx);
}

bool isEditorDesign(const std::string& design) {
    return design == ui::nodeEditorWindow().name || design == ui::catalogEditorWindow().name ||
           design == ui::associationWindow().name;
}

}  // namespace

std::vector<std::string> writeWindowSettings(ConfigStore& store, const std::string& cfgPath,
                                             const WindowSettingTexts& values) {
    std::vector<std::string> failures;
    for (const ConfigKey& k : kConfigKeys) {
        const auto value = values.find(k.key);
        if (!k.writeFailure || value == values.end()) continue;
        if (!store.write(cfgPath, kConfigSection, k.key, value->second)) failures.emplace_back(k.writeFailure);
    }
    return failures;
}

std::optional<std::string> saveWindowSettings(ConfigStore& store, const std::string& cfgPath,
                                              const WindowSettingTexts& values) {
    const std::vector<std::string> failures = writeWindowSettings(store, cfgPath, values);
    if (failures.empty()) return std::nullopt;
    std::string text;
    for (const std::string& f : failures) text += f + "\r\n";
    return text;
}

void openOptions(Context& ctx) {
    platform::Platform& p = ctx.platform;
    const WindowRef overlay = ctx.state.overlay;
    const int width = p.width(overlay);
    if (p.height(overlay) != width) return;
    // The first windows of rows two and three are owned by the overlay and
    // so stand above the panel: they go, and the next menu press brings
    // them back.
    hideDetailRows(ctx);
    const int height = truncate(width * static_cast<double>(ui::layout::kPanelSquares));
    // Near the monitor's bottom the overlay rises so the panel ends on it.
    const RowFrame frame = rowFrame(p, ctx.state);
    const int lift = panelLift(frame.overlay, platform::scaleToDpi(height, frame.dpi), frame.monitor);
    if (lift > 0) p.move(overlay, p.left(overlay), p.top(overlay) - lift);
    ctx.state.panelLift = lift;
    p.resize(overlay, width, height);
    p.setVisible(kOverlayWindow.control(ctx, ui::names::overlay::collapseLabel), true);
    // The tip, shown since the pointer rests on the picture, would stand
    // over the panel's controls: it goes while the panel is open.
    p.setTooltip(kOverlayWindow.control(ctx, ui::names::overlay::picture), "");
}

void collapseOptions(Context& ctx) {
    platform::Platform& p = ctx.platform;
    const ControlRef label = kOverlayWindow.control(ctx, ui::names::overlay::collapseLabel);
    if (!p.isVisible(label)) return;
    p.setVisible(label, false);
    const WindowRef overlay = ctx.state.overlay;
    p.resize(overlay, p.width(overlay), p.width(overlay));
    // Back down by what the panel raised it, but not past the monitor's
    // bottom should the open panel have been dragged lower.
    if (ctx.state.panelLift > 0) {
        const RowFrame frame = rowFrame(p, ctx.state);
        int top = p.top(overlay) + ctx.state.panelLift;
        if (frame.monitor.height > 0)
            top = std::min(top, std::max(p.top(overlay),
                                         frame.monitor.top + frame.monitor.height - frame.overlay.height));
        p.move(overlay, p.left(overlay), top);
        ctx.state.panelLift = 0;
    }
    p.setTooltip(kOverlayWindow.control(ctx, ui::names::overlay::picture), kOverlayTip);
}

void translucencyChanged(Context& ctx) {
    platform::Platform& p = ctx.platform;
    WindowSettings& settings = ctx.state.settings;
    settings.S = p.scrollPos(kOverlayWindow.control(ctx, ui::names::overlay::translucencyBar));
    setTranslucency(p, ctx.state.overlay, settings.S);
    forLeadingRowWindows(ctx.state.rows, [&](const WindowInfo& info) { setTranslucency(p, info.self, settings.S); });
}

void onTopClicked(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    const ControlRef box = kOverlayWindow.control(ctx, ui::names::overlay::onTopBox);
    p.setEnabled(box, false);
    const bool onTop = p.isChecked(box);
    st.settings.T = onTop ? 1 : 0;
    p.setTopMost(st.overlay, onTop);
    if (p.exists(st.nodeEditor)) p.setTopMost(st.nodeEditor, onTop);
    forLeadingRowWindows(st.rows, [&](const WindowInfo& info) { p.setTopMost(info.self, onTop); });
    // Other handlers run during the wait; one of them may end the program,
    // and then the windows are about to go: touch nothing more.
    if (!kOverlayWindow.wait(ctx, 333)) return;
    p.setEnabled(box, true);
}

void toggleEditors(Context& ctx) {
    if (anyEditorOpen(ctx)) {
        kNodeEditor.close(ctx);
        kCatalogEditor.close(ctx);
        kAssociationWindow.close(ctx);
        setLabelColour(ctx, ui::names::overlay::editorsLabel, kLabelBlack);
        return;
    }
    openNodeEditor(ctx);
    setLabelColour(ctx, ui::names::overlay::editorsLabel, kLabelGreen);
}

void exitProgram(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (p.exitRequested()) return;
    setLabelColour(ctx, ui::names::overlay::exitLabel, kLabelGreen);
    if (p.messageBox(st.overlay, "是否退出本程序？", "退出", platform::MessageButtons::YesNo) !=
        platform::Answer::Yes) {
        setLabelColour(ctx, ui::names::overlay::exitLabel, kLabelBlack);
        return;
    }
    // The settings as the handlers kept them: where the overlay stands now,
    // whether it is on top, its translucency. W and H are never written;
    // they change only by editing Cfg.ini.
    const WindowSettingTexts values = settingsSavedAtExit(st.settings);
    // A failed save is shown before the program ends: the user would
    // otherwise find the overlay back at its old place with no word why.
    if (const auto failure = saveWindowSettings(st.store, st.CfgPath, values))
        p.messageBox(st.overlay, *failure, "错误", platform::MessageButtons::Ok);
    p.requestExit();
}

void closedByUser(Context& ctx, WindowRef window) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (window == st.overlay) {
        // Alt+F4 on the overlay is the same question as "退出程序".
        exitProgram(ctx);
        return;
    }
    if (window == st.donationWindow || p.designName(window) == ui::donationWindow().name) {
        closeDonationWindow(ctx, window);
        return;
    }
    if (!isEditorDesign(p.designName(window))) return;  // node windows stay
    p.destroy(window);
    if (!anyEditorOpen(ctx)) setLabelColour(ctx, ui::names::overlay::editorsLabel, kLabelBlack);
}

void registerOptionsHandlers(HandlerRegistry& handlers) {
    namespace o = ui::names::overlay;
    using enum ui::EventKind;
    handlers.add({
        {o::window, o::picture, RightUp, &pallo::openOptions},
        {o::window, o::collapseLabel, LeftUp, &pallo::collapseOptions},
        {o::window, o::translucencyBar, ScrollChanged, &pallo::translucencyChanged},
        {o::window, o::onTopBox, Clicked, &pallo::onTopClicked},
        {o::window, o::editorsLabel, LeftUp, &pallo::toggleEditors},
        {o::window, o::exitLabel, LeftUp, &pallo::exitProgram},
        // The frame's close button is the same for every window: one
        // function decides what closing means for each kind of window.
        {kAnyWindow, ClosedByUser, &pallo::closedByUser},
    });
}

}  // namespace pallo
