// The writers that put catalog entries into section Item or Hero of
// Cfg.ini. Each returns nothing when the file took what it wrote,
// otherwise the refusal to tell. What one user action writes goes in one group:
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

// Whether a catalog write also writes the section's Name (its picture
// directory).
enum class SectionName { Keep, Write };

// Writes the entry at `position` (1-based) of the section's table under
// that key, and with SectionName::Write also the section's Name, as one
// group. When the replace fails: "Name写入失败。" for Name, and the
// entry's failure after it on a new line (or alone without Name).
[[nodiscard]] std::optional<Refusal> writeCatalogEntry(ConfigStore& store, const std::string& cfgPath,
                                                       const std::string& section, const CatalogTable& table,
                                                       std::int32_t position, const std::string& directory,
                                                       SectionName name);

// A deletion: the entries at the given positions (moved up a place), the
// key after the last entry emptied and the children whose links changed,
// as one group; Name is not written. On failure the refusal names every
// item, one line each.
[[nodiscard]] std::optional<Refusal> writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath,
                                                                const std::string& section, const CatalogTable& table,
                                                                const std::vector<int>& moved,
                                                                const std::vector<ChildRewrite>& relinked = {});

}  // namespace pallo
