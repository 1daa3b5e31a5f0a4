// The writers that put catalog entries into section Item or Hero of
// Cfg.ini. Each takes the caller's message text and a report flag and
// returns true on success. What one user action writes goes in one group:
// one atomic replace of the file, all or nothing. Every value goes through
// the read-back check of write_check.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "editors/rewrites.h"
#include "editors/write_check.h"
#include "model/tables.h"

namespace pallo {

// Writes the entry at `position` (1-based) of the section's table under
// that key, and with writeName also the section's Name, as one group. On
// failure, when reporting: "Name写入失败。" for Name, and the entry's
// failure after it on a new line (or alone when the message was empty).
bool writeCatalogEntry(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                       const CatalogTable& table, std::int32_t position, const std::string& directory,
                       bool writeName, std::string& message, bool report,
                       std::optional<WrittenField>* refused = nullptr);

// A deletion: the entries at the given positions (moved up a place), the
// key after the last entry emptied and the children whose links changed,
// as one group; Name is not written. On failure, when reporting, the
// message names every item, one line each.
bool writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                                const CatalogTable& table, const std::vector<int>& moved, std::string& message,
                                bool report, const std::vector<ChildRewrite>& relinked = {});

}  // namespace pallo
