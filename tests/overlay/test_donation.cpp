#include <functional>
#include <string>

#include "overlay/donation.h"
#include "overlay/options.h"
#include "overlay/startup.h"
#include "support/app_fixture.h"
#include "ui/names.h"

namespace pallo::testing {
namespace {

using platform::ControlRef;
using platform::MouseButton;
using platform::PictureSource;
using platform::WindowRef;

class Donation : public AppFixture {
protected:
    void SetUp() override {
        writeCfg("[Config]\r\nX=200\r\nY=150\r\nW=90\r\nH=90\r\n");
        start();
    }
    bool toggle() { return platform.clickMouse(overlayControl(ui::names::overlay::supportLabel), MouseButton::Left); }
    std::int32_t labelColour() { return platform.textColour(overlayControl(ui::names::overlay::supportLabel)); }
    std::size_t openCount() { return platform.windowsOfDesign("DonationWindow").size(); }
    WindowRef window() {
        const auto all = platform.windowsOfDesign("DonationWindow");
        return all.empty() ? WindowRef{} : all.front();
    }
};

TEST_F(Donation, OpensBesideTheOverlayWithItsPicturesOnTop) {
    // Whatever the overlay shows is what the window shows.
    platform.setPicture(overlayControl(ui::names::overlay::picture), PictureSource::file(run.file("mine.png")));
    ASSERT_TRUE(platform.dragWindow(overlay(), 300, 250));
    ASSERT_TRUE(toggle());

    const WindowRef w = window();
    ASSERT_TRUE(platform.exists(w));
    EXPECT_EQ(state().donationWindow, w);
    EXPECT_EQ(platform.owner(w), overlay());
    EXPECT_TRUE(platform.isVisible(w));
    EXPECT_TRUE(platform.isTopMost(w));
    EXPECT_EQ(platform.left(w), 391);
    EXPECT_EQ(platform.top(w), 341);
    EXPECT_EQ(platform.picture({w, "图片框1"}), PictureSource::file(run.file("mine.png")));
    EXPECT_EQ(platform.picture({w, "图片框2"}), PictureSource::builtIn(assets::Picture::QrWeChat));
    EXPECT_EQ(platform.picture({w, "图片框3"}), PictureSource::builtIn(assets::Picture::QrAlipay));
    EXPECT_NE(platform.shownPicture({w, "图片框2"}), nullptr);
    EXPECT_EQ(labelColour(), kLabelGreen);
}

TEST_F(Donation, TheLabelIsGreenExactlyWhileTheWindowExists) {
    // Each way of closing, then the label opens it again.
    const struct {
        const char* name;
        std::function<bool()> close;
    } ways[] = {
        {"支持作者", [this] { return toggle(); }},
        {"关闭", [this] { return platform.click({window(), "按钮1"}); }},
        {"frame", [this] { return platform.closeByUser(window()); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(toggle());
        EXPECT_EQ(openCount(), 1u);
        EXPECT_EQ(labelColour(), kLabelGreen);

        ASSERT_TRUE(way.close());
        EXPECT_EQ(openCount(), 0u);
        EXPECT_FALSE(platform.exists(state().donationWindow));
        EXPECT_EQ(labelColour(), kLabelBlack);
        EXPECT_TRUE(platform.messageBoxes().empty());
    }
}

}  // namespace
}  // namespace pallo::testing
