// The node editor's rules as plain functions, one table per rule.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editors/node_rules.h"
#include "editors/node_writers.h"

namespace pallo {
namespace {

using Members = std::vector<std::string>;

TEST(MemberJoins, ListAndFileDifferOnlyInABlankLastMember) {
    const struct {
        Members members;
        std::string list;
        std::string file;
    } cases[] = {
        {{"3", "", "9"}, "3,9", "3,9"},
        {{"", "0"}, "0", "0"},
        {{"3", "5", ""}, "3,5,", "3,5,0"},
        {{"", "7"}, "7", "7"},
        {{""}, "", "0"},
        {{}, "", "0"},
        {{" ", "\xE3\x80\x80", "4"}, "4", "4"},  // blank members, ASCII and full-width
        {{"1", "2", " "}, "1,2, ", "1,2,0"},     // a blank last member is shown as stored
        {{"1&4", "7"}, "1&4,7", "1&4,7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.members));
        EXPECT_EQ(joinMembersForList(c.members), c.list);
        EXPECT_EQ(joinMembersForFile(c.members), c.file);
    }
}

TEST(Descriptions, StoredWithHashForLineBreaksAndNoBreakSpaces) {
    const struct {
        std::string box;
        std::string stored;
    } cases[] = {
        {"x y\r\nz", "x\xC2\xA0y#z"},  // a space stays, as a no-break space
        {"   ", "0"},
        {"", "0"},
        {"\r\n", "#"},
        {"一\xE3\x80\x80二\r\n\r\n三", "一\xC2\xA0二##三"},
        {" \xE3\x80\x80\r\n", "\xC2\xA0\xC2\xA0#"},
        {"a\nb\rc", "a#b#c"},  // a lone LF or CR is a line break too
    };
    for (const auto& c : cases) EXPECT_EQ(storedDescription(c.box), c.stored) << c.box;
    EXPECT_EQ(shownDescription("line one#line\xC2\xA0two#"), "line one\r\nline two\r\n");
}

TEST(EntryValues, FourPartsWithMembersJoinedForTheFile) {
    ChildNode child{.number = 4, .picture = "a.png", .name = "甲", .description = "x#y", .members = {"3", "", "9"}};
    EXPECT_EQ(entryValue(child), "a.png|甲|x#y|3,9");
    WriteGroup group;
    addChildEntry(group, child, 7, 2);
    ASSERT_EQ(group.items().size(), 1u);
    EXPECT_EQ(group.items()[0].section, "7");
    EXPECT_EQ(group.items()[0].key, "2");
    EXPECT_EQ(group.items()[0].value, "a.png|甲|x#y|3,9");
    // Invalid UTF-8 would be mended on its way to the file, so it would not
    // read back as it is: refused.
    child.name = "\xFF";
    WriteGroup refused;
    addChildEntry(refused, child, 1, 1);
    EXPECT_TRUE(refused.items().empty());
    ASSERT_TRUE(refused.refusal());
    EXPECT_EQ(refused.refusal()->field, WrittenField::Name);
}

TEST(RowCells, LoadingAndRefillingByLink) {
    const ChildNode child{.number = 1, .picture = "p.png", .name = "名", .description = "d#e", .members = {"", "7"}};
    const ChildNode two{.number = 2, .picture = "q.png", .name = "n", .description = "0", .members = {"3", "", "9"}};
    const struct {
        const char* link;
        const ChildNode& child;
        RowCells loaded;
        RowCells refilled;
    } cases[] = {
        {"1", child, {"3", "p.png", "名", "d#e", "7"}, {"3", "p.png", "名", "d#e", "7"}},
        {"0", two, {"3", "q.png", "n", "0", "3,9"}, {"3", "q.png", "n", "0", "3,9"}},
        {"2", child, {"3", "引Hero", "ID:7", "d#e", "7"}, {"3", "转Hero", "", "", ""}},
        {"2", two, {"3", "引Hero", "ID:3,9", "0", "3,9"}, {"3", "转Hero3", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Link ") + c.link + ", child " + std::to_string(c.child.number));
        MainNode node;
        node.In = InValue("Hero");
        node.Link = LinkValue(c.link);
        EXPECT_EQ(loadedRowCells(node, c.child, 3), c.loaded);
        EXPECT_EQ(refilledRowCells(node, c.child, 3), c.refilled);
    }
}

// --- the checks, in their order ----------------------------------------------------------

struct CheckCase {
    const char* label;
    void (*change)(NodeForm&);
    Prompt::Kind kind;
    std::string text;  // "" = no prompt
    std::string caption;
    FormField focus;
};

// A form that passes every check: main node 1 chosen, its folder "Maps",
// row 1 selected, all pictures present.
NodeForm goodForm() {
    NodeForm f;
    f.chosen = 1;
    f.title = "地图";
    f.directory = "Maps";
    f.mainPicture = "m1.png";
    f.hook = "Item";
    f.link = 1;
    f.rowChosen = true;
    f.rowId = "1";
    f.id = "1";
    f.picture = "a.png";
    f.name = "甲";
    return f;
}

PictureFolders folders() {
    static const std::set<std::string> present{"Img/Maps/a.png", "Img/Other/a.png", "Img/Menu/m1.png"};
    return PictureFolders{.places = PicturePlaces("Img/", '/'),
                          .exists = [](const std::string& p) { return present.count(p) > 0; }};
}

MainNode nodeOne() {
    MainNode node;
    node.number = 1;
    node.Name = "maps";  // differs from "Maps" only in case: no question
    node.children = {ChildNode{.number = 1, .picture = {}, .name = {}, .description = {}, .members = {""}},
                     ChildNode{.number = 2, .picture = {}, .name = {}, .description = {}, .members = {""}}};
    return node;
}

void expectPrompt(const std::optional<Prompt>& got, const CheckCase& c) {
    SCOPED_TRACE(c.label);
    if (c.text.empty()) {
        EXPECT_FALSE(got) << got->text;
        return;
    }
    ASSERT_TRUE(got);
    EXPECT_EQ(got->kind, c.kind);
    EXPECT_EQ(got->text, c.text);
    EXPECT_EQ(got->caption, c.caption);
    EXPECT_EQ(got->focus, c.focus);
}

using K = Prompt::Kind;
using F = FormField;

TEST(AddChecks, InOrderAndDirectReferenceSkipsPictureAndName) {
    const CheckCase cases[] = {
        {"passes", [](NodeForm&) {}, K::Refusal, "", "", F::MainNodeBox},
        {"no main node, renaming too",
         [](NodeForm& f) { f.chosen = 0; f.renaming = true; f.picture = ""; },
         K::Refusal, "请先选择要新增项目的主节点。", "提示", F::MainNodeBox},
        {"renaming", [](NodeForm& f) { f.renaming = true; f.link = 2; },
         K::Refusal, "请先点击\"<<改名\"按钮完成改名。", "提示", F::MainNodeBox},
        {"direct reference, nothing typed",
         [](NodeForm& f) { f.link = 2; f.picture = " "; f.name = ""; f.directory = "None"; },
         K::Refusal, "", "", F::MainNodeBox},
        {"blank picture before a missing folder", [](NodeForm& f) { f.picture = " \xE3\x80\x80"; f.directory = "x"; },
         K::Refusal, "图片名称为空。", "错误", F::ChildPicture},
        {"missing picture before a blank name", [](NodeForm& f) { f.picture = "b.png"; f.name = ""; },
         K::Browse, "Img/Maps/b.png\r\n图片不存在，是否浏览该路径？", "错误", F::ChildPicture},
        {"a blank in the picture", [](NodeForm& f) { f.picture = "a .png"; f.name = ""; },
         K::Refusal, "图片名称不能含有空格：“a .png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", F::ChildPicture},
        {"a blank in the folder, before the picture's",
         [](NodeForm& f) { f.directory = "My Pics"; f.picture = "a\xE3\x80\x80.png"; },
         K::Refusal, "图片目录不能含有空格：“My Pics”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", F::DirectoryBox},
        {"blank name", [](NodeForm& f) { f.name = " "; }, K::Refusal, "显示名称为空。", "错误", F::ChildName},
        {"no row needed", [](NodeForm& f) { f.rowChosen = false; f.id = ""; }, K::Refusal, "", "", F::MainNodeBox},
    };
    for (const CheckCase& c : cases) {
        NodeForm f = goodForm();
        c.change(f);
        expectPrompt(checkAdd(f, folders()), c);
    }
    NodeForm missing = goodForm();
    missing.picture = "b.png";
    EXPECT_EQ(checkAdd(missing, folders())->folder, "Img/Maps/");
}

TEST(SaveChecks, InOrderWithTheFolderQuestionAndTheChildChecks) {
    const CheckCase cases[] = {
        {"node save passes", [](NodeForm&) {}, K::Refusal, "", "", F::MainNodeBox},
        {"no main node", [](NodeForm& f) { f.chosen = 0; f.renaming = true; },
         K::Refusal, "请先选择项目。", "提示", F::MainNodeBox},
        {"renaming", [](NodeForm& f) { f.renaming = true; f.directory = "Other"; },
         K::Refusal, "请点击\"<<改名\"按钮完成改名后再保存。", "提示", F::MainNodeBox},
        {"folder changed, asked before the pictures", [](NodeForm& f) { f.directory = "子图片目录"; f.mainPicture = ""; },
         K::Continue,
         "由于子节点图片目录被更改，需要自行移动原图片到新目录下。\r\n需自行将[maps]目录中，有被使用的图片移动到[子图片目录]目录中\r\n"
         "是否继续保存？",
         "提示：maps->子图片目录", F::DirectoryBox},
        {"blank main picture", [](NodeForm& f) { f.mainPicture = " "; },
         K::Refusal, "图片名称不能为空。", "提示", F::MainPicture},
        {"a blank in the main picture", [](NodeForm& f) { f.mainPicture = "m 1.png"; f.picture = ""; },
         K::Refusal, "图片名不能含有空格：“m 1.png”。文件名和文件夹名中的空格无法保存，请改用没有空格的名字。", "错误", F::MainPicture},
        {"missing main picture", [](NodeForm& f) { f.mainPicture = "m2.png"; f.picture = ""; },
         K::Refusal, "Img/Menu/m2.png\r\n该图片不存在，或文件名、路径带空格。", "提示", F::MainPicture},
        {"main-node save: no row, child boxes not checked",
         [](NodeForm& f) { f.rowChosen = false; f.picture = ""; f.id = "55"; }, K::Refusal, "", "", F::MainNodeBox},
        {"main-node save: direct reference", [](NodeForm& f) { f.link = 2; f.name = ""; f.id = "0"; },
         K::Refusal, "", "", F::MainNodeBox},
        {"blank child picture", [](NodeForm& f) { f.picture = ""; f.id = "9"; },
         K::Refusal, "图片名称为空。", "错误", F::ChildPicture},
        {"missing child picture", [](NodeForm& f) { f.picture = "c.png"; },
         K::Browse, "Img/Maps/c.png\r\n图片不存在，是否浏览该路径？", "错误", F::ChildPicture},
        {"blank child name", [](NodeForm& f) { f.name = "\xE3\x80\x80"; f.id = "9"; },
         K::Refusal, "显示名称为空。", "错误", F::ChildName},
        {"ID box names no child", [](NodeForm& f) { f.id = "3"; }, K::Refusal, "ID非法。", "错误", F::ChildList},
        {"ID box empty", [](NodeForm& f) { f.id = ""; }, K::Refusal, "ID非法。", "错误", F::ChildList},
        {"ID box names another child than the row", [](NodeForm& f) { f.id = "2"; }, K::Refusal, "", "",
         F::MainNodeBox},
        {"the selected row names no child", [](NodeForm& f) { f.rowId = "7"; },
         K::Refusal, "ID非法。", "错误", F::ChildList},
    };
    const MainNode node = nodeOne();
    for (const CheckCase& c : cases) {
        NodeForm f = goodForm();
        c.change(f);
        expectPrompt(checkSave(f, node, folders(), DirectoryQuestion::Ask), c);
    }
    NodeForm moved = goodForm();
    moved.directory = "Other";
    EXPECT_FALSE(checkSave(moved, node, folders(), DirectoryQuestion::Accepted))
        << "once accepted, the question is not asked again";
    MainNode noFolder = node;
    noFolder.Name = "";
    EXPECT_FALSE(checkSave(moved, noFolder, folders(), DirectoryQuestion::Ask))
        << "a node without a folder has nothing to move";
    moved.directory = "My Pics";
    moved.rowChosen = false;  // the topic's own folder, without a child saved
    const auto blank = checkSave(moved, node, folders(), DirectoryQuestion::Accepted);
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->focus, F::DirectoryBox);
    EXPECT_EQ(blank->caption, "错误");
}

TEST(DeleteChecks, InOrderBeforeTheQuestion) {
    const CheckCase cases[] = {
        {"passes", [](NodeForm&) {}, K::Refusal, "", "", F::MainNodeBox},
        {"highest ID", [](NodeForm& f) { f.id = " 99"; }, K::Refusal, "", "", F::MainNodeBox},
        {"no main node", [](NodeForm& f) { f.chosen = 0; f.rowChosen = false; },
         K::Refusal, "请先选择要删除项目的主节点。", "提示", F::MainNodeBox},
        {"renaming", [](NodeForm& f) { f.renaming = true; f.rowChosen = false; },
         K::Refusal, "请先点击\"<<改名\"按钮完成改名。", "提示", F::MainNodeBox},
        {"no row", [](NodeForm& f) { f.rowChosen = false; f.id = "0"; },
         K::Refusal, "请先选择要删除的子节点。", "提示", F::ChildList},
        {"blank ID", [](NodeForm& f) { f.id = "  "; }, K::Refusal, "请先选择要删除的子节点。", "提示", F::ChildList},
        {"ID 0", [](NodeForm& f) { f.id = "0"; }, K::Refusal, "请选择正确的子节点进行操作。", "提示", F::ChildList},
        {"ID 100", [](NodeForm& f) { f.id = "100"; }, K::Refusal, "请选择正确的子节点进行操作。", "提示", F::ChildList},
    };
    for (const CheckCase& c : cases) {
        NodeForm f = goodForm();
        c.change(f);
        expectPrompt(checkDelete(f), c);
    }
    NodeForm f = goodForm();
    f.id = " 2";
    EXPECT_EQ(deleteQuestion(f, "乙", "二#行"), "ID： 2\r\nName：乙\r\nText：二\r\n行\r\n是否删除所选子节点？");
    EXPECT_EQ(deleteFailure(f), "ID:2 删除失败。");
}

TEST(RenamePlans, BlankTitlesRemoveOnlyTheLastNodeAndNoNodeMakesANewTopic) {
    using P = RenamePlan::Kind;
    const struct {
        int chosen;
        int listed;
        const char* title;
        P kind;
        int number;
    } cases[] = {
        {2, 3, "新", P::Write, 2},
        {2, 3, " \xE3\x80\x80", P::RefuseBlank, 2},  // it would hide node 3 too
        {3, 3, "", P::AskRemove, 3},
        {0, 3, "新", P::Write, 4},  // the first section the box does not list
        {0, 0, "新", P::Write, 1},
        {0, 3, " ", P::RefuseBlank, 0},
        {0, 10, "新", P::RefuseFull, 0},
        {10, 10, "新", P::Write, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.chosen) + " of " + std::to_string(c.listed) + " '" + c.title + "'");
        const RenamePlan plan = planRename(c.chosen, c.listed, c.title);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.number, c.number);
    }
}

// --- what the form sets ----------------------------------------------------------------------

TEST(MainNodeFromForm, HookKeepsItsCaseOnlyForTheTwoCatalogs) {
    const struct {
        std::string hook;
        std::string in;
    } cases[] = {{"Item", "Item"}, {"Hero", "Hero"}, {"hero", "hero"}, {"选择项目", ""}, {"", ""}, {"Items", ""}};
    for (const auto& c : cases) {
        NodeForm f = goodForm();
        f.hook = c.hook;
        f.directory = "子图片目录";
        f.mainPicture = " m 1.png";
        f.link = 0;
        f.show = true;
        MainNode node;
        setMainNodeFromForm(node, f);
        EXPECT_EQ(node.In.text(), c.in) << c.hook;
        EXPECT_EQ(node.Name, "子图片目录");
        EXPECT_EQ(node.Title, "地图");
        EXPECT_EQ(node.Pic, "m1.png");
        EXPECT_EQ(node.Link.kind(), LinkMode::None);
        EXPECT_TRUE(node.Show);
    }
}

TEST(NewChild, DirectReferenceTakesZeroesAndEveryChildStartsWithMembersZero) {
    NodeForm f = goodForm();
    f.picture = " a b.png";
    f.name = "甲 乙";
    f.description = "x y\r\nz";
    ChildNode c = newChild(f, 5);
    EXPECT_EQ(entryValue(c), "ab.png|甲\xC2\xA0乙|x\xC2\xA0y#z|0");
    EXPECT_EQ(c.number, 5);
    EXPECT_EQ(c.members, (Members{"", "0"}));
    f.link = 2;
    f.description = "";
    EXPECT_EQ(entryValue(newChild(f, 1)), "0|0|0|0");
}

TEST(Renumbering, OnlyTheChildrenAfterTheRemovedOneChange) {
    const struct {
        int count;
        int removed;
        std::vector<int> changed;
    } cases[] = {{5, 2, {2, 3, 4}}, {5, 5, {}}, {1, 1, {}}, {99, 1, [] {
                     std::vector<int> v;
                     for (int i = 1; i <= 98; ++i) v.push_back(i);
                     return v;
                 }()}};
    for (const auto& c : cases) {
        MainNode node;
        node.children.clear();
        for (int i = 1; i <= c.count; ++i)
            node.children.push_back(ChildNode{.number = i, .picture = std::to_string(i), .name = {}, .description = {},
                                              .members = {""}});
        ASSERT_TRUE(removeChild(node, c.removed));
        EXPECT_EQ(renumberChildren(node), c.changed) << c.count << " less " << c.removed;
        for (int position = 1; position <= static_cast<int>(node.children.size()); ++position) {
            const ChildNode& child = node.children[static_cast<std::size_t>(position - 1)];
            const int formerly = position < c.removed ? position : position + 1;
            EXPECT_EQ(child.number, position);
            EXPECT_EQ(child.picture, std::to_string(formerly));
        }
        EXPECT_FALSE(removeChild(node, c.count)) << "that number is gone";
    }
}

}  // namespace
}  // namespace pallo
