// The application: owns the program-wide state, receives every event of
// every window and calls the function a feature bound to it.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "program/handlers.h"
#include "program/state.h"

namespace pallo {

// Every feature's bindings, each feature adding its own table.
HandlerRegistry programHandlers();

class App final : public platform::EventSink {
public:
    explicit App(platform::Platform& platform);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Program entry after the state exists: loads the overlay window, whose
    // creation runs the start-up sequence.
    void start();
    // start(), the event loop, then the clean-up.
    int run();
    // Frees every window and the program-wide state; runs once.
    void cleanUp();
    bool cleanedUp() const { return cleanedUp_; }

    void handle(const platform::Event& event) override;
    bool isBound(const std::string& design, const std::string& control, ui::EventKind kind) const override;

    ProgramState& state() { return *state_; }
    Context& context() { return context_; }
    HandlerRegistry& handlers() { return handlers_; }

private:
    platform::Platform& platform_;
    std::unique_ptr<ProgramState> state_;
    Context context_;
    HandlerRegistry handlers_;
    int depth_ = 0;
    bool cleanedUp_ = false;
};

}  // namespace pallo
