#include "editors/entry_fields.h"

#include "editors/node_rules.h"
#include "model/text.h"

namespace pallo {

namespace {

// Appends the taken members with the shared comma rule: a taken member is
// followed by "," unless it is the last member of the whole list.
template <typename Take>
std::string joinTaken(const std::vector<std::string>& members, Take take) {
    std::string out;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (!take(members[i])) continue;
        out += members[i];
        if (i + 1 < members.size()) out += ',';
    }
    return out;
}

}  // namespace

std::string memberText(const std::vector<std::string>& members) {
    return joinTaken(members, [](const std::string& m) { return !removeBlanks(m).empty(); });
}

std::string backReferenceText(const std::vector<std::string>& members) {
    return removeBlanks(joinTaken(members, [](const std::string& m) {
        return m.find('&') != std::string::npos && localLength(m) > 2;
    }));
}

std::string catalogEntryValue(const CatalogEntry& entry) {
    return entry.picture + "|" + entry.name + "|" + entry.description + "|" + memberText(entry.members);
}

std::string catalogDescriptionForBox(std::string_view stored) { return shownDescription(removeBlanks(stored)); }

}  // namespace pallo
