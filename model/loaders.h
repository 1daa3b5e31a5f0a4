// Loading the content model from Cfg.ini. Every loader takes the caller's
// message text and a report flag and returns true on success.
#pragma once

#include <string>
#include <string_view>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// Read with an empty default, Utf8ToLocal, all blanks removed.
std::string cleanValue(const ConfigStore::Snapshot& ini, std::string_view section, std::string_view key);

bool loadMainNodes(ConfigStore& store, const std::string& cfgPath, NodeTable& nodes, std::string& message,
                   bool report);

// section is "Item" or "Hero".
bool loadCatalog(ConfigStore& store, const std::string& cfgPath, std::string_view section, CatalogTable& table,
                 std::string& message, bool report);

}  // namespace pallo
