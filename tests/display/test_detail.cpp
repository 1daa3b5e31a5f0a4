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

struct CountCase {
    int children;
    int second;
    int third;
};
void PrintTo(const CountCase& c, std::ostream* os) { *os << c.children << " children"; }

class ChildCount : public DisplayFixture, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ChildCount, FillsSecondRowThenThird) {
    const CountCase c = GetParam();
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(c.children)}));
    ASSERT_TRUE(pressMenu(1));
    EXPECT_EQ(visibleCount(kSecondRow), c.second);
    EXPECT_EQ(visibleCount(kThirdRow), c.third);
    for (int j = 1; j <= c.second + c.third; ++j) {
        const RowIndex row = j <= 14 ? kSecondRow : kThirdRow;
        const int p = j <= 14 ? j : j - 14;
        EXPECT_EQ(caption(row, p), "child" + std::to_string(j));
        EXPECT_EQ(win(row, p).shows.childNumber, j);
    }
    EXPECT_TRUE(platform.messageBoxes().empty());  // the menu press reports nothing
}

INSTANTIATE_TEST_SUITE_P(Counts, ChildCount,
                         ::testing::Values(CountCase{0, 0, 0}, CountCase{1, 1, 0}, CountCase{14, 14, 0},
                                           CountCase{15, 14, 1}, CountCase{28, 14, 14}, CountCase{29, 14, 14},
                                           CountCase{30, 14, 14}));

using Detail = DisplayFixture;

TEST_F(Detail, TooManyChildrenAreCutWithAMessageWhenReporting) {
    startWith(sectionText({.section = 1, .name = "Map", .pic = "map.png", .children = numberedChildren(29)}) +
              sectionText({.section = 2, .name = "Map", .pic = "map.png", .children = numberedChildren(28)}));
    EXPECT_EQ(showChildren(app->context(), 2), std::nullopt);  // 28 fit
    const auto note = showChildren(app->context(), 1);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->kind, ShowNote::Kind::Partial);
    EXPECT_EQ(note->text, "内容（29）过多，将只展示未超限（28）部分。");
    EXPECT_EQ(caption(kThirdRow, 14), "child28");
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

TEST_F(Detail, MembersBeyondTheRowAreCutOrRefusedAndNeverLeaveAnotherChildsEntries) {
    std::vector<std::string> children{"c.png|many|t|" + idList(28), "c.png|fourteen|t|" + idList(14),
                                      "c.png|fifteen|t|" + idList(15), "c.png|all|t|" + idList(27),
                                      "c.png|two|t|29,30"};
    for (int k = 6; k <= 14; ++k) children.push_back("c.png|filler|t|1,2");
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = children}) +
              catalogText("Item", numberedEntries(30)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_EQ(visibleCount(kSecondRow), 14);

    // Fourteen members under fourteen children: the whole third row, no word.
    ASSERT_TRUE(clickChild(2));
    EXPECT_EQ(visibleCount(kThirdRow), 14);
    EXPECT_EQ(caption(kThirdRow, 14), "entry14");
    EXPECT_TRUE(platform.messageBoxes().empty());

    // 15 to 27 members: the first 14 entries, and the user is told.
    for (const int child : {3, 4}) {
        ASSERT_TRUE(clickChild(5));  // another child's entries first
        ASSERT_TRUE(clickChild(child));
        EXPECT_EQ(visibleCount(kThirdRow), 14) << child;
        EXPECT_EQ(caption(kThirdRow, 1), "entry1") << child;
        EXPECT_EQ(caption(kThirdRow, 14), "entry14") << child;
    }
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[0].text, "内容（15）过多，将只展示未超限（14）部分。");
    EXPECT_EQ(platform.messageBoxes()[1].text, "内容（27）过多，将只展示未超限（14）部分。");
    EXPECT_EQ(platform.messageBoxes()[1].caption, "提示");

    // 28 members are refused, and the entries shown before go.
    ASSERT_TRUE(clickChild(1));
    ASSERT_EQ(platform.messageBoxes().size(), 3u);
    EXPECT_EQ(platform.messageBoxes()[2].text, "子节点内容过多，无法展示。");
    EXPECT_EQ(platform.messageBoxes()[2].caption, "提示");
    EXPECT_EQ(visibleCount(kThirdRow), 0);
}

TEST_F(Detail, ChildrenInTheThirdRowKeepItWhenAChildIsClicked) {
    startWith(sectionText({.section = 1, .name = "Gear", .in = "Item", .link = "1", .pic = "gear.png",
                           .children = numberedChildren(15, "1,2")}) +
              catalogText("Item", numberedEntries(2)));
    ASSERT_TRUE(pressMenu(1));
    ASSERT_TRUE(clickChild(1));
    EXPECT_EQ(visibleCount(kThirdRow), 1);
    EXPECT_EQ(caption(kThirdRow, 1), "child15");
    EXPECT_TRUE(platform.messageBoxes().empty());
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
