#include "editors/links.h"

#include <algorithm>

#include "editors/node_rules.h"
#include "model/loaders.h"
#include "model/text.h"

namespace pallo {

namespace {

bool isDecimal(std::string_view text) {
    return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
}

bool linksEntry(const ChildNode& child, std::int32_t position) {
    return std::any_of(child.members.begin(), child.members.end(), [&](const std::string& m) {
        return isCatalogId(m) && toInt(m) == position;
    });
}

bool isNoneForm(std::string_view member, const std::vector<std::string>& members) {
    if (member == "0&0") return true;
    // A lone "0" of older files.
    const auto taken = std::count_if(members.begin(), members.end(),
                                     [](const std::string& m) { return !removeBlanks(m).empty(); });
    return member == "0" && taken == 1;
}

// The back-references a member list holds, sorted as expectedBackReferences
// gives them (none for a list without any, or with only "0&0" or "0").
std::vector<BackReference> storedBackReferences(const std::vector<std::string>& members) {
    std::vector<BackReference> refs;
    for (const std::string& m : members)
        if (const auto ref = parseBackReference(m)) refs.push_back(*ref);
    std::sort(refs.begin(), refs.end());
    return refs;
}

}  // namespace

std::optional<BackReference> parseBackReference(std::string_view member) {
    const std::size_t amp = member.find('&');
    if (amp == std::string_view::npos) return std::nullopt;
    const std::string_view s = member.substr(0, amp);
    const std::string_view c = member.substr(amp + 1);
    if (!isDecimal(s) || !isDecimal(c)) return std::nullopt;
    const BackReference ref{toInt(s), toInt(c)};
    if (ref.node < 1 || ref.node > kMainNodeCount || ref.child < 1 || ref.child > kMaxEntries) return std::nullopt;
    return ref;
}

std::string backReferenceMember(const BackReference& ref) { return toText(ref.node) + "&" + toText(ref.child); }

bool isCatalogId(std::string_view member) { return isDecimal(member); }

bool linksInto(const MainNode& node, std::string_view section) {
    const CatalogKind kind = catalogKindOf(section);
    return kind != CatalogKind::None && node.In.kind() == kind && linksEntries(node.Link.kind());
}

std::vector<std::vector<BackReference>> expectedBackReferences(const NodeTable& nodes, std::string_view section,
                                                               std::size_t entries) {
    std::vector<std::vector<BackReference>> refs(entries);
    for (const MainNode& node : nodes) {
        if (!linksInto(node, section)) continue;
        for (std::size_t c = 0; c < node.children.size(); ++c) {
            for (std::size_t e = 0; e < entries; ++e) {
                if (linksEntry(node.children[c], static_cast<std::int32_t>(e + 1)))
                    refs[e].push_back({node.number, static_cast<std::int32_t>(c + 1)});
            }
        }
    }
    return refs;
}

std::vector<std::string> withBackReferences(const std::vector<std::string>& members,
                                            const std::vector<BackReference>& refs) {
    std::vector<std::string> out;
    std::vector<BackReference> placed;
    for (const std::string& m : members) {
        if (removeBlanks(m).empty() || isNoneForm(m, members)) continue;
        if (const auto ref = parseBackReference(m)) {
            const bool asked = std::find(refs.begin(), refs.end(), *ref) != refs.end();
            if (!asked || std::find(placed.begin(), placed.end(), *ref) != placed.end()) continue;
            placed.push_back(*ref);
        }
        out.push_back(m);
    }
    for (const BackReference& ref : refs)
        if (std::find(placed.begin(), placed.end(), ref) == placed.end()) out.push_back(backReferenceMember(ref));
    if (out.empty()) out.emplace_back("0&0");
    return out;
}

std::vector<std::int32_t> updateBackReferences(const NodeTable& before, const NodeTable& after,
                                               std::string_view section, CatalogTable& table) {
    const auto was = expectedBackReferences(before, section, table.size());
    const auto now = expectedBackReferences(after, section, table.size());
    std::vector<std::int32_t> changed;
    for (std::size_t e = 0; e < table.size(); ++e) {
        // An entry is rewritten when the links changed, and also when what
        // it says already disagreed with them: after the write every
        // back-reference is true.
        if (was[e] == now[e] && storedBackReferences(table[e].members) == now[e]) continue;
        std::vector<std::string> members = withBackReferences(table[e].members, now[e]);
        if (members == table[e].members) continue;
        table[e].members = std::move(members);
        changed.push_back(static_cast<std::int32_t>(e + 1));
    }
    return changed;
}

std::vector<CatalogRewrite> backReferenceRewrites(const NodeTable& before, const NodeTable& after,
                                                  CatalogTable& item, CatalogTable& hero) {
    std::vector<CatalogRewrite> rewrites;
    for (auto [section, table] : {std::pair<const char*, CatalogTable*>{"Item", &item}, {"Hero", &hero}}) {
        for (const std::int32_t position : updateBackReferences(before, after, section, *table))
            rewrites.push_back({section, (*table)[static_cast<std::size_t>(position - 1)]});
    }
    return rewrites;
}

std::vector<ChildAt> relinkAfterCatalogDelete(NodeTable& nodes, std::string_view section, std::int32_t k) {
    std::vector<ChildAt> changed;
    for (MainNode& node : nodes) {
        if (!linksInto(node, section)) continue;
        for (std::size_t c = 0; c < node.children.size(); ++c) {
            ChildNode& child = node.children[c];
            std::vector<std::string> members;
            bool moved = false;
            for (const std::string& m : child.members) {
                if (!isCatalogId(m) || toInt(m) < k) {
                    members.push_back(m);
                    continue;
                }
                moved = true;
                if (toInt(m) > k) members.push_back(toText(toInt(m) - 1));
            }
            if (!moved) continue;
            // As a restart reads the list the writer makes of it.
            child.members = readLinkedMembers(joinMembersForFile(members));
            changed.push_back({node.number, static_cast<std::int32_t>(c + 1)});
        }
    }
    return changed;
}

}  // namespace pallo
