// The content model: ten main nodes with their children, and the two
// catalogs Item and Hero. All texts are UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pallo {

inline constexpr int kMainNodeCount = 10;
inline constexpr int kMaxEntries = 99;  // children per main node, entries per catalog

struct ChildNode {
    std::int32_t number = 0;  // the key it was read from (1 to 99)
    std::string picture;
    std::string name;
    std::string description;  // "#" stands for a line break
    std::vector<std::string> members{std::string()};  // the blank child holds one empty member
};

// A catalog entry has the same fields as a child node.
using CatalogEntry = ChildNode;

struct MainNode {
    std::int32_t number = 0;  // 1 to 10, the section name
    std::string Name;   // picture sub-directory under Img
    std::string Title;
    std::string In;     // "Item" or "Hero"
    std::string Link;   // "0" none, "1" mutual association, "2" direct reference
    bool Show = false;
    std::string Pic;
    std::vector<ChildNode> children{ChildNode{}};
};

// NodeTable[i - 1] is main node i.
using NodeTable = std::array<MainNode, kMainNodeCount>;
using CatalogTable = std::vector<CatalogEntry>;

}  // namespace pallo
