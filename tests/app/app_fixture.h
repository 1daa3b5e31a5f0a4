// A program started on the headless platform in a temporary run directory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

namespace pallo::testing {

class AppFixture : public ::testing::Test {
protected:
    TempDir run;
    headless::HeadlessPlatform platform{run.path()};
    std::unique_ptr<App> app;

    std::string cfgPath() const { return run.file("Cfg.ini"); }
    void writeCfg(const std::string& text) { writeFile(cfgPath(), text); }
    std::string readCfg() const { return readFile(cfgPath()); }

    void start() {
        app = std::make_unique<App>(platform);
        app->start();
    }
    ProgramState& state() { return app->state(); }
    platform::WindowRef overlay() { return state().overlay; }
    platform::ControlRef overlayControl(const std::string& name) { return {overlay(), name}; }
};

}  // namespace pallo::testing
