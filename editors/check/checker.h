// The checker's inside, shared by its files: the Checker walks one pack and
// collects findings; each group of checks lives in its own file:
//   checker.cpp         where things are in Cfg.ini, the order of the checks
//   file_checks.cpp     the file itself: lines, sections, keys, stored bytes
//   config_checks.cpp   the [Config] keys and their values
//   topic_checks.cpp    topics [1] to [10], their menu pictures and children
//   catalog_checks.cpp  [Item] and [Hero]
//   shared_checks.cpp   tips, blanks and pictures, for topics and catalogs
//   report.cpp          the text and JSON reports
//   export.cpp          a checked pack as one zip for players
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "config/ini.h"
#include "editors/check/check.h"
#include "editors/check/pictures.h"
#include "model/pack.h"
#include "model/tables.h"

namespace pallo::check {

std::string lower(std::string_view text);

// The number a key or section name stands for when the program looks it up
// by number (decimal without leading zeros); 0 otherwise.
int canonicalNumber(std::string_view text);

// Quotes a text for a message (invalid UTF-8 mended, so messages stay UTF-8).
std::string q(std::string_view text, const char* open = "“", const char* close = "”");

// Blanks at the ends of a part are harmless: only inner ones change it.
std::string_view trimSpaces(std::string_view text);

enum class SectionKind { Config, Topic, Catalog, Unknown };

SectionKind sectionKind(std::string_view name);

// Whether the program reads this key in a section of this kind.
bool knownKey(SectionKind kind, std::string_view key);

// Whether the program reads this key of [Config].
bool knownConfigKey(std::string_view key);

class Checker {
public:
    Checker(const std::string& folder, PictureCheck pictures);

    std::vector<Finding> run();

private:
    // ------------------------------------------------------------ where things are (check.cpp)
    void indexLines();
    int lineAt(std::size_t offset) const;
    std::string_view bytesAt(std::size_t begin, std::size_t end) const;
    // The section and entry the program reads: the first of their names.
    const ini::Section* section(std::string_view name) const;
    const ini::Entry* entry(std::string_view sectionName, std::string_view key) const;
    // The line of the key, else of its section's header, else 0.
    int lineOf(std::string_view sectionName, std::string_view key) const;
    bool hasKeys(std::string_view sectionName) const;
    void add(int line, std::string_view sectionName, std::string_view key, Severity severity, const char* code,
             std::string zh, std::string en);

    // ------------------------------------------------------------ the file itself (file_checks.cpp)
    void checkLinesOutsideSections();
    void checkSectionsAndKeys();
    void checkKeys(const ini::Section& s, std::string_view sectionName, SectionKind kind);
    void checkStoredValue(const ini::Entry& e, std::string_view sectionName, std::string_view key, int line);

    // ------------------------------------------------------------ [Config] (config_checks.cpp)
    void checkWindowSettings();

    // ------------------------------------------------------------ topics [1]..[10] (topic_checks.cpp)
    const CatalogTable* catalogFor(CatalogKind kind) const { return catalogOf(kind, items_, heroes_); }
    void checkTopic(int number);
    void checkLinkAndIn(const MainNode& node, const std::string& sec);
    void checkChildCount(const MainNode& node, const std::string& sec);
    void checkChild(const MainNode& node, const std::string& sec, const ChildNode& child);
    void recordLinks(const MainNode& node);
    void checkMenu(int number, const std::string& sec);
    void checkStandIn(const MainNode& node, const std::string& sec, const std::string& key, int line,
                      const ChildNode& child, const CatalogTable* table);
    void checkLinkedIds(const MainNode& node, const std::string& sec, const std::string& key, int line,
                        const ChildNode& child, const CatalogTable& table);
    void checkTitleGap();

    // ------------------------------------------------------------ [Item] and [Hero] (catalog_checks.cpp)
    void checkListEnd(const std::string& sec, int count, bool catalog);
    void checkBackReferences(const std::string& kind, const CatalogTable& table);
    void checkCatalog(const std::string& kind, const CatalogTable& table);

    // ------------------------------------------------------------ shared checks (shared_checks.cpp)
    void checkTipLength(int line, const std::string& sec, const std::string& key, const std::string& description);
    void checkBlanks(const std::string& sec, const std::string& key, const std::string& value, bool whole);
    const PictureFacts& examine(const std::string& path);
    void checkPicture(int line, const std::string& sec, const std::string& key, const PictureRef& picture);
    void reportPicture(const PictureFacts& facts, int line, const std::string& sec, const std::string& key,
                       const std::string& shown);

    std::string folder_, cfgPath_;
    PictureCheck pictureCheck_;
    PicturePlaces places_;  // where the program looks for the pictures
    PicturePlaces shown_;   // the same places as the messages name them
    ini::Document doc_;
    std::vector<std::size_t> lineStarts_;
    ConfigStore store_;
    ConfigStore::Snapshot ini_;
    NodeTable nodes_;
    CatalogTable items_, heroes_;
    std::optional<std::vector<MenuEntry>> menu_;
    std::map<std::string, PictureFacts> pictures_;
    std::map<std::string, std::set<int>> linkedTo_;      // catalog -> entry numbers some topic links to
    std::map<std::string, std::set<int>> shownEntries_;  // catalog -> entries a Link 1 press shows
    std::vector<Finding> findings_;
};

}  // namespace pallo::check
