// The content model: ten main nodes with their children, and the two
// catalogs Item and Hero. All texts are UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

// The catalog a main node hooks into (key In): "Item" or "Hero", matched
// exactly; any other text hooks into none.
enum class CatalogKind { None, Item, Hero };

inline CatalogKind catalogKindOf(std::string_view text) {
    if (text == "Item") return CatalogKind::Item;
    if (text == "Hero") return CatalogKind::Hero;
    return CatalogKind::None;
}

// How a main node's children use its catalog (key Link).
enum class LinkMode {
    None,     // "0": no association
    Mutual,   // "1": a press on a child shows its linked entries
    Direct,   // "2": each child stands for the entry it names
    Unknown,  // any other text, the empty text included: every child is blank
};

inline LinkMode linkModeOf(std::string_view text) {
    if (text == "0") return LinkMode::None;
    if (text == "1") return LinkMode::Mutual;
    if (text == "2") return LinkMode::Direct;
    return LinkMode::Unknown;
}

// A key's value as read, with what it means: the text is kept exactly, so
// what is written back is what was read (an unknown value too) and messages
// can name it.
template <typename Kind, Kind (*meaning)(std::string_view)>
class CodedValue {
public:
    CodedValue() = default;
    explicit CodedValue(std::string value) : kind_(meaning(value)), text_(std::move(value)) {}
    Kind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    bool operator==(const CodedValue&) const = default;

private:
    Kind kind_ = meaning({});
    std::string text_;
};

using InValue = CodedValue<CatalogKind, catalogKindOf>;
using LinkValue = CodedValue<LinkMode, linkModeOf>;

// Whether children under this Link name catalog entries ("1" or "2").
inline bool linksEntries(LinkMode mode) { return mode == LinkMode::Mutual || mode == LinkMode::Direct; }

struct MainNode {
    std::int32_t number = 0;  // 1 to 10, the section name
    std::string Name;   // picture sub-directory under Img
    std::string Title;
    InValue In;         // "Item" or "Hero"
    LinkValue Link;     // "0" none, "1" mutual association, "2" direct reference
    bool Show = false;
    std::string Pic;
    std::vector<ChildNode> children{ChildNode{}};
};

// NodeTable[i - 1] is main node i.
using NodeTable = std::array<MainNode, kMainNodeCount>;
using CatalogTable = std::vector<CatalogEntry>;

// The catalog of this kind of the two given; nullptr for none.
template <typename Table>
Table* catalogOf(CatalogKind kind, Table& item, Table& hero) {
    switch (kind) {
        case CatalogKind::Item: return &item;
        case CatalogKind::Hero: return &hero;
        case CatalogKind::None: break;
    }
    return nullptr;
}

}  // namespace pallo
