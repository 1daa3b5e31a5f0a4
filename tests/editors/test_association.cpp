// The association window: its rules as plain functions (one table per
// rule), then the window driven as a user would, with the bytes of
// Cfg.ini after each save.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editors/association_editor.h"
#include "editors/association_rules.h"
#include "editors/entry_fields.h"
#include "model/loaders.h"
#include "catalog_fixture.h"
#include "editor_fixture.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using platform::MessageButtons;
using Members = std::vector<std::string>;

// --- rules --------------------------------------------------------------------

TEST(MemberText, TakesNonBlankMembersAsStoredWithACommaUnlessLastInTheList) {
    const struct {
        Members members;
        std::string text;
    } cases[] = {
        {{"3", "5", ""}, "3,5,"},          // an empty last member leaves the comma
        {{"4", "7", ""}, "4,7,"},
        {{"", "7"}, "7"},
        {{"1&4", "7", "2&9"}, "1&4,7,2&9"},
        {{"3", " ", "9"}, "3,9"},
        {{" 3 ", "\xE3\x80\x80"}, " 3 ,"},  // taken as stored; a full-width space is blank
        {{"", "0&0"}, "0&0"},
        {{""}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.members));
        EXPECT_EQ(memberText(c.members), c.text);
    }
}

TEST(IdsFromMemberText, NonBlankPiecesAsIntegers) {
    const struct {
        std::string cell;
        std::vector<std::int32_t> ids;
    } cases[] = {
        {"3,5", {3, 5}}, {"9,3,12", {9, 3, 12}}, {"3, ,5,", {3, 5}}, {"", {}},
        {"0", {0}},      {"07", {7}},            {"1 2,x", {12, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_EQ(idsFromMemberText(c.cell), c.ids);
    }
}

TEST(OrderingAllowed, FromThreeLocalCharacters) {
    const struct {
        std::string text;
        bool allowed;
    } cases[] = {
        {"7", false}, {"12", false}, {"7,9", true}, {" 7 , ", false}, {"中", false}, {"中1", true}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(orderingAllowed(c.text), c.allowed);
    }
}

TEST(OrderedIdText, SortsDropsZerosAndKeepsTheCommaRuleByPosition) {
    const struct {
        std::string text;
        IdOrder order;
        std::optional<std::string> result;
    } cases[] = {
        {"9,3,12", IdOrder::Ascending, "3,9,12"},
        {"9,3,12", IdOrder::Descending, "12,9,3"},
        {"3,0,1", IdOrder::Descending, "3,1,"},  // the zero ends up last
        {"3,0,1", IdOrder::Ascending, "1,3"},
        {"5,x,5", IdOrder::Ascending, "5,5"},    // not a number is 0; duplicates stay
        {"4,,2", IdOrder::Descending, "4,2,"},
        {"9, 3", IdOrder::AsIs, "9,3"},
        {"9,0,3", IdOrder::AsIs, "9,3"},
        {"9,3,12", IdOrder::Manual, std::nullopt},
        {"", IdOrder::Ascending, std::nullopt},
        {"3,1,", IdOrder::Ascending, "1,3"},     // a trailing comma gives no piece
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " order " + std::to_string(static_cast<int>(c.order)));
        EXPECT_EQ(orderedIdText(c.text, c.order), c.result);
    }
}

TEST(IdTextForSave, EmptyIsZeroAndShortTextsAreReadAsNumbers) {
    const struct {
        std::string text;
        std::string saved;
    } cases[] = {
        {"", "0"}, {" ", "0"}, {"07", "7"}, {"x", "0"}, {"3,5", "3,5"}, {"1 2", "12"}, {"中", "0"}, {"3,", "3"},
        {"12,", "12,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(idTextForSave(c.text), c.saved);
    }
}

// --- writeAssociation on its own --------------------------------------------------

class WriteAssociation : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(path, "[1]\r\nLink=1\r\n1=a.png|A|d#e|3\r\n2=b.png|B||4\r\n");
        loadMainNodes(store, path, nodes);
        // Two children numbered 2: the last one is written.
        nodes[0].children.push_back(ChildNode{.number = 2, .picture = "z.png", .name = "Z", .description = "",
                                              .members = {"9"}});
    }
    TempDir dir;
    std::string path = dir.file("Cfg.ini");
    ConfigStore store;
    NodeTable nodes;
};

TEST_F(WriteAssociation, WritesTheWholeEntryWithTheIdsAsTheLastPart) {
    // The table's list becomes what a restart reads from the line.
    const struct {
        Members ids;
        std::string line;
        Members members;
    } cases[] = {
        {{"3", "5"}, "1=a.png|A|d#e|3,5", {"3", "5"}},
        {{"7"}, "1=a.png|A|d#e|7,0", {"7", "0"}},  // first, not behind an empty member
        {{"3", "5", ""}, "1=a.png|A|d#e|3,5,", {"3", "5"}},
        {{""}, "1=a.png|A|d#e|0", {"", "0"}},  // never an empty fourth part
        {{"0"}, "1=a.png|A|d#e|0", {"", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(writeAssociation(store, path, nodes, 1, 1, c.ids), std::nullopt);
        EXPECT_EQ(readFile(path), "[1]\r\nLink=1\r\n" + c.line + "\r\n2=b.png|B||4\r\n");
        EXPECT_EQ(nodes[0].children[0].members, c.members);
    }
}

TEST_F(WriteAssociation, TakesTheLastChildWithTheId) {
    ASSERT_EQ(writeAssociation(store, path, nodes, 1, 2, {"8"}), std::nullopt);
    EXPECT_EQ(readFile(path), "[1]\r\nLink=1\r\n1=a.png|A|d#e|3\r\n2=z.png|Z||8,0\r\n");
    EXPECT_EQ(nodes[0].children.back().members, (Members{"8", "0"}));
    EXPECT_EQ(nodes[0].children[1].members, (Members{"", "4"}));
}

TEST_F(WriteAssociation, RefusesWhatItCannotFindAndWritesNothing) {
    const std::string before = readFile(path);
    const struct {
        std::int32_t parent;
        std::int32_t child;
        Members ids;
        std::string message;
    } cases[] = {
        {1, 1, {}, "关联ID组参数错误。"},
        {0, 1, {"3"}, "父ID参数错误：0"},
        {11, 1, {"3"}, "父ID参数错误：11"},
        {1, 9, {"3"}, "子ID参数错误：9"},
        {2, 1, {"3"}, "子ID参数错误：1"},  // node 2 has no children
        {1, 0, {"3"}, "子ID参数错误：0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto refusal = writeAssociation(store, path, nodes, c.parent, c.child, c.ids);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->text, c.message);
    }
    EXPECT_EQ(readFile(path), before);
}

TEST_F(WriteAssociation, AFailedWriteKeepsTheTableAndTheFile) {
    const std::string before = readFile(path);
    store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    const auto refusal = writeAssociation(store, path, nodes, 1, 1, {"3", "5"});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "配置文件写入失败。\r\n原文件保持不变。");
    EXPECT_EQ(nodes[0].children[0].members, (Members{"", "3"}));
    EXPECT_EQ(readFile(path), before);
}

// --- the window -------------------------------------------------------------------

class Association : public CatalogFixture {
protected:
    void chooseNode(int index) { choose(asc(aw::nodeChooser), index); }
    void chooseChild(int row) { ASSERT_TRUE(platform.selectRow(asc(aw::childList), row)); }
    std::string idText() { return platform.text(asc(aw::idEdit)); }
    std::vector<int> selectedTargets() { return platform.selectedRows(asc(aw::targetList)); }
    bool save() { return platform.click(asc(aw::saveButton)); }
    // The line of key child in section [1].
    std::string entryLine(int child) {
        const std::string cfg = readCfg();
        const std::string key = "\r\n" + std::to_string(child) + "=";
        const std::size_t at = cfg.find(key, cfg.find("[1]"));
        return at == std::string::npos ? std::string() : cfg.substr(at + 2, cfg.find("\r\n", at + 2) - at - 2);
    }
};

TEST_F(Association, OpensAtTheNodeEditorsPlaceOnTopWithoutOwnerAndClosesBothEditors) {
    startWith(defaultCfg());
    ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));
    platform.move(state().nodeEditor, 321, 123);
    ASSERT_TRUE(platform.click({state().nodeEditor, ui::names::nodeEditor::catalogButton}));
    const platform::WindowRef nodeEditor = state().nodeEditor;
    const platform::WindowRef catalogEditor = catalog();
    // It is on screen before the editors it replaces go: a closing window
    // can take a while to leave the screen.
    std::vector<bool> shownAtClose;
    platform.setDestroyObserver([&](platform::WindowRef) { shownAtClose.push_back(platform.isVisible(association())); });
    ASSERT_TRUE(platform.click(cat(ce::associationButton)));
    platform.setDestroyObserver(nullptr);
    EXPECT_EQ(shownAtClose, (std::vector<bool>{true, true}));

    ASSERT_TRUE(platform.exists(association()));
    EXPECT_TRUE(platform.isVisible(association()));
    EXPECT_TRUE(platform.isTopMost(association()));
    EXPECT_FALSE(platform.owner(association()));
    EXPECT_EQ(platform.left(association()), 321);
    EXPECT_EQ(platform.top(association()), 123);
    EXPECT_FALSE(platform.exists(nodeEditor));
    EXPECT_FALSE(platform.exists(catalogEditor));

    // The node chooser lists every main node of the table, by title.
    const std::vector<std::string> expected{"选择项目", "英雄", "物品", "其他", "", "", "", "", "", "", ""};
    EXPECT_EQ(items(asc(aw::nodeChooser)), expected);
    EXPECT_EQ(platform.itemData(asc(aw::nodeChooser), 3), 3);
    EXPECT_EQ(items(asc(aw::sectionBox)), (std::vector<std::string>{"选择项目", "Item", "Hero"}));
    for (const char* name : {aw::sortChooser, aw::clearButton, aw::saveButton})
        EXPECT_FALSE(platform.isEnabled(asc(name))) << name;
}

TEST_F(Association, WithoutANodeEditorKeepsTheDesignPlace) {
    openCatalogEditor();
    platform.destroy(state().nodeEditor);
    ASSERT_TRUE(platform.click(cat(ce::associationButton)));
    EXPECT_EQ(platform.left(association()), 50);
    EXPECT_EQ(platform.top(association()), 50);
}

TEST_F(Association, TheEditorsLabelIsGreenWhileItIsOpenAndAClickClosesIt) {
    openAssociation();
    const platform::ControlRef label{state().overlay, ui::names::overlay::editorsLabel};
    EXPECT_EQ(platform.textColour(label), 65280);
    platform::WindowRef window = association();
    ASSERT_TRUE(platform.closeByUser(window));
    EXPECT_FALSE(platform.exists(window));
    EXPECT_EQ(platform.textColour(label), 0);

    // Opened again the same way, a click on the label closes it.
    ASSERT_TRUE(platform.clickMouse(label));
    ASSERT_TRUE(platform.click({state().nodeEditor, ui::names::nodeEditor::catalogButton}));
    ASSERT_TRUE(platform.click(cat(ce::associationButton)));
    window = association();
    ASSERT_TRUE(platform.exists(window));
    EXPECT_EQ(platform.textColour(label), 65280);
    ASSERT_TRUE(platform.clickMouse(label));
    EXPECT_FALSE(platform.exists(window));
    EXPECT_EQ(platform.textColour(label), 0);
    EXPECT_FALSE(platform.exists(state().nodeEditor)) << "the click closes, it does not open";
}

TEST_F(Association, ANodeFillsTheRightListFromItsSectionAndOnlyFromItemOrHero) {
    openAssociation();
    const struct {
        int node;
        int section;  // selected index of the section box
        std::vector<std::string> targetIds;
    } cases[] = {
        {1, 2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        {2, 1, {"1", "2", "3", "4"}},
        {3, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        chooseNode(c.node);
        EXPECT_EQ(platform.selection(asc(aw::sectionBox)), c.section);
        EXPECT_EQ(column(asc(aw::targetList), 0), c.targetIds);
        EXPECT_FALSE(platform.isEnabled(asc(aw::targetList)));
        EXPECT_TRUE(platform.isEnabled(asc(aw::nodeChooser)));
    }
    // The right list shows memberText of each entry; the box keeps every
    // title it was given.
    chooseNode(2);
    EXPECT_EQ(column(asc(aw::targetList), 4), (std::vector<std::string>{"1&4,7,2&9", "1&4,7", "4,7", "0&0"}));
    EXPECT_EQ(items(asc(aw::sectionBox)),
              (std::vector<std::string>{"选择项目", "Item", "Hero", "英雄", "物品", "其他", "物品"}));
    EXPECT_EQ(column(asc(aw::childList), 2), std::vector<std::string>{"X"});
}

TEST_F(Association, TheNodeChooserIsDisabledDuringTheWait) {
    openAssociation();
    bool ran = false;
    platform.queueDuringWait([&] {
        ran = true;
        EXPECT_FALSE(platform.isEnabled(asc(aw::nodeChooser)));
    });
    const auto before = platform.tickMs();
    chooseNode(1);
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform.tickMs() - before, 333);
    EXPECT_TRUE(platform.isEnabled(asc(aw::nodeChooser)));

    // Choosing "选择项目" leaves both lists as they are.
    chooseNode(0);
    EXPECT_EQ(platform.rowCount(asc(aw::childList)), 4);
    EXPECT_EQ(platform.rowCount(asc(aw::targetList)), 12);
}

TEST_F(Association, ChoosingAChildSelectsItsTargetsAndKeepsItsStoredOrder) {
    openAssociation();
    chooseNode(1);
    EXPECT_EQ(column(asc(aw::childList), 4), (std::vector<std::string>{"3,5", "9,3,12", "", "7"}));
    const struct {
        int row;
        std::string label;
        std::string idText;
        std::vector<int> selected;  // rows of the right list
        bool ordering;
    } cases[] = {
        {0, "1 | Alpha", "3,5", {2, 4}, true},
        {1, "2 | Beta", "9,3,12", {2, 8, 11}, true},
        {3, "4 | Delta", "7", {6}, false},
        {2, "3 | ", "", {}, false},  // no IDs: nothing stays selected from before
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        chooseChild(c.row);
        EXPECT_EQ(platform.text(asc(aw::idLabel)), c.label);
        EXPECT_EQ(idText(), c.idText);
        EXPECT_EQ(selectedTargets(), c.selected);
        EXPECT_EQ(platform.isEnabled(asc(aw::sortChooser)), c.ordering);
        for (const char* name : {aw::targetList, aw::clearButton, aw::saveButton})
            EXPECT_TRUE(platform.isEnabled(asc(name))) << name;
    }
    // Losing the current row disables them again.
    platform.setCurrentRow(asc(aw::childList), -1);
    for (const char* name : {aw::targetList, aw::clearButton, aw::saveButton})
        EXPECT_FALSE(platform.isEnabled(asc(name))) << name;
}

TEST_F(Association, CtrlClickedTargetsGiveTheirIdsInListOrder) {
    openAssociation();
    chooseNode(1);
    chooseChild(2);
    const platform::ControlRef targets = asc(aw::targetList);
    for (const int row : {11, 3, 7}) ASSERT_TRUE(platform.ctrlClickRow(targets, row));  // IDs 12, 4, 8
    EXPECT_EQ(idText(), "4,8,12");
    EXPECT_TRUE(platform.isEnabled(asc(aw::sortChooser)));
    ASSERT_TRUE(platform.ctrlClickRow(targets, 3));
    EXPECT_EQ(idText(), "8,12");
}

TEST_F(Association, OrderingRewritesTheIdTextAndOnlyManualMakesItWritable) {
    openAssociation();
    chooseNode(1);
    chooseChild(1);  // 9,3,12
    const platform::ControlRef sorter = asc(aw::sortChooser);
    const platform::ControlRef edit = asc(aw::idEdit);
    const struct {
        int item;
        std::string text;
        bool writable;
    } steps[] = {
        {1, "3,9,12", false},
        {2, "12,9,3", false},
        {3, "12,9,3", true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.item);
        bool ran = false;
        platform.queueDuringWait([&] { ran = true; });
        choose(sorter, s.item);
        EXPECT_TRUE(ran);
        EXPECT_EQ(idText(), s.text);
        EXPECT_EQ(!platform.isReadOnly(edit), s.writable);
        EXPECT_TRUE(platform.isEnabled(sorter));
    }
    EXPECT_TRUE(platform.hasFocus(edit));
    type(edit, "3,0,1");
    choose(sorter, 2);
    EXPECT_EQ(idText(), "3,1,");
    EXPECT_FALSE(platform.typeText(edit, "5")) << "read-only again";
}

TEST_F(Association, ClearAsksAndOnYesDeselectsAndSetsZeroWithoutWriting) {
    openAssociation();
    chooseNode(1);
    chooseChild(0);
    const std::string before = readCfg();
    platform.queueAnswer(Answer::No);
    ASSERT_TRUE(platform.click(asc(aw::clearButton)));
    expectOneBox(association(), "是否清除所选择的节点关联？\r\n之后点击\"保存关联\"按钮生效。", "确认",
                 MessageButtons::YesNo);
    EXPECT_EQ(idText(), "3,5");
    EXPECT_EQ(selectedTargets(), (std::vector<int>{2, 4}));

    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click(asc(aw::clearButton)));
    EXPECT_EQ(idText(), "0");
    EXPECT_TRUE(selectedTargets().empty());
    EXPECT_EQ(readCfg(), before);
}

TEST_F(Association, SavingWritesTheChildsWholeEntryWithTheIdText) {
    openAssociation();
    chooseNode(1);
    const struct {
        int row;
        std::vector<int> clicks;  // ctrl-clicked right-list rows after choosing the child
        int order;                // ordering item chosen before saving, 0 for none
        std::string line;
        std::string cell;
    } cases[] = {
        {0, {}, 0, "1=a.png|Alpha|one#two|3,5", "3,5"},
        {0, {6}, 2, "1=a.png|Alpha|one#two|7,5,3", "7,5,3"},
        {3, {6, 7}, 0, "4=d.png|Delta|0|8,0", "8,0"},     // 7 clicked off again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        chooseChild(c.row);
        for (const int row : c.clicks) ASSERT_TRUE(platform.ctrlClickRow(asc(aw::targetList), row));
        if (c.order) choose(asc(aw::sortChooser), c.order);
        platform.clearMessageBoxes();
        ASSERT_TRUE(save());
        expectOneBox(association(), "关联设置保存成功。", "提示");
        EXPECT_EQ(entryLine(c.row + 1), c.line);
        EXPECT_EQ(platform.cell(asc(aw::childList), c.row, 4), c.cell);
        EXPECT_EQ(idText(), c.cell);
        EXPECT_TRUE(platform.isEnabled(asc(aw::saveButton)));
    }
    // The table holds the new lists, as the overlay will read them.
    EXPECT_EQ(state().nodeTable[0].children[0].members, (Members{"7", "5", "3"}));
    EXPECT_EQ(state().nodeTable[0].children[3].members, (Members{"8", "0"}));
}

// A single chosen entry is saved so that a restart shows it in the first
// place of the third row; a lone ID a file already holds still shows in
// the second, as it always did.
TEST_F(Association, ASingleChosenEntryShowsFirstInTheThirdRowAfterARestart) {
    openAssociation();
    chooseNode(1);
    chooseChild(0);                                                   // Alpha: 3,5
    ASSERT_TRUE(platform.ctrlClickRow(asc(aw::targetList), 2));       // 3 off
    ASSERT_TRUE(platform.ctrlClickRow(asc(aw::targetList), 4));       // 5 off
    ASSERT_TRUE(platform.ctrlClickRow(asc(aw::targetList), 7));       // 8 on
    ASSERT_EQ(idText(), "8");
    ASSERT_TRUE(save());
    EXPECT_EQ(idText(), "8,0");
    // The heroes' back-references are written with it: hero 8 now names
    // node 1's child 1; the others the children that already linked them.
    std::string saved = replaceLine(defaultCfg(), "1=a.png|Alpha|one#two|3,5", "1=a.png|Alpha|one#two|8,0");
    for (const auto& [hero, refs] : {std::pair{3, "1&2"}, {7, "1&4"}, {8, "1&1"}, {9, "1&2"}, {12, "1&2"}}) {
        const std::string k = std::to_string(hero);
        saved = replaceLine(saved, k + "=h" + k + ".png|hero" + k + "|0|0&0", k + "=h" + k + ".png|hero" + k + "|0|" + refs);
    }
    EXPECT_EQ(readCfg(), saved);

    // Entry 1 now links hero 8 alone; entry 4 still holds the lone "7".
    const struct {
        int child;
        std::vector<std::string> captions;  // the third row's first two places, "" when hidden
    } cases[] = {{1, {"hero8", ""}}, {4, {"", "hero7"}}};
    platform::headless::HeadlessPlatform screen{run.path()};
    App again(screen);
    again.start();
    screen.idleUntilDone();
    const auto& rows = again.state().rows;
    ASSERT_TRUE(screen.pressMouse(rows[kFirstRow][0].caption, platform::MouseButton::Left));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.child);
        ASSERT_TRUE(screen.clickMouse(rows[kSecondRow][static_cast<std::size_t>(c.child - 1)].picture));
        for (std::size_t k = 0; k < c.captions.size(); ++k) {
            const WindowInfo& place = rows[kThirdRow][k];
            EXPECT_EQ(screen.isVisible(place.self) ? screen.text(place.caption) : "", c.captions[k]) << k;
        }
    }
}

// Digits and commas are saved as the loader reads them; anything else is
// refused, however short, and the file keeps what it had.
TEST_F(Association, IdTextsAreSavedAsNumbersOrRefused) {
    openAssociation();
    chooseNode(1);
    chooseChild(3);
    const struct {
        std::string typed;
        std::string line;  // empty: refused
    } cases[] = {{"07", "4=d.png|Delta|0|7,0"},
                 {"3,,5", "4=d.png|Delta|0|3,5"},
                 {" 3, 5 ", "4=d.png|Delta|0|3,5"},  // blanks around the IDs go
                 {",,,", "4=d.png|Delta|0|0"},     // empty items go; nothing left is "no links"
                 {"12,,", "4=d.png|Delta|0|12,0"},
                 {"x", ""},
                 {"-1", ""},
                 {"+1", ""},
                 {"1-2", ""},
                 {" ", ""},
                 {"1 2", ""},
                 {"中", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        platform.setReadOnly(asc(aw::idEdit), false);  // as "手动排序" leaves it
        type(asc(aw::idEdit), c.typed);
        const std::string before = readCfg();
        platform.clearMessageBoxes();
        ASSERT_TRUE(save());
        if (c.line.empty()) {
            expectOneBox(association(), "关联ID只能由数字和逗号组成：" + c.typed, "错误");
            EXPECT_EQ(readCfg(), before);
        } else {
            EXPECT_EQ(entryLine(4), c.line);
        }
    }
}

TEST_F(Association, TheSaveButtonIsDisabledDuringTheWait) {
    openAssociation();
    chooseNode(1);
    chooseChild(0);
    bool ran = false;
    platform.queueDuringWait([&] {
        ran = true;
        EXPECT_FALSE(platform.isEnabled(asc(aw::saveButton)));
        EXPECT_FALSE(save());
    });
    ASSERT_TRUE(save());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(platform.isEnabled(asc(aw::saveButton)));
}

TEST_F(Association, SavingWithoutAParentOrChildStopsAtTheFirstMessage) {
    openAssociation();
    chooseNode(1);
    chooseChild(0);
    const std::string before = readCfg();

    // The node box set back to "选择项目": the lists keep their rows, and
    // the writer finds no node 0.
    choose(asc(aw::nodeChooser), 0);
    ASSERT_TRUE(save());
    expectOneBox(association(), "父ID参数错误：0", "错误");

    platform.clearMessageBoxes();
    platform.setSelection(asc(aw::nodeChooser), -1);
    saveAssociation(app->context());
    expectOneBox(association(), "没有选择父节点。", "提示");
    EXPECT_TRUE(platform.hasFocus(asc(aw::nodeChooser)));

    platform.clearMessageBoxes();
    platform.setSelection(asc(aw::nodeChooser), 1);
    platform.setCurrentRow(asc(aw::childList), -1);
    saveAssociation(app->context());
    expectOneBox(association(), "没有选择子节点。", "提示");
    EXPECT_TRUE(platform.hasFocus(asc(aw::childList)));
    EXPECT_EQ(readCfg(), before);
}

TEST_F(Association, TheWheelOverTheRightListGivesItTheFocus) {
    openAssociation();
    chooseNode(1);
    chooseChild(0);
    platform.setFocus(asc(aw::nodeChooser));
    ASSERT_TRUE(platform.turnWheel(asc(aw::targetList), -120));
    EXPECT_TRUE(platform.hasFocus(asc(aw::targetList)));
}

}  // namespace
}  // namespace pallo::testing
