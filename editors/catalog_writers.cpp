#include "editors/catalog_writers.h"

#include "model/text.h"

namespace pallo {

namespace {

const CatalogEntry* entryAt(const CatalogTable& table, std::int32_t position) {
    if (position < 1 || static_cast<std::size_t>(position) > table.size()) return nullptr;
    return &table[static_cast<std::size_t>(position - 1)];
}

void addLine(std::string& message, const std::string& line) {
    if (!message.empty()) message += "\r\n";
    message += line;
}

}  // namespace

bool writeCatalogEntry(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                       const CatalogTable& table, std::int32_t position, const std::string& directory,
                       bool writeName, std::string& message, bool report, std::optional<WrittenField>* refused) {
    const CatalogEntry* entry = entryAt(table, position);
    WriteGroup group;
    if (entry) {
        if (writeName) group.addValue(section, "Name", directory, WrittenField::Directory);
        addCatalogEntry(group, section, *entry, position);
        const WriteResult result = writeChecked(store, cfgPath, group);
        if (result == WriteResult::Written) return true;
        if (explainNotWritten(result, group, cfgPath, message, report, refused)) return false;
    }
    if (report) {
        // Name is not attempted without an entry to write with it.
        if (writeName && entry) message = "Name写入失败。";
        addLine(message, catalogEntryFailure(section));
    }
    return false;
}

bool writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                                const CatalogTable& table, const std::vector<int>& moved, std::string& message,
                                bool report, const std::vector<ChildRewrite>& relinked) {
    WriteGroup group;
    std::vector<std::string> lines;
    bool complete = true;
    for (const int position : moved) {
        const CatalogEntry* entry = entryAt(table, position);
        if (!entry) {
            complete = false;
            break;
        }
        addCatalogEntry(group, section, *entry, position);
        lines.push_back(catalogEntryFailure(section));
    }
    group.addEmpty(section, toText(static_cast<std::int64_t>(table.size()) + 1));
    lines.push_back(catalogEntryFailure(section));
    for (const ChildRewrite& r : relinked) {
        addChildEntry(group, r.child, r.main, r.position);
        lines.push_back(childWriteFailure(r.main, r.position));
    }
    if (complete) {
        const WriteResult result = writeChecked(store, cfgPath, group);
        if (result == WriteResult::Written) return true;
        if (explainNotWritten(result, group, cfgPath, message, report, nullptr)) return false;
    }
    if (report)
        for (const std::string& line : lines) addLine(message, line);
    return false;
}

}  // namespace pallo
