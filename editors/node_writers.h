// The writers that put main nodes and their children into Cfg.ini. Each
// returns nothing when the file took what it wrote, otherwise the refusal
// to tell: what could not be written, or why. An action that writes
// several items writes them as one group: one atomic replace of the file,
// all or nothing, every item named when it fails. Every value goes
// through the read-back check of write_check.h: a value that would not
// read back as it is in the table is refused (its reason and its field in
// the refusal) and nothing is written; so is a write to a Cfg.ini that has
// vanished.
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

// The six keys of main node number main, in writing order (Name, Title,
// In, Link, Pic, Show).
void addMainNode(WriteGroup& group, const MainNode& node, std::int32_t main);

// What a failed write says.
std::string childRangeMessage(std::int32_t main, std::int32_t child);   // "主ID:[..]或子ID:[..]..."
std::string mainNodeWriteFailures(std::int32_t main);                   // the six lines, in key order

// Writes key child of section main from the child at that position of the
// table's main node main.
[[nodiscard]] std::optional<Refusal> writeChildEntry(ConfigStore& store, const std::string& cfgPath,
                                                     const NodeTable& nodes, std::int32_t main, std::int32_t child);

// Writes the six main-node keys of section main as one group, with the
// catalog entries whose back-references that changed.
[[nodiscard]] std::optional<Refusal> writeMainNode(ConfigStore& store, const std::string& cfgPath,
                                                   const NodeTable& nodes, std::int32_t main,
                                                   const std::vector<CatalogRewrite>& linked = {});

// Writes only the Title of section main.
[[nodiscard]] std::optional<Refusal> writeMainTitle(ConfigStore& store, const std::string& cfgPath,
                                                    const std::string& title, std::int32_t main);

// A node save: the six main-node keys and child `child` in one group (and
// the entries whose back-references changed). On failure the refusal holds
// writeMainNode's lines followed by writeChildEntry's.
[[nodiscard]] std::optional<Refusal> writeMainNodeAndChild(ConfigStore& store, const std::string& cfgPath,
                                                           const NodeTable& nodes, std::int32_t main,
                                                           std::int32_t child,
                                                           const std::vector<CatalogRewrite>& linked = {});

// A deletion: the children at the given positions (moved up one place; a
// child the loader could not read moves as its line stands), the emptied
// key after the last child and the catalog entries whose
// back-references changed, in one group. On failure the refusal lists
// every item, one line each.
[[nodiscard]] std::optional<Refusal> writeChildrenMovedUp(ConfigStore& store, const std::string& cfgPath,
                                                          const NodeTable& nodes, std::int32_t main,
                                                          const std::vector<int>& moved,
                                                          const std::vector<CatalogRewrite>& linked = {});

}  // namespace pallo
