// A program started on the headless platform in a temporary run directory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"
#include "ui/design.h"

namespace pallo::testing {

// Fills each row with visible windows of a design of the test's own.
inline void fillRows(pallo::platform::headless::HeadlessPlatform& p, ProgramState& st, std::size_t perRow) {
    static const ui::WindowDesign design = [] {
        ui::WindowDesign d;
        d.name = "TestRowWindow";
        d.width = 70;
        d.height = 70;
        return d;
    }();
    for (auto& row : st.rows) {
        row.clear();
        for (std::size_t i = 0; i < perRow; ++i) {
            WindowInfo info;
            info.self = p.createWindow(design, st.overlay);
            p.setVisible(info.self, true);
            row.push_back(info);
        }
    }
}

// The only message box shown since the last clear: its text, caption, buttons
// and owner.
inline void expectOnlyBox(const platform::headless::HeadlessPlatform& p, platform::WindowRef owner,
                          const std::string& text, const std::string& caption,
                          platform::MessageButtons buttons = platform::MessageButtons::Ok) {
    ASSERT_EQ(p.messageBoxes().size(), 1u);
    const auto& box = p.messageBoxes().front();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_EQ(box.owner, owner);
}

class AppFixture : public ::testing::Test {
protected:
    TempDir run;
    pallo::platform::headless::HeadlessPlatform platform{run.path()};
    std::unique_ptr<App> app;

    std::string cfgPath() const { return run.file("Cfg.ini"); }
    void writeCfg(const std::string& text) { writeFile(cfgPath(), text); }
    std::string readCfg() const { return readFile(cfgPath()); }

    // Starts the program and waits, as a user does, until it is idle: every
    // menu window it shows is on screen.
    void start() {
        startUnsettled();
        platform.idleUntilDone();
    }
    // Starts the program and returns at once, its idle work not begun.
    void startUnsettled() {
        app = std::make_unique<App>(platform);
        app->start();
    }
    ProgramState& state() { return app->state(); }
    platform::WindowRef overlay() { return state().overlay; }
    platform::ControlRef overlayControl(const std::string& name) { return {overlay(), name}; }
};

}  // namespace pallo::testing
