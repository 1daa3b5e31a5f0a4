// Links between children and catalog entries, kept true through every
// write that changes them. A child's member list holds the IDs (positions)
// of the entries of the catalog its main node hooks into (In) when the
// node's Link is "1" or "2". A catalog entry's member list holds its
// back-references "s&c": child c of main node s links this entry. "0&0"
// (or a lone "0") stands for none; plain IDs in an entry's list are kept as
// they are.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/catalog_writers.h"
#include "model/tables.h"

namespace pallo {

struct BackReference {
    std::int32_t node = 0;
    std::int32_t child = 0;
    friend auto operator<=>(const BackReference&, const BackReference&) = default;
};

// "s&c" with s a main node (1..10) and c a child (1..99), in decimal.
std::optional<BackReference> parseBackReference(std::string_view member);
std::string backReferenceMember(const BackReference& ref);

// A member naming a catalog entry: decimal digits only.
bool isCatalogId(std::string_view member);

// Whether the node's children link entries of section.
bool linksInto(const MainNode& node, std::string_view section);

// For every entry position 1..entries of section, the back-references the
// links ask for, in node and child order (index 0 is position 1).
std::vector<std::vector<BackReference>> expectedBackReferences(const NodeTable& nodes, std::string_view section,
                                                               std::size_t entries);

// The member list holding exactly refs as its back-references: the plain
// members stay where they are, back-references no longer asked for go,
// new ones are appended; "0&0" when nothing is left.
std::vector<std::string> withBackReferences(const std::vector<std::string>& members,
                                            const std::vector<BackReference>& refs);

// Brings the back-references of section's entries in line after the links
// changed from before to after: every entry whose asked-for references
// differ gets exactly the new ones. Returns the positions (1-based) of the
// entries that changed in table.
std::vector<std::int32_t> updateBackReferences(const NodeTable& before, const NodeTable& after,
                                               std::string_view section, CatalogTable& table);

// updateBackReferences for both catalogs (item and hero, copies the caller
// commits once the write succeeded), as the entries to write with the
// change of the node table.
std::vector<CatalogRewrite> backReferenceRewrites(const NodeTable& before, const NodeTable& after,
                                                  CatalogTable& item, CatalogTable& hero);

// After entry k of section was deleted (the entries after it moved up):
// every linking child loses k and its IDs above k go down by one. Returns
// (main node, child position) of each child whose list changed; their
// member lists are as a restart would read them.
struct ChildAt {
    std::int32_t node = 0;
    std::int32_t position = 0;
};
std::vector<ChildAt> relinkAfterCatalogDelete(NodeTable& nodes, std::string_view section, std::int32_t k);

}  // namespace pallo
