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

void addLinked(WriteGroup& group, const std::vector<CatalogRewrite>& linked, std::vector<std::string>& lines) {
    for (const CatalogRewrite& r : linked) {
        addCatalogEntry(group, r.section, r.entry, r.entry.number);
        lines.push_back(catalogEntryFailure(r.section));
    }
}

}  // namespace

void addMainNode(WriteGroup& group, const MainNode& node, std::int32_t main) {
    const std::string section = toText(main);
    group.addValue(section, "Name", node.Name, WrittenField::Directory);
    group.addValue(section, "Title", node.Title, WrittenField::Title);
    group.addValue(section, "In", node.In.text(), WrittenField::Other);
    group.addValue(section, "Link", node.Link.text(), WrittenField::Other);
    group.addValue(section, "Pic", node.Pic, WrittenField::MainPicture);
    group.addValue(section, "Show", node.Show ? "1" : "0", WrittenField::Other);
}

std::string childRangeMessage(std::int32_t main, std::int32_t child) {
    return "主ID:[" + toText(main) + "]或子ID:[" + toText(child) + "]数值错误，或超出限定范围。";
}

std::string mainNodeWriteFailures(std::int32_t main) {
    std::string lines;
    for (std::size_t i = 0; i < std::size(kMainKeys); ++i) {
        lines += "[" + toText(main) + "]下" + kMainKeys[i] + "写入失败。";
        if (i + 1 < std::size(kMainKeys)) lines += "\r\n";
    }
    return lines;
}

std::optional<Refusal> writeChildEntry(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                                       std::int32_t main, std::int32_t child) {
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) return Refusal{.text = childRangeMessage(main, child)};
    WriteGroup group;
    addChildEntry(group, *entry, main, child);
    return writeOrRefuse(store, cfgPath, group, childWriteFailure(main, child));
}

std::optional<Refusal> writeMainNode(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                                     std::int32_t main, const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) return Refusal{.text = "参数错误，或超出限定范围。"};
    WriteGroup group;
    addMainNode(group, nodes[static_cast<std::size_t>(main - 1)], main);
    std::vector<std::string> lines{mainNodeWriteFailures(main)};
    addLinked(group, linked, lines);
    return writeOrRefuse(store, cfgPath, group, joinLines(lines));
}

std::optional<Refusal> writeMainTitle(ConfigStore& store, const std::string& cfgPath, const std::string& title,
                                      std::int32_t main) {
    if (!isMainNumber(main)) return Refusal{.text = "固定项目限制在10个以内。"};
    WriteGroup group;
    group.addValue(toText(main), "Title", title, WrittenField::Title);
    return writeOrRefuse(store, cfgPath, group, "配置文件写入失败。");
}

std::optional<Refusal> writeMainNodeAndChild(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                                             std::int32_t main, std::int32_t child,
                                             const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) return Refusal{.text = "参数错误，或超出限定范围。"};
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) return Refusal{.text = childRangeMessage(main, child)};
    WriteGroup group;
    addMainNode(group, nodes[static_cast<std::size_t>(main - 1)], main);
    addChildEntry(group, *entry, main, child);
    // The child's line follows the six main-node lines on the same line.
    std::vector<std::string> lines{mainNodeWriteFailures(main) + childWriteFailure(main, child)};
    addLinked(group, linked, lines);
    return writeOrRefuse(store, cfgPath, group, joinLines(lines));
}

std::optional<Refusal> writeChildrenMovedUp(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                                            std::int32_t main, const std::vector<int>& moved,
                                            const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) return Refusal{.text = "参数错误，或超出限定范围。"};
    const MainNode& node = nodes[static_cast<std::size_t>(main - 1)];
    const auto emptied = static_cast<std::int32_t>(node.children.size() + 1);
    WriteGroup group;
    std::vector<std::string> lines;
    for (const int position : moved) {
        const ChildNode* entry = childAt(nodes, main, position);
        if (!entry) return Refusal{.text = childRangeMessage(main, position)};
        // A child the loader could not read moves as its line stands: the
        // table's blank would put empty texts over its picture and name.
        if (isUnreadChild(*entry))
            group.addStored(toText(main), toText(position), store.read(cfgPath, toText(main), toText(position + 1), ""));
        else
            addChildEntry(group, *entry, main, position);
        lines.push_back(childWriteFailure(main, position));
    }
    // The emptied key is within 1..99 whenever a child was deleted.
    if (!isChildNumber(emptied)) return Refusal{.text = childRangeMessage(main, emptied)};
    group.addEmpty(toText(main), toText(emptied));
    lines.push_back(childWriteFailure(main, emptied));
    addLinked(group, linked, lines);
    return writeOrRefuse(store, cfgPath, group, joinLines(lines));
}

}  // namespace pallo
