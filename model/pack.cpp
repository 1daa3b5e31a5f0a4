#include "model/pack.h"

#include <set>
#include <utility>

#include "config/ini.h"
#include "model/text.h"
#include "platform/files.h"

namespace pallo {

namespace {

constexpr std::string_view kImageFolder = "Img";
constexpr std::string_view kMenuFolder = "Menu";

}  // namespace

bool isMenuFolder(std::string_view name) { return ini::equalIgnoringAsciiCase(name, kMenuFolder); }

PictureRef menuPicture(std::string_view pic) { return {std::string(kMenuFolder), std::string(pic)}; }

PictureRef entryPicture(std::string_view catalog, const CatalogEntry& entry) {
    return {std::string(catalog), entry.picture};
}

int firstPositiveMember(const std::vector<std::string>& members) {
    for (const std::string& m : members) {
        const int v = toInt(m);
        if (v > 0) return v;
    }
    return 0;
}

const CatalogEntry* findEntry(const CatalogTable& table, int number) {
    for (const CatalogEntry& e : table)
        if (e.number == number) return &e;
    return nullptr;
}

const CatalogEntry* standInEntry(const MainNode& node, const ChildNode& child, const CatalogTable* catalog) {
    if (node.Link.kind() != LinkMode::Direct || !catalog) return nullptr;
    return findEntry(*catalog, firstPositiveMember(child.members));
}

PictureRef childPicture(const MainNode& node, const ChildNode& child, const CatalogTable* catalog) {
    const CatalogEntry* standIn = standInEntry(node, child, catalog);
    return {node.Name, standIn ? standIn->picture : child.picture};
}

PicturePlaces::PicturePlaces(std::string imageRoot) : PicturePlaces(std::move(imageRoot), files::separator()) {}

PicturePlaces::PicturePlaces(std::string imageRoot, char separator)
    : imageRoot_(std::move(imageRoot)), separator_(separator) {}

PicturePlaces PicturePlaces::ofPack(std::string_view packFolder) { return ofPack(packFolder, files::separator()); }

PicturePlaces PicturePlaces::ofPack(std::string_view packFolder, char separator) {
    std::string root(packFolder);
    root += separator;
    root += kImageFolder;
    root += separator;
    return PicturePlaces(std::move(root), separator);
}

PicturePlaces PicturePlaces::relativeToPack() {
    const char separator = files::separator();
    return PicturePlaces(std::string(kImageFolder) + separator, separator);
}

std::string PicturePlaces::folder(std::string_view name) const {
    std::string out = imageRoot_;
    out += name;
    out += separator_;
    return out;
}

std::string PicturePlaces::menuFolder() const { return folder(kMenuFolder); }

std::string PicturePlaces::path(const PictureRef& picture) const { return folder(picture.folder) + picture.file; }

bool takenIntoMenu(std::string_view name, std::string_view pic) {
    return localLength(removeBlanks(name)) > 1 && localLength(removeBlanks(pic)) > 3;
}

std::vector<MenuEntry> readMenu(const ConfigStore::Snapshot& ini, const PicturePlaces& places) {
    std::vector<MenuEntry> entries;
    for (int i = 1; i <= kMainNodeCount; ++i) {
        const std::string section = toText(i);
        const std::string name = repairUtf8(ini.read(section, "Name", ""));
        const std::string pic = repairUtf8(ini.read(section, "Pic", ""));
        if (!takenIntoMenu(name, pic)) continue;
        // The title keeps its blanks: it is shown as written.
        entries.push_back(
            MenuEntry{i, places.path(menuPicture(pic)), name, repairUtf8(ini.read(section, "Title", ""))});
    }
    return entries;
}

std::vector<std::string> usedPictures(const PicturePlaces& places, const ConfigStore::Snapshot& ini,
                                      const NodeTable& nodes, const CatalogTable& item, const CatalogTable& hero) {
    std::vector<std::string> paths;
    std::set<std::string> seen;
    const auto use = [&](const std::string& path) {
        if (seen.insert(path).second) paths.push_back(path);
    };
    for (const MenuEntry& entry : readMenu(ini, places)) use(entry.picturePath);
    for (const MainNode& node : nodes) {
        const CatalogTable* catalog = catalogOf(node.In.kind(), item, hero);
        for (const ChildNode& child : node.children) {
            const PictureRef picture = childPicture(node, child, catalog);
            if (!picture.file.empty()) use(places.path(picture));
        }
    }
    for (const auto& [name, table] : {std::pair<const char*, const CatalogTable*>{"Item", &item}, {"Hero", &hero}}) {
        for (const CatalogEntry& entry : *table)
            if (!entry.picture.empty()) use(places.path(entryPicture(name, entry)));
    }
    return paths;
}

}  // namespace pallo
