// The product folders form layers: a file includes its own folder and the
// folders below it, never one above. Core folders reach the desktop only
// through platform/, so they include no system or third-party header.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Top to bottom: each folder may include itself and anything after it.
const std::vector<std::string> kLayers{"app",      "overlay", "editors", "display", "program",
                                       "model",    "config",  "platform", "ui",     "assets"};

int rankOf(const std::string& folder) {
    const auto it = std::find(kLayers.begin(), kLayers.end(), folder);
    return it == kLayers.end() ? -1 : static_cast<int>(it - kLayers.begin());
}

struct Include {
    std::string file;  // relative to the source root
    int line = 0;
    std::string target;
    bool angled = false;
};

std::vector<Include> includesOfProductFolders(const fs::path& root) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    for (const std::string& layer : kLayers) {
        if (!fs::exists(root / layer)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / layer)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
            std::ifstream in(entry.path());
            std::string text;
            for (int line = 1; std::getline(in, text); ++line) {
                std::smatch m;
                if (std::regex_search(text, m, directive))
                    found.push_back({fs::relative(entry.path(), root).generic_string(), line, m[2], m[1] == "<"});
            }
        }
    }
    return found;
}

std::string topFolder(const std::string& path) { return path.substr(0, path.find('/')); }

TEST(Layering, IncludesPointOnlyDownTheLayers) {
    const auto includes = includesOfProductFolders(PALLO_SOURCE_DIR);
    ASSERT_GT(includes.size(), 100u) << "the source tree was not found at " << PALLO_SOURCE_DIR;
    for (const Include& inc : includes) {
        if (inc.angled) continue;
        const int from = rankOf(topFolder(inc.file));
        // A name without a folder is a neighbour in the same folder.
        const int to = inc.target.find('/') == std::string::npos ? from : rankOf(topFolder(inc.target));
        EXPECT_GE(to, 0) << inc.file << ":" << inc.line << ": includes \"" << inc.target
                         << "\", which is in no layer";
        EXPECT_GE(to, from) << inc.file << ":" << inc.line << ": includes \"" << inc.target << "\" from "
                            << kLayers[static_cast<std::size_t>(std::max(to, 0))] << "/, a layer above "
                            << topFolder(inc.file) << "/";
    }
}

TEST(Layering, OnlyThePlatformIncludesSystemHeaders) {
    // Standard C++ headers have no extension; anything "<x.h>" is the
    // system's or a library's.
    for (const Include& inc : includesOfProductFolders(PALLO_SOURCE_DIR)) {
        if (!inc.angled || topFolder(inc.file) == "platform") continue;
        EXPECT_FALSE(inc.target.find('.') != std::string::npos)
            << inc.file << ":" << inc.line << ": includes <" << inc.target << "> outside platform/";
    }
}

}  // namespace
