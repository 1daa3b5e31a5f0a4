#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/loaders.h"
#include "support/temp_dir.h"

namespace pallo {
namespace {

using Members = std::vector<std::string>;
const Members kBlankMembers{""};
const Members kNoMembers{"", "0"};

class Loaders : public ::testing::Test {
protected:
    // Writes Cfg.ini with the given text (CRLF line ends, as on Windows).
    void writeCfg(const std::string& text) {
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        testing::writeFile(cfgPath_, crlf);
    }

    NodeTable loadNodes() {
        NodeTable nodes;
        note_ = loadMainNodes(store_, cfgPath_, nodes);
        return nodes;
    }

    CatalogTable loadSection(std::string_view section) {
        CatalogTable table;
        loadCatalog(store_, cfgPath_, section, table);
        return table;
    }

    testing::TempDir dir_;
    std::string cfgPath_ = dir_.file("Cfg.ini");
    ConfigStore store_;
    std::optional<std::string> note_;  // what the last loadMainNodes noted
};

void expectBlankChild(const ChildNode& child, int number) {
    EXPECT_EQ(child.number, number);
    EXPECT_EQ(child.picture, "");
    EXPECT_EQ(child.name, "");
    EXPECT_EQ(child.description, "");
    EXPECT_EQ(child.members, kBlankMembers);
}

TEST_F(Loaders, MainNodeFieldsAreCleanedAndChildrenStopAtTheFirstGap) {
    writeCfg(
        "[Config]\nX=100\n"
        "[1]\n"
        "Name = 装备 图片\n"
        "Title=\xE3\x80\x80常用\xE3\x80\x80装备\n"
        "In=Item\n"
        "Link= 1 \n"
        "Show= 1 \n"
        "Pic=menu 1.png\n"
        "1=a.png|火焰 之剑|第一行#第二行|3\n"
        "2=b.png|冰霜|说明|1, 2\n"
        "4=d.png|不读|不读|1\n"
        "[11]\nName=Eleven\nTitle=Eleven\n1=x|y|z|1\n");
    const NodeTable nodes = loadNodes();

    const MainNode& n = nodes[0];
    EXPECT_EQ(n.number, 1);
    EXPECT_EQ(n.Name, "装备图片");
    EXPECT_EQ(n.Title, "常用装备");
    EXPECT_EQ(n.In, InValue("Item"));
    EXPECT_EQ(n.In.kind(), CatalogKind::Item);
    EXPECT_EQ(n.Link.kind(), LinkMode::Mutual);
    EXPECT_TRUE(n.Show);
    EXPECT_EQ(n.Pic, "menu1.png");
    ASSERT_EQ(n.children.size(), 2u);
    EXPECT_EQ(n.children[0].number, 1);
    EXPECT_EQ(n.children[0].picture, "a.png");
    EXPECT_EQ(n.children[0].name, "火焰之剑");
    EXPECT_EQ(n.children[0].description, "第一行#第二行");
    EXPECT_EQ(n.children[0].members, (Members{"", "3"}));
    EXPECT_EQ(n.children[1].number, 2);
    EXPECT_EQ(n.children[1].members, (Members{"1", "2"}));

    // Sections 2 to 10 are missing: empty nodes with their numbers; the
    // section 11 is never read.
    for (int i = 2; i <= kMainNodeCount; ++i) {
        const MainNode& m = nodes[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(m.number, i);
        EXPECT_EQ(m.Name, "");
        EXPECT_EQ(m.Title, "");
        EXPECT_FALSE(m.Show);
        EXPECT_TRUE(m.children.empty());
    }
    EXPECT_EQ(note_, std::nullopt);
}

TEST_F(Loaders, ShowMustBeExactlyOne) {
    writeCfg(
        "[1]\nShow=1\n[2]\nShow=01\n[3]\nShow=1x\n[4]\nShow=0\n[5]\nShow=\n"
        "[6]\nShow=\"1\"\n[7]\nShow=\xE3\x80\x80" "1\n");
    const NodeTable nodes = loadNodes();
    const bool expected[] = {true, false, false, false, false, true, true, false, false, false};
    for (std::size_t i = 0; i < nodes.size(); ++i) EXPECT_EQ(nodes[i].Show, expected[i]) << "node " << i + 1;
}

TEST_F(Loaders, ChildMembersByLink) {
    const struct {
        const char* label;
        const char* link;
        const char* value;
        bool filled;  // picture, name and description taken
        Members members;
    } cases[] = {
        {"Link 1, one member", "1", "p|n|d|7", true, {"", "7"}},
        {"Link 1, two members", "1", "p|n|d|7,8", true, {"7", "8"}},
        {"Link 1, three members with an empty one", "1", "p|n|d|7,,9", true, {"7", "", "9"}},
        {"Link 1, trailing comma", "1", "p|n|d|7,", true, {"", "7"}},
        {"Link 1, empty fourth part", "1", "p|n|d||", true, kNoMembers},
        {"Link 1, trailing | after three parts", "1", "p|n|d|", false, kBlankMembers},
        {"Link 1, two parts", "1", "p|n", false, kBlankMembers},
        {"Link 1, five parts keep four", "1", "p|n|d|4,5|extra", true, {"4", "5"}},
        {"Link 2, one member", "2", "p|n|d|12", true, {"", "12"}},
        {"Link 2, only a comma", "2", "p|n|d|,", true, {"", ""}},
        {"Link 0 keeps the members it does not use", "0", "p|n|d|1,2,3", true, {"1", "2", "3"}},
        {"Link 0, three parts", "0", "p|n|d", false, kBlankMembers},
    };
    for (const auto& c : cases) {
        writeCfg(std::string("[1]\nLink=") + c.link + "\n1=" + c.value + "\n2=q|r|s|1\n");
        const NodeTable nodes = loadNodes();
        const auto& children = nodes[0].children;
        ASSERT_EQ(children.size(), 2u) << c.label;  // a malformed child stays in the list
        EXPECT_EQ(children[0].number, 1) << c.label;
        EXPECT_EQ(children[0].picture, c.filled ? "p" : "") << c.label;
        EXPECT_EQ(children[0].name, c.filled ? "n" : "") << c.label;
        EXPECT_EQ(children[0].description, c.filled ? "d" : "") << c.label;
        EXPECT_EQ(children[0].members, c.members) << c.label;
        EXPECT_EQ(children[1].number, 2) << c.label;
        EXPECT_EQ(children[1].name, "r") << c.label;
    }
    EXPECT_EQ(note_, std::nullopt);
}

TEST_F(Loaders, UnknownLinkLeavesChildrenBlankAndSetsTheMessage) {
    writeCfg("[1]\nLink=1\n1=a|b|c|1\n[3]\nLink=相互\n1=a|b|c|1\n2=d|e|f|2\n");
    const NodeTable nodes = loadNodes();
    EXPECT_EQ(note_, "挂钩数据错误相互");
    ASSERT_EQ(nodes[2].children.size(), 2u);
    expectBlankChild(nodes[2].children[0], 1);
    expectBlankChild(nodes[2].children[1], 2);
    EXPECT_EQ(nodes[0].children[0].name, "b");  // other nodes load normally
}

TEST_F(Loaders, TheNoteNamesTheLastUnknownLinkThatHasChildren) {
    writeCfg("[1]\nLink=9\n1=a|b|c|1\n[2]\nLink=x\n");
    const NodeTable nodes = loadNodes();
    EXPECT_EQ(note_, "挂钩数据错误9");  // node 2 has no children to read
    expectBlankChild(nodes[0].children.at(0), 1);
}

TEST_F(Loaders, AtMostNinetyNineChildrenAndEntries) {
    std::string text = "[1]\nLink=1\n";
    std::string item = "[Item]\n";
    for (int k = 1; k <= 100; ++k) {
        text += std::to_string(k) + "=p" + std::to_string(k) + "|n|d|1\n";
        item += std::to_string(k) + "=p" + std::to_string(k) + "|n|d|1\n";
    }
    writeCfg(text + item);
    const NodeTable nodes = loadNodes();
    ASSERT_EQ(nodes[0].children.size(), 99u);
    EXPECT_EQ(nodes[0].children.back().number, 99);
    EXPECT_EQ(nodes[0].children.back().picture, "p99");
    const CatalogTable table = loadSection("Item");
    ASSERT_EQ(table.size(), 99u);
    EXPECT_EQ(table.back().number, 99);
}

TEST_F(Loaders, CatalogEntries) {
    writeCfg(
        "[Item]\nName=道具\n"
        "1=i1.png|长 剑|锋利#耐用|1,2\n"
        "2=i2.png|盾|坚固||\n"
        "3=i3.png|靴|快|5|extra\n"
        "4=i4.png|不读|缺少第四部分|\n"
        "5=i5.png|不读|不读|1\n"
        "[Hero]\n1=h1|英雄|说明|3\n");
    const CatalogTable items = loadSection("Item");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].number, 1);
    EXPECT_EQ(items[0].picture, "i1.png");
    EXPECT_EQ(items[0].name, "长剑");
    EXPECT_EQ(items[0].description, "锋利#耐用");
    EXPECT_EQ(items[0].members, (Members{"1", "2"}));
    EXPECT_EQ(items[1].members, Members{});  // an empty fourth part: no members
    EXPECT_EQ(items[2].members, Members{"5"});  // one member, no placeholder
    const CatalogTable heroes = loadSection("hero");  // section names ignore case
    ASSERT_EQ(heroes.size(), 1u);
    EXPECT_EQ(heroes[0].name, "英雄");
}

TEST_F(Loaders, MalformedFirstCatalogEntryEndsTheCatalog) {
    const char* firsts[] = {"a|b|c", "a|b|c|", "abc", "   ", "\xE3\x80\x80"};
    for (const char* first : firsts) {
        writeCfg(std::string("[Item]\n1=") + first + "\n2=a|b|c|1\n");
        EXPECT_TRUE(loadSection("Item").empty()) << first;
    }
}

TEST_F(Loaders, MissingFileGivesTenEmptyNodesAndEmptyCatalogs) {
    NodeTable nodes;
    nodes[4].Title = "old";
    nodes[4].children.resize(5);
    CatalogTable items(3);
    note_ = loadMainNodes(store_, cfgPath_, nodes);
    loadCatalog(store_, cfgPath_, "Item", items);
    for (int i = 1; i <= kMainNodeCount; ++i) {
        const MainNode& n = nodes[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(n.number, i);
        EXPECT_EQ(n.Title, "");
        EXPECT_EQ(n.Link, LinkValue(""));
        EXPECT_FALSE(n.Show);
        EXPECT_TRUE(n.children.empty());
    }
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(note_, std::nullopt);
}

TEST_F(Loaders, ReloadReplacesEarlierContents) {
    writeCfg("[1]\nLink=1\nTitle=A\n1=a|b|c|1\n2=d|e|f|2\n[Item]\n1=a|b|c|1\n2=a|b|c|1\n");
    NodeTable nodes = loadNodes();
    CatalogTable items = loadSection("Item");
    writeCfg("[1]\nLink=1\n1=x|y|z|1\n[Item]\n1=a|b|c|1\n");
    loadMainNodes(store_, cfgPath_, nodes);
    loadCatalog(store_, cfgPath_, "Item", items);
    EXPECT_EQ(nodes[0].Title, "");
    ASSERT_EQ(nodes[0].children.size(), 1u);
    EXPECT_EQ(nodes[0].children[0].name, "y");
    EXPECT_EQ(items.size(), 1u);
}

TEST_F(Loaders, InvalidUtf8IsReplacedNotKept) {
    writeCfg("[1]\nLink=1\nTitle=ab\xFF\n1=p\xC0|n|d\xE4\xB8|1\n");
    const NodeTable nodes = loadNodes();
    EXPECT_EQ(nodes[0].Title, "ab\xEF\xBF\xBD");
    ASSERT_EQ(nodes[0].children.size(), 1u);
    EXPECT_EQ(nodes[0].children[0].picture, "p\xEF\xBF\xBD");
    EXPECT_EQ(nodes[0].children[0].description, "d\xEF\xBF\xBD");
}

TEST_F(Loaders, EachLoaderParsesTheFileOnce) {
    std::string text;
    for (int i = 1; i <= 10; ++i) {
        text += "[" + std::to_string(i) + "]\nLink=1\n";
        for (int k = 1; k <= 20; ++k) text += std::to_string(k) + "=p|n|d|1\n";
    }
    writeCfg(text + "[Item]\n1=a|b|c|1\n");
    loadNodes();
    loadSection("Item");
    loadSection("Hero");
    EXPECT_EQ(store_.parseCount(), 1u);
}

}  // namespace
}  // namespace pallo
