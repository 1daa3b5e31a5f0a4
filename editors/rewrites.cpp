#include "editors/rewrites.h"

#include "editors/entry_fields.h"
#include "editors/node_rules.h"
#include "model/text.h"

namespace pallo {

std::string catalogEntryFailure(const std::string& section) { return section + "子项写入失败。"; }

void addCatalogEntry(WriteGroup& group, const std::string& section, const CatalogEntry& entry, std::int32_t key) {
    std::string members = memberText(entry.members);
    std::vector<std::string> list = entry.members;
    // An empty fourth part is not counted: the loader would end the
    // catalog at this entry.
    if (members.empty()) {
        members = "0&0";
        list = {members};
    }
    group.addEntry(section, toText(key),
                   EntryParts{entry.picture, entry.name, entry.description, members, std::move(list)});
}

void addChildEntry(WriteGroup& group, const ChildNode& child, std::int32_t main, std::int32_t key) {
    // A blank last member is written as "0".
    std::vector<std::string> list = child.members;
    if (list.empty() || removeBlanks(list.back()).empty()) list.emplace_back("0");
    group.addEntry(toText(main), toText(key),
                   EntryParts{child.picture, child.name, child.description, joinMembersForFile(child.members),
                              std::move(list)});
}

std::string childWriteFailure(std::int32_t main, std::int32_t child) {
    return "[" + toText(main) + "]下\"" + toText(child) + "\"写入失败。";
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace pallo
