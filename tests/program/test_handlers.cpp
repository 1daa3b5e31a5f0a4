// The wiring of events to handlers: every event the table binds reaches a
// handler some feature registers, and no feature registers a handler that
// nothing can call.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "ui/events.h"
#include "ui/handlers.h"

namespace pallo {
namespace {

TEST(Handlers, EveryBindingResolvesAndEveryRegisteredHandlerIsBound) {
    platform::headless::HeadlessPlatform platform{"/run"};
    App app(platform);
    const HandlerRegistry& registry = app.handlers();

    std::set<std::string> bound;
    for (const ui::Binding& b : ui::eventTable()) {
        bound.insert(b.handler);
        EXPECT_NE(registry.find(b.handler), nullptr)
            << b.window << "/" << b.control << "/" << ui::eventKindName(b.event) << " calls " << b.handler
            << ", which no feature registers";
    }
    // The frame's close button of a window that binds none reaches this one.
    bound.insert(std::string(ui::handler::closedByUser.view()));
    for (const std::string& name : registry.names())
        EXPECT_TRUE(bound.count(name)) << name << " is registered but no event calls it";
    EXPECT_TRUE(registry.missing().empty());
}

}  // namespace
}  // namespace pallo
