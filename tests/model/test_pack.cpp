// Where a pack's pictures live, and the set of pictures a pack uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/loaders.h"
#include "model/pack.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace pallo {
namespace {

MainNode topic(std::string name, const char* link) {
    MainNode node;
    node.Name = std::move(name);
    node.In = InValue("Hero");
    node.Link = LinkValue(link);
    return node;
}

ChildNode child(std::string picture, std::vector<std::string> members) {
    return ChildNode{.number = 1, .picture = std::move(picture), .name = "c", .description = {},
                     .members = std::move(members)};
}

// Each picture's place, with "/" for the separator, written from the pack's folder.
TEST(PackModel, EachPictureLivesInItsFolderWithThePlatformsSeparator) {
    const CatalogTable hero{CatalogEntry{.number = 2, .picture = "h2.png", .name = "H", .description = {},
                                         .members = {"0"}}};
    const struct {
        const char* what;
        PictureRef picture;
        const char* path;
    } cases[] = {
        {"a menu picture keeps its blanks", menuPicture("m 1.png"), "Img/Menu/m 1.png"},
        {"a Link 0 child", childPicture(topic("Maps", "0"), child("a.png", {"", "2"}), &hero), "Img/Maps/a.png"},
        {"a Link 1 child shows itself", childPicture(topic("Maps", "1"), child("a.png", {"2", "0"}), &hero),
         "Img/Maps/a.png"},
        {"a Link 2 child shows its stand-in from the topic's folder",
         childPicture(topic("Maps", "2"), child("a.png", {"0", "x", "2"}), &hero), "Img/Maps/h2.png"},
        {"a Link 2 child without its entry shows itself",
         childPicture(topic("Maps", "2"), child("a.png", {"", "3"}), &hero), "Img/Maps/a.png"},
        {"a Link 2 child without a catalog shows itself",
         childPicture(topic("Maps", "2"), child("a.png", {"", "2"}), nullptr), "Img/Maps/a.png"},
        {"a topic without a Name", childPicture(topic("", "0"), child("a.png", {"", "0"}), nullptr), "Img//a.png"},
        {"a catalog entry", entryPicture("Hero", hero.front()), "Img/Hero/h2.png"},
    };
    for (const auto& c : cases) {
        for (const char separator : {'/', '\\'}) {
            std::string expected = c.path;
            for (char& ch : expected)
                if (ch == '/') ch = separator;
            EXPECT_EQ(PicturePlaces::ofPack("P", separator).path(c.picture), "P" + std::string(1, separator) + expected)
                << c.what;
        }
        std::string named = c.path;
        for (char& ch : named)
            if (ch == '/') ch = files::separator();
        EXPECT_EQ(PicturePlaces::relativeToPack().path(c.picture), named) << c.what;
    }
    EXPECT_EQ(PicturePlaces::ofPack("P", '\\').menuFolder(), "P\\Img\\Menu\\");
    EXPECT_EQ(PicturePlaces::ofPack("P", '\\').imageRoot(), "P\\Img\\");
}

TEST(PackModel, UsedPicturesAreEveryNamedPictureWhereTheProgramLooksOnce) {
    testing::TempDir dir;
    const std::string cfg = dir.file("Cfg.ini");
    testing::writeFile(cfg,
                       "[1]\r\nName=Maps\r\nTitle=T\r\nIn=Item\r\nLink=1\r\nPic=m 1.png\r\n"
                       "1=a.png|A|d|1,2\r\n2=a.png|Again|d|0\r\n3=|None|d|0\r\n"
                       // One letter: left out of the menu, but its children are content.
                       "[2]\r\nName=X\r\nTitle=T\r\nIn=Hero\r\nLink=2\r\nPic=m2.png\r\n"
                       "1=own.png|O|d|2\r\n2=own2.png|O|d|9\r\n"
                       // An unknown Link: every child blank.
                       "[3]\r\nName=Odd\r\nTitle=T\r\nLink=7\r\nPic=m3.png\r\n1=b.png|B|d|0\r\n"
                       "[Item]\r\n1=i1.png|I|d|0\r\n2=|I2|d|0\r\n"
                       "[Hero]\r\n1=h1.png|H|d|0\r\n2=h2.png|H2|d|0\r\n");
    ConfigStore store;
    NodeTable nodes;
    CatalogTable item;
    CatalogTable hero;
    (void)loadMainNodes(store, cfg, nodes);
    loadCatalog(store, cfg, "Item", item);
    loadCatalog(store, cfg, "Hero", hero);

    const std::vector<std::string> expected{"R/Menu/m 1.png", "R/Menu/m3.png", "R/Maps/a.png", "R/X/h2.png",
                                            "R/X/own2.png",   "R/Item/i1.png", "R/Hero/h1.png", "R/Hero/h2.png"};
    EXPECT_EQ(usedPictures(PicturePlaces("R/", '/'), store.snapshot(cfg), nodes, item, hero), expected);
}

}  // namespace
}  // namespace pallo
