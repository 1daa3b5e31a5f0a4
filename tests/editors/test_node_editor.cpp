// The node editor driven as a user would: what it shows, what it asks and
// refuses, and the bytes of Cfg.ini after each action.
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor_fixture.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using platform::ControlRef;
using platform::MessageButtons;
using platform::MouseButton;
using platform::PictureSource;
using Rows = std::vector<std::vector<std::string>>;

class NodeEditor : public EditorFixture {};
using Session = EditorSession;

// --- choosing and showing -----------------------------------------------------------------

TEST_F(NodeEditor, TheBoxListsTitlesFromTheFileUpToTheFirstEmptyOne) {
    const struct {
        const char* label;
        std::string sections;
        std::vector<std::string> items;
    } cases[] = {
        {"no Title in [1]", "[1]\r\nName=a\r\n[2]\r\nTitle=B\r\n", {"选择项目"}},
        {"no Title in [3]", "[1]\r\nTitle=A\r\n[2]\r\nTitle=B 2\r\n[4]\r\nTitle=D\r\n[5]\r\nTitle=E\r\n",
         {"选择项目", "A", "B2"}},
        {"blank Title in [2]", "[1]\r\nTitle=A\r\n[2]\r\nTitle=\xE3\x80\x80\r\n[3]\r\nTitle=C\r\n", {"选择项目", "A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Session t;
        t.startEditor(c.sections);
        const ControlRef box = t.c(ne::nodeChooser);
        std::vector<std::string> items;
        for (int i = 0; i < t.platform.itemCount(box); ++i) {
            items.push_back(t.platform.itemText(box, i));
            EXPECT_EQ(t.platform.itemData(box, i), i);
        }
        EXPECT_EQ(items, c.items);
    }
}

TEST_F(NodeEditor, ChoosingANodeShowsItsSettingsAndChildren) {
    startEditor();
    chooseNode(1);
    EXPECT_EQ(platform.text(c(ne::directoryChooser)), "Maps");
    EXPECT_EQ(platform.text(c(ne::mainPictureEdit)), "m1.png");
    EXPECT_EQ(platform.text(c(ne::sectionChooser)), "Item");
    EXPECT_EQ(platform.selection(c(ne::linkChooser)), 1);
    EXPECT_TRUE(platform.isChecked(c(ne::showBox)));
    EXPECT_EQ(platform.tag(c(ne::childList)), "1");
    EXPECT_EQ(state().nodeEditorChosen, 1);
    EXPECT_EQ(rows(), (Rows{{"1", "a.png", "甲", "说明一", "3,9"},
                            {"2", "b.png", "乙", "二#行", "0"},
                            {"3", "c.png", "丙", "三", "5"}}));

    // A direct reference shows where its children point.
    chooseNode(2);
    EXPECT_EQ(platform.text(c(ne::directoryChooser)), "Refs");
    EXPECT_EQ(platform.text(c(ne::sectionChooser)), "Hero");
    EXPECT_EQ(platform.text(c(ne::linkChooser)), "直接引用");
    EXPECT_FALSE(platform.isChecked(c(ne::showBox)));
    EXPECT_EQ(rows(), (Rows{{"1", "引Hero", "ID:4,6", "d", "4,6"}, {"2", "引Hero", "ID:0", "0", "0"}}));

    // No hook: the hook box shows its prompt, not the node before's hook;
    // Link 0 is "不作关联".
    chooseNode(3);
    EXPECT_EQ(platform.selection(c(ne::sectionChooser)), 0);
    EXPECT_EQ(platform.text(c(ne::linkChooser)), "不作关联");
    EXPECT_EQ(platform.rowCount(c(ne::childList)), 0);

    type(ne::idEdit, "5");
    chooseNode(0);
    for (const char* combo : {ne::nodeChooser, ne::directoryChooser, ne::sectionChooser, ne::linkChooser})
        EXPECT_EQ(platform.selection(c(combo)), 0) << combo;
    EXPECT_EQ(platform.text(c(ne::mainPictureEdit)), "");
    EXPECT_EQ(platform.text(c(ne::idEdit)), "");
    EXPECT_FALSE(platform.isChecked(c(ne::showBox)));
    EXPECT_EQ(platform.rowCount(c(ne::childList)), 0);
    EXPECT_EQ(platform.itemCount(c(ne::nodeChooser)), 4);
}

// The arrow keys only move what the box shows; leaving it for "保存" takes
// that node first, so the save writes the node the screen shows with its own
// values, never the fields of the node chosen before.
TEST_F(NodeEditor, ANodeArrowedToIsTakenWhenTheBoxIsLeftAndSavedWithItsOwnValues) {
    startEditor();
    chooseNode(1);
    const ControlRef box = c(ne::nodeChooser);
    ASSERT_TRUE(platform.pressKey(box, platform::Key::Down));
    ASSERT_TRUE(platform.pressKey(box, platform::Key::Down));
    EXPECT_EQ(platform.text(box), "空");
    EXPECT_EQ(platform.text(c(ne::sectionChooser)), "Item") << "an arrow alone loads nothing";
    ASSERT_TRUE(press(ne::saveButton));
    EXPECT_EQ(state().nodeEditorChosen, 3);
    EXPECT_EQ(platform.selection(c(ne::sectionChooser)), 0);
    EXPECT_EQ(platform.text(c(ne::linkChooser)), "不作关联");
    EXPECT_EQ(platform.rowCount(c(ne::childList)), 0);
    expectOneBox("主节点设置已保存，重启程序后生效。", "空");
    EXPECT_EQ(readCfg(), kCfg) << "node 3 keeps its own values";
}

TEST_F(NodeEditor, AChosenRowShowsItsChildWithLineBreaksAndSpacesKept) {
    startEditor();
    chooseNode(1);
    state().nodeTable[0].children[1].name = "乙 丙";
    selectRow(1);
    EXPECT_EQ(platform.text(c(ne::idEdit)), "2");
    EXPECT_EQ(platform.text(c(ne::pictureEdit)), "b.png");
    EXPECT_EQ(platform.text(c(ne::nameEdit)), "乙 丙");
    EXPECT_EQ(platform.text(c(ne::membersEdit)), "0");
    EXPECT_EQ(platform.text(c(ne::descriptionEdit)), "二\r\n行");
    selectRow(0);
    EXPECT_EQ(platform.text(c(ne::membersEdit)), "3,9");
}

TEST_F(NodeEditor, PreviewsAskToBrowseForAMissingPictureAndARightClickHidesThem) {
    startEditor();
    chooseNode(1);
    const ControlRef preview = c(ne::preview);

    ASSERT_TRUE(press(ne::previewMainButton));  // the main picture box holds m1.png
    EXPECT_TRUE(platform.isVisible(preview));
    EXPECT_EQ(platform.picture(preview), PictureSource::file(img("Menu", "m1.png")));
    ASSERT_TRUE(platform.clickMouse(preview, MouseButton::Right));
    EXPECT_FALSE(platform.isVisible(preview));

    for (const Answer answer : {Answer::No, Answer::Yes}) {
        platform.clearMessageBoxes();
        type(ne::pictureEdit, "x.png");
        platform.queueAnswer(answer);
        ASSERT_TRUE(press(ne::previewButton));
        expectOneBox(img("Maps", "x.png") + "\r\n图片不存在，是否浏览该路径？", "错误", MessageButtons::YesNo);
        EXPECT_TRUE(platform.hasFocus(c(ne::pictureEdit)));
        EXPECT_FALSE(platform.isVisible(preview));
    }
    EXPECT_EQ(platform.openedFolders(), std::vector<std::string>{img("Maps")});

    // A blank is refused: the picture would be looked for under another name.
    platform.clearMessageBoxes();
    type(ne::pictureEdit, "b .png");
    ASSERT_TRUE(press(ne::previewButton));
    expectOneBox("图片名称不能含有空格：“b .png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误");
    EXPECT_TRUE(platform.hasFocus(c(ne::pictureEdit)));
    EXPECT_FALSE(platform.isVisible(preview));

    platform.clearMessageBoxes();
    type(ne::mainPictureEdit, " ");
    ASSERT_TRUE(press(ne::previewMainButton));
    expectOneBox("请先填写图片名称。", "错误");
    EXPECT_TRUE(platform.hasFocus(c(ne::mainPictureEdit)));

    type(ne::pictureEdit, "b.png");
    ASSERT_TRUE(press(ne::previewButton));
    EXPECT_EQ(platform.picture(preview), PictureSource::file(img("Maps", "b.png")));
    EXPECT_TRUE(platform.isVisible(preview));
}

// --- adding -----------------------------------------------------------------------------------

TEST_F(NodeEditor, AddWritesOnlyTheNewKeyAndShowsTheNewChild) {
    startEditor();
    chooseNode(1);
    selectRow(0);
    type(ne::pictureEdit, "new.png");
    type(ne::nameEdit, "新 子");
    type(ne::descriptionEdit, "x y\r\nz");
    ASSERT_TRUE(press(ne::addButton));

    // Typed spaces are kept as no-break spaces and shown as spaces.
    expectOneBox("新增节点已保存，重启程序后生效。", "地图");
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "3=c.png|丙|三|5",
                                     "3=c.png|丙|三|5\r\n4=new.png|新\xC2\xA0子|x\xC2\xA0y#z|0"));
    EXPECT_EQ(row(3), (std::vector<std::string>{"4", "new.png", "新 子", "x y#z", "0"}));
    EXPECT_EQ(platform.text(c(ne::nameEdit)), "新 子");
    EXPECT_EQ(platform.currentRow(c(ne::childList)), 3);
    EXPECT_EQ(platform.text(c(ne::idEdit)), "4") << "the new row's fields show";

    // So a following save edits the new child, not the one chosen before.
    platform.clearMessageBoxes();
    type(ne::nameEdit, "新名");
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("节点设置已保存，重启程序后生效。", "地图");
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "3=c.png|丙|三|5", "3=c.png|丙|三|5\r\n4=new.png|新名|x\xC2\xA0y#z|0"));
}

TEST_F(NodeEditor, AddWithDirectReferenceNeedsNoPictureOrName) {
    startEditor();
    chooseNode(2);
    ASSERT_TRUE(press(ne::addButton));
    expectOneBox("新增节点已保存，重启程序后生效。", "引用");
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "2=0|0|0|0", "2=0|0|0|0\r\n3=0|0|0|0"));
    EXPECT_EQ(platform.text(c(ne::pictureEdit)), "0");
    EXPECT_EQ(platform.text(c(ne::nameEdit)), "0");
}

TEST_F(NodeEditor, AddRefusalsFocusTheControlAtFaultAndWriteNothing) {
    const struct {
        const char* label;
        std::function<void(Session&)> setUp;
        Answer answer;
        std::string text;
        std::string caption;
        MessageButtons buttons;
        const char* focus;
        std::vector<std::string> opened;
    } cases[] = {
        {"no main node", [](Session&) {}, Answer::Ok, "请先选择要新增项目的主节点。", "提示", MessageButtons::Ok,
         ne::nodeChooser, {}},
        {"renaming",
         [](Session& t) {
             t.chooseNode(1);
             ASSERT_TRUE(t.press(ne::renameButton));
         },
         Answer::Ok, "请先点击\"<<改名\"按钮完成改名。", "提示", MessageButtons::Ok, ne::nodeChooser, {}},
        {"no picture",
         [](Session& t) { t.chooseNode(1); }, Answer::Ok, "图片名称为空。", "错误", MessageButtons::Ok,
         ne::pictureEdit, {}},
        {"missing picture, browse",
         [](Session& t) {
             t.chooseNode(1);
             t.type(ne::pictureEdit, "zz.png");
         },
         Answer::Yes, "", "错误", MessageButtons::YesNo, ne::pictureEdit, {"Maps"}},
        {"no name",
         [](Session& t) {
             t.chooseNode(1);
             t.type(ne::pictureEdit, "a.png");
         },
         Answer::Ok, "显示名称为空。", "错误", MessageButtons::Ok, ne::nameEdit, {}},
        {"a blank in the picture",
         [](Session& t) {
             t.chooseNode(1);
             t.type(ne::pictureEdit, "a.png\xE3\x80\x80");
             t.type(ne::nameEdit, "n");
         },
         Answer::Ok, "图片名称不能含有空格：“a.png\xE3\x80\x80”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", MessageButtons::Ok, ne::pictureEdit, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Session t;
        t.startEditor();
        c.setUp(t);
        t.platform.clearMessageBoxes();
        t.platform.queueAnswer(c.answer);
        ASSERT_TRUE(t.press(ne::addButton));
        const std::string text = c.text.empty() ? t.img("Maps", "zz.png") + "\r\n图片不存在，是否浏览该路径？" : c.text;
        t.expectOneBox(text, c.caption, c.buttons);
        EXPECT_TRUE(t.platform.hasFocus(t.c(c.focus)));
        std::vector<std::string> opened;
        for (const std::string& folder : c.opened) opened.push_back(t.img(folder));
        EXPECT_EQ(t.platform.openedFolders(), opened);
        EXPECT_EQ(t.readCfg(), kCfg);
        EXPECT_EQ(t.state().nodeTable[0].children.size(), 3u);
    }
}

TEST_F(NodeEditor, TheHundredthChildIsRefusedWithTheRangeMessage) {
    const std::string cfg = "[1]\r\nName=Maps\r\nTitle=满\r\nIn=\r\nLink=0\r\nShow=1\r\nPic=m1.png\r\n" +
                            numberedChildLines(99);
    startEditor(cfg);
    chooseNode(1);
    type(ne::pictureEdit, "a.png");
    type(ne::nameEdit, "one more");
    for (int attempt = 0; attempt < 2; ++attempt) {
        platform.clearMessageBoxes();
        ASSERT_TRUE(press(ne::addButton));
        expectOneBox("主ID:[1]或子ID:[100]数值错误，或超出限定范围。", "错误");
    }
    EXPECT_EQ(readCfg(), cfg);
    EXPECT_EQ(state().nodeTable[0].children.size(), 99u) << "a refused child is not kept";
    EXPECT_EQ(platform.rowCount(c(ne::childList)), 99);
}

// --- saving -----------------------------------------------------------------------------------

TEST_F(NodeEditor, SavingWithoutARowWritesOnlyTheMainNodeKeys) {
    startEditor();
    chooseNode(1);
    ASSERT_TRUE(platform.chooseItem(c(ne::sectionChooser), 0));  // "选择项目": no hook
    chooseText(ne::linkChooser, "不作关联");
    type(ne::mainPictureEdit, "m 2.png");
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("图片名不能含有空格：“m 2.png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误");
    EXPECT_TRUE(platform.hasFocus(c(ne::mainPictureEdit)));
    EXPECT_EQ(readCfg(), kCfg);
    platform.clearMessageBoxes();
    type(ne::mainPictureEdit, "m2.png");
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("主节点设置已保存，重启程序后生效。", "地图");
    std::string want = replaceLine(kCfg, "In=Item", "In=");
    want = replaceLine(want, "Link=1", "Link=0");
    want = replaceLine(want, "Pic=m1.png\r\n1=a.png|甲|说明一|3,,9", "Pic=m2.png\r\n1=a.png|甲|说明一|3,,9");
    EXPECT_EQ(readCfg(), want);
}

TEST_F(NodeEditor, SavingAChildJoinsItsMembersForTheFile) {
    const struct {
        int row;
        std::string before;
        std::string after;
    } cases[] = {
        {0, "1=a.png|甲|说明一|3,,9", "1=a.png|甲|说明一|3,9"},
        {1, "2=b.png|乙|二#行|,0", "2=b.png|乙|二#行|0"},
        {2, "3=c.png|丙|三|5", "3=c.png|丙|三|5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        Session t;
        t.startEditor();
        t.chooseNode(1);
        t.selectRow(c.row);
        ASSERT_TRUE(t.press(ne::saveButton));
        t.expectOneBox("节点设置已保存，重启程序后生效。", "地图");
        EXPECT_EQ(t.readCfg(), c.before == c.after ? std::string(kCfg) : replaceLine(kCfg, c.before, c.after));
        EXPECT_EQ(t.platform.rowCount(t.c(ne::childList)), 3) << "the list is refilled";
    }
}

// Under "不作关联" the children's IDs are not used, but they stay in the
// file: switched there, restarted and switched back, the topic has its
// links again.
TEST_F(NodeEditor, ATopicSwitchedToNoLinkAndBackKeepsItsChildrensIds) {
    startEditor();
    chooseNode(1);
    chooseText(ne::linkChooser, "不作关联");
    ASSERT_TRUE(press(ne::saveButton));
    Session again;
    again.startEditor(readCfg());
    again.chooseNode(1);
    again.selectRow(2);
    again.chooseText(ne::linkChooser, "相互关联");
    ASSERT_TRUE(again.press(ne::saveButton));  // the child is written too
    again.expectOneBox("节点设置已保存，重启程序后生效。", "地图");
    EXPECT_EQ(again.readCfg(), kCfg);
}

// Spaces and full-width spaces are stored as no-break spaces, which the
// loaders keep: after a restart the row and the boxes show them as spaces.
TEST_F(NodeEditor, SavingEditedFieldsKeepsTypedSpacesThroughARestart) {
    startEditor();
    chooseNode(1);
    selectRow(2);
    type(ne::nameEdit, "冰 霜\xE3\x80\x80之剑");
    type(ne::descriptionEdit, "第一 行\r\n\r\n第三行");
    ASSERT_TRUE(press(ne::saveButton));
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "3=c.png|丙|三|5",
                                     "3=c.png|冰\xC2\xA0霜\xC2\xA0之剑|第一\xC2\xA0行##第三行|5"));
    Session again;
    again.startEditor(readCfg());
    again.chooseNode(1);
    again.selectRow(2);
    EXPECT_EQ(again.row(2), (std::vector<std::string>{"3", "c.png", "冰 霜 之剑", "第一 行##第三行", "5"}));
    EXPECT_EQ(again.platform.text(again.c(ne::nameEdit)), "冰 霜 之剑");
    EXPECT_EQ(again.platform.text(again.c(ne::descriptionEdit)), "第一 行\r\n\r\n第三行");
}

TEST_F(NodeEditor, AChangedPictureFolderIsAskedAboutFirst) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
        Session t;
        t.startEditor();
        t.chooseNode(1);
        t.chooseText(ne::directoryChooser, "Refs");
        t.platform.queueAnswer(answer);
        ASSERT_TRUE(t.press(ne::saveButton));
        const auto& boxes = t.platform.messageBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0].text,
                  "由于子节点图片目录被更改，需要自行移动原图片到新目录下。\r\n需自行将[Maps]目录中，有被使用的图片移动到"
                  "[Refs]目录中\r\n是否继续保存？");
        EXPECT_EQ(boxes[0].caption, "提示：Maps->Refs");
        EXPECT_EQ(boxes[0].buttons, MessageButtons::YesNo);
        if (answer == Answer::No) {
            EXPECT_EQ(boxes.size(), 1u);
            EXPECT_TRUE(t.platform.hasFocus(t.c(ne::directoryChooser)));
            EXPECT_EQ(t.readCfg(), kCfg);
        } else {
            ASSERT_EQ(boxes.size(), 2u);
            EXPECT_EQ(boxes[1].text, "主节点设置已保存，重启程序后生效。");
            EXPECT_EQ(t.readCfg(), replaceLine(kCfg, "Name=Maps\r\nTitle=地图", "Name=Refs\r\nTitle=地图"));
        }
    }
}

// A box that matches nothing of the node shows its prompt item, and a save
// then keeps the node's own value: nothing the node chosen before had, no
// question about a folder that was not changed, never the prompt's text.
TEST_F(NodeEditor, SavingANodeWhoseValuesMatchNoItemKeepsItsOwn) {
    // Node 4's folder is not on disk, and it has neither hook nor way.
    const std::string cfg = std::string(kCfg) +
                            "[4]\r\nName=Gone\r\nTitle=无\r\nIn=\r\nLink=\r\nShow=1\r\nPic=m1.png\r\n";
    const struct {
        const char* label;
        int before;  // the node chosen first
        const char* directoryChoice;
        std::string cfg;
    } cases[] = {
        {"after a node with folder, hook and way", 2, nullptr,
         replaceLine(cfg, "Link=\r\nShow=1\r\nPic=m1.png", "Link=0\r\nShow=1\r\nPic=m1.png")},
        {"the prompt chosen by hand", 1, "子图片目录",
         replaceLine(cfg, "Link=\r\nShow=1\r\nPic=m1.png", "Link=0\r\nShow=1\r\nPic=m1.png")},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.label);
        Session t;
        t.startEditor(cfg);
        t.chooseNode(k.before);
        t.chooseNode(4);
        for (const char* combo : {ne::directoryChooser, ne::sectionChooser, ne::linkChooser})
            EXPECT_EQ(t.platform.selection(t.c(combo)), 0) << combo;
        if (k.directoryChoice) t.chooseText(ne::directoryChooser, k.directoryChoice);
        ASSERT_TRUE(t.press(ne::saveButton));
        t.expectOneBox("主节点设置已保存，重启程序后生效。", "无");
        EXPECT_EQ(t.readCfg(), k.cfg);
    }
}

// After a save the saved child stays chosen with its fields as saved, so a
// second save edits it again; after a deletion no child is chosen and the
// fields are empty, so nothing typed then passes for a child's edit.
TEST_F(NodeEditor, TheFieldsAndTheChosenRowAgreeAfterEverySaveAndDelete) {
    startEditor();
    chooseNode(1);
    selectRow(1);
    const ControlRef list = c(ne::childList);
    const std::pair<const char*, const char*> names[] = {{"乙 一", "乙 一"}, {"乙二", "乙二"}};
    for (const auto& [typed, saved] : names) {
        SCOPED_TRACE(typed);
        platform.clearMessageBoxes();
        type(ne::nameEdit, typed);
        ASSERT_TRUE(press(ne::saveButton));
        expectOneBox("节点设置已保存，重启程序后生效。", "地图");
        EXPECT_EQ(platform.currentRow(list), 1);
        EXPECT_EQ(platform.text(c(ne::idEdit)), "2");
        EXPECT_EQ(platform.text(c(ne::nameEdit)), saved);
    }
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "2=b.png|乙|二#行|,0", "2=b.png|乙二|二#行|0"));

    platform.clearMessageBoxes();
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(press(ne::deleteButton));
    EXPECT_EQ(platform.currentRow(list), -1);
    for (const char* edit : {ne::idEdit, ne::pictureEdit, ne::nameEdit, ne::membersEdit, ne::descriptionEdit})
        EXPECT_EQ(platform.text(c(edit)), "") << edit;
    // A save now is the main node's alone, and says so.
    const std::string afterDelete = readCfg();
    platform.clearMessageBoxes();
    type(ne::nameEdit, "丢");
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("主节点设置已保存，重启程序后生效。", "地图");
    EXPECT_EQ(readCfg(), afterDelete);
}

TEST_F(NodeEditor, AnIdNamingNoChildIsRefusedKeepingWhatWasTyped) {
    startEditor();
    chooseNode(1);
    selectRow(2);
    type(ne::idEdit, "7");
    type(ne::nameEdit, "改过");
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("ID非法。", "错误");
    EXPECT_TRUE(platform.hasFocus(c(ne::childList)));
    EXPECT_EQ(platform.currentRow(c(ne::childList)), 2);
    EXPECT_EQ(platform.text(c(ne::idEdit)), "7");
    EXPECT_EQ(platform.text(c(ne::nameEdit)), "改过");
    EXPECT_EQ(readCfg(), kCfg);
}

// --- deleting ---------------------------------------------------------------------------------

class Deleting : public EditorFixture {
protected:
    const std::string cfg = "[1]\r\nName=Maps\r\nTitle=五\r\nIn=\r\nLink=0\r\nShow=1\r\nPic=m1.png\r\n" +
                            numberedChildLines(5) + "[2]\r\nTitle=next\r\n";
    void SetUp() override {
        startEditor(cfg);
        chooseNode(1);
    }
    // Selects the row and deletes it, answering the question with answer.
    void deleteRow(int r, Answer answer = Answer::Yes) {
        selectRow(r);
        platform.clearMessageBoxes();
        platform.queueAnswer(answer);
        ASSERT_TRUE(press(ne::deleteButton));
    }
};

TEST_F(Deleting, AMiddleChildMovesTheLaterOnesUpAndEmptiesTheLastKey) {
    deleteRow(1);
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[0].text, "ID：2\r\nName：child2\r\nText：tip2\r\n是否删除所选子节点？");
    EXPECT_EQ(platform.messageBoxes()[0].caption, "确认");
    EXPECT_EQ(platform.messageBoxes()[1].text, "删除完成。");
    EXPECT_EQ(platform.messageBoxes()[1].caption, "提示");
    std::string want = cfg;
    want = replaceLine(want, "2=c2.png|child2|tip2|2", "2=c3.png|child3|tip3|3");
    want = replaceLine(want, "3=c3.png|child3|tip3|3", "3=c4.png|child4|tip4|4");
    want = replaceLine(want, "4=c4.png|child4|tip4|4", "4=c5.png|child5|tip5|5");
    want = replaceLine(want, "5=c5.png|child5|tip5|5", "5=");
    EXPECT_EQ(readCfg(), want);
    // Link "0" does not use the IDs, but they move with their children.
    EXPECT_EQ(rows(), (Rows{{"1", "c1.png", "child1", "tip1", "1"},
                            {"2", "c3.png", "child3", "tip3", "3"},
                            {"3", "c4.png", "child4", "tip4", "4"},
                            {"4", "c5.png", "child5", "tip5", "5"}}));
}

// What is asked about is what is deleted: the child the ID box names,
// whichever row is selected.
TEST_F(Deleting, TheQuestionNamesTheChildOfTheIdBox) {
    selectRow(0);
    platform.setText(c(ne::idEdit), "4");
    platform.clearMessageBoxes();
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(press(ne::deleteButton));
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[0].text, "ID：4\r\nName：child4\r\nText：tip4\r\n是否删除所选子节点？");
    std::string want = replaceLine(cfg, "4=c4.png|child4|tip4|4", "4=c5.png|child5|tip5|5");
    EXPECT_EQ(readCfg(), replaceLine(want, "5=c5.png|child5|tip5|5", "5="));
}

TEST_F(Deleting, TheLastChildEmptiesOnlyItsOwnKey) {
    deleteRow(4);
    EXPECT_EQ(readCfg(), replaceLine(cfg, "5=c5.png|child5|tip5|5", "5="));
    // Adding again reuses the emptied key.
    platform.clearMessageBoxes();
    type(ne::pictureEdit, "a.png");
    type(ne::nameEdit, "back");
    ASSERT_TRUE(press(ne::addButton));
    EXPECT_EQ(readCfg(), replaceLine(cfg, "5=c5.png|child5|tip5|5", "5=a.png|back|0|0"));
}

TEST_F(Deleting, RefusalsComeBeforeTheQuestionAndNoLeavesAllAsItWas) {
    const struct {
        const char* id;
        std::string text;
        std::string caption;
    } cases[] = {
        {"0", "请选择正确的子节点进行操作。", "提示"},
        {"100", "请选择正确的子节点进行操作。", "提示"},
        {"", "请先选择要删除的子节点。", "提示"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        selectRow(1);
        platform.setText(this->c(ne::idEdit), c.id);
        platform.clearMessageBoxes();
        ASSERT_TRUE(press(ne::deleteButton));
        expectOneBox(c.text, c.caption);
        EXPECT_TRUE(platform.hasFocus(this->c(ne::childList)));
    }
    // An ID in range that no child has: nothing to ask about.
    selectRow(1);
    platform.setText(c(ne::idEdit), "7");
    platform.clearMessageBoxes();
    ASSERT_TRUE(press(ne::deleteButton));
    expectOneBox("ID:7 删除失败。", "错误");

    deleteRow(1, Answer::No);
    EXPECT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(readCfg(), cfg);
    EXPECT_EQ(platform.rowCount(c(ne::childList)), 5);
}

// --- renaming ---------------------------------------------------------------------------------

TEST_F(NodeEditor, RenameSwitchesTheBoxToTypingAndBack) {
    startEditor();
    chooseNode(2);
    const ControlRef box = c(ne::nodeChooser);
    ASSERT_TRUE(press(ne::renameButton));
    EXPECT_TRUE(platform.isEditable(box));
    EXPECT_EQ(platform.itemCount(box), 4);
    EXPECT_EQ(platform.selection(box), 2);
    EXPECT_TRUE(platform.hasFocus(box));
    EXPECT_TRUE(platform.messageBoxes().empty());

    ASSERT_TRUE(platform.typeText(box, "新 名"));
    ASSERT_TRUE(press(ne::renameButton));
    expectOneBox("改名成功，重启程序后显示新名称。", "提示");
    // The space is kept as a no-break space, which the menu and the
    // editors read alike, and the box shows it as a space.
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "Title=引用", "Title=新\xC2\xA0名"));
    EXPECT_FALSE(platform.isEditable(box));
    EXPECT_EQ(platform.itemText(box, 2), "新 名");
    EXPECT_EQ(platform.selection(box), 2);
    EXPECT_TRUE(platform.hasFocus(box));
    EXPECT_EQ(state().nodeTable[1].Title, "引用") << "the table keeps the old title until a restart";

    // The box keeps its event: choosing from it still loads a node.
    ASSERT_TRUE(platform.chooseItem(box, 1));
    EXPECT_EQ(platform.tag(c(ne::childList)), "1");
}

// Adding a topic (no node chosen), removing the last one (its title
// emptied, after a question) and the titles that are refused.
TEST_F(NodeEditor, RenamingCases) {
    const std::string blankRefused =
        "标题不能为空：清空标题会使该项目及其后的项目都不再显示。\r\n只有最后一个项目可以清空标题（即删除该项目）。";
    std::string ten = kCfg;
    for (int s = 4; s <= 10; ++s) ten += "[" + std::to_string(s) + "]\r\nTitle=T" + std::to_string(s) + "\r\n";
    const struct {
        const char* label;
        std::string cfg;
        int node;  // 0: none chosen
        std::string typed;
        Answer answer;
        std::string text;
        std::string caption;
        std::string cfgAfter;
        int itemsAfter;
        int chosenAfter;
    } cases[] = {
        {"no node chosen: a new topic in the first section without a title", kCfg, 0, "新 题", Answer::No,
         "改名成功，重启程序后显示新名称。", "提示", std::string(kCfg) + "[4]\r\nTitle=新\xC2\xA0题\r\n", 5, 4},
        {"no node chosen and ten topics", ten, 0, "X", Answer::No, "固定项目限制在10个以内。", "错误", ten, 11, 0},
        {"no node chosen, no title", kCfg, 0, " ", Answer::No, blankRefused, "提示", kCfg, 4, 0},
        {"a blank title for a node with others after it", kCfg, 2, " \xE3\x80\x80", Answer::Yes, blankRefused,
         "提示", kCfg, 4, 2},
        {"the last node's title emptied, answered No", kCfg, 3, " ", Answer::No,
         "清空标题后，项目[空]不再列在编辑器中；它在菜单中仍然显示，直到在 Cfg.ini 中删去它的 Name 或 Pic。\r\n是否继续？", "确认", kCfg, 4, 3},
        {"the last node's title emptied, answered Yes", kCfg, 3, "", Answer::Yes,
         "清空标题后，项目[空]不再列在编辑器中；它在菜单中仍然显示，直到在 Cfg.ini 中删去它的 Name 或 Pic。\r\n是否继续？", "确认",
         replaceLine(kCfg, "Title=空", "Title="), 3, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.label);
        Session t;
        t.startEditor(k.cfg);
        if (k.node) t.chooseNode(k.node);
        const ControlRef box = t.c(ne::nodeChooser);
        ASSERT_TRUE(t.press(ne::renameButton));
        ASSERT_TRUE(t.platform.typeText(box, k.typed.empty() ? " " : k.typed));
        t.platform.queueAnswer(k.answer);
        ASSERT_TRUE(t.press(ne::renameButton));
        ASSERT_FALSE(t.platform.messageBoxes().empty());
        EXPECT_EQ(t.platform.messageBoxes()[0].text, k.text);
        EXPECT_EQ(t.platform.messageBoxes()[0].caption, k.caption);
        EXPECT_EQ(t.readCfg(), k.cfgAfter);
        EXPECT_EQ(t.platform.itemCount(box), k.itemsAfter);
        EXPECT_EQ(t.platform.selection(box), k.chosenAfter);
        EXPECT_FALSE(t.platform.isEditable(box));
    }
}

// The new topic is then set up like any other and saved: after a restart
// it is in the box with what was saved.
TEST_F(NodeEditor, ANewTopicIsNamedThenSavedAndReadsBackAfterARestart) {
    startEditor();
    ASSERT_TRUE(press(ne::renameButton));
    ASSERT_TRUE(platform.typeText(c(ne::nodeChooser), "新题"));
    ASSERT_TRUE(press(ne::renameButton));
    EXPECT_EQ(platform.tag(c(ne::childList)), "4") << "the new topic's form shows";
    chooseText(ne::directoryChooser, "Maps");
    type(ne::mainPictureEdit, "m2.png");
    chooseText(ne::sectionChooser, "Item");
    chooseText(ne::linkChooser, "相互关联");
    platform.clearMessageBoxes();
    ASSERT_TRUE(press(ne::saveButton));
    expectOneBox("主节点设置已保存，重启程序后生效。", "新题");
    EXPECT_EQ(readCfg(), std::string(kCfg) +
                             "[4]\r\nTitle=新题\r\nName=Maps\r\nIn=Item\r\nLink=1\r\nPic=m2.png\r\nShow=0\r\n");

    Session again;
    again.startEditor(readCfg());
    again.chooseNode(4);
    EXPECT_EQ(again.platform.text(again.c(ne::directoryChooser)), "Maps");
    EXPECT_EQ(again.platform.text(again.c(ne::mainPictureEdit)), "m2.png");
    EXPECT_EQ(again.platform.text(again.c(ne::sectionChooser)), "Item");
    EXPECT_EQ(again.platform.text(again.c(ne::linkChooser)), "相互关联");
}

// Typing a title leaves the box no item selected, as Win32 does: the
// buttons still answer that the rename is to be finished first.
TEST_F(NodeEditor, WhileATitleIsTypedTheButtonsAskToFinishTheRename) {
    const struct {
        const char* button;
        const char* text;
    } cases[] = {
        {ne::saveButton, "请点击\"<<改名\"按钮完成改名后再保存。"},
        {ne::addButton, "请先点击\"<<改名\"按钮完成改名。"},
        {ne::deleteButton, "请先点击\"<<改名\"按钮完成改名。"},
    };
    startEditor();
    chooseNode(1);
    selectRow(0);
    ASSERT_TRUE(press(ne::renameButton));
    ASSERT_TRUE(platform.typeText(c(ne::nodeChooser), "新"));
    ASSERT_EQ(platform.selection(c(ne::nodeChooser)), -1);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.button);
        platform.clearMessageBoxes();
        ASSERT_TRUE(press(k.button));
        expectOneBox(k.text, "提示");
    }
    EXPECT_EQ(readCfg(), kCfg);
    ASSERT_TRUE(press(ne::renameButton));
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "Title=地图", "Title=新"));
}

// --- failed writes ------------------------------------------------------------------------------

// Every action that writes, with each step of the file replace failing:
// the file stays exactly as it was, nothing is left behind, the failure is
// shown, and the table stays in step with the file.
TEST_F(NodeEditor, AFailedWriteAtAnyStepLeavesTheFileAsItWasAndIsShown) {
    // The writer's first line, how many more it had, and what was kept.
    const std::string kept = "\r\n原文件保持不变。";
    const struct {
        const char* label;
        std::function<void(Session&)> act;
        std::string message;
        std::size_t children;  // node 1's children afterwards
        int rows;
    } actions[] = {
        {"add",
         [](Session& t) {
             t.type(ne::pictureEdit, "a.png");
             t.type(ne::nameEdit, "n");
             ASSERT_TRUE(t.press(ne::addButton));
         },
         "[1]下\"4\"写入失败。" + kept, 3, 3},
        {"main-node save",
         [](Session& t) {
             t.type(ne::mainPictureEdit, "m2.png");
             ASSERT_TRUE(t.press(ne::saveButton));
         },
         "[1]下Name写入失败。（及其余5项）" + kept, 3, 3},
        {"node save",
         [](Session& t) {
             t.selectRow(0);
             ASSERT_TRUE(t.press(ne::saveButton));
         },
         "[1]下Name写入失败。（及其余5项）" + kept, 3, 3},
        {"delete",
         [](Session& t) {
             t.selectRow(0);
             t.platform.clearMessageBoxes();
             t.platform.queueAnswer(Answer::Yes);
             ASSERT_TRUE(t.press(ne::deleteButton));
         },
         "[1]下\"1\"写入失败。（及其余2项）" + kept, 3, 3},
        {"rename",
         [](Session& t) {
             ASSERT_TRUE(t.press(ne::renameButton));
             ASSERT_TRUE(t.platform.typeText(t.c(ne::nodeChooser), "新"));
             ASSERT_TRUE(t.press(ne::renameButton));
         },
         "配置文件写入失败。" + kept, 3, 3},
    };
    for (const auto& a : actions) {
        for (const files::WriteStep step : {files::WriteStep::CreateTemp, files::WriteStep::Write,
                                            files::WriteStep::Flush, files::WriteStep::Close,
                                            files::WriteStep::Replace}) {
            SCOPED_TRACE(std::string(a.label) + " failing at " + files::writeStepName(step));
            Session t;
            t.startEditor();
            t.chooseNode(1);
            t.state().store.setFaultHook([step](files::WriteStep s) { return s == step; });
            a.act(t);
            ASSERT_FALSE(t.platform.messageBoxes().empty());
            const auto& box = t.platform.messageBoxes().back();
            EXPECT_EQ(box.text, a.message);
            EXPECT_EQ(box.caption, "错误");
            EXPECT_EQ(box.owner, t.editor());
            EXPECT_EQ(t.readCfg(), kCfg);
            const std::vector<std::string> entries = listDir(t.run.path());
            EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), (std::set<std::string>{"Cfg.ini", "Img"}))
                << "no temporary file is left";
            EXPECT_EQ(t.state().nodeTable[0].children.size(), a.children);
            EXPECT_EQ(t.platform.rowCount(t.c(ne::childList)), a.rows);
        }
    }
}

TEST_F(NodeEditor, AfterAFailedDeleteTheNextAddDoesNotOverwriteAChild) {
    startEditor();
    chooseNode(1);
    selectRow(0);
    state().store.setFaultHook([](files::WriteStep s) { return s == files::WriteStep::Replace; });
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(press(ne::deleteButton));
    state().store.setFaultHook({});
    type(ne::pictureEdit, "a.png");
    type(ne::nameEdit, "n");
    ASSERT_TRUE(press(ne::addButton));
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "3=c.png|丙|三|5", "3=c.png|丙|三|5\r\n4=a.png|n|说明一|0"));
}

// --- the catalog editor ---------------------------------------------------------------------------

TEST_F(NodeEditor, AdvancedTogglesTheCatalogEditorDockedUnderTheEditor) {
    startEditor();
    ASSERT_TRUE(press(ne::catalogButton));
    const platform::WindowRef catalog = state().catalogEditor;
    ASSERT_TRUE(platform.exists(catalog));
    EXPECT_EQ(platform.designName(catalog), "CatalogEditorWindow");
    EXPECT_EQ(platform.owner(catalog), state().overlay);
    EXPECT_TRUE(platform.isVisible(catalog));
    const auto docked = [&] {
        EXPECT_EQ(platform.left(catalog), platform.left(editor()));
        EXPECT_EQ(platform.top(catalog), platform.top(editor()) + platform.outerHeight(editor()) + 1);
    };
    docked();
    ASSERT_TRUE(platform.dragWindow(editor(), 333, 44));
    docked();
    EXPECT_EQ(platform.left(catalog), 333);

    ASSERT_TRUE(press(ne::catalogButton));
    EXPECT_FALSE(platform.exists(catalog));
    EXPECT_TRUE(platform.windowsOfDesign("CatalogEditorWindow").empty());
    ASSERT_TRUE(platform.dragWindow(editor(), 10, 10)) << "moving with no catalog editor is fine";
    ASSERT_TRUE(press(ne::catalogButton));
    EXPECT_TRUE(platform.exists(state().catalogEditor));
}

}  // namespace
}  // namespace pallo::testing
