// The demo content pack (examples/demo) shows what it is meant to show. The
// program only reads it here, so it runs on the pack in place.
#include <memory>
#include <string>

#include "app/app.h"
#include "display/detail.h"
#include "display/rows.h"
#include "platform/headless/headless_platform.h"
#include "gtest/gtest.h"

namespace pallo::testing {
namespace {

using platform::PictureSource;

class Demo : public ::testing::Test {
protected:
    pallo::platform::headless::HeadlessPlatform platform{PALLO_DEMO_DIR};
    std::unique_ptr<App> app;

    void SetUp() override {
        app = std::make_unique<App>(platform);
        app->start();
        platform.idleUntilDone();
    }
    const WindowInfo& win(RowIndex row, int p) { return app->state().rows[row].at(static_cast<std::size_t>(p - 1)); }
    int visibleCount(RowIndex row) {
        int n = 0;
        for (const auto& info : app->state().rows[row]) n += platform.isVisible(info.self) ? 1 : 0;
        return n;
    }
    void pressMenu(int p) { ASSERT_TRUE(platform.pressMouse(win(kFirstRow, p).picture, platform::MouseButton::Left)); }
    std::string caption(RowIndex row, int p) { return platform.text(win(row, p).caption); }
    bool shownFromFile(RowIndex row, int p) {
        return platform.picture(win(row, p).picture).kind == PictureSource::Kind::File;
    }
};

TEST_F(Demo, MenuShowsEveryTopic) {
    EXPECT_TRUE(platform.messageBoxes().empty());
    EXPECT_EQ(app->state().settings.S, 230);
    ASSERT_EQ(visibleCount(kFirstRow), 6);
    for (int p = 1; p <= 6; ++p) {
        EXPECT_EQ(win(kFirstRow, p).shows.mainIndex, p);
        EXPECT_TRUE(shownFromFile(kFirstRow, p)) << p;
        EXPECT_FALSE(caption(kFirstRow, p).empty());
    }
}

TEST_F(Demo, MapsUseTheThirdRow) {
    pressMenu(1);
    EXPECT_EQ(visibleCount(kSecondRow), 14);
    EXPECT_EQ(visibleCount(kThirdRow), 4);
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(shownFromFile(kThirdRow, p));
    EXPECT_NE(platform.tooltip(win(kSecondRow, 1).picture).find("\r\n"), std::string::npos);
}

TEST_F(Demo, GearOpensItemEntries) {
    pressMenu(2);
    ASSERT_TRUE(platform.clickMouse(win(kSecondRow, 1).picture));
    EXPECT_EQ(visibleCount(kThirdRow), 4);
    EXPECT_EQ(caption(kThirdRow, 1), "长剑");
    EXPECT_EQ(platform.tooltip(win(kThirdRow, 1).picture), "武器+长剑\r\n攻击+12\r\nAttack +12");  // the file's no-break space draws as a space
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(shownFromFile(kThirdRow, p));
    ASSERT_TRUE(platform.clickMouse(win(kSecondRow, 5).picture));  // every item
    EXPECT_EQ(visibleCount(kThirdRow), 12);
    EXPECT_TRUE(platform.messageBoxes().empty());
}

TEST_F(Demo, RosterStandsForHeroes) {
    pressMenu(3);
    ASSERT_EQ(visibleCount(kSecondRow), 8);
    EXPECT_EQ(caption(kSecondRow, 1), "骑士");
    EXPECT_EQ(caption(kSecondRow, 2), "Archer");
    for (int p = 1; p <= 8; ++p) EXPECT_TRUE(shownFromFile(kSecondRow, p)) << p;
}

TEST_F(Demo, TeamsOpenHeroEntries) {
    pressMenu(4);
    ASSERT_TRUE(platform.clickMouse(win(kSecondRow, 3).picture));
    EXPECT_EQ(visibleCount(kThirdRow), 4);
    EXPECT_EQ(platform.tooltip(win(kThirdRow, 1).picture), "近战坦克\r\nTank");
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(shownFromFile(kThirdRow, p));
}

}  // namespace
}  // namespace pallo::testing
