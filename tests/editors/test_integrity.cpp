// What the editors write reads back exactly, or is refused before anything
// is written; the tables change only with the file; links and
// back-references stay true through every delete and save; nothing is
// written once the exit is confirmed.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "editor_fixture.h"
#include "editors/association_rules.h"
#include "editors/catalog_rules.h"
#include "editors/catalog_writers.h"
#include "editors/entry_fields.h"
#include "editors/links.h"
#include "editors/node_rules.h"
#include "editors/node_writers.h"
#include "editors/write_check.h"
#include "model/loaders.h"
#include "model/text.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using Members = std::vector<std::string>;

// --- the check on its own ------------------------------------------------------------

TEST(WriteCheck, RefusesWhatWouldNotReadBackNamingFieldAndReason) {
    const std::string longAscii(10300, 'x');
    std::string longCjk;
    for (int i = 0; i < 4000; ++i) longCjk += "中";
    const struct {
        EntryParts parts;
        WrittenField field;
        std::string text;
    } entries[] = {
        {{"a.png", "甲|乙", "d", "1", {}}, WrittenField::Name, "显示名称不能含有\"|\"。"},
        {{"a|.png", "n", "d", "1", {}}, WrittenField::Picture, "图片名称不能含有\"|\"。"},
        {{"a.png", "n", "x|y", "1", {}}, WrittenField::Description, "说明内容不能含有\"|\"。"},
        {{"a.png", "n", "d", "1|2", {}}, WrittenField::Members, "关联内容不能含有\"|\"。"},
        // 10239 bytes fit; the others take 10 ("a.png", "n", "1" and three "|").
        {{"a.png", "n", longAscii, "1", {}}, WrittenField::Description, "说明内容过长，配置文件最多可保存10229个字符。"},
        {{"a.png", "n", longCjk, "1", {}}, WrittenField::Description, "说明内容过长，配置文件最多可保存3409个字符。"},
        {{"\ta.png", "n", "d", "1", {}}, WrittenField::Picture, "图片名称含有无法保存的字符（如换行或控制字符）。"},
        {{"a.png", "n m", "d", "1", {}}, WrittenField::Name, "显示名称不能含有空格。"},
        {{"a.png", "n", "d", "", {}}, WrittenField::Members, "关联内容含有无法保存的字符（如换行或控制字符）。"},
    };
    for (const auto& c : entries) {
        SCOPED_TRACE(c.text);
        const Encoded e = encodeEntry(c.parts);
        ASSERT_TRUE(e.refusal);
        EXPECT_EQ(e.refusal->field, c.field);
        EXPECT_EQ(e.refusal->text, c.text);
    }
    const struct {
        std::string text;
        WrittenField field;
        std::string refusal;
    } values[] = {
        {"My Pics", WrittenField::Directory, "图片目录不能含有空格。"},
        {"\"T\"", WrittenField::Title, "标题不能首尾都是引号。"},
        {"a\r\nb", WrittenField::Title, "标题含有无法保存的字符（如换行或控制字符）。"},
        {std::string(10240, 'p'), WrittenField::MainPicture, "图片名过长，配置文件最多可保存10239个字符。"},
    };
    for (const auto& c : values) {
        SCOPED_TRACE(c.refusal);
        const Encoded e = encodeValue(c.text, c.field);
        ASSERT_TRUE(e.refusal);
        EXPECT_EQ(e.refusal->field, c.field);
        EXPECT_EQ(e.refusal->text, c.refusal);
    }
    EXPECT_EQ(encodeEntry({"a.png", "名#字", "说明#二", "3,5", {}}).value, "a.png|名#字|说明#二|3,5");
    EXPECT_FALSE(encodeEntry({"a.png", "n", "d", "3,5", {"3", "", "5"}}).refusal);
    // A member holding "," would read back as two.
    EXPECT_EQ(encodeEntry({"a.png", "n", "d", "3,5", {"3,5"}}).refusal->text, "关联内容中有无法按原样保存的项（如项内的逗号）。");
    EXPECT_FALSE(encodeValue("'T", WrittenField::Title).refusal) << "one quote reads back";
}

// The file holds 10239 bytes of a value: one that long is not too long, so
// a fault of another kind in it is named as that.
TEST(WriteCheck, TheStoredLimitIsExact) {
    const auto title = [](std::size_t bytes, bool blank) {
        return encodeValue((blank ? "T " : "TT") + std::string(bytes - 2, 't'), WrittenField::Title);
    };
    // "a.png", the name, "1" and three "|" take 12 bytes beside the description.
    const auto entry = [](std::size_t bytes, bool blank) {
        return encodeEntry({"a.png", blank ? "n m" : "n_m", std::string(bytes - 12, 'd'), "1", {}});
    };
    const struct {
        Encoded encoded;
        const char* refusal;  // "" for none
    } cases[] = {
        {title(10238, true), "标题不能含有空格。"},
        {title(10239, true), "标题不能含有空格。"},
        {title(10240, true), "标题过长，配置文件最多可保存10239个字符。"},
        {title(10239, false), ""},
        {title(10240, false), "标题过长，配置文件最多可保存10239个字符。"},
        {entry(10238, true), "显示名称不能含有空格。"},
        {entry(10239, true), "显示名称不能含有空格。"},
        {entry(10240, true), "说明内容过长，配置文件最多可保存10227个字符。"},
        {entry(10239, false), ""},
        {entry(10240, false), "说明内容过长，配置文件最多可保存10227个字符。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.encoded.value.size()) + " bytes: " + c.refusal);
        EXPECT_EQ(c.encoded.refusal ? c.encoded.refusal->text : std::string(), c.refusal);
    }
}

// Keys 1 to 99 are what the loaders read: the editors write, delete and
// refer back to child or entry 99, never 100.
TEST(WriteCheck, NinetyNineIsTheLastKeyTheEditorsUse) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    writeFile(path, "[1]\r\n");
    NodeTable nodes;
    nodes[0].children.clear();
    for (int k = 1; k <= 100; ++k) nodes[0].children.push_back(ChildNode{k, "a.png", "n", "d", {"", "0"}});
    CatalogForm form;
    form.section = 1;
    form.rowChosen = true;
    for (const int k : {98, 99, 100}) {
        SCOPED_TRACE(k);
        const bool used = k <= kMaxEntries;
        ConfigStore store;
        const std::optional<Refusal> refusal = writeChildEntry(store, path, nodes, 1, k);
        EXPECT_EQ(refusal.has_value(), !used);
        if (refusal) {
            EXPECT_EQ(refusal->text, "主ID:[1]或子ID:[100]数值错误，或超出限定范围。");
        }
        form.id = toText(k);
        EXPECT_EQ(checkCatalogDelete(form).has_value(), !used);
        EXPECT_EQ(parseBackReference("1&" + toText(k)), used ? std::optional<BackReference>({1, k}) : std::nullopt);
    }
    EXPECT_NE(readFile(path).find("\r\n99=a.png|n|d|0\r\n"), std::string::npos);
}

// --- every writer over random texts --------------------------------------------------

class RandomTexts {
public:
    std::string text() {
        // The first kSafe read back anywhere; the rest often do not.
        static const char* const pieces[] = {"a", "Z", "7", "中", "文", "\xF0\x9F\x98\x80", "#", ",", "=", "[",
                                             "]", "&", ";", "|", "\"", "'", " ", "\xE3\x80\x80", "\t", "\r\n"};
        constexpr int kSafe = 13;
        const int last = pick(0, 2) == 0 ? static_cast<int>(std::size(pieces)) - 1 : kSafe - 1;
        const int kind = pick(0, 9);
        const int length = kind < 7 ? pick(0, 12) : kind < 9 ? pick(13, 300) : pick(9000, 20000);
        std::string out;
        for (int i = 0; i < length; ++i) out += pieces[pick(0, last)];
        return out;
    }
    // Mostly IDs, sometimes anything.
    Members members() {
        Members out;
        for (int i = pick(0, 3); i > 0; --i) out.push_back(pick(0, 3) == 0 ? text() : std::to_string(pick(0, 120)));
        return out;
    }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

private:
    std::mt19937 rng_{20240611};
};

class RandomWrites : public ::testing::Test {
protected:
    static constexpr const char* kBase =
        "; kept\r\n[1]\r\nName=Maps\r\nTitle=T\r\nIn=Item\r\nLink=1\r\nShow=1\r\nPic=m.png\r\n"
        "1=a.png|A|d|1,2\r\n2=b.png|B|d|2\r\n[Item]\r\nName=Item\r\n1=i.png|I|d|0&0\r\n2=j.png|J|d|1&1\r\n";

    // Runs write on a fresh file; a refusal leaves the file byte for byte
    // as it was, a success must read back through readBack.
    template <typename Write, typename ReadBack>
    void check(Write write, ReadBack readBack) {
        int written = 0;
        int refused = 0;
        for (int i = 0; i < 150; ++i) {
            writeFile(path, kBase);
            ConfigStore store;
            if (const std::optional<Refusal> refusal = write(store)) {
                ++refused;
                EXPECT_FALSE(refusal->text.empty());
                ASSERT_EQ(readFile(path), kBase);
            } else {
                ++written;
                ConfigStore fresh;
                readBack(fresh);
            }
        }
        EXPECT_GT(written, 10);
        EXPECT_GT(refused, 10);
    }

    NodeTable loadNodes(ConfigStore& store) {
        NodeTable nodes;
        loadMainNodes(store, path, nodes);
        return nodes;
    }
    CatalogTable loadItems(ConfigStore& store) {
        CatalogTable items;
        loadCatalog(store, path, "Item", items);
        return items;
    }

    TempDir dir;
    std::string path = dir.file("Cfg.ini");
    RandomTexts random;
};

TEST_F(RandomWrites, ChildEntries) {
    ChildNode child;
    check(
        [&](ConfigStore& store) {
            NodeTable nodes = loadNodes(store);
            child = ChildNode{1, random.text(), random.text(), random.text(), random.members()};
            nodes[0].children[0] = child;
            return writeChildEntry(store, path, nodes, 1, 1);
        },
        [&](ConfigStore& store) {
            const ChildNode read = loadNodes(store)[0].children[0];
            EXPECT_EQ(read.picture, child.picture);
            EXPECT_EQ(read.name, child.name);
            EXPECT_EQ(read.description, child.description);
            EXPECT_EQ(joinMembersForFile(read.members), joinMembersForFile(child.members));
            EXPECT_EQ(loadNodes(store)[0].children.size(), 2u);
        });
}

TEST_F(RandomWrites, CatalogEntriesAndName) {
    CatalogEntry entry;
    std::string directory;
    check(
        [&](ConfigStore& store) {
            CatalogTable items = loadItems(store);
            entry = CatalogEntry{1, random.text(), random.text(), random.text(), random.members()};
            items[0] = entry;
            directory = random.text();
            return writeCatalogEntry(store, path, "Item", items, 1, directory, SectionName::Write);
        },
        [&](ConfigStore& store) {
            const CatalogTable items = loadItems(store);
            ASSERT_EQ(items.size(), 2u) << "the catalog goes on after the entry";
            EXPECT_EQ(items[0].picture, entry.picture);
            EXPECT_EQ(items[0].name, entry.name);
            EXPECT_EQ(items[0].description, entry.description);
            const std::string members = memberText(entry.members);
            EXPECT_EQ(items[0].members, split(members.empty() ? "0&0" : members, ","));
            EXPECT_EQ(cleanValue(store.snapshot(path), "Item", "Name"), directory);
        });
}

TEST_F(RandomWrites, MainNodeKeysAndTitle) {
    MainNode node;
    check(
        [&](ConfigStore& store) {
            NodeTable nodes = loadNodes(store);
            nodes[0].Name = random.text();
            nodes[0].Title = random.text();
            nodes[0].Pic = random.text();
            node = nodes[0];
            return writeMainNode(store, path, nodes, 1);
        },
        [&](ConfigStore& store) {
            const MainNode read = loadNodes(store)[0];
            EXPECT_EQ(read.Name, node.Name);
            EXPECT_EQ(read.Title, node.Title);
            EXPECT_EQ(read.Pic, node.Pic);
        });
    std::string title;
    check(
        [&](ConfigStore& store) {
            title = random.text();
            return writeMainTitle(store, path, title, 1);
        },
        [&](ConfigStore& store) { EXPECT_EQ(loadNodes(store)[0].Title, title); });
}

TEST_F(RandomWrites, AssociationLists) {
    Members ids;
    check(
        [&](ConfigStore& store) {
            NodeTable nodes = loadNodes(store);
            CatalogTable items = loadItems(store);
            ids = random.members();
            if (ids.empty()) ids.push_back(random.text());
            return writeAssociation(store, path, nodes, 1, 1, ids, &items);
        },
        [&](ConfigStore& store) {
            const ChildNode read = loadNodes(store)[0].children[0];
            EXPECT_EQ(read.picture, "a.png");
            EXPECT_EQ(read.members, readLinkedMembers(associationMembers(ids)));
            EXPECT_EQ(loadItems(store).size(), 2u);
        });
}

// A name or description typed with spaces, full-width spaces, CJK, emoji
// and line breaks is saved by both editors and shows, once read again, as
// it was typed: every space drawn as a space.
TEST_F(RandomWrites, TypedNamesAndDescriptionsShowAsTypedAfterReading) {
    const std::string pieces[] = {"a", "Z", "7", " ", "\xE3\x80\x80", "中", "冰", "\xF0\x9F\x98\x80", "#", ",", "\r\n"};
    const auto typed = [&](bool lines) {
        std::string out;
        for (int n = random.pick(0, 14); n > 0; --n) out += pieces[random.pick(0, lines ? 10 : 9)];
        return removeBlanks(out).empty() ? out + "x" : out;  // a blank name is refused
    };
    const auto drawn = [](std::string text, bool description) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 3, "\xE3\x80\x80") == 0) {
                out += ' ';
                i += 2;
            } else if (description && text[i] == '#') {
                out += "\r\n";
            } else {
                out += text[i];
            }
        }
        return out;
    };
    for (int round = 0; round < 100; ++round) {
        writeFile(path, kBase);
        ConfigStore store;
        NodeForm form;
        form.name = typed(false);
        form.description = typed(true);
        form.picture = "a.png";
        SCOPED_TRACE(::testing::PrintToString(form.name) + " " + ::testing::PrintToString(form.description));
        NodeTable nodes = loadNodes(store);
        nodes[0].children[0] = newChild(form, 1);
        ASSERT_EQ(writeChildEntry(store, path, nodes, 1, 1), std::nullopt);
        CatalogTable items = loadItems(store);
        CatalogForm typedEntry;
        typedEntry.picture = "i.png";
        typedEntry.name = form.name;
        typedEntry.description = form.description;
        applyCatalogFields(items[0], typedEntry);
        ASSERT_EQ(writeCatalogEntry(store, path, "Item", items, 1, "Item", SectionName::Keep), std::nullopt);

        ConfigStore fresh;
        const ChildNode child = loadNodes(fresh)[0].children[0];
        const CatalogEntry entry = loadItems(fresh)[0];
        EXPECT_EQ(shownSpaces(child.name), drawn(form.name, false));
        EXPECT_EQ(shownSpaces(entry.name), drawn(form.name, false));
        EXPECT_EQ(shownDescription(child.description), drawn(form.description, true));
        EXPECT_EQ(catalogDescriptionForBox(entry.description), drawn(form.description, true));
    }
}

// --- the editors as a user drives them ------------------------------------------------

std::string cjk(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "中";
    return text;
}

TEST_F(EditorFixture, AValueThatWouldNotReadBackIsRefusedWithFieldReasonAndFocus) {
    startEditor();
    chooseNode(1);
    const struct {
        const char* edit;
        std::string text;
        std::string message;
    } cases[] = {
        {ne::nameEdit, "甲|乙", "显示名称不能含有\"|\"。"},
        {ne::pictureEdit, "a.png|", "图片名称不能含有\"|\"。"},  // checked before the picture's folder
        // The other parts take 14 bytes: "a.png", "甲", "3,9" and three "|".
        {ne::descriptionEdit, cjk(5000), "说明内容过长，配置文件最多可保存3408个字符。"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.message);
        selectRow(1);
        selectRow(0);  // the fields show child 1 again
        type(t.edit, t.text);
        if (std::string(t.edit) == ne::pictureEdit) writeFile(img("Maps", t.text), "a picture with | in its name");
        platform.clearMessageBoxes();
        ASSERT_TRUE(press(ne::saveButton));
        expectOneBox(t.message, "错误");
        EXPECT_TRUE(platform.hasFocus(c(t.edit)));
        EXPECT_EQ(readCfg(), kCfg);
        EXPECT_EQ(state().nodeTable[0].children[0].name, "甲");
        EXPECT_EQ(state().nodeTable[0].children[0].description, "说明一");
    }
}

TEST_F(EditorFixture, AFailedSaveLeavesTheTablesSoALaterWriteCarriesNothingOfIt) {
    startEditor();
    chooseNode(1);
    selectRow(0);
    type(ne::nameEdit, "改过");
    state().store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    ASSERT_TRUE(press(ne::saveButton));
    EXPECT_EQ(platform.messageBoxes().back().caption, "错误");
    EXPECT_EQ(state().nodeTable[0].children[0].name, "甲");
    EXPECT_EQ(readCfg(), kCfg);

    // The next successful write, a child added, holds nothing of the failed edit.
    state().store.setFaultHook({});
    type(ne::pictureEdit, "new.png");
    type(ne::nameEdit, "丁");
    ASSERT_TRUE(press(ne::addButton));
    EXPECT_EQ(platform.messageBoxes().back().text, "新增节点已保存，重启程序后生效。");
    EXPECT_EQ(readCfg(), replaceLine(kCfg, "3=c.png|丙|三|5", "3=c.png|丙|三|5\r\n4=new.png|丁|说明一|0"));
}

TEST_F(EditorFixture, AVanishedCfgIsNeverCreatedByAnEditor) {
    startEditor();
    chooseNode(1);
    const std::string path = run.file("Cfg.ini");
    ASSERT_EQ(std::remove(path.c_str()), 0);
    const struct {
        bool rowChosen;
        const char* button;
    } cases[] = {{true, ne::saveButton}, {false, ne::saveButton}, {false, ne::addButton}};
    for (const auto& t : cases) {
        SCOPED_TRACE(t.button);
        if (t.rowChosen) selectRow(0);
        else platform.setCurrentRow(c(ne::childList), -1);
        type(ne::pictureEdit, "a.png");
        type(ne::nameEdit, "甲");
        platform.clearMessageBoxes();
        ASSERT_TRUE(press(t.button));
        expectOneBox(path + " 配置文件不存在，未保存任何更改。", "错误");
        EXPECT_FALSE(files::exists(path));
    }
    EXPECT_EQ(state().nodeTable[0].children.size(), 3u);
}

TEST_F(EditorFixture, NothingIsWrittenOnceTheExitIsConfirmedWhileAQuestionIsOpen) {
    startEditor();
    chooseNode(1);
    selectRow(0);
    // While the delete question is open the user confirms the exit: the
    // question closes unanswered and the child stays.
    platform.setMessageBoxAnswerer([&](const platform::headless::MessageBoxRecord& box) {
        if (box.caption == "确认") {
            EXPECT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::exitLabel}));
        }
        return Answer::Yes;
    });
    ASSERT_TRUE(press(ne::deleteButton));
    platform.setMessageBoxAnswerer(nullptr);
    std::vector<std::string> captions;
    for (const auto& box : platform.messageBoxes()) captions.push_back(box.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"退出", "确认"}));  // logged as each closed
    EXPECT_TRUE(app->cleanedUp());
    EXPECT_TRUE(platform.windows().empty());
    // Only the settings of the exit were written; the children are as they were.
    const std::string cfg = readCfg();
    const std::string content = std::string(kCfg).substr(std::string(kCfg).find("; the content"));
    EXPECT_EQ(cfg.substr(cfg.find("; the content")), content);
}

// --- links and back-references ------------------------------------------------------

class Links : public EditorFixture {
protected:
    // Node 1 links Item under "相互关联", node 2 by direct reference, node 3
    // names Item IDs under "不作关联" (never read), node 4 links Hero.
    static constexpr const char* kLinked =
        "[Config]\r\nX=100\r\nY=100\r\n"
        "[1]\r\nName=Maps\r\nTitle=地图\r\nIn=Item\r\nLink=1\r\nShow=1\r\nPic=m1.png\r\n"
        "1=a.png|甲|0|1,2,3\r\n2=b.png|乙|0|3\r\n3=c.png|丙|0|2\r\n"
        "[2]\r\nName=Maps\r\nTitle=引\r\nIn=Item\r\nLink=2\r\nShow=1\r\nPic=m1.png\r\n1=0|0|0|3\r\n"
        "[3]\r\nName=Maps\r\nTitle=零\r\nIn=Item\r\nLink=0\r\nShow=1\r\nPic=m1.png\r\n1=a.png|零|0|3\r\n"
        "[4]\r\nName=Maps\r\nTitle=英\r\nIn=Hero\r\nLink=1\r\nShow=1\r\nPic=m1.png\r\n1=a.png|英|0|2\r\n"
        "[Item]\r\nName=Item\r\n1=i1.png|One|0|0&0\r\n2=i2.png|Two|0|0&0\r\n3=i3.png|Three|0|7,0&0\r\n"
        "[Hero]\r\nName=Hero\r\n1=h1.png|H1|0|0&0\r\n2=h2.png|H2|0|0&0\r\n";

    // Every child's linked entries by name, as a restart reads the file.
    std::map<std::string, std::vector<std::string>> linkedNames() {
        ConfigStore store;
        NodeTable nodes;
        CatalogTable item;
        CatalogTable hero;
        loadMainNodes(store, run.file("Cfg.ini"), nodes);
        loadCatalog(store, run.file("Cfg.ini"), "Item", item);
        loadCatalog(store, run.file("Cfg.ini"), "Hero", hero);
        std::map<std::string, std::vector<std::string>> names;
        for (const MainNode& node : nodes) {
            const CatalogTable& table = node.In.kind() == CatalogKind::Hero ? hero : item;
            for (std::size_t c = 0; c < node.children.size(); ++c) {
                auto& linked = names[toText(node.number) + "/" + toText(static_cast<std::int64_t>(c + 1))];
                if (!linksInto(node, node.In.text())) continue;
                for (const std::string& m : node.children[c].members)
                    if (isCatalogId(m) && toInt(m) >= 1 && static_cast<std::size_t>(toInt(m)) <= table.size())
                        linked.push_back(table[static_cast<std::size_t>(toInt(m) - 1)].name);
            }
        }
        return names;
    }

    void openCatalog() {
        ASSERT_TRUE(press(ne::catalogButton));
        ASSERT_TRUE(platform.exists(state().catalogEditor));
    }
    platform::ControlRef cat(const char* name) { return {state().catalogEditor, name}; }
    platform::ControlRef asc(const char* name) { return {state().associationWindow, name}; }
};

TEST_F(Links, ACatalogDeleteKeepsEveryChildLinkingTheSameEntries) {
    startEditor(kLinked);
    std::map<std::string, std::vector<std::string>> expected = linkedNames();
    for (auto& [child, names] : expected)
        if (child != "4/1") std::erase(names, "Two");  // node 4 links Hero, not Item
    openCatalog();
    ASSERT_TRUE(platform.chooseItem(cat(ce::sectionChooser), 1));
    ASSERT_TRUE(platform.selectRow(cat(ce::entryList), 1));
    platform.queueAnswer(Answer::Yes);
    platform.clearMessageBoxes();
    ASSERT_TRUE(platform.click(cat(ce::deleteButton)));
    EXPECT_EQ(platform.messageBoxes().back().text, "删除完成。");

    EXPECT_EQ(linkedNames(), expected);
    std::string cfg = kLinked;
    cfg = replaceLine(cfg, "1=a.png|甲|0|1,2,3", "1=a.png|甲|0|1,2");
    cfg = replaceLine(cfg, "2=b.png|乙|0|3", "2=b.png|乙|0|2");
    cfg = replaceLine(cfg, "3=c.png|丙|0|2", "3=c.png|丙|0|0");
    cfg = replaceLine(cfg, "1=0|0|0|3", "1=0|0|0|2");
    cfg = replaceLine(cfg, "2=i2.png|Two|0|0&0", "2=i3.png|Three|0|7,0&0");
    cfg = replaceLine(cfg, "3=i3.png|Three|0|7,0&0", "3=");
    EXPECT_EQ(readCfg(), cfg);
    // The tables are what a restart reads.
    EXPECT_EQ(state().nodeTable[0].children[0].members, (Members{"1", "2"}));
    EXPECT_EQ(state().nodeTable[0].children[2].members, (Members{"", "0"}));
}

TEST_F(Links, BackReferencesFollowAnAssociationSaveAndAChildDelete) {
    startEditor(kLinked);
    openCatalog();
    ASSERT_TRUE(platform.click(cat(ce::associationButton)));
    ASSERT_TRUE(platform.chooseItem(asc(aw::nodeChooser), 1));
    ASSERT_TRUE(platform.selectRow(asc(aw::childList), 1));  // 乙, linking 3
    ASSERT_TRUE(platform.ctrlClickRow(asc(aw::targetList), 0));
    EXPECT_EQ(platform.text(asc(aw::idEdit)), "1,3");
    ASSERT_TRUE(platform.click(asc(aw::saveButton)));
    // Entry 1 is now linked by 乙 (1&2) too. Entries 2 and 3 said nothing
    // true of their links before: the same write makes every one true.
    std::string cfg = replaceLine(kLinked, "2=b.png|乙|0|3", "2=b.png|乙|0|1,3");
    cfg = replaceLine(cfg, "1=i1.png|One|0|0&0", "1=i1.png|One|0|1&1,1&2");
    cfg = replaceLine(cfg, "2=i2.png|Two|0|0&0", "2=i2.png|Two|0|1&1,1&3");
    cfg = replaceLine(cfg, "3=i3.png|Three|0|7,0&0", "3=i3.png|Three|0|7,1&1,1&2,2&1");
    EXPECT_EQ(readCfg(), cfg);

    // Deleting 甲 moves 乙 and 丙 up: their back-references follow them.
    ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));  // closes
    ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));  // opens
    chooseNode(1);
    selectRow(0);
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(press(ne::deleteButton));
    EXPECT_EQ(platform.messageBoxes().back().text, "删除完成。");
    cfg = replaceLine(cfg, "1=a.png|甲|0|1,2,3", "1=b.png|乙|0|1,3");
    cfg = replaceLine(cfg, "2=b.png|乙|0|1,3", "2=c.png|丙|0|2");
    cfg = replaceLine(cfg, "3=c.png|丙|0|2", "3=");
    cfg = replaceLine(cfg, "1=i1.png|One|0|1&1,1&2", "1=i1.png|One|0|1&1");
    cfg = replaceLine(cfg, "2=i2.png|Two|0|1&1,1&3", "2=i2.png|Two|0|1&2");
    cfg = replaceLine(cfg, "3=i3.png|Three|0|7,1&1,1&2,2&1", "3=i3.png|Three|0|7,1&1,2&1");
    // Hero 2, linked by topic 4 and stale until now, is made true as well.
    cfg = replaceLine(cfg, "2=h2.png|H2|0|0&0", "2=h2.png|H2|0|4&1");
    EXPECT_EQ(readCfg(), cfg);
}

TEST_F(CatalogFixture, AssociationRefusesIdsThatWouldNotReadBackAndChildrenItCouldNotRead) {
    openAssociation();
    choose(asc(aw::nodeChooser), 1);
    const std::string before = readCfg();
    const struct {
        int row;
        std::string typed;  // empty: the text the row gives
        std::string message;
    } cases[] = {
        {3, "1|2", "关联ID只能由数字和逗号组成：1|2"},
        {3, "3,x", "关联ID只能由数字和逗号组成：3,x"},
        // Child 3 reads as blank (its line has three parts): saving it would
        // put empty texts over its picture and name.
        {2, "", "子节点3的数据无法读取，请先在节点编辑器中填写并保存。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ASSERT_TRUE(platform.selectRow(asc(aw::childList), c.row));
        if (!c.typed.empty()) {
            platform.setReadOnly(asc(aw::idEdit), false);  // as "手动排序" leaves it
            type(asc(aw::idEdit), c.typed);
        }
        platform.clearMessageBoxes();
        ASSERT_TRUE(platform.click(asc(aw::saveButton)));
        expectOneBox(association(), c.message, "错误");
        if (!c.typed.empty()) {
            EXPECT_TRUE(platform.hasFocus(asc(aw::idEdit)));
            EXPECT_EQ(platform.text(asc(aw::idEdit)), c.typed) << "left for the user to mend";
        }
        EXPECT_EQ(readCfg(), before);
    }
}

TEST_F(CatalogFixture, AChildTheLoaderCouldNotReadMovesUpAsItsLineStands) {
    openCatalogEditor();
    const platform::ControlRef nodes{state().nodeEditor, ne::nodeChooser};
    ASSERT_TRUE(platform.chooseItem(nodes, 1));
    ASSERT_TRUE(platform.selectRow({state().nodeEditor, ne::childList}, 1));  // Beta
    platform.queueAnswer(Answer::Yes);
    ASSERT_TRUE(platform.click({state().nodeEditor, ne::deleteButton}));
    EXPECT_EQ(platform.messageBoxes().back().text, "删除完成。");
    const std::string cfg = readCfg();
    EXPECT_NE(cfg.find("1=a.png|Alpha|one#two|3,5\r\n2=c.png|Gamma|0|\r\n3=d.png|Delta|0|7\r\n4=\r\n"),
              std::string::npos)
        << cfg;
}

TEST_F(CatalogFixture, CatalogSaveRefusesABarAndAFailedSaveKeepsTheTable) {
    openCatalogEditor();
    choose(cat(ce::sectionChooser), 1);
    ASSERT_TRUE(platform.selectRow(cat(ce::entryList), 0));
    const std::string before = readCfg();
    type(cat(ce::nameEdit), "Sw|ord");
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    expectOneBox(catalog(), "显示名称不能含有\"|\"。", "错误");
    EXPECT_TRUE(platform.hasFocus(cat(ce::nameEdit)));
    EXPECT_EQ(readCfg(), before);

    type(cat(ce::nameEdit), "Sabre");
    state().store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    platform.clearMessageBoxes();
    ASSERT_TRUE(platform.click(cat(ce::saveButton)));
    EXPECT_EQ(platform.messageBoxes().back().caption, "错误");
    EXPECT_EQ(state().itemTable[0].name, "Sword");
    EXPECT_EQ(platform.cell(cat(ce::entryList), 0, 2), "Sword");
    EXPECT_EQ(readCfg(), before);
}

}  // namespace
}  // namespace pallo::testing
