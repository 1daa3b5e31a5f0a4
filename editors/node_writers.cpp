#include "editors/node_writers.h"

#include "editors/node_rules.h"
#include "model/text.h"

namespace pallo {

namespace {

bool isMainNumber(std::int32_t main) { return main >= 1 && main <= kMainNodeCount; }
bool isChildNumber(std::int32_t child) { return child >= 1 && child <= kMaxEntries; }

// The table's child at 1-based position child of main node main, when
// both are in range and the node has that many children.
const ChildNode* childAt(const NodeTable& nodes, std::int32_t main, std::int32_t child) {
    if (!isMainNumber(main) || !isChildNumber(child)) return nullptr;
    const MainNode& node = nodes[static_cast<std::size_t>(main - 1)];
    if (static_cast<std::size_t>(child) > node.children.size()) return nullptr;
    return &node.children[static_cast<std::size_t>(child - 1)];
}

constexpr const char* kMainKeys[] = {"Name", "Title", "In", "Link", "Pic", "Show"};

}  // namespace

std::vector<ConfigStore::Item> mainNodeItems(const MainNode& node, std::int32_t main) {
    const std::string section = toText(main);
    const std::string values[] = {node.Name, node.Title, node.In, node.Link, node.Pic, node.Show ? "1" : "0"};
    std::vector<ConfigStore::Item> items;
    for (std::size_t i = 0; i < std::size(kMainKeys); ++i)
        items.push_back({section, kMainKeys[i], LocalToUtf8(values[i])});
    return items;
}

ConfigStore::Item childEntryItem(const ChildNode& child, std::int32_t main, std::int32_t key) {
    return {toText(main), toText(key), LocalToUtf8(entryValue(child))};
}

std::string childRangeMessage(std::int32_t main, std::int32_t child) {
    return "主ID:[" + toText(main) + "]或子ID:[" + toText(child) + "]数值错误，或超出限定范围。";
}

std::string childWriteFailure(std::int32_t main, std::int32_t child) {
    return "[" + toText(main) + "]下\"" + toText(child) + "\"写入失败。";
}

std::string mainNodeWriteFailures(std::int32_t main) {
    std::string lines;
    for (std::size_t i = 0; i < std::size(kMainKeys); ++i) {
        lines += "[" + toText(main) + "]下" + kMainKeys[i] + "写入失败。";
        if (i + 1 < std::size(kMainKeys)) lines += "\r\n";
    }
    return lines;
}

bool writeChildEntry(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                     std::int32_t child, std::string& message, bool report) {
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) {
        if (report) message = childRangeMessage(main, child);
        return false;
    }
    const ConfigStore::Item item = childEntryItem(*entry, main, child);
    if (store.writeGroup(cfgPath, {item})) return true;
    if (report) message += childWriteFailure(main, child);
    return false;
}

bool writeMainNode(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                   std::string& message, bool report) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    if (store.writeGroup(cfgPath, mainNodeItems(nodes[static_cast<std::size_t>(main - 1)], main))) return true;
    if (report) message += mainNodeWriteFailures(main);
    return false;
}

bool writeMainTitle(ConfigStore& store, const std::string& cfgPath, const std::string& title, std::int32_t main,
                    std::string& message, bool report) {
    const std::string value = LocalToUtf8(title);
    if (!isMainNumber(main)) {
        if (report) message = "固定项目限制在10个以内。";
        return false;
    }
    if (report) message = "配置文件写入失败。";
    return store.write(cfgPath, toText(main), "Title", value);
}

bool writeMainNodeAndChild(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                           std::int32_t main, std::int32_t child, std::string& message, bool report) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) {
        if (report) message = childRangeMessage(main, child);
        return false;
    }
    std::vector<ConfigStore::Item> items = mainNodeItems(nodes[static_cast<std::size_t>(main - 1)], main);
    items.push_back(childEntryItem(*entry, main, child));
    if (store.writeGroup(cfgPath, items)) return true;
    if (report) message += mainNodeWriteFailures(main) + childWriteFailure(main, child);
    return false;
}

bool writeChildrenMovedUp(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                          std::int32_t main, const std::vector<int>& moved, std::string& message, bool report) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    const MainNode& node = nodes[static_cast<std::size_t>(main - 1)];
    const auto emptied = static_cast<std::int32_t>(node.children.size() + 1);
    std::vector<ConfigStore::Item> items;
    std::vector<std::int32_t> keys;
    for (const int position : moved) {
        const ChildNode* entry = childAt(nodes, main, position);
        if (!entry) {
            if (report) message = childRangeMessage(main, position);
            return false;
        }
        items.push_back(childEntryItem(*entry, main, position));
        keys.push_back(position);
    }
    // The emptied key is within 1..99 whenever a child was deleted.
    if (!isChildNumber(emptied)) {
        if (report) message = childRangeMessage(main, emptied);
        return false;
    }
    items.push_back({toText(main), toText(emptied), std::string()});
    keys.push_back(emptied);
    if (store.writeGroup(cfgPath, items)) return true;
    if (report) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i > 0) message += "\r\n";
            message += childWriteFailure(main, keys[i]);
        }
    }
    return false;
}

}  // namespace pallo
