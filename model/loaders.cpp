#include "model/loaders.h"

#include "config/ini.h"
#include "model/text.h"

namespace pallo {

namespace {

constexpr std::size_t kEntryParts = 4;  // picture | name | description | IdList

ChildNode blankChild(int number) {
    ChildNode child;
    child.number = number;
    return child;
}

// Reads the node's children; true when it has any.
bool readChildren(const ConfigStore::Snapshot& ini, const std::string& section, MainNode& node) {
    for (int j = 1; j <= kMaxEntries; ++j) {
        const std::string value = cleanValue(ini, section, toText(j));
        // Children are numbered consecutively: the first gap ends the list.
        if (value.empty()) break;
        node.children.push_back(parseChildValue(value, node.Link.kind(), j));
    }
    return !node.children.empty();
}

}  // namespace

std::string cleanValue(const ConfigStore::Snapshot& ini, std::string_view section, std::string_view key) {
    // removeBlanks(repairUtf8(value)), done in place: the loaders clean
    // over a thousand values at start-up.
    std::string value = ini.read(section, key, "");
    mendUtf8(value);
    eraseBlanks(value);
    return value;
}

std::vector<std::string> readLinkedMembers(std::string_view idList) {
    // split reserves room for four, so the insert does not reallocate.
    std::vector<std::string> members = split(idList, ",");
    if (members.size() >= 2) return members;
    members.insert(members.begin(), std::string());
    if (members.size() == 1) members.emplace_back("0");
    return members;
}

std::string readBackValue(std::string_view written) {
    std::string value = ini::valueAsStored(written);
    mendUtf8(value);
    eraseBlanks(value);
    return value;
}

ChildNode parseChildValue(std::string_view value, LinkMode link, int number) {
    if (link == LinkMode::Unknown) return blankChild(number);
    std::vector<std::string> parts = split(value, "|", kEntryParts);
    // A malformed entry stays in the list as a blank child with its
    // number, so the key numbers of the entries after it still line up.
    if (parts.size() != kEntryParts) return blankChild(number);
    return ChildNode{
        .number = number,
        .picture = std::move(parts[0]),
        .name = std::move(parts[1]),
        .description = std::move(parts[2]),
        // Kept under Link "0" too, where nothing uses them: a write keeps
        // them for the day the topic links again.
        .members = readLinkedMembers(parts[3]),
    };
}

std::optional<CatalogEntry> parseCatalogValue(std::string_view value, int number) {
    std::vector<std::string> parts = split(value, "|", kEntryParts);
    if (parts.size() < kEntryParts) return std::nullopt;
    return CatalogEntry{
        .number = number,
        .picture = std::move(parts[0]),
        .name = std::move(parts[1]),
        .description = std::move(parts[2]),
        .members = split(parts[3], ","),
    };
}

std::optional<std::string> loadMainNodes(ConfigStore& store, const std::string& cfgPath, NodeTable& nodes) {
    const ConfigStore::Snapshot ini = store.snapshot(cfgPath);
    nodes = NodeTable{};
    std::optional<std::string> note;
    for (int i = 1; i <= kMainNodeCount; ++i) {
        MainNode& node = nodes[static_cast<std::size_t>(i - 1)];
        const std::string section = toText(i);
        node.children.clear();
        node.children.reserve(kMaxEntries);  // the editors may grow it to the limit anyway
        node.number = i;
        node.Name = cleanValue(ini, section, "Name");
        node.Title = cleanValue(ini, section, "Title");
        node.In = InValue(cleanValue(ini, section, "In"));
        node.Link = LinkValue(cleanValue(ini, section, "Link"));
        node.Show = cleanValue(ini, section, "Show") == "1";
        node.Pic = cleanValue(ini, section, "Pic");
        if (readChildren(ini, section, node) && node.Link.kind() == LinkMode::Unknown)
            note = "挂钩数据错误" + node.Link.text();
    }
    return note;
}

void loadCatalog(ConfigStore& store, const std::string& cfgPath, std::string_view section, CatalogTable& table) {
    const ConfigStore::Snapshot ini = store.snapshot(cfgPath);
    table.clear();
    table.reserve(kMaxEntries);
    for (int i = 1; i <= kMaxEntries; ++i) {
        const std::string value = cleanValue(ini, section, toText(i));
        if (value.empty()) break;
        // Unlike a child, a malformed catalog entry ends the catalog: entry
        // numbers are positions in the table and may not skip.
        std::optional<CatalogEntry> entry = parseCatalogValue(value, i);
        if (!entry) break;
        table.push_back(std::move(*entry));
    }
}

}  // namespace pallo
