#include "editors/association_rules.h"

#include <algorithm>
#include <functional>

#include "editors/entry_fields.h"
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

std::string associationMembers(const std::vector<std::string>& ids) {
    return ids.size() == 1 ? ids.front() : memberText(ids);
}

bool writeAssociation(ConfigStore& store, const std::string& cfgPath, NodeTable& nodes, std::int32_t parentId,
                      std::int32_t childId, const std::vector<std::string>& ids, std::string& message, bool report) {
    if (ids.empty()) {
        if (report) message = "关联ID组参数错误。";
        return false;
    }
    const auto parent = std::find_if(nodes.begin(), nodes.end(), [&](const MainNode& n) { return parentId >= 1 && n.number == parentId; });
    if (parent == nodes.end()) {
        if (report) message = "父ID参数错误：" + toText(parentId);
        return false;
    }
    const auto child = std::find_if(parent->children.rbegin(), parent->children.rend(),
                                    [&](const ChildNode& c) { return childId >= 1 && c.number == childId; });
    if (child == parent->children.rend()) {
        if (report) message = "子ID参数错误：" + toText(childId);
        return false;
    }
    const std::string value =
        child->picture + "|" + child->name + "|" + child->description + "|" + associationMembers(ids);
    if (!store.write(cfgPath, toText(parentId), toText(childId), LocalToUtf8(value))) {
        if (report) message = "配置文件写入失败。";
        return false;
    }
    child->members = ids;
    return true;
}

}  // namespace pallo
