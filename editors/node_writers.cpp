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

// Writes the group; false with the message filled when it was refused or
// the file has vanished, false with nothing said when the replace failed.
bool write(ConfigStore& store, const std::string& cfgPath, const WriteGroup& group, std::string& message,
           bool report, std::optional<WrittenField>* refused, bool& explained) {
    const WriteResult result = writeChecked(store, cfgPath, group);
    explained = explainNotWritten(result, group, cfgPath, message, report, refused);
    return result == WriteResult::Written;
}

void addLinked(WriteGroup& group, const std::vector<CatalogRewrite>& linked, std::vector<std::string>* lines) {
    for (const CatalogRewrite& r : linked) {
        addCatalogEntry(group, r.section, r.entry, r.entry.number);
        if (lines) lines->push_back(catalogEntryFailure(r.section));
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

bool writeChildEntry(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                     std::int32_t child, std::string& message, bool report, std::optional<WrittenField>* refused) {
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) {
        if (report) message = childRangeMessage(main, child);
        return false;
    }
    WriteGroup group;
    addChildEntry(group, *entry, main, child);
    bool explained = false;
    if (write(store, cfgPath, group, message, report, refused, explained)) return true;
    if (report && !explained) message += childWriteFailure(main, child);
    return false;
}

bool writeMainNode(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes, std::int32_t main,
                   std::string& message, bool report, std::optional<WrittenField>* refused,
                   const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    WriteGroup group;
    addMainNode(group, nodes[static_cast<std::size_t>(main - 1)], main);
    std::vector<std::string> linkedLines;
    addLinked(group, linked, &linkedLines);
    bool explained = false;
    if (write(store, cfgPath, group, message, report, refused, explained)) return true;
    if (report && !explained) {
        message += mainNodeWriteFailures(main);
        for (const std::string& line : linkedLines) message += "\r\n" + line;
    }
    return false;
}

bool writeMainTitle(ConfigStore& store, const std::string& cfgPath, const std::string& title, std::int32_t main,
                    std::string& message, bool report, std::optional<WrittenField>* refused) {
    if (!isMainNumber(main)) {
        if (report) message = "固定项目限制在10个以内。";
        return false;
    }
    WriteGroup group;
    group.addValue(toText(main), "Title", title, WrittenField::Title);
    bool explained = false;
    if (write(store, cfgPath, group, message, report, refused, explained)) return true;
    if (report && !explained) message = "配置文件写入失败。";
    return false;
}

bool writeMainNodeAndChild(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                           std::int32_t main, std::int32_t child, std::string& message, bool report,
                           std::optional<WrittenField>* refused, const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    const ChildNode* entry = childAt(nodes, main, child);
    if (!entry) {
        if (report) message = childRangeMessage(main, child);
        return false;
    }
    WriteGroup group;
    addMainNode(group, nodes[static_cast<std::size_t>(main - 1)], main);
    addChildEntry(group, *entry, main, child);
    std::vector<std::string> linkedLines;
    addLinked(group, linked, &linkedLines);
    bool explained = false;
    if (write(store, cfgPath, group, message, report, refused, explained)) return true;
    if (report && !explained) {
        message += mainNodeWriteFailures(main) + childWriteFailure(main, child);
        for (const std::string& line : linkedLines) message += "\r\n" + line;
    }
    return false;
}

bool writeChildrenMovedUp(ConfigStore& store, const std::string& cfgPath, const NodeTable& nodes,
                          std::int32_t main, const std::vector<int>& moved, std::string& message, bool report,
                          const std::vector<CatalogRewrite>& linked) {
    if (!isMainNumber(main)) {
        if (report) message = "参数错误，或超出限定范围。";
        return false;
    }
    const MainNode& node = nodes[static_cast<std::size_t>(main - 1)];
    const auto emptied = static_cast<std::int32_t>(node.children.size() + 1);
    WriteGroup group;
    std::vector<std::string> lines;
    for (const int position : moved) {
        const ChildNode* entry = childAt(nodes, main, position);
        if (!entry) {
            if (report) message = childRangeMessage(main, position);
            return false;
        }
        // A child the loader could not read moves as its line stands: the
        // table's blank would put empty texts over its picture and name.
        if (isUnreadChild(*entry))
            group.addStored(toText(main), toText(position), store.read(cfgPath, toText(main), toText(position + 1), ""));
        else
            addChildEntry(group, *entry, main, position);
        lines.push_back(childWriteFailure(main, position));
    }
    // The emptied key is within 1..99 whenever a child was deleted.
    if (!isChildNumber(emptied)) {
        if (report) message = childRangeMessage(main, emptied);
        return false;
    }
    group.addEmpty(toText(main), toText(emptied));
    lines.push_back(childWriteFailure(main, emptied));
    addLinked(group, linked, &lines);
    bool explained = false;
    if (write(store, cfgPath, group, message, report, nullptr, explained)) return true;
    if (report && !explained) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) message += "\r\n";
            message += lines[i];
        }
    }
    return false;
}

}  // namespace pallo
