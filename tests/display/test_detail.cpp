#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "display_fixture.h"

namespace pallo::testing {
namespace {

using platform::MouseButton;
using platform::PictureSource;

// --- plain helpers -------------------------------------------------------------------------

TEST(TipText, EveryHashBecomesALineBreak) {
    EXPECT_EQ(tipText("two#lines"), "two\r\nlines");
    EXPECT_EQ(tipText("#a##b#"), "\r\na\r\n\r\nb\r\n");
    EXPECT_EQ(tipText("无#换行"), "无\r\n换行");
    EXPECT_EQ(tipText(""), "");
}

TEST(FirstPositiveMember, SkipsBlanksZerosAndText) {
    EXPECT_EQ(firstPositiveMember({"", "5"}), 5);
    EXPECT_EQ(firstPositiveMember({"0", "-3", "x", "7", "2"}), 7);
    EXPECT_EQ(firstPositiveMember({"", "0"}), 0);
    EXPECT_EQ(firstPositiveMember({}), 0);
}

// --- children in the second and third rows ---------------------------------------------------

// What one press shows: children first to last (none when last < first)
// in the 28 places of the second and third rows, and the sign of the last.
struct Shown {
    int first;
    int last;
    const char* sign;
};

// The window of place q (1 to 28) of a view: the second row, then the third.
std::pair<RowIndex, int> place(int q) { return q <= 14 ? std::pair{kSecondRow, q} : std::pair{kThirdRow, q - 14}; }

struct PageCase {
    int children;
    std::vector<Shown> presses;  // menu press after menu press
};
void PrintTo(const PageCase& c, std::ostream* os) { *os << c.children << " children"; }

class ChildPages : public DisplayFixture, public ::testing::WithParamInterface<PageCase> {};

TEST_P(ChildPages, EachPressShowsTheNextPageInTheSamePlaces) {
    const PageCase c = GetParam();
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(c.children)}));
    for (std::size_t k = 0; k < c.presses.size(); ++k) {
        const Shown want = c.presses[k];
        SCOPED_TRACE("press " + std::to_string(k + 1));
        ASSERT_TRUE(pressMenu(1));
        for (int q = 1; q <= 28; ++q) {
            const auto [row, p] = place(q);
            const int j = want.first + q - 1;
            SCOPED_TRACE("place " + std::to_string(q));
            ASSERT_EQ(visible(row, p), j <= want.last);
            EXPECT_EQ(sign(row, p), j == want.last ? want.sign : "");
            if (j > want.last) continue;
            EXPECT_EQ(caption(row, p), "child" + std::to_string(j));
            EXPECT_EQ(tip(row, p), "tip" + std::to_string(j));
            EXPECT_EQ(win(row, p).shows.childNumber, j);
        }
    }
    EXPECT_TRUE(platform.messageBoxes().empty());  // the menu press reports nothing
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ChildPages,
    ::testing::Values(PageCase{0, {{1, 0, ""}, {1, 0, ""}}}, PageCase{1, {{1, 1, ""}, {1, 1, ""}}},
                      PageCase{14, {{1, 14, ""}, {1, 14, ""}}}, PageCase{15, {{1, 15, ""}, {1, 15, ""}}},
                      PageCase{28, {{1, 28, ""}, {1, 28, ""}}},
                      PageCase{29, {{1, 28, "1/2"}, {29, 29, "2/2"}, {1, 28, "1/2"}}},
                      PageCase{56, {{1, 28, "1/2"}, {29, 56, "2/2"}, {1, 28, "1/2"}}},
                      PageCase{57, {{1, 28, "1/3"}, {29, 56, "2/3"}, {57, 57, "3/3"}, {1, 28, "1/3"}}},
                      PageCase{99, {{1, 28, "1/4"}, {29, 56, "2/4"}, {57, 84, "3/4"}, {85, 99, "4/4"},
                                    {1, 28, "1/4"}}}));

using Detail = DisplayFixture;

TEST_F(Detail, ThePageBeginsAgainOnAnyOtherWayInAndTheWheelTurnsIt) {
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(40)}) +
              sectionText({.section = 2, .name = "Other", .pic = "other.png", .children = numberedChildren(2)}));
    const auto firstShown = [&] { return win(kSecondRow, 1).shows.childNumber; };
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_EQ(firstShown(), 29);
    // Hidden by the right press, or left for another node: the first page again.
    ASSERT_TRUE(platform.pressMouse(win(kFirstRow, 1).picture, MouseButton::Right));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(firstShown(), 1);
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(pressMenu(2));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(firstShown(), 1);

    // Away from the user the next page, towards the one before, round the end;
    // over either row.
    for (const auto& [row, delta, first] : {std::tuple{kSecondRow, -120, 29}, std::tuple{kSecondRow, 120, 1},
                                            std::tuple{kThirdRow, 120, 29}, std::tuple{kSecondRow, -120, 1}}) {
        ASSERT_TRUE(platform.turnWheel(win(row, 1).picture, delta));
        EXPECT_EQ(firstShown(), first);
    }
    EXPECT_EQ(sign(kThirdRow, 14), "1/2");
}

TEST_F(Detail, IndexOutsideTheTableIsRejected) {
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(3)}));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_EQ(visibleCount(kSecondRow), 3);
    for (const int index : {0, -1, 11}) {
        const auto note = showChildren(app->context(), index);
        ASSERT_TRUE(note);
        EXPECT_EQ(note->kind, ShowNote::Kind::Refused);
        EXPECT_EQ(note->text, "参数错误，索引：" + std::to_string(index));
        EXPECT_EQ(visibleCount(kSecondRow), 0);  // the rows are hidden first
    }
}

TEST_F(Detail, SlotsCarryTheNodeToTheNextClick) {
    startWith(sectionText({.section = 3, .name = "Map", .in = "Hero", .link = "1", .pic = "map.png",
                           .children = numberedChildren(16, "1,2")}));
    ASSERT_TRUE(pressMenu(1));
    for (const auto& [row, p, number] : {std::tuple{kSecondRow, 1, 1}, std::tuple{kSecondRow, 14, 14},
                                         std::tuple{kThirdRow, 2, 16}}) {
        const WindowInfo& info = win(row, p);
        EXPECT_EQ(info.shows.In, InValue("Hero"));
        EXPECT_EQ(info.shows.childNumber, number);
        EXPECT_EQ(info.shows.Link, LinkMode::Mutual);
        EXPECT_EQ(info.shows.mainIndex, 3);
    }
}

TEST_F(Detail, PicturesComeFromTheNodeFolderOrThePlaceholder) {
    writePicture("地图", "c1.png");
    makeDirs(imgPath("地图", "c3.png"));  // a folder named like a picture is no picture
    startWith(sectionText({.section = 1, .name = "地图", .pic = "map.png",
                           .children = {"c1.png|one|a|0", "missing.png|two|b|0", "c3.png|three|c|0", "|four|d|0"}}));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(picture(kSecondRow, 1), PictureSource::file(imgPath("地图", "c1.png")));
    ASSERT_NE(platform.shownPicture(win(kSecondRow, 1).picture), nullptr);
    EXPECT_FALSE(platform.shownPicture(win(kSecondRow, 1).picture)->empty());
    for (int p = 2; p <= 4; ++p) {
        EXPECT_EQ(picture(kSecondRow, p), kPlaceholder) << p;
        ASSERT_NE(platform.shownPicture(win(kSecondRow, p).picture), nullptr);
        EXPECT_FALSE(platform.shownPicture(win(kSecondRow, p).picture)->empty());
    }
}

TEST_F(Detail, TipsBreakLinesAtHashes) {
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png",
                           .children = {"a.png|one|first#second|0", "b.png|two|plain|0"}}));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(tip(kSecondRow, 1), "first\r\nsecond");
    EXPECT_EQ(tip(kSecondRow, 2), "plain");
}

// --- Link "2": a child stands for a catalog entry --------------------------------------------

TEST_F(Detail, DirectReferenceShowsTheEntryFromTheNodeFolder) {
    writePicture("Gear", "e5.png");
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "2", .pic = "gear.png",
                           .children = {"own.png|own|owntip|5",        // stored as members "", "5"
                                        "own.png|own|owntip|0,x,3,1",  // first positive: 3
                                        "own.png|own|owntip|0",        // no positive member
                                        "own.png|own|owntip|99"}}) +   // beyond the catalog
              catalogText("Item", numberedEntries(5)));
    ASSERT_EQ(state().nodeTable[0].children[0].members, (std::vector<std::string>{"", "5"}));
    ASSERT_TRUE(pressMenu(1));

    EXPECT_EQ(caption(kSecondRow, 1), "entry5");
    EXPECT_EQ(tip(kSecondRow, 1), "desc5");
    EXPECT_EQ(picture(kSecondRow, 1), PictureSource::file(imgPath("Gear", "e5.png")));
    EXPECT_EQ(caption(kSecondRow, 2), "entry3");
    EXPECT_EQ(picture(kSecondRow, 2), kPlaceholder);  // e3.png is not in the node's folder
    // No usable entry: the child shows itself.
    for (int p = 3; p <= 4; ++p) {
        EXPECT_EQ(caption(kSecondRow, p), "own");
        EXPECT_EQ(tip(kSecondRow, p), "owntip");
    }
    // The table keeps the child's own values.
    EXPECT_EQ(state().nodeTable[0].children[0].name, "own");
}

TEST_F(Detail, DirectReferenceUnderAnotherCatalogKeepsTheChild) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Other", .link = "2", .pic = "gear.png",
                           .children = {"own.png|own|owntip|1"}}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(caption(kSecondRow, 1), "own");
}

// --- clicks on children --------------------------------------------------------------------------

struct LinkCase {
    const char* link;
    bool opens;
};
void PrintTo(const LinkCase& c, std::ostream* os) { *os << "Link " << c.link; }

class ChildClick : public DisplayFixture, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ChildClick, OnlyMutualAssociationOpensEntries) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = GetParam().link,
                           .pic = "gear.png", .children = {"c.png|child|t|1,2"}}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(visibleCount(kThirdRow), GetParam().opens ? 2 : 0);
    EXPECT_TRUE(platform.messageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Links, ChildClick,
                         ::testing::Values(LinkCase{"0", false}, LinkCase{"1", true}, LinkCase{"2", false}));

TEST_F(Detail, ItemEntriesNameTheChildInTheirTips) {
    writePicture("Item", "e3.png");
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = {"c.png|剑|t|3,7", "c.png|盾|t|5"}}) +
              catalogText("Item", {"e1.png|e1|d1|0", "e2.png|e2|d2|0", "e3.png|铁剑|锋利#耐用|0", "x|e4|d4|0",
                                   "x|e5|d5|0", "x|e6|d6|0", "missing.png|e7|d7|0"}));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(visibleCount(kThirdRow), 2);
    EXPECT_EQ(caption(kThirdRow, 1), "铁剑");
    EXPECT_EQ(tip(kThirdRow, 1), "剑+铁剑\r\n锋利\r\n耐用");
    EXPECT_EQ(picture(kThirdRow, 1), PictureSource::file(imgPath("Item", "e3.png")));
    EXPECT_EQ(caption(kThirdRow, 2), "e7");
    EXPECT_EQ(picture(kThirdRow, 2), kPlaceholder);

    // A single member is stored behind an empty one: window 1 stays hidden.
    ASSERT_TRUE(clickChild(2));
    EXPECT_FALSE(visible(kThirdRow, 1));
    EXPECT_TRUE(visible(kThirdRow, 2));
    EXPECT_EQ(caption(kThirdRow, 2), "e5");
    EXPECT_EQ(tip(kThirdRow, 2), "盾+e5\r\nd5");
    EXPECT_EQ(visibleCount(kThirdRow), 1);

    // The child's name comes from the node table, not from what its
    // window's caption happens to show.
    platform.setText(win(kSecondRow, 1).caption, "其他");
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(tip(kThirdRow, 1), "剑+铁剑\r\n锋利\r\n耐用");
}

TEST_F(Detail, HeroEntriesShowTheirOwnDescription) {
    startWith(sectionText({.section = 1, .name = "Team", .in = "Hero", .link = "1", .pic = "team.png",
                           .children = {"c.png|队伍|t|2,9,1"}}) +
              catalogText("Hero", {"h1.png|甲|one#two|0", "h2.png|乙|三|0"}));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(caption(kThirdRow, 1), "乙");
    EXPECT_EQ(tip(kThirdRow, 1), "三");
    EXPECT_FALSE(visible(kThirdRow, 2));  // no entry 9
    EXPECT_EQ(tip(kThirdRow, 3), "one\r\ntwo");
}

TEST_F(Detail, UnknownCatalogIsReported) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Weapon", .link = "1", .pic = "gear.png",
                           .children = {"c.png|child|t|1,2"}}));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    const auto& box = platform.messageBoxes()[0];
    EXPECT_EQ(box.text, "参数错误参In：Weapon");
    EXPECT_EQ(box.caption, "提示");
    EXPECT_EQ(box.owner, overlay());
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
}

std::string idList(int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) s += (k > 1 ? "," : "") + std::to_string(k);
    return s;
}

// --- linked entries, 14 at a time ------------------------------------------------------------------

struct LinkPages {
    int links;
    std::vector<Shown> presses;  // press after press on the same child
};
void PrintTo(const LinkPages& c, std::ostream* os) { *os << c.links << " links"; }

class LinkedPages : public DisplayFixture, public ::testing::WithParamInterface<std::tuple<int, LinkPages>> {};

// A Link 1 node of `children` children; child 1 links entries 1 to links.
TEST_P(LinkedPages, TheThirdRowShowsFourteenAtATimeAndTheChildrenComeBack) {
    const auto& [children, c] = GetParam();
    std::vector<std::string> kids = numberedChildren(children, "1,2");
    // A single ID is stored behind an empty one: "1,0" keeps entry 1 first.
    kids[0] = "c.png|many|t|" + (c.links == 1 ? std::string("1,0") : idList(c.links));
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = kids}) +
              catalogText("Item", numberedEntries(99)));
    ASSERT_TRUE(pressMenu(1));
    for (std::size_t k = 0; k < c.presses.size(); ++k) {
        const Shown want = c.presses[k];
        SCOPED_TRACE("press " + std::to_string(k + 1));
        ASSERT_TRUE(clickChild(1));
        for (int t = 1; t <= 14; ++t) {
            const int m = want.first + t - 1;
            SCOPED_TRACE("window " + std::to_string(t));
            ASSERT_EQ(visible(kThirdRow, t), m <= want.last);
            EXPECT_EQ(sign(kThirdRow, t), m == want.last ? want.sign : "");
            if (m > want.last) continue;
            EXPECT_EQ(caption(kThirdRow, t), "entry" + std::to_string(m));
            EXPECT_EQ(tip(kThirdRow, t), "many+entry" + std::to_string(m) + "\r\ndesc" + std::to_string(m));
        }
        EXPECT_EQ(visibleCount(kSecondRow), std::min(children, 14));
        // The children that gave way are counted on the second row's last.
        EXPECT_EQ(sign(kSecondRow, 14), children > 14 ? "+" + std::to_string(children - 14) : "");
    }
    EXPECT_TRUE(platform.messageBoxes().empty());
    // The node's next press: its children back where they were.
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(visibleCount(kThirdRow), std::max(0, children - 14));
    if (children > 14) {
        EXPECT_EQ(caption(kThirdRow, 1), "child15");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkedPages,
    ::testing::Combine(
        ::testing::Values(3, 20),
        ::testing::Values(LinkPages{1, {{1, 1, ""}, {1, 1, ""}}}, LinkPages{14, {{1, 14, ""}, {1, 14, ""}}},
                          LinkPages{15, {{1, 14, "1/2"}, {15, 15, "2/2"}, {1, 14, "1/2"}}},
                          LinkPages{27, {{1, 14, "1/2"}, {15, 27, "2/2"}, {1, 14, "1/2"}}},
                          LinkPages{28, {{1, 14, "1/2"}, {15, 28, "2/2"}, {1, 14, "1/2"}}},
                          LinkPages{99, {{1, 14, "1/8"}, {15, 28, "2/8"}, {29, 42, "3/8"}, {43, 56, "4/8"},
                                         {57, 70, "5/8"}, {71, 84, "6/8"}, {85, 98, "7/8"}, {99, 99, "8/8"},
                                         {1, 14, "1/8"}}})));

TEST_F(Detail, ChildrenOfLaterPagesOpenTheirEntriesAndTheSignMovesUpWhileEntriesShow) {
    std::vector<std::string> kids = numberedChildren(40, "1,2");
    kids[28] = "c.png|late|t|3";  // child 29: the first of page 2
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = kids}) +
              catalogText("Item", numberedEntries(3)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(2));  // entries over children 15-28: the second row says there is more
    EXPECT_EQ(sign(kSecondRow, 14), "1/2");
    EXPECT_EQ(visibleCount(kThirdRow), 2);
    ASSERT_TRUE(pressMenu(1));  // the same page back
    EXPECT_EQ(caption(kThirdRow, 14), "child28");
    EXPECT_EQ(sign(kThirdRow, 14), "1/2");
    EXPECT_EQ(sign(kSecondRow, 14), "");

    ASSERT_TRUE(pressMenu(1));
    ASSERT_EQ(caption(kSecondRow, 1), "late");
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(caption(kThirdRow, 2), "entry3");
    EXPECT_EQ(tip(kThirdRow, 2), "late+entry3\r\ndesc3");
    EXPECT_EQ(sign(kSecondRow, 12), "2/2");
    ASSERT_TRUE(pressMenu(1));  // nothing gave way on page 2: the next page
    EXPECT_EQ(caption(kSecondRow, 1), "child1");
}

TEST_F(Detail, AChildWithNothingLinkedLeavesTheChildrenOfTheThirdRow) {
    std::vector<std::string> kids = numberedChildren(15, "1,2");
    kids[0] = "c.png|none|t|0";
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = kids}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(caption(kThirdRow, 1), "child15");
    EXPECT_EQ(visibleCount(kThirdRow), 1);
}

TEST_F(Detail, FirstAndSixthWindowsAnswerThePressTheOthersTheRelease) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = numberedChildren(7, "1,2")}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    for (const int p : {1, 2, 6, 7}) {
        const bool onPress = p == 1 || p == 6;
        ASSERT_TRUE(platform.pressMouse(win(kFirstRow, 1).picture, MouseButton::Right)) << p;
        ASSERT_TRUE(pressMenu(1));
        ASSERT_TRUE(platform.pressMouse(win(kSecondRow, p).picture, MouseButton::Left));
        EXPECT_EQ(visibleCount(kThirdRow), onPress ? 2 : 0) << "press on window " << p;
        ASSERT_TRUE(platform.releaseMouse(win(kSecondRow, p).picture, MouseButton::Left));
        EXPECT_EQ(visibleCount(kThirdRow), 2) << "release on window " << p;
        // The caption lets the press through to the picture box.
        ASSERT_TRUE(platform.pressMouse(win(kFirstRow, 1).picture, MouseButton::Right));
        ASSERT_TRUE(pressMenu(1));
        ASSERT_TRUE(platform.clickMouse(win(kSecondRow, p).caption));
        EXPECT_EQ(visibleCount(kThirdRow), 2) << "click on the caption of window " << p;
    }
}

TEST_F(Detail, ShowingAnotherNodeHidesTheEntries) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = {"c.png|child|t|1,2"}}) +
              sectionText({.section = 2, .name = "Other", .pic = "other.png", .children = numberedChildren(1)}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    ASSERT_EQ(visibleCount(kThirdRow), 2);
    ASSERT_TRUE(pressMenu(2));
    EXPECT_EQ(visibleCount(kThirdRow), 0);
    EXPECT_EQ(visibleCount(kSecondRow), 1);
    EXPECT_EQ(win(kSecondRow, 1).shows.Link, LinkMode::None);
}

}  // namespace
}  // namespace pallo::testing
