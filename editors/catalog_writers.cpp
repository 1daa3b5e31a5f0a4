#include "editors/catalog_writers.h"

#include "editors/entry_fields.h"
#include "model/text.h"

namespace pallo {

namespace {

const CatalogEntry* entryAt(const CatalogTable& table, std::int32_t position) {
    if (position < 1 || static_cast<std::size_t>(position) > table.size()) return nullptr;
    return &table[static_cast<std::size_t>(position - 1)];
}

ConfigStore::Item entryItem(const std::string& section, const CatalogEntry& entry, std::int32_t key) {
    return {section, toText(key), LocalToUtf8(catalogEntryValue(entry))};
}

void addLine(std::string& message, const std::string& line) {
    if (!message.empty()) message += "\r\n";
    message += line;
}

}  // namespace

std::string catalogEntryFailure(const std::string& section) { return section + "子项写入失败。"; }

std::vector<ConfigStore::Item> catalogEntryItems(const std::string& section, const CatalogTable& table,
                                                 std::int32_t position, const std::string& directory,
                                                 bool writeName) {
    const CatalogEntry* entry = entryAt(table, position);
    if (!entry) return {};
    std::vector<ConfigStore::Item> items;
    if (writeName) items.push_back({section, "Name", LocalToUtf8(directory)});
    items.push_back(entryItem(section, *entry, position));
    return items;
}

bool writeCatalogEntry(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                       const CatalogTable& table, std::int32_t position, const std::string& directory,
                       bool writeName, std::string& message, bool report) {
    const std::vector<ConfigStore::Item> items = catalogEntryItems(section, table, position, directory, writeName);
    if (!items.empty() && store.writeGroup(cfgPath, items)) return true;
    if (report) {
        // Name is not attempted without an entry to write with it.
        if (writeName && !items.empty()) message = "Name写入失败。";
        addLine(message, catalogEntryFailure(section));
    }
    return false;
}

bool writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                                const CatalogTable& table, const std::vector<int>& moved, std::string& message,
                                bool report) {
    std::vector<ConfigStore::Item> items;
    bool complete = true;
    for (const int position : moved) {
        const CatalogEntry* entry = entryAt(table, position);
        if (!entry) {
            complete = false;
            break;
        }
        items.push_back(entryItem(section, *entry, position));
    }
    items.push_back({section, toText(static_cast<std::int64_t>(table.size()) + 1), std::string()});
    if (complete && store.writeGroup(cfgPath, items)) return true;
    if (report)
        for (std::size_t i = 0; i < items.size(); ++i) addLine(message, catalogEntryFailure(section));
    return false;
}

}  // namespace pallo
