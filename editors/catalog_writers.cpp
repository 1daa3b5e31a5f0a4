#include "editors/catalog_writers.h"

#include "model/text.h"

namespace pallo {

namespace {

const CatalogEntry* entryAt(const CatalogTable& table, std::int32_t position) {
    if (position < 1 || static_cast<std::size_t>(position) > table.size()) return nullptr;
    return &table[static_cast<std::size_t>(position - 1)];
}

}  // namespace

std::optional<Refusal> writeCatalogEntry(ConfigStore& store, const std::string& cfgPath, const std::string& section,
                                         const CatalogTable& table, std::int32_t position,
                                         const std::string& directory, SectionName name) {
    const CatalogEntry* entry = entryAt(table, position);
    // Name is not attempted without an entry to write with it.
    if (!entry) return Refusal{.text = catalogEntryFailure(section)};
    WriteGroup group;
    std::vector<std::string> lines;
    if (name == SectionName::Write) {
        group.addValue(section, "Name", directory, WrittenField::Directory);
        lines.push_back("Name写入失败。");
    }
    addCatalogEntry(group, section, *entry, position);
    lines.push_back(catalogEntryFailure(section));
    return writeOrRefuse(store, cfgPath, group, joinLines(lines));
}

std::optional<Refusal> writeCatalogEntriesMovedUp(ConfigStore& store, const std::string& cfgPath,
                                                  const std::string& section, const CatalogTable& table,
                                                  const std::vector<int>& moved,
                                                  const std::vector<ChildRewrite>& relinked) {
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
    if (!complete) return Refusal{.text = joinLines(lines)};
    return writeOrRefuse(store, cfgPath, group, joinLines(lines));
}

}  // namespace pallo
