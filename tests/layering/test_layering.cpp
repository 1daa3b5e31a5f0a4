// The product folders form layers: a file includes its own folder and the
// folders below it, never one above. Core folders reach the desktop only
// through platform/, so they include no system or third-party header.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
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

// A header and its .cpp are one unit: "config/ini.h" and "config/ini.cpp"
// are both "config/ini".
std::string unitOf(const std::string& path) { return path.substr(0, path.rfind('.')); }

// The unit a quoted include names, seen from the file that includes it.
std::string includedUnit(const Include& inc) {
    if (inc.target.find('/') != std::string::npos) return unitOf(inc.target);
    return unitOf(inc.file.substr(0, inc.file.rfind('/') + 1) + inc.target);
}

TEST(Layering, NoTwoFilesIncludeEachOther) {
    std::map<std::string, std::set<std::string>> reaches;  // unit -> units it includes
    for (const Include& inc : includesOfProductFolders(PALLO_SOURCE_DIR)) {
        if (inc.angled) continue;
        const std::string from = unitOf(inc.file);
        const std::string to = includedUnit(inc);
        if (from != to) reaches[from].insert(to);
    }
    for (const auto& [from, targets] : reaches)
        for (const std::string& to : targets) {
            if (to <= from) continue;  // each pair once
            const auto back = reaches.find(to);
            EXPECT_FALSE(back != reaches.end() && back->second.count(from) != 0)
                << from << " <-> " << to << ": each includes the other (counting x.h and x.cpp as one)";
        }
}

}  // namespace
