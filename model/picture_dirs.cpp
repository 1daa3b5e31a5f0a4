#include "model/picture_dirs.h"

#include "model/text.h"
#include "platform/files.h"

namespace pallo {

namespace {

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

std::vector<std::string> listPictureDirectories(const std::string& imageRoot) {
    std::vector<std::string> names;
    for (const std::string& name : files::listSubdirectories(imageRoot)) {
        // Menu holds the main nodes' own pictures, never a node's children.
        if (asciiLower(name) == "menu") continue;
        // A Name is read without its blanks: a folder with blanks in its name
        // could never be found again under the Name written for it.
        if (removeBlanks(name) != name) continue;
        if (!files::isDirectory(imageRoot + name + files::separator())) continue;
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
        if (!isDirectory(name) || asciiLower(name) == "menu") continue;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> listCatalogPictureDirectories(const std::string& imageRoot) {
    return catalogDirectoryNames(files::listSubdirectories(imageRoot), [&](const std::string& name) {
        return files::isDirectory(imageRoot + name + files::separator());
    });
}

bool isPictureFile(const std::string& path) { return files::exists(path) && !files::isDirectory(path); }

}  // namespace pallo
