#include "model/picture_dirs.h"

#include "model/pack.h"
#include "model/text.h"
#include "platform/files.h"

namespace pallo {

std::vector<std::string> listPictureDirectories(const std::string& imageRoot) {
    const PicturePlaces places(imageRoot);
    std::vector<std::string> names;
    for (const std::string& name : files::listSubdirectories(imageRoot)) {
        // Menu holds the main nodes' own pictures, never a node's children.
        if (isMenuFolder(name)) continue;
        // A Name is read without its blanks: a folder with blanks in its name
        // could never be found again under the Name written for it.
        if (removeBlanks(name) != name) continue;
        if (!files::isDirectory(places.folder(name))) continue;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> catalogDirectoryNames(const std::vector<std::string>& listed,
                                               const std::function<bool(const std::string&)>& isDirectory) {
    std::vector<std::string> names;
    for (const std::string& listedName : listed) {
        const std::string name = removeBlanks(listedName);
        if (name.empty()) break;
        if (name == "." || name == "..") continue;
        if (!isDirectory(name) || isMenuFolder(name)) continue;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> listCatalogPictureDirectories(const std::string& imageRoot) {
    const PicturePlaces places(imageRoot);
    return catalogDirectoryNames(files::listSubdirectories(imageRoot), [&](const std::string& name) {
        return files::isDirectory(places.folder(name));
    });
}

bool isPictureFile(const std::string& path) { return files::exists(path) && !files::isDirectory(path); }

}  // namespace pallo
