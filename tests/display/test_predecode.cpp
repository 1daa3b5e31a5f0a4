// Work ahead in idle time: it prepares the row windows and exactly the
// pictures the next presses show, changes nothing on screen, and lets input
// in between.
#include <string>
#include <vector>

#include "display/detail.h"
#include "display_fixture.h"

namespace pallo::testing {
namespace {

using platform::PictureSource;
using Predecode = DisplayFixture;

// Two menu nodes: one of 30 children (29 and 30 on its second page; c3.png
// is missing, so the placeholder shows), and a direct-reference node whose
// children all stand for catalog entries.
std::string twoNodes() {
    std::vector<std::string> links;
    for (int k = 1; k <= 4; ++k) links.push_back("own" + std::to_string(k) + ".png|kid|tip|0," + std::to_string(k % 2 + 1));
    return sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(30)}) +
           sectionText({.section = 2, .name = "Gear", .in = "Item", .link = "2", .pic = "gear.png", .children = links}) +
           catalogText("Item", numberedEntries(2));
}

class PredecodeFixture : public Predecode {
protected:
    void SetUp() override {
        for (int k = 1; k <= 30; ++k)
            if (k != 3) writePicture("Map", "c" + std::to_string(k) + ".png");
        for (const char* f : {"e1.png", "e2.png", "own1.png"}) writePicture("Gear", f);
        writeCfg(config + twoNodes());
        startUnsettled();
    }

    // What every window of the second and third rows shows.
    std::vector<std::string> detailScreen() {
        std::vector<std::string> out;
        for (const RowIndex r : {kSecondRow, kThirdRow})
            for (const WindowInfo& info : state().rows[r]) {
                const PictureSource s = platform.picture(info.picture);
                out.push_back(std::to_string(platform.isVisible(info.self)) + "|" + s.path + "|" +
                              std::to_string(static_cast<int>(s.embedded)) + "|" + platform.text(info.caption) +
                              "|" + platform.tooltip(info.picture) + "|" + std::to_string(info.shows.childNumber));
            }
        return out;
    }
    std::uint64_t decodes() const { return platform.pictureCache().decodeCount(); }
};

TEST_F(PredecodeFixture, PreparesWhatTheNextPressShowsAndNothingElse) {
    ASSERT_TRUE(platform.hasIdleTask());
    const std::vector<std::string> before = detailScreen();
    const std::uint64_t atStart = decodes();
    EXPECT_GT(platform.idleUntilDone(), 0);
    EXPECT_EQ(detailScreen(), before) << "nothing the detail rows show changes";
    EXPECT_EQ(visibleCount(kFirstRow), 2);
    for (const RowIndex r : {kSecondRow, kThirdRow})
        for (const WindowInfo& info : state().rows[r]) EXPECT_TRUE(platform.isPreparedToShow(info.self));
    // The first pages only: 28 children of the first topic, 4 of the second
    // (c3.png is missing and never decoded).
    EXPECT_EQ(decodes() - atStart, 27u + 3u);

    // Each press decodes nothing when the program had time to decode ahead
    // after the press before: the first pages at start-up, the second page
    // while the first one shows.
    for (const int m : {1, 1, 1, 2}) {
        const std::uint64_t pressed = decodes();
        ASSERT_TRUE(pressMenu(m));
        EXPECT_EQ(decodes(), pressed) << "press on menu " << m;
        platform.idleUntilDone();
    }
    const std::uint64_t ahead = decodes() - atStart;

    // Showing the same pages without any work ahead decodes as much.
    platform::headless::HeadlessPlatform other(run.path());
    App program(other);
    program.start();
    const std::uint64_t otherStart = other.pictureCache().decodeCount();
    for (const int m : {1, 1, 1, 2}) turnChildren(program.context(), m);
    EXPECT_EQ(other.pictureCache().decodeCount() - otherStart, ahead);
}

TEST_F(PredecodeFixture, InputBetweenCallsIsHandledAndShownAsWithoutIt) {
    // The first menu window shows while the second topic's pictures are
    // still to be decoded: a press on it comes between two calls.
    while (visibleCount(kFirstRow) == 0) ASSERT_TRUE(platform.idle());
    ASSERT_TRUE(platform.hasIdleTask());
    ASSERT_TRUE(pressMenu(1));
    const std::vector<std::string> shown = detailScreen();
    EXPECT_EQ(picture(kSecondRow, 3), kPlaceholder);
    EXPECT_EQ(picture(kThirdRow, 14), PictureSource::file(imgPath("Map", "c28.png")));
    platform.idleUntilDone();
    EXPECT_EQ(detailScreen(), shown);
    EXPECT_EQ(visibleCount(kFirstRow), 2);

    ASSERT_TRUE(pressMenu(2));
    EXPECT_EQ(caption(kSecondRow, 1), "entry2");
    EXPECT_EQ(picture(kSecondRow, 1), PictureSource::file(imgPath("Gear", "e2.png")));
    platform.idleUntilDone();
    EXPECT_FALSE(platform.hasIdleTask());
}

TEST_F(PredecodeFixture, EndsWithTheProgram) {
    app->cleanUp();
    EXPECT_FALSE(platform.hasIdleTask());
}

}  // namespace
}  // namespace pallo::testing
