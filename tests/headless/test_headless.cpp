// What only the headless platform has: its test driver's environment
// (queued actions, message-box answers and log) and the inspection of its
// windows. The rules both platforms share are in tests/platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/design_builder.h"
#include "ui/designs.h"

namespace pallo::platform::headless {
namespace {

using platform::Event;
using ui::ControlKind;
using ui::EventKind;

// Records every event; binds whatever the test says is bound.
struct Recorder : platform::EventSink {
    std::vector<Event> events;
    std::vector<std::string> bound;  // "control/kind"
    std::function<void(const Event&)> onEvent;

    void handle(const Event& e) override {
        events.push_back(e);
        if (onEvent) onEvent(e);
    }
    bool isBound(const std::string&, const std::string& control, EventKind kind) const override {
        const std::string key = control + "/" + ui::eventKindName(kind);
        for (const auto& b : bound)
            if (b == key) return true;
        return false;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : events) out.push_back(e.control + "/" + ui::eventKindName(e.kind));
        return out;
    }
};

const ui::WindowDesign& testDesign() {
    static const ui::WindowDesign design = [] {
        pallo::testing::DesignBuilder b("TestWindow", 10, 20, 300, 200);
        // Every control 60 x 20 at the window's (or its container's) corner.
        const auto add = [&b](ControlKind kind, const char* name, const char* container = "") -> ui::ControlDesign& {
            return b.add(kind, name, 0, 0, 60, 20, container);
        };
        add(ControlKind::PictureBox, "pic");
        add(ControlKind::Label, "caption", "pic");
        add(ControlKind::Label, "action", "pic");
        add(ControlKind::Button, "button");
        add(ControlKind::CheckBox, "check");
        add(ControlKind::Combo, "combo").items = {{"none", 0}, {"one", 1}, {"two", 2}};
        add(ControlKind::Edit, "edit");
        add(ControlKind::Edit, "number").integerInput = true;
        add(ControlKind::HScrollBar, "bar").scroll = {15, 255, 15, 15, 105};
        const std::vector<ui::ListColumn> columns{{"ID", 24}, {"名称", 64}};
        add(ControlKind::ListView, "list").columns = columns;
        auto& multi = add(ControlKind::ListView, "multi");
        multi.columns = columns;
        multi.multiSelect = true;
        return b.design();
    }();
    return design;
}

class Headless : public ::testing::Test {
protected:
    HeadlessPlatform p{"/run"};
    Recorder sink;
    platform::WindowRef w;

    void SetUp() override {
        p.setEventSink(&sink);
        w = p.createWindow(testDesign(), {});
        p.setVisible(w, true);
        sink.events.clear();
    }
    platform::ControlRef c(const std::string& name) const { return {w, name}; }
};

TEST_F(Headless, WindowsComeUpHiddenAtTheirDesignPlaceAndFireCreatedOnce) {
    Recorder fresh;
    p.setEventSink(&fresh);
    const auto x = p.createWindow(testDesign(), w);
    EXPECT_FALSE(p.isVisible(x));
    EXPECT_EQ(p.left(x), 10);
    EXPECT_EQ(p.height(x), 200);
    EXPECT_EQ(p.owner(x), w);
    EXPECT_EQ(fresh.names(), std::vector<std::string>{"/Created"});
    // Every real design builds, hidden.
    for (const ui::WindowDesign* d : ui::allDesigns()) {
        const auto y = p.createWindow(*d, {});
        EXPECT_FALSE(p.isVisible(y)) << d->name;
        for (const auto& ctl : d->controls) EXPECT_TRUE(p.hasControl({y, ctl.name})) << d->name << ctl.name;
    }
}

TEST_F(Headless, WaitRunsQueuedActionsAndStopsOnExit) {
    std::vector<int> ran;
    p.queueDuringWait([&] { ran.push_back(1); });
    p.queueDuringWait([&] {
        ran.push_back(2);
        p.requestExit();
    });
    p.queueDuringWait([&] { ran.push_back(3); });
    const auto before = p.tickMs();
    p.waitProcessingEvents(333);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(p.tickMs(), before + 333);
    p.waitProcessingEvents(0);
    EXPECT_EQ(p.pendingWaitActions(), 1u);
}

TEST_F(Headless, TheIdleTaskRunsOneCallAtATimeUntilItIsDone) {
    EXPECT_FALSE(p.idle()) << "no task";
    int calls = 0;
    p.setIdleTask([&] { return ++calls < 3; });
    EXPECT_TRUE(p.idle());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p.idleUntilDone(), 2);
    EXPECT_FALSE(p.hasIdleTask());

    // A task that hands over to another while it ends leaves the new one.
    int second = 0;
    p.setIdleTask([&] {
        p.setIdleTask([&] { return ++second < 2; });
        return false;
    });
    EXPECT_EQ(p.idleUntilDone(), 3);
    EXPECT_EQ(second, 2);

    p.setIdleTask([] { return true; });
    p.requestExit();
    EXPECT_FALSE(p.idle()) << "nothing runs once the program ends";
}

TEST_F(Headless, DestroyTakesTheOwnedWindowsAlong) {
    const auto owned = p.createWindow(testDesign(), w);
    const auto grandchild = p.createWindow(testDesign(), owned);
    p.destroy(w);
    EXPECT_FALSE(p.exists(owned));
    EXPECT_FALSE(p.exists(grandchild));
    EXPECT_EQ(p.nativeHandle(w), 0);
    p.setLayeredAlpha(w, 10);  // a destroyed window is ignored
}

TEST_F(Headless, MessageBoxesTakeQueuedAnswersAndAreLogged) {
    p.queueAnswer(platform::Answer::Yes);
    p.queueAnswer(platform::Answer::Yes);
    EXPECT_EQ(p.messageBox(w, "是否退出本程序？", "退出", platform::MessageButtons::YesNo), platform::Answer::Yes);
    EXPECT_EQ(p.messageBox(w, "text", "错误", platform::MessageButtons::Ok), platform::Answer::Ok);
    EXPECT_EQ(p.messageBox(w, "again", "确认", platform::MessageButtons::YesNo), platform::Answer::No);
    ASSERT_EQ(p.messageBoxes().size(), 3u);
    EXPECT_EQ(p.messageBoxes()[0].caption, "退出");
    EXPECT_EQ(p.messageBoxes()[1].answer, platform::Answer::Ok);
}

}  // namespace
}  // namespace pallo::platform::headless
