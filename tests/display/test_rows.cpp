#include <ostream>
#include <string>
#include <vector>

#include "display/predecode.h"
#include "display_fixture.h"
#include "program/row_windows.h"
#include "ui/names.h"

namespace pallo::testing {
namespace {

using platform::MouseButton;
using platform::PictureSource;

// --- which main nodes make the menu --------------------------------------------

struct MenuCase {
    const char* name;
    const char* pic;
    bool taken;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << "Name=\"" << c.name << "\" Pic=\"" << c.pic << '"'; }

class MenuRule : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuRule, NameAndPictureLengthsDecide) {
    EXPECT_EQ(takenIntoMenu(GetParam().name, GetParam().pic), GetParam().taken)
        << "Name=" << GetParam().name << " Pic=" << GetParam().pic;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, MenuRule,
    ::testing::Values(MenuCase{"A", "a.png", false},            // one byte
                      MenuCase{"AB", "a.png", true},
                      MenuCase{"地", "a.png", true},               // a Chinese character counts 2
                      MenuCase{"A ", "a.png", false},             // blanks do not count
                      MenuCase{"A\xE3\x80\x80", "a.png", false},  // nor does the full-width space
                      MenuCase{"AB", "a.b", false},               // three bytes
                      MenuCase{"AB", "图.", false},               // 2 + 1
                      MenuCase{"AB", "图a.", true},               // 2 + 1 + 1
                      MenuCase{"AB", "a . b", false},
                      MenuCase{"AB", "   ", false},
                      MenuCase{"  ", "a.png", false},
                      MenuCase{"", "", false}));

// --- the menu row ------------------------------------------------------------------

using MenuRow = DisplayFixture;

TEST_F(MenuRow, SkippedSectionsLeaveNoGap) {
    writePicture("Menu", "four.png");
    startWith(sectionText({.section = 1, .name = "One", .title = "First", .pic = "one.png"}) +
              sectionText({.section = 2, .name = "Two", .title = "第 二", .pic = "two.png"}) +
              sectionText({.section = 3, .name = "T", .title = "Skipped", .pic = "three.png"}) +
              sectionText({.section = 4, .name = "Four", .title = "Fourth", .pic = "four.png",
                           .children = numberedChildren(2)}));

    EXPECT_TRUE(platform.messageBoxes().empty());
    ASSERT_EQ(state().rows[kFirstRow].size(), 10u);
    EXPECT_EQ(visibleCount(kFirstRow), 3);
    const std::vector<int> sections{1, 2, 4};
    const std::vector<std::string> titles{"First", "第 二", "Fourth"};  // the title keeps its blanks
    for (int p = 1; p <= 3; ++p) {
        const WindowInfo& info = win(kFirstRow, p);
        EXPECT_TRUE(platform.isVisible(info.self));
        EXPECT_EQ(info.shows.mainIndex, sections[static_cast<std::size_t>(p - 1)]);
        EXPECT_EQ(caption(kFirstRow, p), titles[static_cast<std::size_t>(p - 1)]);
        EXPECT_EQ(platform.left(info.self), 100 + 71 * p);
        EXPECT_EQ(platform.top(info.self), 100);
        EXPECT_TRUE(platform.isLayered(info.self));
        EXPECT_EQ(platform.layeredAlpha(info.self), 200);
        EXPECT_EQ(platform.owner(info.self), overlay());
    }

    // A missing menu picture leaves the box blank; an existing one is shown.
    EXPECT_EQ(picture(kFirstRow, 1), PictureSource::none());
    const auto blank = platform.shownPicture(win(kFirstRow, 1).picture);
    EXPECT_TRUE(!blank || blank->empty());
    EXPECT_EQ(picture(kFirstRow, 3), PictureSource::file(imgPath("Menu", "four.png")));
    ASSERT_NE(platform.shownPicture(win(kFirstRow, 3).picture), nullptr);
    EXPECT_FALSE(platform.shownPicture(win(kFirstRow, 3).picture)->empty());

    // The third menu window stands for section 4.
    ASSERT_TRUE(pressMenu(3));
    EXPECT_EQ(visibleCount(kSecondRow), 2);
    EXPECT_EQ(caption(kSecondRow, 2), "child2");
    EXPECT_EQ(win(kSecondRow, 1).shows.mainIndex, 4);
}

// The menu shows and is drawn before the second and third rows are built: a
// press made in that moment is answered once they exist, and only once.
TEST_F(MenuRow, AMenuWindowShowsOnlyOnceWhatItsPressOpensIsReady) {
    // While start-up builds the rows, no menu picture can be pressed.
    int menuWhileBuilding = -1;
    platform.queueDuringWait([&] { menuWhileBuilding = visibleCount(kFirstRow); });
    writeCfg(config + sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(3)}) +
             sectionText({.section = 2, .name = "Two", .pic = "two.png"}));
    startUnsettled();
    EXPECT_EQ(menuWhileBuilding, 0);
    EXPECT_EQ(visibleCount(kFirstRow), 0);

    // In idle time the row windows are prepared to show and the first
    // topic's pictures decoded before its menu window shows; a topic
    // without children shows at once after it.
    while (visibleCount(kFirstRow) == 0 && platform.idle()) {
    }
    for (const RowIndex r : {kSecondRow, kThirdRow})
        for (const WindowInfo& info : state().rows[r]) EXPECT_TRUE(platform.isPreparedToShow(info.self));
    platform.idleUntilDone();
    EXPECT_EQ(visibleCount(kFirstRow), 2);

    const std::uint64_t decoded = platform.pictureCache().decodeCount();
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(visibleCount(kSecondRow), 3);
    EXPECT_EQ(platform.pictureCache().decodeCount(), decoded);
}

TEST_F(MenuRow, ValuesAreReadAsStoredInUtf8) {
    startWith(sectionText({.section = 1, .name = "地图", .title = "  地图 一 ", .pic = "地图.png"}));
    ASSERT_EQ(visibleCount(kFirstRow), 1);
    EXPECT_EQ(caption(kFirstRow, 1), "地图 一");  // outer blanks trimmed by the store, inner ones kept
}

TEST_F(MenuRow, NoConfigurationGivesAnEmptyMenu) {
    start();
    EXPECT_EQ(state().rows[kFirstRow].size(), 10u);
    EXPECT_EQ(visibleCount(kFirstRow), 0);
    EXPECT_EQ(nodeWindowCount(), 38u);
}

// --- placements --------------------------------------------------------------------------

TEST_F(MenuRow, PlacementsFollowTheSpacing) {
    config = "[Config]\r\nX=100\r\nY=100\r\nW=100\r\nH=100\r\n";
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png"}) +
              sectionText({.section = 2, .name = "Two", .pic = "two.png"}));
    for (int p = 1; p <= 2; ++p) {
        EXPECT_EQ(platform.left(win(kFirstRow, p).self), 100 + 101 * p);
        EXPECT_EQ(platform.top(win(kFirstRow, p).self), 100);
    }
    for (int p = 1; p <= 14; ++p) {
        for (const RowIndex row : {kSecondRow, kThirdRow}) {
            const WindowInfo& info = win(row, p);
            const int top = row == kSecondRow ? 201 : 302;
            EXPECT_EQ(platform.left(info.self), 100 + 101 * (p - 1)) << "row " << row << " window " << p;
            EXPECT_EQ(platform.top(info.self), top);
            // The windows keep their own size; W and H only space them.
            EXPECT_EQ(platform.width(info.self), 70);
            EXPECT_EQ(platform.height(info.self), 70);
            EXPECT_FALSE(platform.isVisible(info.self));
            EXPECT_EQ(info.shows.mainIndex, 0);  // shows nothing yet
            EXPECT_EQ(platform.text(info.caption), "");
            EXPECT_EQ(platform.layeredAlpha(info.self), 150);
        }
    }
}

// --- scaled monitors ------------------------------------------------------------------------

// Designs are in 96-DPI units; a length on a scaled monitor and the grid's step
// (the spacing and the one-pixel gap, each scaled) truncate toward zero.
TEST(DpiScaling, DesignLengthsAndGridSteps) {
    const struct {
        int length;
        int dpi;
        int scaled;
        int step;
    } cases[] = {
        {70, 96, 70, 71},      // 100 %: exactly as designed
        {70, 144, 105, 106},   // 150 %
        {70, 120, 87, 88},     // 125 %: 87.5 truncated
        {70, 168, 122, 123},   // 175 %: the gap 1.75 is one pixel
        {100, 192, 200, 202},  // 200 %: the gap is two pixels
        {16, 144, 24, 25},     // a font's pixel size
        {-1, 144, -1, 0},      // -1.5 toward zero
        {-3, 120, -3, -2},     // -3.75 toward zero
        {70, 0, 70, 71},       // no DPI known: as designed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " at " + std::to_string(c.dpi));
        EXPECT_EQ(platform::scaleToDpi(c.length, c.dpi), c.scaled);
        EXPECT_EQ(gridStep(c.length, c.dpi), c.step);
    }
    EXPECT_EQ(platform::scaleToDpi(2000000000, 192), 2147483647);
}

// At 150 % the grid steps by the scaled spacing while positions stay the screen
// pixels the overlay stands at: the rows, the node editor and the donation
// window open one scaled step away, and a drag keeps X and Y as screen pixels.
TEST_F(MenuRow, OnAScaledMonitorTheStepsScaleAndPositionsStayScreenPixels) {
    platform.setDpi(144);
    config = "[Config]\r\nX=100\r\nY=100\r\nW=100\r\nH=100\r\n";
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(15)}) +
              sectionText({.section = 2, .name = "Two", .pic = "two.png"}));
    ASSERT_TRUE(pressMenu(1));
    // W = 100 is 150 pixels, the gap 1: a step of 151.
    EXPECT_EQ(platform.left(win(kFirstRow, 2).self), 100 + 151 * 2);
    EXPECT_EQ(platform.left(win(kSecondRow, 3).self), 100 + 151 * 2);
    EXPECT_EQ(platform.top(win(kSecondRow, 3).self), 251);
    EXPECT_EQ(platform.top(win(kThirdRow, 1).self), 402);
    EXPECT_EQ(platform.width(win(kFirstRow, 1).self), 70) << "sizes stay in design units";

    ASSERT_TRUE(platform.dragWindow(overlay(), 300, 400));
    EXPECT_EQ(state().settings.X, 300);
    EXPECT_EQ(state().settings.Y, 400);
    EXPECT_EQ(platform.left(win(kFirstRow, 1).self), 451);
    EXPECT_EQ(platform.top(win(kThirdRow, 1).self), 702);

    for (const char* label : {ui::names::overlay::editorsLabel, ui::names::overlay::supportLabel}) {
        ASSERT_TRUE(platform.clickMouse(overlayControl(label), MouseButton::Left)) << label;
        const platform::WindowRef opened = platform.windows().back();
        EXPECT_EQ(platform.left(opened), 451) << platform.designName(opened);
        EXPECT_EQ(platform.top(opened), 551) << platform.designName(opened);
    }
}

// The rows keep inside the monitor the overlay stands on, live while it is
// dragged: near the second monitor's right and bottom edges they run left of
// and above the overlay; the settings keep the overlay's own place.
TEST_F(MenuRow, DraggedNearAnEdgeTheRowsTurnToStayOnTheOverlaysMonitor) {
    platform.setMonitors({{0, 0, 1920, 1080, true}, {1920, 0, 1280, 720, false}});
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(3)}));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(platform.left(win(kFirstRow, 1).self), 171);

    ASSERT_TRUE(platform.dragWindow(overlay(), 3100, 600));
    EXPECT_EQ(state().settings.X, 3100);
    EXPECT_EQ(state().settings.Y, 600);
    EXPECT_EQ(platform.left(win(kFirstRow, 1).self), 3100 - 71);
    EXPECT_EQ(platform.top(win(kFirstRow, 1).self), 600);
    EXPECT_EQ(platform.left(win(kSecondRow, 2).self), 3100 - 71);
    EXPECT_EQ(platform.top(win(kSecondRow, 2).self), 600 - 71);
    EXPECT_EQ(platform.top(win(kThirdRow, 1).self), 600 - 142);

    // Back where the usual layout fits, it stands again.
    ASSERT_TRUE(platform.dragWindow(overlay(), 2000, 100));
    EXPECT_EQ(platform.left(win(kFirstRow, 1).self), 2071);
    EXPECT_EQ(platform.top(win(kSecondRow, 2).self), 171);
}

// --- rebuilding, on-top, hiding -------------------------------------------------------------

TEST_F(MenuRow, RebuildReplacesEveryWindow) {
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(3)}));
    EXPECT_EQ(nodeWindowCount(), 38u);
    const platform::WindowRef oldMenu = win(kFirstRow, 1).self;

    Context& ctx = app->context();
    buildFirstRow(ctx);
    buildSecondRow(ctx);
    buildThirdRow(ctx);
    startPredecode(ctx);
    platform.idleUntilDone();

    EXPECT_EQ(nodeWindowCount(), 38u);
    EXPECT_EQ(platform.windowsOfDesign("FirstRow1").size(), 1u);
    EXPECT_EQ(platform.windowsOfDesign("SecondRow14").size(), 1u);
    EXPECT_EQ(platform.windowsOfDesign("ThirdRow14").size(), 1u);
    EXPECT_FALSE(platform.exists(oldMenu));
    EXPECT_EQ(state().rows[kFirstRow].size(), 10u);
    EXPECT_EQ(state().rows[kSecondRow].size(), 14u);
    EXPECT_EQ(state().rows[kThirdRow].size(), 14u);
    // The new menu works like the old one.
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(visibleCount(kSecondRow), 3);
}

TEST_F(MenuRow, OnTopSettingReachesEveryRowWindow) {
    config = "[Config]\r\nT=1\r\n";
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png"}));
    ASSERT_EQ(nodeWindowCount(), 38u);
    for (const auto& row : state().rows)
        for (const auto& info : row) EXPECT_TRUE(platform.isTopMost(info.self));
}

TEST_F(MenuRow, RightPressHidesTheDetailRows) {
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(20)}));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(visibleCount(kSecondRow), 14);
    EXPECT_EQ(visibleCount(kThirdRow), 6);

    ASSERT_TRUE(platform.pressMouse(win(kFirstRow, 1).picture, MouseButton::Right));
    EXPECT_EQ(visibleCount(kSecondRow), 0);
    EXPECT_EQ(visibleCount(kThirdRow), 0);
    EXPECT_EQ(visibleCount(kFirstRow), 1);
}

TEST_F(MenuRow, DetailRowsFollowTheOverlay) {
    startWith(sectionText({.section = 1, .name = "One", .pic = "one.png", .children = numberedChildren(2)}));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(platform.dragWindow(overlay(), 300, 400));
    EXPECT_EQ(platform.left(win(kFirstRow, 1).self), 371);
    EXPECT_EQ(platform.top(win(kSecondRow, 2).self), 471);
    EXPECT_EQ(platform.left(win(kSecondRow, 2).self), 371);
    EXPECT_EQ(platform.top(win(kThirdRow, 1).self), 542);
}

}  // namespace
}  // namespace pallo::testing
