#include "app/app.h"

#include <iostream>

#include "editors/association_editor.h"
#include "editors/catalog_editor.h"
#include "editors/node_editor.h"
#include "editors/pack_export.h"
#include "overlay/donation.h"
#include "overlay/hotkey.h"
#include "overlay/options.h"
#include "overlay/startup.h"
#include "display/rows.h"
#include "ui/designs.h"

namespace pallo {

HandlerRegistry programHandlers() {
    HandlerRegistry handlers;
    registerStartupHandlers(handlers);
    registerRowHandlers(handlers);
    registerOptionsHandlers(handlers);
    registerDonationHandlers(handlers);
    registerHotkeyHandlers(handlers);
    registerEditorHandlers(handlers);
    registerCatalogEditorHandlers(handlers);
    registerAssociationHandlers(handlers);
    registerPackExportHandlers(handlers);
    return handlers;
}

App::App(platform::Platform& platform)
    : platform_(platform),
      state_(std::make_unique<ProgramState>()),
      context_{platform, *state_},
      handlers_(programHandlers()) {
    platform_.setEventSink(this);
}

App::~App() {
    cleanUp();
    platform_.setEventSink(nullptr);
}

void App::start() {
#ifndef NDEBUG
    for (const auto& binding : handlers_.unresolved())
        std::cerr << "pallo: bound to no control of the designs: " << binding << '\n';
#endif
    state_->overlay = platform_.createWindow(ui::overlayWindow(), platform::WindowRef{});
}

int App::run() {
    start();
    const int code = platform_.run();
    cleanUp();
    return code;
}

void App::cleanUp() {
    if (cleanedUp_) return;
    cleanedUp_ = true;
    // The idle work reads the state that goes now.
    platform_.setIdleTask(nullptr);
    // Destroying the overlay destroys every window it owns.
    for (const auto& row : state_->rows)
        for (const auto& info : row) platform_.destroy(info.self);
    platform_.destroy(state_->overlay);
    *state_ = ProgramState{};
}

void App::handle(const platform::Event& event) {
    if (cleanedUp_) return;
    const Call* handler = handlers_.find(event);
    if (!handler) return;
    ++depth_;
    (*handler)(context_, event);
    --depth_;
    // Ending the program is a request: the clean-up runs once the outermost
    // handler has returned, never under one that is still running.
    if (depth_ == 0 && platform_.exitRequested()) cleanUp();
}

bool App::isBound(const std::string& design, const std::string& control, ui::EventKind kind) const {
    return handlers_.isBound(design, control, kind);
}

}  // namespace pallo
