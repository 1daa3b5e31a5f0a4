// What the editors write reads back exactly, or is refused before anything
// is written; the tables change only with the file; links and
// back-references stay true through every delete and save; nothing is
// written once the exit is confirmed.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "editor_fixture.h"
#include "editors/association_rules.h"
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
            std::string message;
            if (write(store, message)) {
                ++written;
                ConfigStore fresh;
                readBack(fresh);
            } else {
                ++refused;
                EXPECT_FALSE(message.empty());
                ASSERT_EQ(readFile(path), kBase);
            }
        }
        EXPECT_GT(written, 10);
        EXPECT_GT(refused, 10);
    }

    NodeTable loadNodes(ConfigStore& store) {
        NodeTable nodes;
        std::string ignored;
        loadMainNodes(store, path, nodes, ignored, false);
        return nodes;
    }
    CatalogTable loadItems(ConfigStore& store) {
        CatalogTable items;
        std::string ignored;
        loadCatalog(store, path, "Item", items, ignored, false);
        return items;
    }

    TempDir dir;
    std::string path = dir.file("Cfg.ini");
    RandomTexts random;
};

TEST_F(RandomWrites, ChildEntries) {
    ChildNode child;
    check(
        [&](ConfigStore& store, std::string& message) {
            NodeTable nodes = loadNodes(store);
            child = ChildNode{1, random.text(), random.text(), random.text(), random.members()};
            nodes[0].children[0] = child;
            return writeChildEntry(store, path, nodes, 1, 1, message, true);
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
        [&](ConfigStore& store, std::string& message) {
            CatalogTable items = loadItems(store);
            entry = CatalogEntry{1, random.text(), random.text(), random.text(), random.members()};
            items[0] = entry;
            directory = random.text();
            return writeCatalogEntry(store, path, "Item", items, 1, directory, true, message, true);
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
        [&](ConfigStore& store, std::string& message) {
            NodeTable nodes = loadNodes(store);
            nodes[0].Name = random.text();
            nodes[0].Title = random.text();
            nodes[0].Pic = random.text();
            node = nodes[0];
            return writeMainNode(store, path, nodes, 1, message, true);
        },
        [&](ConfigStore& store) {
            const MainNode read = loadNodes(store)[0];
            EXPECT_EQ(read.Name, node.Name);
            EXPECT_EQ(read.Title, node.Title);
            EXPECT_EQ(read.Pic, node.Pic);
        });
    std::string title;
    check(
        [&](ConfigStore& store, std::string& message) {
            title = random.text();
            return writeMainTitle(store, path, title, 1, message, true);
        },
        [&](ConfigStore& store) { EXPECT_EQ(loadNodes(store)[0].Title, title); });
}

TEST_F(RandomWrites, AssociationLists) {
    Members ids;
    check(
        [&](ConfigStore& store, std::string& message) {
            NodeTable nodes = loadNodes(store);
            CatalogTable items = loadItems(store);
            ids = random.members();
            if (ids.empty()) ids.push_back(random.text());
            return writeAssociation(store, path, nodes, 1, 1, ids, message, true, &items);
        },
        [&](ConfigStore& store) {
            const ChildNode read = loadNodes(store)[0].children[0];
            EXPECT_EQ(read.picture, "a.png");
            EXPECT_EQ(read.members, readLinkedMembers(associationMembers(ids)));
            EXPECT_EQ(loadItems(store).size(), 2u);
        });
}

}  // namespace
}  // namespace pallo::testing
