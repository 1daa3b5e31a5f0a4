// Topics [1] to [10]: their menu pictures, Link and In, their children,
// and the node editor's view of them.
#include <algorithm>

#include "display/detail.h"
#include "editors/check/checker.h"
#include "model/text.h"

namespace pallo::check {

void Checker::checkTopic(int number) {
    const std::string sec = toText(number);
    if (!hasKeys(sec)) return;
    const MainNode& node = nodes_[static_cast<std::size_t>(number - 1)];
    checkBlanks(sec, "Name", ini_.read(sec, "Name", ""), true);
    checkMenu(number, sec);
    checkLinkAndIn(node, sec);
    checkListEnd(sec, static_cast<int>(node.children.size()), false);
    checkChildCount(node, sec);
    for (const ChildNode& child : node.children) checkChild(node, sec, child);
    recordLinks(node);
}

// A Link or In the program cannot use spoils every entry of the topic.
void Checker::checkLinkAndIn(const MainNode& node, const std::string& sec) {
    const bool linkOk = node.Link.kind() != LinkMode::Unknown;
    const bool hasChildren = !node.children.empty();
    if (hasChildren && !linkOk) {
        const std::string what = entry(sec, "Link") ? "Link 是 " + q(node.Link.text()) : std::string("没有 Link");
        const std::string whatEn = entry(sec, "Link") ? "Link is " + q(node.Link.text()) : std::string("Link is missing");
        add(lineOf(sec, "Link"), sec, "Link", Severity::Error, "link-invalid",
            what + "：这个主题的每一项都显示为空白（没有图片和名称），程序不会提示。请写 0（不关联）、1（点击显示关联的 Item/Hero）或 2（每项代表一个 Item/Hero）。",
            whatEn + ": every entry of this topic shows blank (no picture, no name) and the program says "
                     "nothing. Write 0 (no link), 1 (a press shows its linked Item/Hero entries) or 2 "
                     "(each entry stands for an Item/Hero entry).");
    }
    const CatalogTable* table = catalogFor(node.In.kind());
    const bool linked = linksEntries(node.Link.kind());
    if (hasChildren && linked && !table) {
        const std::string in = entry(sec, "In") ? q(node.In.text()) : std::string("“”");
        add(lineOf(sec, "In"), sec, "In", Severity::Error, "in-invalid",
            "Link 为 " + node.Link.text() + " 时 In 必须是 “Item” 或 “Hero”（区分大小写），这里是 " + in +
                (node.Link.kind() == LinkMode::Mutual ? "：点击每一项都会弹出“参数错误参In：”。" : "：每一项都显示它自己的空白内容。"),
            "With Link " + node.Link.text() + ", In must be \"Item\" or \"Hero\" (exact case), not " + in +
                (node.Link.kind() == LinkMode::Mutual ? ": every press on an entry shows the error box \"参数错误参In：\"."
                                  : ": every entry shows its own, blank, content."));
    }
}

// The children past the two rows: they show on further pages.
void Checker::checkChildCount(const MainNode& node, const std::string& sec) {
    const CatalogTable* table = catalogFor(node.In.kind());
    const int n = static_cast<int>(node.children.size());
    const int pages = pageCount(n, kChildCapacity);
    if (pages > 1) {
        add(lineOf(sec, toText(kChildCapacity + 1)), sec, toText(kChildCapacity + 1), Severity::Note, "topic-pages",
            "这个主题有 " + toText(n) + " 项，分 " + toText(pages) + " 页显示（每页 " + toText(kChildCapacity) +
                " 项）：再按一次它的菜单图片翻到下一页，最后一页之后回到第一页；最后一张图片的右上角显示页码。",
            "This topic has " + toText(n) + " entries on " + toText(pages) + " pages of " + toText(kChildCapacity) +
                ": pressing its menu picture again turns to the next page, and after the last back to the first; "
                "the page number shows in the top right corner of the last picture.");
    }
    bool anyIds = false;
    for (const ChildNode& c : node.children) anyIds = anyIds || firstPositiveMember(c.members) > 0;
    if (node.Link.kind() == LinkMode::Mutual && table && anyIds && n > kRowCapacity) {
        add(lineOf(sec, "Link"), sec, "Link", Severity::Note, "ids-over-entries",
            "这个主题有 " + toText(n) + " 项，超过 14 项：点击一项时，它关联的 " + node.In.text() +
                " 占用第三行，第 15 项以后的内容暂时让开，再按一次菜单图片回来。",
            "This topic has " + toText(n) + " entries, more than 14: a press on an entry shows its linked " +
                node.In.text() + " entries in the third row, where entries 15 and on give way until the menu "
                "picture is pressed again.");
    }
}

// One child as the program reads and shows it.
void Checker::checkChild(const MainNode& node, const std::string& sec, const ChildNode& child) {
    const bool linkOk = node.Link.kind() != LinkMode::Unknown;
    const CatalogTable* table = catalogFor(node.In.kind());
    const std::string key = toText(child.number);
    const int line = lineOf(sec, key);
    const std::string raw = repairUtf8(ini_.read(sec, key, ""));
    // Under Link 2 a child with its catalog entry shows the entry: its own
    // picture, name and description never show, so nothing is said of them.
    const bool standsIn = linkOk && standInEntry(node, child, table) != nullptr;
    if (!standsIn) checkBlanks(sec, key, raw, false);
    if (!linkOk) return;  // every entry blank: said once above
    const std::size_t parts = split(removeBlanks(raw), "|", 4).size();
    if (parts != 4) {
        add(line, sec, key, Severity::Error, "child-parts",
            "这一项需要用“|”分隔的四部分：图片|名称|说明|ID，这里只有 " + toText(static_cast<std::int64_t>(parts)) +
                " 部分：程序把它显示为空白。末尾的空部分不算数，没有 ID 时请写 0。",
            "An entry needs four parts separated by \"|\": picture|name|description|IDs; this one has " +
                toText(static_cast<std::int64_t>(parts)) +
                ", so the program shows it blank. An empty last part does not count: write 0 when "
                "there are no IDs.");
        return;
    }
    if (!standsIn) checkTipLength(line, sec, key, child.description);
    if (node.Link.kind() == LinkMode::Direct) {
        checkStandIn(node, sec, key, line, child, table);
    } else {
        checkPicture(line, sec, key, childPicture(node, child, table));
        if (node.Link.kind() == LinkMode::Mutual && table) checkLinkedIds(node, sec, key, line, child, *table);
    }
}

// Which catalog entries the topic's children link to.
void Checker::recordLinks(const MainNode& node) {
    if (!linksEntries(node.Link.kind()) || !catalogFor(node.In.kind())) return;
    for (const ChildNode& c : node.children) {
        if (node.Link.kind() == LinkMode::Direct) linkedTo_[node.In.text()].insert(firstPositiveMember(c.members));
        else
            for (const std::string& m : c.members) linkedTo_[node.In.text()].insert(toInt(m));
    }
}

void Checker::checkMenu(int number, const std::string& sec) {
    if (!menu_) menu_ = readMenu(ini_, places_);
    for (const MenuEntry& m : *menu_) {
        if (m.section != number) continue;
        const std::string pic = ini_.read(sec, "Pic", "");
        const int line = lineOf(sec, "Pic");
        const PictureFacts& facts = examine(m.picturePath);
        const std::string shown = shown_.path(menuPicture(repairUtf8(pic)));
        if (facts.verdict == PictureFacts::Verdict::Missing) {
            add(line, sec, "Pic", Severity::Error, "picture-missing",
                "菜单图片不存在：" + shown + "。菜单里这一格只显示标题，没有图片。请添加这个文件或改正文件名。",
                "Menu picture missing: " + shown +
                    ". The menu shows only the title there, without a picture. Add the file or fix the name.");
        } else {
            reportPicture(facts, line, sec, "Pic", shown);
        }
        return;
    }
    // Left out of the menu: say which of the two values is too short.
    const std::string name = removeBlanks(repairUtf8(ini_.read(sec, "Name", "")));
    const std::string pic = removeBlanks(repairUtf8(ini_.read(sec, "Pic", "")));
    // The program's rule, asked about each value with the other one long enough.
    if (!takenIntoMenu(name, "a.png")) {
        add(lineOf(sec, "Name"), sec, "Name", Severity::Error, "not-in-menu",
            "Name " + q(name) + " 太短：至少要两个字母（一个汉字算两个），否则这个主题不会出现在菜单里。",
            "Name " + q(name) + " is too short: it needs at least two letters (a Chinese character counts "
            "as two), or the topic is left out of the menu.");
    }
    if (!takenIntoMenu("ab", pic)) {
        add(lineOf(sec, "Pic"), sec, "Pic", Severity::Error, "not-in-menu",
            "Pic " + q(pic) + " 太短：至少要四个字母（如 a.png），否则这个主题不会出现在菜单里。",
            "Pic " + q(pic) + " is too short: it needs at least four letters (such as a.png), or the topic "
            "is left out of the menu.");
    }
}

// A Link 2 entry stands for the catalog entry of its first positive ID,
// whose picture is looked up in the topic's own folder.
void Checker::checkStandIn(const MainNode& node, const std::string& sec, const std::string& key, int line,
                           const ChildNode& child, const CatalogTable* table) {
    const int id = firstPositiveMember(child.members);
    if (table && !standInEntry(node, child, table)) {
        const std::string zh = id > 0 ? "ID " + toText(id) + " 在 [" + node.In.text() + "] 里没有对应的项"
                                      : std::string("这一项没有 ID");
        const std::string en = id > 0 ? "ID " + toText(id) + " names no entry of [" + node.In.text() + "]"
                                      : std::string("This entry has no ID");
        add(line, sec, key, Severity::Error, "member-missing",
            zh + "：它显示自己的图片、名称和说明，而不是 " + node.In.text() + " 的内容。请在关联设置里选一个存在的项。",
            en + ": it shows its own picture, name and description instead of an " + node.In.text() +
                " entry. Choose an existing entry in the association editor.");
    }
    checkPicture(line, sec, key, childPicture(node, child, table));
}

void Checker::checkLinkedIds(const MainNode& node, const std::string& sec, const std::string& key, int line,
                             const ChildNode& child, const CatalogTable& table) {
    const std::vector<std::string>& ids = child.members;
    std::string unknown;
    for (const std::string& id : ids) {
        if (id.empty() || id == "0" || findEntry(table, toInt(id))) continue;
        unknown += (unknown.empty() ? "" : ",") + repairUtf8(id);
    }
    if (!unknown.empty()) {
        add(line, sec, key, Severity::Error, "member-missing",
            "ID " + unknown + " 在 [" + node.In.text() + "] 里没有对应的项：第三行的这些位置空着。请删除它们或添加这些项。",
            "ID " + unknown + " names no entry of [" + node.In.text() +
                "]: those places in the third row stay empty. Remove them or add the entries.");
    }
    const int count = static_cast<int>(ids.size());
    const int pages = pageCount(count, kRowCapacity);
    if (pages > 1) {
        add(line, sec, key, Severity::Note, "ids-pages",
            "这一项关联了 " + toText(count) + " 个 ID，分 " + toText(pages) + " 页显示（每页 14 个）：再点一次这一项显示下 14 个。",
            "This entry links " + toText(count) + " IDs on " + toText(pages) +
                " pages of 14: pressing it again shows the next 14.");
    }
    if (count == 2 && ids[0].empty() && toInt(ids[1]) > 0) {
        add(line, sec, key, Severity::Warning, "single-id",
            "只有一个 ID（" + repairUtf8(ids[1]) + "）时，它显示在第三行的第二格，第一格空着。想让它在第一格，请写 " +
                repairUtf8(ids[1]) + ",0。",
            "A single ID (" + repairUtf8(ids[1]) +
                ") shows in the second place of the third row; the first stays empty. To show it first, "
                "write " + repairUtf8(ids[1]) + ",0.");
    }
    for (const std::string& id : ids)
        if (const CatalogEntry* e = findEntry(table, toInt(id))) shownEntries_[node.In.text()].insert(e->number);
}

// The node editor lists topics up to the first one without a Title.
void Checker::checkTitleGap() {
    int gap = 0;
    for (int i = 1; i <= kMainNodeCount && gap == 0; ++i)
        if (nodes_[static_cast<std::size_t>(i - 1)].Title.empty()) gap = i;
    if (gap == 0) return;
    std::string hidden;
    for (int i = gap; i <= kMainNodeCount; ++i)
        if (hasKeys(toText(i))) hidden += (hidden.empty() ? "" : ", ") + std::string("[") + toText(i) + "]";
    if (hidden.empty()) return;
    const std::string sec = toText(gap);
    add(lineOf(sec, "Title"), sec, "Title", Severity::Warning, "title-gap",
        "[" + sec + "] 没有 Title：节点编辑器只列出它前面的主题，" + hidden + " 在编辑器里看不到也改不了。请给 [" + sec + "] 写上 Title。",
        "[" + sec + "] has no Title: the node editor lists only the topics before it, so " + hidden +
            " cannot be seen or edited there. Give [" + sec + "] a Title.");
}

}  // namespace pallo::check
