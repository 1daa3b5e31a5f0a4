#include <optional>
#include <string>
#include <vector>

#include "model/hotkey.h"
#include "support/app_fixture.h"
#include "ui/names.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using platform::ControlRef;
using platform::MouseButton;
using platform::WindowRef;

constexpr const char* kCfg =
    "[Config]\r\nX=200\r\nY=150\r\nHotkey=Ctrl+Alt+P\r\n"
    "[1]\r\nName=AB\r\nPic=menu.png\r\nTitle=A\r\n1=a.png|a|t|0\r\n2=b.png|b|t|0\r\n";

class Hotkey : public AppFixture {
protected:
    const platform::Hotkey key = *parseHotkey("Ctrl+Alt+P");

    std::vector<WindowRef> shown() const {
        std::vector<WindowRef> out;
        for (const WindowRef w : platform.windows())
            if (platform.isVisible(w)) out.push_back(w);
        return out;
    }
    bool click(const char* control, MouseButton b = MouseButton::Left) {
        return platform.clickMouse(overlayControl(control), b);
    }
};

TEST_F(Hotkey, HidesEveryShownWindowAndShowsThemAgainAsTheyWere) {
    writeCfg(kCfg);
    start();
    ASSERT_TRUE(platform.messageBoxes().empty());
    ASSERT_TRUE(click(ui::names::overlay::picture, MouseButton::Right));  // the panel
    ASSERT_TRUE(click(ui::names::overlay::editorsLabel));
    ASSERT_TRUE(click(ui::names::overlay::supportLabel));
    ASSERT_TRUE(platform.pressMouse({state().rows[kFirstRow][0].self, ui::names::node::picture}, MouseButton::Left));
    const std::vector<WindowRef> before = shown();
    // The overlay, one menu window, two children, the node editor, the donation window.
    ASSERT_EQ(before.size(), 6u);

    ASSERT_TRUE(platform.pressHotkey(key));
    EXPECT_EQ(shown(), std::vector<WindowRef>{});
    ASSERT_TRUE(platform.pressHotkey(key));
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(platform.height(overlay()), 210) << "the panel is still open";
    EXPECT_TRUE(platform.isVisible(overlayControl(ui::names::overlay::collapseLabel)));

    // And again, now that the panel is closed.
    ASSERT_TRUE(click(ui::names::overlay::collapseLabel));
    ASSERT_TRUE(platform.pressHotkey(key));
    ASSERT_TRUE(platform.pressHotkey(key));
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(platform.height(overlay()), 70);
}

TEST_F(Hotkey, WaitsWhileAMessageBoxWaitsForItsAnswer) {
    writeCfg(kCfg);
    start();
    ASSERT_TRUE(click(ui::names::overlay::picture, MouseButton::Right));
    std::size_t shownDuringBox = 0;
    platform.setMessageBoxAnswerer([&](const platform::headless::MessageBoxRecord&) {
        platform.pressHotkey(key);
        shownDuringBox = shown().size();
        return Answer::No;
    });
    ASSERT_TRUE(click(ui::names::overlay::exitLabel));
    EXPECT_EQ(shownDuringBox, 2u) << "the overlay and its menu window stay";
    ASSERT_TRUE(platform.pressHotkey(key));
    EXPECT_EQ(shown(), std::vector<WindowRef>{}) << "the next press hides them";
}

TEST_F(Hotkey, StartUpRegistersItOrSaysWhyNot) {
    const struct {
        const char* line;  // of section Config
        std::optional<const char*> registered;
        const char* message;  // "" for none
    } cases[] = {
        {"", std::nullopt, ""},
        {"Hotkey=", std::nullopt, ""},
        {"Hotkey=  ", std::nullopt, ""},
        {"Hotkey=alt+shift+f7", "Alt+Shift+F7", ""},
        {"Hotkey=Ctrl+P+Q", std::nullopt,
         "快捷键 Hotkey=Ctrl+P+Q 无法识别：请写成 Ctrl+Alt+P 这样，Ctrl、Alt、Shift、Win 至少一个，加一个字母、数字或 F1 到 F24。"},
        {"Hotkey=Ctrl+Alt+H", std::nullopt, "快捷键 Ctrl+Alt+H 已被其他程序占用，显示和隐藏全部窗口的快捷键不可用。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        app.reset();
        platform.clearMessageBoxes();
        platform.holdHotkeyElsewhere(*parseHotkey("Ctrl+Alt+H"));
        writeCfg(std::string("[Config]\r\n") + c.line + "\r\n");
        start();
        const std::optional<platform::Hotkey> registered = platform.registeredHotkey(overlay());
        EXPECT_EQ(registered ? std::optional<std::string>(hotkeyText(*registered)) : std::nullopt,
                  c.registered ? std::optional<std::string>(*c.registered) : std::nullopt);
        if (*c.message) expectOnlyBox(platform, overlay(), c.message, "错误");
        else EXPECT_TRUE(platform.messageBoxes().empty());
        EXPECT_TRUE(platform.isVisible(overlay())) << "start-up goes on";
    }
}

// The box about a bad hotkey waits for its answer with every row built: a
// menu press meanwhile shows the topic's children.
TEST_F(Hotkey, WhileItsBoxWaitsAMenuPressShowsTheChildren) {
    writeCfg("[Config]\r\nHotkey=Ctrl+P+Q\r\n[1]\r\nName=AB\r\nPic=menu.png\r\nTitle=A\r\n1=a.png|a|t|0\r\n2=b.png|b|t|0\r\n");
    std::size_t childrenShown = 0;
    platform.setMessageBoxAnswerer([&](const platform::headless::MessageBoxRecord&) {
        platform.pressMouse({state().rows[kFirstRow].at(0).self, ui::names::node::picture}, MouseButton::Left);
        for (const WindowInfo& info : state().rows[kSecondRow]) childrenShown += platform.isVisible(info.self);
        return Answer::Ok;
    });
    start();
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(childrenShown, 2u);
}

}  // namespace
}  // namespace pallo::testing
