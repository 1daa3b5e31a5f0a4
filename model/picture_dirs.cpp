#include "model/picture_dirs.h"

#include <cstdint>

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

bool listPictureDirectories(platform::Platform& platform, const platform::ControlRef& combo,
                            const std::string& imageRoot, const std::string& firstItem) {
    if (!platform.exists(combo.window)) return true;
    platform.clearItems(combo);
    platform.addItem(combo, firstItem, 0);
    platform.setSelection(combo, 0);
    std::int64_t data = 0;
    for (const std::string& name : files::listSubdirectories(imageRoot)) {
        // Menu holds the main nodes' own pictures, never a node's children.
        if (asciiLower(name) == "menu") continue;
        if (!files::isDirectory(imageRoot + name + files::separator())) continue;
        platform.addItem(combo, name, ++data);
    }
    return true;
}

}  // namespace pallo
