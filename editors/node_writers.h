// The writers that put main nodes and their children into Cfg.ini. Each
// takes the caller's message text and a report flag and returns true on
// success; with the flag set a failure fills or extends the message. An
// action that writes several items writes them as one group: one atomic
// replace of the file, all or nothing, every item reported when it fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// The six keys of main node number main, in writing order (Name, Title,
// In, Link, Pic, Show), values in UTF-8.
std::vector<ConfigStore::Item> mainNodeItems(const MainNode& node, std::int32_t main);

// Key `key` of section main holding the child's value, in UTF-8.
ConfigStore::Item childEntryItem(const ChildNode& child, std::int32_t main, std::int32_t key);

// What a failed write says.
std::string childRangeMessage(std::int32_t main, std::int32_t child);   // "主ID:[..]或子ID:[..]..."
std::string childWriteFailure(std::int32_t main, std::int32_t child);   // "[m]下"c"写入失败。"
std::string mainNodeWriteFailures(std::int32_t main);                   // the six lines, in key order

// Writes key child of section main from the child at that position of the
// table's main node main.
bool writeChildEntry(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                     std::int32_t child, std::string& message, bool report);

// Writes the six main-node keys of section main as one group.
bool writeMainNode(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                   std::string& message, bool report);

// Writes only the Title of section main.
bool writeMainTitle(ConfigStore& store, const std::string& cfgPath, const std::string& title, std::int32_t main,
                    std::string& message, bool report);

// A node save: the six main-node keys and child `child` in one group. On
// failure the message holds writeMainNode's lines followed by
// writeChildEntry's.
bool writeMainNodeAndChild(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                           std::int32_t main, std::int32_t child, std::string& message, bool report);

// A deletion: the children at the given positions (moved up a place) and
// the emptied key after the last child, in one group. On failure the
// message lists every item, one line each.
bool writeChildrenMovedUp(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                          std::int32_t main, const std::vector<int>& moved, std::string& message, bool report);

}  // namespace pallo
