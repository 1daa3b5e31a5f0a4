// [Item] and [Hero]: where their lists end, their back-references, and
// the pictures of the entries a press shows.
#include <algorithm>

#include "editors/check/checker.h"
#include "editors/links.h"
#include "model/loaders.h"
#include "model/text.h"

namespace pallo::check {

namespace {

std::string joinReferences(const std::vector<BackReference>& refs) {
    std::string text;
    for (const BackReference& r : refs) text += (text.empty() ? "" : ",") + backReferenceMember(r);
    return text.empty() ? std::string("0&0") : text;
}

}  // namespace

// Where a list of numbered keys ends for the program, and what lies beyond.
void Checker::checkListEnd(const std::string& sec, int count, bool catalog) {
    const int stop = count + 1;
    if (stop > kMaxEntries) return;
    std::vector<int> unread;
    for (int k = stop + 1; k <= kMaxEntries; ++k)
        if (const ini::Entry* e = entry(sec, toText(k)); e && e->hasValue && !cleanValue(ini_, sec, toText(k)).empty())
            unread.push_back(k);
    const std::string stopKey = toText(stop);
    const std::string rest = unread.empty() ? std::string()
                                            : toText(unread.front()) + (unread.size() > 1 ? "–" + toText(unread.back()) : "");
    const std::string unreadCount = toText(static_cast<std::int64_t>(unread.size()));
    if (catalog && !cleanValue(ini_, sec, stopKey).empty()) {
        add(lineOf(sec, stopKey), sec, stopKey, Severity::Error, "entry-parts",
            "这一项需要用“|”分隔的四部分：图片|名称|说明|ID（末尾的空部分不算数，没有 ID 时请写 0）。程序读到这里就停止，这一项和后面 " +
                unreadCount + " 项都不会显示。",
            "An entry needs four parts separated by \"|\": picture|name|description|IDs (an empty last "
            "part does not count: write 0). The program stops reading here: this entry and the " +
                unreadCount + " after it never show.");
        return;
    }
    if (unread.empty()) return;
    const std::string k = toText(unread.front());
    add(lineOf(sec, k), sec, k, Severity::Error, "after-gap",
        "键 " + stopKey + " 缺失或为空，程序读到那里就停止：键 " + rest + "（" + unreadCount +
            " 项）永远不会显示。请从 1 开始连续编号。",
        "Key " + stopKey + " is missing or empty and the program stops reading there: keys " + rest + " (" +
            unreadCount + " entries) never show. Number the keys from 1 without gaps.");
}

// An entry's back-references "s&c" say which children link it. A file
// without them is fine; ones that are there must match the links.
void Checker::checkBackReferences(const std::string& kind, const CatalogTable& table) {
    const auto expected = expectedBackReferences(nodes_, kind, table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::vector<BackReference> present;
        for (const std::string& m : table[i].members)
            if (const auto ref = parseBackReference(m)) present.push_back(*ref);
        // A list without back-references says nothing of its links, unless
        // it says "0&0": none, which a linked entry contradicts.
        const bool saysNone = std::find(table[i].members.begin(), table[i].members.end(), "0&0") != table[i].members.end();
        if (present.empty() && !saysNone) continue;
        std::sort(present.begin(), present.end());
        if (present == expected[i]) continue;
        const std::string key = toText(table[i].number);
        const std::string written = joinReferences(present);
        const std::string wanted = joinReferences(expected[i]);
        add(lineOf(kind, key), kind, key, Severity::Warning, "back-reference-stale",
            "反向引用与实际关联不符：写着 " + q(written) + "，按各子节点的关联应为 " + q(wanted) +
                "（s&c 表示主节点 s 的第 c 个子节点关联了这一项）。在详细关联设置中重新保存关联这一项的子节点即可更新。",
            "The back-references do not match the links: the entry says " + q(written, "\"", "\"") +
                ", the children's links give " + q(wanted, "\"", "\"") +
                " (s&c: child c of topic s links this entry). Save the linking children again in the "
                "association editor to update them.");
    }
}

void Checker::checkCatalog(const std::string& kind, const CatalogTable& table) {
    if (!hasKeys(kind)) return;
    checkListEnd(kind, static_cast<int>(table.size()), true);
    checkBackReferences(kind, table);
    for (const CatalogEntry& e : table) {
        const std::string key = toText(e.number);
        const int line = lineOf(kind, key);
        checkBlanks(kind, key, repairUtf8(ini_.read(kind, key, "")), false);
        checkTipLength(line, kind, key, e.description);
        // Entries shown by Link 1 topics are looked up in Img\Item or Img\Hero.
        if (shownEntries_[kind].count(e.number)) checkPicture(line, kind, key, entryPicture(kind, e));
        if (!linkedTo_[kind].count(e.number)) {
            add(line, kind, key, Severity::Note, "entry-unlinked",
                "没有任何主题关联到这一项，它不会出现在任何地方。",
                "No topic links to this entry, so it shows nowhere.");
        }
    }
}

}  // namespace pallo::check
