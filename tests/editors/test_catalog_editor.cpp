// The catalog editor: its rules, its scan of the picture folders and its
// writers as plain functions (one table per rule), then the window driven
// as a user would, with the bytes of Cfg.ini after each action.
#include <filesystem>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "editors/catalog_editor.h"
#include "editors/catalog_rules.h"
#include "editors/catalog_writers.h"
#include "editors/entry_fields.h"
#include "model/picture_dirs.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using platform::MessageButtons;
using Members = std::vector<std::string>;
using Names = std::vector<std::string>;

// --- rules --------------------------------------------------------------------

TEST(BackReferenceText, TakesMembersWithAnAmpersandLongerThanTwoCharacters) {
    const struct {
        Members members;
        std::string text;
    } cases[] = {
        {{"1&4", "7", "2&9"}, "1&4,2&9"},
        {{"1&4", "7"}, "1&4,"},  // taken, then only untaken ones: the comma stays
        {{"7", "1&4"}, "1&4"},
        {{"a&", "&", "&&"}, ""},  // two characters or fewer
        {{"中&"}, "中&"},         // three local characters
        {{"1 & 4", ""}, "1&4,"},  // blanks go from the result
        {{"", "0&0"}, "0&0"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.members));
        EXPECT_EQ(backReferenceText(c.members), c.text);
    }
}

TEST(CatalogDirectoryNames, BlanksGoAnEmptyNameEndsAndMenuIsLeftOut) {
    const std::set<std::string> directories{"Item", "Hero", "AB", "menus", "Menu", "MENU", "menu"};
    const auto isDirectory = [&](const std::string& name) { return directories.count(name) > 0; };
    const struct {
        Names listed;
        Names names;
    } cases[] = {
        {{"Item", "Hero"}, {"Item", "Hero"}},
        {{"Menu", "Item", "MENU", "menu", "menus"}, {"Item", "menus"}},
        {{"A B", "C D"}, {"AB"}},          // "CD" is no directory of its own
        {{"Item", "  ", "Hero"}, {"Item"}},  // a name of blanks ends the scan
        {{"Item", "\xE3\x80\x80", "Hero"}, {"Item"}},
        {{".", "..", "Hero"}, {"Hero"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.listed));
        EXPECT_EQ(catalogDirectoryNames(c.listed, isDirectory), c.names);
    }
}

// A folder whose name holds blanks is offered by neither editor: its Name
// would be read back without them.
TEST(CatalogDirectoryNames, NamesWithBlanksAreNotOffered) {
    TempDir dir;
    const std::string root = dir.file("Img") + files::separator();
    for (const char* name : {"My Pics", "Item", "menu"}) makeDirs(root + name);
    EXPECT_EQ(listPictureDirectories(root), Names{"Item"});
    EXPECT_EQ(listCatalogPictureDirectories(root), Names{"Item"});
    EXPECT_TRUE(listCatalogPictureDirectories(dir.file("none") + files::separator()).empty());
}

CatalogForm validForm() {
    return CatalogForm{.section = 1, .storedName = "item", .directory = "Item", .id = "2", .picture = "a.png",
                       .name = "N", .description = "x y\r\nz", .rowChosen = true, .rowName = "Shield",
                       .rowDescription = "one#two"};
}

TEST(CatalogChecks, EntryFieldsInOrder) {
    const auto exists = [](const std::string& path) { return path == "/img/Item/a.png"; };
    const CatalogFolders folders{.places = PicturePlaces("/img/", '/'), .exists = exists};
    const struct {
        const char* what;
        void (*change)(CatalogForm&);
        bool accepted;
        std::string text;
        std::string caption;
        CatalogField focus;
    } cases[] = {
        {"no section", [](CatalogForm& f) { f.section = 0; }, false, "请先选择项目。", "提示", CatalogField::SectionBox},
        {"other directory", [](CatalogForm& f) { f.directory = "图片目录"; }, false,
         "由于子节点图片目录被更改，需要自行移动原图片到新目录下。\r\n需自行将[item]目录中，有被使用的图片移动到"
         "[图片目录]目录中\r\n是否继续保存？",
         "提示：item->图片目录", CatalogField::DirectoryBox},
        {"no picture", [](CatalogForm& f) { f.picture = " \xE3\x80\x80"; }, false, "图片名称不能为空。", "提示",
         CatalogField::Picture},
        {"blank in the picture", [](CatalogForm& f) { f.picture = "a .png"; }, false,
         "图片名称不能含有空格：“a .png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", CatalogField::Picture},
        {"full-width blank in the folder", [](CatalogForm& f) { f.directory = "My\xE3\x80\x80Pics"; f.picture = "a b"; },
         true, "图片目录不能含有空格：“My\xE3\x80\x80Pics”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", CatalogField::DirectoryBox},
        {"missing picture", [](CatalogForm& f) { f.picture = "b.png"; }, false,
         "/img/Item/b.png\r\n该图片不存在，或文件名、路径带空格。", "提示", CatalogField::Picture},
        {"directory accepted, missing picture",
         [](CatalogForm& f) {
             f.directory = "Hero";
             f.picture = "a.png";
         },
         true, "/img/Hero/a.png\r\n该图片不存在，或文件名、路径带空格。", "提示", CatalogField::Picture},
        {"no name", [](CatalogForm& f) { f.name = "  "; }, false, "显示名称为空。", "错误", CatalogField::Name},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CatalogForm form = validForm();
        c.change(form);
        const auto prompt =
            checkCatalogEntry(form, folders, c.accepted ? DirectoryQuestion::Accepted : DirectoryQuestion::Ask);
        ASSERT_TRUE(prompt);
        EXPECT_EQ(prompt->text, c.text);
        EXPECT_EQ(prompt->caption, c.caption);
        EXPECT_EQ(prompt->focus, c.focus);
        EXPECT_EQ(prompt->kind == CatalogPrompt::Kind::Continue, c.caption.rfind("提示：", 0) == 0);
    }
    EXPECT_FALSE(checkCatalogEntry(validForm(), folders, DirectoryQuestion::Ask));
}

TEST(CatalogChecks, DeleteBeforeTheQuestion) {
    const struct {
        void (*change)(CatalogForm&);
        std::string text;
        CatalogField focus;
    } cases[] = {
        {[](CatalogForm& f) { f.section = 0; }, "请先选择要删除项目的主节点。", CatalogField::SectionBox},
        {[](CatalogForm& f) { f.rowChosen = false; }, "请先选择要删除的子节点。", CatalogField::EntryList},
        {[](CatalogForm& f) { f.id = " "; }, "请先选择要删除的子节点。", CatalogField::EntryList},
        {[](CatalogForm& f) { f.id = "0"; }, "请选择正确的子节点进行操作。", CatalogField::EntryList},
        {[](CatalogForm& f) { f.id = "100"; }, "请选择正确的子节点进行操作。", CatalogField::EntryList},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CatalogForm form = validForm();
        c.change(form);
        const auto prompt = checkCatalogDelete(form);
        ASSERT_TRUE(prompt);
        EXPECT_EQ(prompt->text, c.text);
        EXPECT_EQ(prompt->caption, "提示");
        EXPECT_EQ(prompt->focus, c.focus);
    }
    EXPECT_FALSE(checkCatalogDelete(validForm()));
    EXPECT_EQ(catalogDeleteQuestion(validForm()), "ID：2\r\nName：Shield\r\nText：one\r\ntwo\r\n是否删除所选子节点？");
}

TEST(CatalogChecks, AddingStopsAtNinetyNineEntries) {
    EXPECT_FALSE(checkCatalogRoom(validForm(), 98));
    const auto full = checkCatalogRoom(validForm(), 99);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->text, "已达99项上限，无法新增。");
    EXPECT_EQ(full->caption, "错误");
}

// --- writers ------------------------------------------------------------------------

class CatalogWriters : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("Cfg.ini");
    ConfigStore store;
    static CatalogEntry entry(int number, Members members) {
        return CatalogEntry{.number = number, .picture = "p" + std::to_string(number) + ".png",
                            .name = "名" + std::to_string(number), .description = "0",
                            .members = std::move(members)};
    }
};

TEST_F(CatalogWriters, WriteNameAndTheEntryWithTheMembersJoined) {
    const struct {
        Members members;
        SectionName name;
        std::string file;
    } cases[] = {
        {{"4", "7", ""}, SectionName::Write, "[Item]\r\nName=图片目录\r\n1=p1.png|名1|0|4,7,\r\n"},
        {{"", "0&0"}, SectionName::Write, "[Item]\r\nName=图片目录\r\n1=p1.png|名1|0|0&0\r\n"},
        {{"1&4", "", "2&9"}, SectionName::Keep, "[Item]\r\n1=p1.png|名1|0|1&4,2&9\r\n"},
        // Members that join to nothing are written as "none", so the entry
        // keeps its four parts and does not end the catalog.
        {{""}, SectionName::Keep, "[Item]\r\n1=p1.png|名1|0|0&0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(path, "[Item]\r\n");
        store = ConfigStore{};  // the file above is new to it
        ASSERT_EQ(writeCatalogEntry(store, path, "Item", {entry(1, c.members)}, 1, "图片目录", c.name), std::nullopt);
        EXPECT_EQ(readFile(path), c.file);
    }
}

TEST_F(CatalogWriters, AFailedWriteChangesNothingAndSaysWhat) {
    writeFile(path, "[Hero]\r\n1=x|y|z|1\r\n");
    store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Flush; });
    const struct {
        SectionName name;
        std::int32_t position;
        std::string message;
    } cases[] = {
        {SectionName::Write, 1, "Name写入失败。（及其余1项）\r\n原文件保持不变。"},
        {SectionName::Keep, 1, "Hero子项写入失败。\r\n原文件保持不变。"},
        {SectionName::Write, 2, "Hero子项写入失败。"},  // no entry there: nothing is attempted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto refusal = writeCatalogEntry(store, path, "Hero", {entry(1, {"2"})}, c.position, "Hero", c.name);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->text, c.message);
    }
    EXPECT_EQ(readFile(path), "[Hero]\r\n1=x|y|z|1\r\n");
}

TEST_F(CatalogWriters, ADeletionWritesTheMovedEntriesAndTheEmptiedKeyAsOneGroup) {
    const std::string before = "[Item]\r\n1=a|a|0|1\r\n2=b|b|0|2\r\n3=c|c|0|3\r\n";
    writeFile(path, before);
    const CatalogTable table{entry(1, {"1"}), entry(2, {"3"})};
    store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    const auto refusal = writeCatalogEntriesMovedUp(store, path, "Item", table, {2});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Item子项写入失败。（及其余1项）\r\n原文件保持不变。");
    EXPECT_EQ(readFile(path), before);

    store.setFaultHook({});
    ASSERT_EQ(writeCatalogEntriesMovedUp(store, path, "Item", table, {2}), std::nullopt);
    EXPECT_EQ(readFile(path), "[Item]\r\n1=a|a|0|1\r\n2=p2.png|名2|0|3\r\n3=\r\n");
}

// --- the window ---------------------------------------------------------------------

class CatalogEditor : public CatalogFixture {
protected:
    void chooseSection(int index) { choose(cat(ce::sectionChooser), index); }
    void chooseEntry(int row) { ASSERT_TRUE(platform.selectRow(cat(ce::entryList), row)); }
    std::string field(const char* edit) { return platform.text(cat(edit)); }
    void fill(const std::string& picture, const std::string& name, const std::string& description) {
        type(cat(ce::pictureEdit), picture);
        type(cat(ce::nameEdit), name);
        type(cat(ce::descriptionEdit), description);
    }
    // Section [Item] of the file, from its header to the next section.
    std::string itemSection() {
        const std::string cfg = readCfg();
        const std::size_t at = cfg.find("[Item]");
        return cfg.substr(at, cfg.find("[Hero]") - at);
    }
};

TEST_F(CatalogEditor, DocksUnderTheNodeEditorAndFollowsItsMoves) {
    openCatalogEditor();
    const platform::WindowRef nodeEditor = state().nodeEditor;
    EXPECT_TRUE(platform.isVisible(catalog()));
    EXPECT_EQ(platform.owner(catalog()), state().overlay);
    for (const auto& [left, top] : {std::pair{300, 40}, std::pair{12, 500}}) {
        SCOPED_TRACE(left);
        EXPECT_EQ(platform.left(catalog()), platform.left(nodeEditor));
        // One pixel under the node editor's frame, not under its client area.
        EXPECT_EQ(platform.top(catalog()), platform.top(nodeEditor) + platform.outerHeight(nodeEditor) + 1);
        ASSERT_TRUE(platform.dragWindow(nodeEditor, left, top));
    }
    EXPECT_EQ(platform.top(catalog()), 500 + 240 + platform::headless::HeadlessPlatform::kFrameExtent + 1);

    // The directory box: its prompt, then the catalog scan of Img.
    Names dirs = items(cat(ce::directoryChooser));
    ASSERT_FALSE(dirs.empty());
    EXPECT_EQ(dirs.front(), "图片目录");
    std::sort(dirs.begin() + 1, dirs.end());
    EXPECT_EQ(dirs, (Names{"图片目录", "Hero", "Item"}));
    EXPECT_EQ(platform.selection(cat(ce::directoryChooser)), 0);

    // "高级" again closes it.
    ASSERT_TRUE(platform.click({nodeEditor, ui::names::nodeEditor::catalogButton}));
    EXPECT_FALSE(platform.exists(catalog()));
}

TEST_F(CatalogEditor, ChoosingASectionListsItsEntriesAndBlocksTheBoxDuringTheWait) {
    openCatalogEditor();
    bool ran = false;
    platform.queueDuringWait([&] {
        ran = true;
        EXPECT_FALSE(platform.isEnabled(cat(ce::sectionChooser)));
        EXPECT_FALSE(platform.isEnabled(cat(ce::group)));
    });
    chooseSection(1);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(platform.isEnabled(cat(ce::sectionChooser)));
    EXPECT_EQ(platform.text(cat(ce::group)), "对Item进行");
    EXPECT_EQ(platform.itemText(cat(ce::directoryChooser), platform.selection(cat(ce::directoryChooser))), "Item");
    EXPECT_EQ(column(cat(ce::entryList), 0), (Names{"1", "2", "3", "4"}));
    EXPECT_EQ(column(cat(ce::entryList), 3), (Names{"asharp#blade", "0", "0", "0"}));
    // A trailing comma in the file is no member once read.
    EXPECT_EQ(column(cat(ce::entryList), 4), (Names{"1&4,7,2&9", "1&4,7", "4,7", "0&0"}));

    chooseSection(2);
    EXPECT_EQ(platform.rowCount(cat(ce::entryList)), 12);
    EXPECT_EQ(platform.text(cat(ce::group)), "对Hero进行");

    chooseSection(0);
    EXPECT_EQ(platform.rowCount(cat(ce::entryList)), 0);
    EXPECT_EQ(platform.selection(cat(ce::directoryChooser)), 0);
    EXPECT_EQ(platform.text(cat(ce::group)), "关联操作：");
}

TEST_F(CatalogEditor, ChoosingAnEntryShowsItsFieldsWithoutBlanks) {
    openCatalogEditor();
    chooseSection(1);
    const struct {
        int row;
        Names fields;  // ID, picture, name, back-references, description
    } cases[] = {
        {0, {"1", "i1.png", "Sword", "1&4,2&9", "asharp\r\nblade"}},
        {1, {"2", "i2.png", "Shield", "1&4,", "0"}},
        {2, {"3", "i3.png", "Bow", "", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        chooseEntry(c.row);
        EXPECT_EQ((Names{field(ce::idEdit), field(ce::pictureEdit), field(ce::nameEdit), field(ce::membersEdit),
                         field(ce::descriptionEdit)}),
                  c.fields);
    }
    // An ID that no entry has leaves the fields as they are.
    platform.setCell(cat(ce::entryList), 0, 0, "42");
    chooseEntry(0);
    EXPECT_EQ(field(ce::idEdit), "3");
}

TEST_F(CatalogEditor, AddingWritesKeyCountPlusOneWithZeroAmpZeroAndTheName) {
    openCatalogEditor();
    chooseSection(1);
    fill("new.png", "Bo w", "line one\r\nline two");
    ASSERT_TRUE(platform.click(cat(ce::addButton)));
    expectOneBox(catalog(), "保存成功。", "提示");
    EXPECT_EQ(itemSection(),
              "[Item]\r\nName=Item\r\n1=i1.png|Sword|a sharp#blade|1&4,7,2&9\r\n2=i2.png|Shield|0|1&4,7\r\n"
              "3=i3.png|Bow|0|4,7,\r\n4=i4.png|Axe|0|0&0\r\n5=new.png|Bo\xC2\xA0w|line\xC2\xA0one#line\xC2\xA0two|0&0\r\n");
    EXPECT_EQ(platform.rowCount(cat(ce::entryList)), 5);
    EXPECT_EQ((Names{platform.cell(cat(ce::entryList), 4, 0), platform.cell(cat(ce::entryList), 4, 2),
                     platform.cell(cat(ce::entryList), 4, 3), platform.cell(cat(ce::entryList), 4, 4)}),
              (Names{"5", "Bo w", "line one#line two", "0&0"}));
    EXPECT_EQ(state().itemTable.back().members, (Members{"", "0&0"}));
}

TEST_F(CatalogEditor, AddingToAFullSectionIsRefused) {
    std::string cfg = defaultCfg();
    cfg.replace(cfg.find(heroLines(12)), heroLines(12).size(), heroLines(99));
    openCatalogEditor(cfg);
    ASSERT_EQ(state().heroTable.size(), 99u);
    chooseSection(2);
    fill("h1.png", "H", "");
    const std::string before = readCfg();
    ASSERT_TRUE(platform.click(cat(ce::addButton)));
    expectOneBox(catalog(), "已达99项上限，无法新增。", "错误");
    EXPECT_EQ(readCfg(), before);
    EXPECT_EQ(state().heroTable.size(), 99u);
}

TEST_F(CatalogEditor, AFailedAddIsReportedAndTheEntryDropped) {
    openCatalogEditor();
    chooseSection(1);
    fill("new.png", "N", "");
    const std::string before = readCfg();
    state().store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Write; });
    ASSERT_TRUE(platform.click(cat(ce::addButton)));
    expectOneBox(catalog(), "Name写入失败。（及其余1项）\r\n原文件保持不变。", "错误");
    EXPECT_EQ(readCfg(), before);
    EXPECT_EQ(state().itemTable.size(), 4u);
    EXPECT_EQ(platform.rowCount(cat(ce::entryList)), 4);
}

TEST_F(CatalogEditor, SavingAsksAboutAChangedDirectoryAndWritesTheBoxsText) {
    std::string cfg = defaultCfg();
    cfg.replace(cfg.find("[Item]\r\nName=Item"), 17, "[Item]\r\nName=Pics");
    openCatalogEditor(cfg);
    writeFile(img("Item", "i2.png"), "not decoded");
    chooseSection(1);
    chooseEntry(1);
    const std::string before = readCfg();

    platform.queueAnswer(Answer::No);
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(platform.messageBoxes()[0].caption, "提示：Pics->Item");
    EXPECT_EQ(platform.messageBoxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(platform.hasFocus(cat(ce::directoryChooser)));
    EXPECT_EQ(readCfg(), before);

    platform.clearMessageBoxes();
    platform.queueAnswer(Answer::Yes);
    type(cat(ce::nameEdit), "Big Shield");
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[1].text, "保存成功。");
    EXPECT_EQ(itemSection(),
              "[Item]\r\nName=Item\r\n1=i1.png|Sword|a sharp#blade|1&4,7,2&9\r\n2=i2.png|Big\xC2\xA0Shield|0|1&4,7\r\n"
              "3=i3.png|Bow|0|4,7,\r\n4=i4.png|Axe|0|0&0\r\n");
    EXPECT_EQ(platform.cell(cat(ce::entryList), 1, 2), "Big Shield");
    chooseEntry(0);
    chooseEntry(1);
    EXPECT_EQ(platform.text(cat(ce::nameEdit)), "Big Shield") << "the box shows the space again";
}

// The catalog's folder is found in any case, as Windows finds it; without
// one the prompt shows and the section's own folder is meant: nothing is
// asked and the prompt's text is never written as Name.
class CatalogFolder : public CatalogEditor {
protected:
    // Img/Hero renamed to folder (removed when empty), the editor opened,
    // Item chosen and then Hero, and its first entry saved.
    void saveHeroWith(const std::string& folder) {
        namespace fs = std::filesystem;
        startWith(defaultCfg());
        if (folder.empty()) fs::remove_all(img("Hero"));
        else fs::rename(img("Hero"), img(folder));
        ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));
        ASSERT_TRUE(platform.click({state().nodeEditor, ui::names::nodeEditor::catalogButton}));
        chooseSection(1);  // its folder must not stay shown
        chooseSection(2);
        chooseEntry(0);
        platform.clearMessageBoxes();
        ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    }
};

TEST_F(CatalogFolder, InAnotherCaseIsTheCatalogsFolder) {
    saveHeroWith("hero");
    expectOneBox(catalog(), "保存成功。", "提示");
    EXPECT_NE(readCfg().find("[Hero]\r\nName=hero\r\n"), std::string::npos);
}

TEST_F(CatalogFolder, MissingShowsThePromptAndAsksNothing) {
    saveHeroWith("");
    EXPECT_EQ(platform.text(cat(ce::directoryChooser)), "图片目录");
    expectOneBox(catalog(), img("Hero", "h1.png") + "\r\n该图片不存在，或文件名、路径带空格。", "提示");
    EXPECT_EQ(readCfg(), defaultCfg());
}

// Switching to the other catalog empties the fields: an entry of the one
// before is never saved into it. A new entry is the chosen one.
TEST_F(CatalogEditor, SwitchingCatalogsEmptiesTheFieldsAndANewEntryIsChosen) {
    openCatalogEditor();
    chooseSection(1);
    chooseEntry(0);
    ASSERT_EQ(field(ce::nameEdit), "Sword");
    chooseSection(2);
    for (const char* edit : {ce::idEdit, ce::pictureEdit, ce::nameEdit, ce::membersEdit, ce::descriptionEdit})
        EXPECT_EQ(field(edit), "") << edit;
    const std::string before = readCfg();
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    expectOneBox(catalog(), "图片名称不能为空。", "提示");
    EXPECT_EQ(readCfg(), before);

    platform.clearMessageBoxes();
    fill("h1.png", "New", "");
    ASSERT_TRUE(platform.click(cat(ce::addButton)));
    expectOneBox(catalog(), "保存成功。", "提示");
    EXPECT_EQ(platform.currentRow(cat(ce::entryList)), 12);
    EXPECT_EQ(field(ce::idEdit), "13");
    EXPECT_EQ(field(ce::nameEdit), "New");
}

// The question names the entry the ID box names, the one deleted; after
// the deletion no entry is chosen and the fields are empty.
TEST_F(CatalogEditor, DeletingAsksAboutTheIdBoxsEntryAndLeavesNoneChosen) {
    openCatalogEditor();
    chooseSection(1);
    chooseEntry(0);
    type(cat(ce::idEdit), "3");
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click(cat(ce::deleteButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[0].text, "ID：3\r\nName：Bow\r\nText：0\r\n是否删除所选子节点？");
    EXPECT_EQ(column(cat(ce::entryList), 2), (Names{"Sword", "Shield", "Axe"}));
    EXPECT_EQ(platform.currentRow(cat(ce::entryList)), -1);
    for (const char* edit : {ce::idEdit, ce::pictureEdit, ce::nameEdit, ce::membersEdit, ce::descriptionEdit})
        EXPECT_EQ(field(edit), "") << edit;
}

TEST_F(CatalogEditor, SavingAnIdNoEntryHasIsRefused) {
    openCatalogEditor();
    chooseSection(1);
    chooseEntry(0);
    type(cat(ce::idEdit), "9");
    const std::string before = readCfg();
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    expectOneBox(catalog(), "ID非法。", "错误");
    EXPECT_TRUE(platform.hasFocus(cat(ce::entryList)));
    EXPECT_EQ(readCfg(), before);
}

TEST_F(CatalogEditor, RefusalsFocusTheControlAtFault) {
    openCatalogEditor();
    const struct {
        const char* button;
        std::string text;
        const char* focus;
    } cases[] = {
        {ce::saveButton, "请先选择项目。", ce::sectionChooser},
        {ce::addButton, "请先选择项目。", ce::sectionChooser},
        {ce::deleteButton, "请先选择要删除项目的主节点。", ce::sectionChooser},
        {ce::previewButton, "请先填写图片名称。", ce::pictureEdit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        platform.clearMessageBoxes();
        platform.setFocus(cat(ce::nameEdit));
        ASSERT_TRUE(platform.click(cat(c.button)));
        ASSERT_EQ(platform.messageBoxes().size(), 1u);
        EXPECT_EQ(platform.messageBoxes()[0].text, c.text);
        EXPECT_TRUE(platform.hasFocus(cat(c.focus)));
    }
}

TEST_F(CatalogEditor, DeletingMovesTheLaterEntriesUpAndEmptiesTheLastKey) {
    openCatalogEditor();
    chooseSection(1);
    chooseEntry(1);
    platform.queueAnswer(Answer::No);
    ASSERT_TRUE(platform.click(cat(ce::deleteButton)));
    expectOneBox(catalog(), "ID：2\r\nName：Shield\r\nText：0\r\n是否删除所选子节点？", "确认", MessageButtons::YesNo);
    EXPECT_EQ(state().itemTable.size(), 4u);

    platform.clearMessageBoxes();
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click(cat(ce::deleteButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes()[1].text, "删除完成。");
    EXPECT_EQ(itemSection(),
              "[Item]\r\nName=Item\r\n1=i1.png|Sword|a sharp#blade|1&4,7,2&9\r\n2=i3.png|Bow|0|4,7\r\n"
              "3=i4.png|Axe|0|0&0\r\n4=\r\n");
    EXPECT_EQ(column(cat(ce::entryList), 0), (Names{"1", "2", "3"}));
    EXPECT_EQ(column(cat(ce::entryList), 2), (Names{"Sword", "Bow", "Axe"}));
}

TEST_F(CatalogEditor, AFailedDeleteIsReportedAndChangesNothing) {
    openCatalogEditor();
    chooseSection(1);
    chooseEntry(0);
    const std::string before = readCfg();
    state().store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click(cat(ce::deleteButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    // Three entries moved up, the emptied key, and node 2's child that
    // linked entries 2 and 1.
    EXPECT_EQ(platform.messageBoxes()[1].text, "Item子项写入失败。（及其余4项）\r\n原文件保持不变。");
    EXPECT_EQ(platform.messageBoxes()[1].caption, "错误");
    EXPECT_EQ(readCfg(), before);
    EXPECT_EQ(state().itemTable.size(), 4u);
    EXPECT_EQ(state().itemTable[0].name, "Sword");
    EXPECT_EQ(state().nodeTable[1].children[0].members, (Members{"2", "1"}));
}

TEST_F(CatalogEditor, PreviewShowsThePictureAndARightClickHidesIt) {
    openCatalogEditor();
    chooseSection(1);
    const platform::ControlRef preview = cat(ce::preview);
    type(cat(ce::pictureEdit), "gone.png");
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click(cat(ce::previewButton)));
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(platform.messageBoxes()[0].text, img("Item", "gone.png") + "\r\n图片不存在，是否浏览该路径？");
    EXPECT_EQ(platform.openedFolders(), Names{img("Item")});
    EXPECT_FALSE(platform.isVisible(preview));

    platform.clearMessageBoxes();
    type(cat(ce::pictureEdit), "i1 .png");
    ASSERT_TRUE(platform.click(cat(ce::previewButton)));
    expectOneBox(catalog(), "图片名称不能含有空格：“i1 .png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误");
    EXPECT_TRUE(platform.hasFocus(cat(ce::pictureEdit)));
    EXPECT_FALSE(platform.isVisible(preview));

    type(cat(ce::pictureEdit), "i1.png");
    ASSERT_TRUE(platform.click(cat(ce::previewButton)));
    EXPECT_TRUE(platform.isVisible(preview));
    EXPECT_EQ(platform.picture(preview), platform::PictureSource::file(img("Item", "i1.png")));
    ASSERT_TRUE(platform.clickMouse(preview, platform::MouseButton::Right));
    EXPECT_FALSE(platform.isVisible(preview));
}

}  // namespace
}  // namespace pallo::testing
