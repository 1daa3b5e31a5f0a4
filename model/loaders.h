// Loading the content model from Cfg.ini. No loader fails: a missing file
// or section gives empty values and empty lists.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// Read with an empty default, UTF-8 repaired, all blanks removed.
std::string cleanValue(const ConfigStore::Snapshot& ini, std::string_view section, std::string_view key);

// What the loaders read from a value once an editor wrote it: the value as
// the store keeps it, read back, mended and without blanks.
std::string readBackValue(std::string_view written);

// A child's members, read from its fourth part (under Link "0" too, which
// does not use them): two or more as read; a single one behind an empty
// member; none as {"", "0"}.
std::vector<std::string> readLinkedMembers(std::string_view idList);

// How the loaders read a cleaned child value under a main node's Link: a
// blank child numbered number when the Link is unknown or the value does not
// have exactly four "|"-parts.
ChildNode parseChildValue(std::string_view value, LinkMode link, int number);

// How the loaders read a cleaned catalog value: nothing when it has fewer
// than four "|"-parts (the catalog ends there).
std::optional<CatalogEntry> parseCatalogValue(std::string_view value, int number);

// The ten main nodes with their children. Returns the note on a Link it
// does not know, "挂钩数据错误" followed by that Link, for the last node
// with such a Link and children (start-up does not show it); nothing when
// every Link is known.
std::optional<std::string> loadMainNodes(ConfigStore& store, const std::string& cfgPath, NodeTable& nodes);

// section is "Item" or "Hero".
void loadCatalog(ConfigStore& store, const std::string& cfgPath, std::string_view section, CatalogTable& table);

}  // namespace pallo
