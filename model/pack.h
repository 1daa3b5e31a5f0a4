// Where a pack's pictures live. A pack is a folder holding Cfg.ini and Img;
// every picture is a file in a folder directly under Img:
//   a topic's menu picture (its Pic)             Img\Menu\<Pic>
//   a topic's child                              Img\<the topic's Name>\<picture>
//     (a Link "2" child shows the picture of the catalog entry it stands
//     for, still from its topic's folder)
//   a catalog entry opened by a Link "1" press   Img\Item\ or Img\Hero\ (the topic's In)
// Every picture path of the program and the checker is made here, with the
// platform's separator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// A picture as the pack names it: a folder directly under Img and a file in
// it. An empty file names no picture.
struct PictureRef {
    std::string folder;
    std::string file;
    bool operator==(const PictureRef&) const = default;
};

// Whether a folder under Img is the menu pictures' folder (ASCII case
// ignored): it never holds a topic's children.
bool isMenuFolder(std::string_view name);

// A topic's menu picture, as its Pic was read (UTF-8 repaired, blanks kept).
PictureRef menuPicture(std::string_view pic);

// The picture of catalog entry `entry` as a Link "1" press shows it; catalog
// is the topic's In ("Item" or "Hero").
PictureRef entryPicture(std::string_view catalog, const CatalogEntry& entry);

// The first member whose integer value is greater than 0; 0 when none is.
int firstPositiveMember(const std::vector<std::string>& members);

// The entry with this number, or nullptr.
const CatalogEntry* findEntry(const CatalogTable& table, int number);

// The catalog entry a child of a Link "2" topic stands for: the entry of
// its first positive member in the topic's catalog. nullptr under any other
// Link, without a catalog, or when there is no such entry (the child then
// shows itself).
const CatalogEntry* standInEntry(const MainNode& node, const ChildNode& child, const CatalogTable* catalog);

// The picture a child shows: its own or its stand-in's, in the topic's folder.
PictureRef childPicture(const MainNode& node, const ChildNode& child, const CatalogTable* catalog);

// The places of a pack's pictures on disk.
class PicturePlaces {
public:
    // imageRoot is the pack's Img folder, ending with the separator.
    explicit PicturePlaces(std::string imageRoot);  // the platform's separator
    PicturePlaces(std::string imageRoot, char separator);

    // The pictures of the pack in packFolder (no separator at its end).
    static PicturePlaces ofPack(std::string_view packFolder);
    static PicturePlaces ofPack(std::string_view packFolder, char separator);
    // The places as named from inside the pack's folder (Img\Menu\a.png),
    // for messages about a pack.
    static PicturePlaces relativeToPack();

    const std::string& imageRoot() const { return imageRoot_; }
    // A folder under Img, ending with the separator.
    std::string folder(std::string_view name) const;
    std::string menuFolder() const;
    std::string path(const PictureRef& picture) const;

private:
    std::string imageRoot_;
    char separator_;
};

// One main node taken into the menu row.
struct MenuEntry {
    int section = 0;          // 1 to 10
    std::string picturePath;  // its menu picture
    std::string name;
    std::string title;
};

// A main node is taken into the menu only when its Name, blanks removed, is
// longer than 1 byte and its Pic longer than 3 bytes (counted as the local
// double-byte code page counts them).
bool takenIntoMenu(std::string_view name, std::string_view pic);

// The main nodes of sections 1 to 10 taken into the menu, in section order.
std::vector<MenuEntry> readMenu(const ConfigStore::Snapshot& ini, const PicturePlaces& places);

// Every picture the pack names, where the program looks for it, whether or
// not the file is there: the menu pictures of the topics in the menu, the
// picture every child of every topic shows, and every catalog entry's
// picture in Img\Item and Img\Hero. In that order, each path once; a child
// or entry without a picture name adds none.
std::vector<std::string> usedPictures(const PicturePlaces& places, const ConfigStore::Snapshot& ini,
                                      const NodeTable& nodes, const CatalogTable& item, const CatalogTable& hero);

}  // namespace pallo
