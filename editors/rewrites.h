// The items one writer adds for another: the node writers rewrite the
// catalog entries whose back-references changed, the catalog writers the
// children whose links changed. Each item comes with the line a failed
// write reports for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editors/write_check.h"
#include "model/tables.h"

namespace pallo {

// "Item子项写入失败。" or "Hero子项写入失败。".
std::string catalogEntryFailure(const std::string& section);

// Key `key` of the section holding the entry. An entry whose members join
// to nothing is written with "0&0", so that it keeps its four parts.
void addCatalogEntry(WriteGroup& group, const std::string& section, const CatalogEntry& entry, std::int32_t key);

// A catalog entry rewritten along with another write (its back-references
// changed); written under its number.
struct CatalogRewrite {
    std::string section;
    CatalogEntry entry;
};

// A child rewritten along with a catalog write (its links changed).
struct ChildRewrite {
    std::int32_t main = 0;
    std::int32_t position = 0;
    ChildNode child;
};

// Key `key` of section main holding the child's value.
void addChildEntry(WriteGroup& group, const ChildNode& child, std::int32_t main, std::int32_t key);

// "[m]下"c"写入失败。"
std::string childWriteFailure(std::int32_t main, std::int32_t child);

// The lines a failed write reports, CRLF between them.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace pallo
