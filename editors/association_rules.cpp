#include "editors/association_rules.h"

#include <algorithm>
#include <functional>

#include "editors/catalog_writers.h"
#include "editors/entry_fields.h"
#include "editors/links.h"
#include "editors/node_rules.h"
#include "model/loaders.h"
#include "model/text.h"

namespace pallo {

std::vector<std::int32_t> idsFromMemberText(std::string_view cell) {
    std::vector<std::int32_t> ids;
    for (const std::string& piece : split(cell, ",")) {
        const std::string clean = removeBlanks(piece);
        if (!clean.empty()) ids.push_back(toInt(clean));
    }
    return ids;
}

std::string idTextOfRows(const std::vector<std::string>& idCells) {
    std::string text;
    for (std::size_t i = 0; i < idCells.size(); ++i) {
        text += idCells[i];
        if (i + 1 < idCells.size()) text += ',';
    }
    return text;
}

bool orderingAllowed(std::string_view idText) { return localLength(removeBlanks(idText)) >= 3; }

std::optional<std::string> orderedIdText(std::string_view idText, IdOrder order) {
    const std::vector<std::string> pieces = split(removeBlanks(idText), ",");
    if (order == IdOrder::Manual || pieces.empty()) return std::nullopt;
    std::vector<std::int32_t> numbers;
    for (const std::string& piece : pieces) numbers.push_back(toInt(piece));
    if (order == IdOrder::Ascending) std::sort(numbers.begin(), numbers.end());
    if (order == IdOrder::Descending) std::sort(numbers.begin(), numbers.end(), std::greater<>());
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == 0) continue;
        text += toText(numbers[i]);
        if (i + 1 < numbers.size()) text += ',';
    }
    return text;
}

std::string idTextForSave(std::string_view idText) {
    std::string text = removeBlanks(idText);
    if (text.empty()) text = "0";
    if (localLength(text) <= 2) text = toText(toInt(text));
    return text;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A blank between two digits ("1 2"): removing it would join two IDs.
bool blankInsideANumber(std::string_view text) {
    const std::string squeezed = removeBlanks(text);
    std::size_t digitsBefore = 0;
    for (std::size_t i = 0, k = 0; i < text.size() && k < squeezed.size();) {
        if (text[i] == squeezed[k]) {
            digitsBefore = isDigit(text[i]) ? digitsBefore + 1 : 0;
            ++i;
            ++k;
            continue;
        }
        // A blank: inside a number when digits stand on both sides.
        if (digitsBefore > 0 && isDigit(squeezed[k])) return true;
        ++i;
    }
    return false;
}

}  // namespace

std::optional<std::string> checkIdText(std::string_view idText) {
    // An empty text clears the links. Anything else holds only digits and
    // commas, blanks around them aside: a short text is no exception ("-1"
    // is no ID), a text of blanks alone says nothing, and a blank inside a
    // number would join two IDs into another.
    if (idText.empty()) return std::nullopt;
    const std::string text = removeBlanks(idText);
    const bool digitsAndCommas =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == ','; });
    if (digitsAndCommas && !blankInsideANumber(idText)) return std::nullopt;
    return std::string("关联ID只能由数字和逗号组成：") + std::string(idText);
}

std::vector<std::string> idsForSave(std::string_view idText) {
    std::vector<std::string> ids;
    for (std::string& piece : split(idTextForSave(idText), ","))
        if (!piece.empty()) ids.push_back(std::move(piece));
    if (ids.empty()) ids.emplace_back("0");
    return ids;
}

std::string associationMembers(const std::vector<std::string>& ids) {
    // A lone ID would read back behind an empty member, in the second
    // place; a trailing ",0" keeps it first (0 names no entry).
    if (ids.size() == 1) {
        const std::string& id = ids.front();
        return removeBlanks(id).empty() || id == "0" ? std::string("0") : id + ",0";
    }
    std::string members = memberText(ids);
    if (removeBlanks(members).empty()) members = "0";
    return members;
}

std::optional<Refusal> writeAssociation(ConfigStore& store, const std::string& cfgPath, NodeTable& nodes,
                                        std::int32_t parentId, std::int32_t childId,
                                        const std::vector<std::string>& ids, CatalogTable* linkedCatalog) {
    if (ids.empty()) return Refusal{.text = "关联ID组参数错误。"};
    const auto parent = std::find_if(nodes.begin(), nodes.end(), [&](const MainNode& n) { return parentId >= 1 && n.number == parentId; });
    if (parent == nodes.end()) return Refusal{.text = "父ID参数错误：" + toText(parentId)};
    const auto child = std::find_if(parent->children.rbegin(), parent->children.rend(),
                                    [&](const ChildNode& c) { return childId >= 1 && c.number == childId; });
    if (child == parent->children.rend()) return Refusal{.text = "子ID参数错误：" + toText(childId)};
    if (isUnreadChild(*child))
        return Refusal{.text = "子节点" + toText(childId) + "的数据无法读取，请先在节点编辑器中填写并保存。"};
    const std::string members = associationMembers(ids);
    NodeTable next = nodes;
    const auto parentAt = static_cast<std::size_t>(parent - nodes.begin());
    const auto childAt = static_cast<std::size_t>(parent->children.rend() - child - 1);
    next[parentAt].children[childAt].members = readLinkedMembers(members);

    WriteGroup group;
    group.addEntry(toText(parentId), toText(childId),
                   EntryParts{child->picture, child->name, child->description, members,
                              ids.size() == 1 ? std::vector<std::string>{} : ids});
    CatalogTable catalog;
    if (linkedCatalog) {
        catalog = *linkedCatalog;
        for (const std::int32_t position : updateBackReferences(nodes, next, parent->In.text(), catalog))
            addCatalogEntry(group, parent->In.text(), catalog[static_cast<std::size_t>(position - 1)], position);
    }
    if (auto refusal = writeOrRefuse(store, cfgPath, group, "配置文件写入失败。")) return refusal;
    nodes = std::move(next);
    if (linkedCatalog) *linkedCatalog = std::move(catalog);
    return std::nullopt;
}

}  // namespace pallo
