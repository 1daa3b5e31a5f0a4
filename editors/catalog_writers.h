// The writers that put catalog entries into section Item or Hero of
// Cfg.ini. Each takes the caller's message text and a report flag and
// returns true on success. What one user action writes goes in one group:
// one atomic replace of the file, all or nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// "Item子项写入失败。" or "Hero子项写入失败。".
std::string catalogEntryFailure(const std::string& section);

// The items writeCatalogEntry writes: Name := directory when writeName,
// then key `position` := the entry at that position, values in UTF-8.
// Empty when the table has no entry there.
std::vector<ConfigStore::Item> catalogEntryItems(const std::string& section, const CatalogTable& table,
                                                 std::int32_t position, const std::string& directory,
                                                 bool writeName);

// Writes the entry at `position` (1-based) of the section's table under
// that key, and with writeName also the section's Name, as one group. On
// failure, when reporting: "Name写入失败。" for Name, and the entry's
// failure after it on a new line (or alone when the message was empty).
bool writeCatalogEntry(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                       const CatalogTable& table, std::int32_t position, const std::string& directory,
                       bool writeName, std::string& message, bool report);

// A deletion: the entries at the given positions (moved up a place), and
// the key after the last entry emptied, as one group; Name is not written.
// On failure, when reporting, the message names every item, one line each.
bool writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                                const CatalogTable& table, const std::vector<int>& moved, std::string& message,
                                bool report);

}  // namespace pallo
