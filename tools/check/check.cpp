#include "tools/check/check.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "config/config_store.h"
#include "config/ini.h"
#include "config/utf16.h"
#include "display/detail.h"
#include "display/rows.h"
#include "editors/links.h"
#include "model/hotkey.h"
#include "model/loaders.h"
#include "model/settings.h"
#include "model/tables.h"
#include "model/text.h"
#include "overlay/startup.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "tools/check/pictures.h"

namespace pallo::check {

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number a key or section name stands for when the program looks it up
// by number (decimal without leading zeros); 0 otherwise.
int canonicalNumber(std::string_view text) {
    if (!allDigits(text) || text.size() > 9 || text.front() == '0') return 0;
    return toInt(text);
}

// Quotes a text for a message (invalid UTF-8 mended, so messages stay UTF-8).
std::string q(std::string_view text, const char* open = "“", const char* close = "”") {
    return open + repairUtf8(text) + close;
}

// Blanks at the ends of a part are harmless: only inner ones change it.
std::string_view trimSpaces(std::string_view text) {
    for (;;) {
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace)) text.remove_prefix(kFullWidthSpace.size());
        else break;
    }
    for (;;) {
        if (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        else if (text.ends_with(kFullWidthSpace)) text.remove_suffix(kFullWidthSpace.size());
        else break;
    }
    return text;
}

enum class SectionKind { Config, Topic, Catalog, Unknown };

SectionKind sectionKind(std::string_view name) {
    if (ini::equalIgnoringAsciiCase(name, kConfigSection)) return SectionKind::Config;
    if (ini::equalIgnoringAsciiCase(name, "Item") || ini::equalIgnoringAsciiCase(name, "Hero"))
        return SectionKind::Catalog;
    const int n = canonicalNumber(name);
    if (n >= 1 && n <= kMainNodeCount) return SectionKind::Topic;
    return SectionKind::Unknown;
}

bool knownKey(SectionKind kind, std::string_view key) {
    const auto is = [&](const char* name) { return ini::equalIgnoringAsciiCase(key, name); };
    switch (kind) {
        case SectionKind::Config:
            return findConfigKey(key) != nullptr;
        case SectionKind::Topic:
            if (is("Name") || is("Title") || is("In") || is("Link") || is("Show") || is("Pic")) return true;
            break;
        case SectionKind::Catalog:
            if (is("Name")) return true;
            break;
        case SectionKind::Unknown: return false;
    }
    const int n = canonicalNumber(key);
    return n >= 1 && n <= kMaxEntries;
}

class Checker {
public:
    explicit Checker(const std::string& folder) : folder_(folder) {
        const char sep = files::separator();
        cfgPath_ = folder + sep + "Cfg.ini";
        imageRoot_ = folder + sep + "Img" + sep;
        menuDir_ = imageRoot_ + "Menu" + sep;
    }

    std::vector<Finding> run() {
        if (!files::exists(cfgPath_) || files::isDirectory(cfgPath_)) {
            add(0, "", "", Severity::Error, "cfg-missing", "找不到 Cfg.ini：程序会提示“配置文件不存在。”，什么内容都不显示。请把 Cfg.ini 放在这个文件夹里。",
                "Cfg.ini is missing: the program says the configuration file does not exist and shows no "
                "content. Put Cfg.ini in this folder.");
            return std::move(findings_);
        }
        std::optional<std::string> bytes = files::readAll(cfgPath_);
        if (!bytes) {
            add(0, "", "", Severity::Error, "cfg-unreadable", "Cfg.ini 无法读取：程序什么内容都不显示。请检查文件权限。",
                "Cfg.ini cannot be read: the program shows no content. Check the file's permissions.");
            return std::move(findings_);
        }
        doc_ = ini::parse(std::move(*bytes));
        indexLines();
        ini_ = store_.snapshot(cfgPath_);
        std::string message;
        loadMainNodes(store_, cfgPath_, nodes_, message, false);
        loadCatalog(store_, cfgPath_, "Item", items_, message, false);
        loadCatalog(store_, cfgPath_, "Hero", heroes_, message, false);

        checkLinesOutsideSections();
        checkSectionsAndKeys();
        checkWindowSettings();
        for (int i = 1; i <= kMainNodeCount; ++i) checkTopic(i);
        checkTitleGap();
        checkCatalog("Item", items_);
        checkCatalog("Hero", heroes_);

        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

private:
    // ------------------------------------------------------------ where things are

    void indexLines() {
        const std::string& b = doc_.bytes;
        lineStarts_.assign(1, 0);
        for (std::size_t i = 0; i < b.size(); ++i) {
            if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
            if (b[i] == '\r' || b[i] == '\n') lineStarts_.push_back(i + 1);
        }
    }

    int lineAt(std::size_t offset) const {
        return static_cast<int>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - lineStarts_.begin());
    }

    std::string_view bytesAt(std::size_t begin, std::size_t end) const {
        return std::string_view(doc_.bytes).substr(begin, end - begin);
    }

    // The section and entry the program reads: the first of their names.
    const ini::Section* section(std::string_view name) const {
        const auto it = doc_.sectionIndex.find(lower(name));
        return it == doc_.sectionIndex.end() ? nullptr : &doc_.sections[it->second];
    }
    const ini::Entry* entry(std::string_view sectionName, std::string_view key) const {
        const ini::Section* s = section(sectionName);
        if (!s) return nullptr;
        const auto it = s->keyIndex.find(lower(key));
        return it == s->keyIndex.end() ? nullptr : &s->entries[it->second];
    }
    // The line of the key, else of its section's header, else 0.
    int lineOf(std::string_view sectionName, std::string_view key) const {
        if (const ini::Entry* e = entry(sectionName, key)) return lineAt(e->keyBegin);
        if (const ini::Section* s = section(sectionName)) return lineAt(s->nameBegin);
        return 0;
    }
    bool hasKeys(std::string_view sectionName) const {
        const ini::Section* s = section(sectionName);
        return s && !s->entries.empty();
    }

    std::string picturePath(std::string_view dir, std::string_view name) const {
        return imageRoot_ + std::string(dir) + files::separator() + std::string(name);
    }
    static std::string shownPath(std::string_view dir, std::string_view name) {
        const char sep = files::separator();
        return "Img" + std::string(1, sep) + std::string(dir) + sep + std::string(name);
    }

    void add(int line, std::string_view sectionName, std::string_view key, Severity severity, const char* code,
             std::string zh, std::string en) {
        findings_.push_back(Finding{line, repairUtf8(sectionName), repairUtf8(key), severity, code,
                                    std::move(zh), std::move(en)});
    }

    // ------------------------------------------------------------ the file itself

    // Lines above the first section belong to none: the program never reads them.
    void checkLinesOutsideSections() {
        const std::size_t end = doc_.sections.empty() ? doc_.bytes.size()
                                                      : lineStarts_[static_cast<std::size_t>(
                                                            lineAt(doc_.sections.front().nameBegin) - 1)];
        for (std::size_t i = 0; i < lineStarts_.size(); ++i) {
            const std::size_t from = std::max(lineStarts_[i], doc_.bomLength);
            if (from >= end) break;
            const std::size_t to = i + 1 < lineStarts_.size() ? lineStarts_[i + 1] : doc_.bytes.size();
            std::string_view text = bytesAt(from, std::min(to, end));
            while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
            text = ini::trimBlanks(text);
            if (text.empty() || text.front() == ';') continue;
            add(static_cast<int>(i) + 1, "", "", Severity::Warning, "outside-section",
                "这一行在第一个 [节] 之前，程序不会读取。请把它移到所属的节里。",
                "This line stands before the first [section]: the program never reads it. Move it into its "
                "section.");
        }
    }

    void checkSectionsAndKeys() {
        for (std::size_t si = 0; si < doc_.sections.size(); ++si) {
            const ini::Section& s = doc_.sections[si];
            const std::string_view name = bytesAt(s.nameBegin, s.nameEnd);
            const int line = lineAt(s.nameBegin);
            const auto firstIt = doc_.sectionIndex.find(lower(name));
            const std::size_t first = firstIt == doc_.sectionIndex.end() ? si : firstIt->second;
            if (first != si) {
                const std::string firstLine = toText(lineAt(doc_.sections[first].nameBegin));
                add(line, name, "", Severity::Error, "duplicate-section",
                    "重复的节 " + q(name, "[", "]") + "：程序只读取第 " + firstLine + " 行的那一个，这里的内容全部被忽略。请把两节合并。",
                    "Duplicate section " + q(name, "[", "]") + ": the program reads only the one on line " +
                        firstLine + "; everything here is ignored. Merge the two.");
                continue;
            }
            const SectionKind kind = sectionKind(name);
            if (kind == SectionKind::Unknown) {
                const int n = canonicalNumber(name);
                if (n > kMainNodeCount) {
                    add(line, name, "", Severity::Error, "section-past-10",
                        "程序最多读取 [1] 到 [10] 共十个主题，" + q(name, "[", "]") + " 永远不会显示。请把它并入前十个主题。",
                        "The program reads ten topics, [1] to [10]: " + q(name, "[", "]") +
                            " never shows. Fold it into the first ten.");
                } else {
                    add(line, name, "", Severity::Warning, "unknown-section",
                        "程序不读取节 " + q(name, "[", "]") + "。可用的节：[Config]、[1] 到 [10]、[Item]、[Hero]。",
                        "The program never reads section " + q(name, "[", "]") +
                            ". It reads [Config], [1] to [10], [Item] and [Hero].");
                }
                continue;
            }
            checkKeys(s, name, kind);
        }
    }

    void checkKeys(const ini::Section& s, std::string_view sectionName, SectionKind kind) {
        for (std::size_t ei = 0; ei < s.entries.size(); ++ei) {
            const ini::Entry& e = s.entries[ei];
            const std::string_view key = bytesAt(e.keyBegin, e.keyEnd);
            const int line = lineAt(e.keyBegin);
            const auto firstIt = s.keyIndex.find(lower(key));
            const std::size_t first = firstIt == s.keyIndex.end() ? ei : firstIt->second;
            if (first != ei) {
                const std::string firstLine = toText(lineAt(s.entries[first].keyBegin));
                add(line, sectionName, key, Severity::Error, "duplicate-key",
                    "重复的键 " + q(key) + "：程序只读取第 " + firstLine + " 行的那一个，这一行被忽略。请删除其中一行。",
                    "Duplicate key " + q(key) + ": the program reads only the one on line " + firstLine +
                        "; this line is ignored. Remove one of them.");
                continue;
            }
            if (!e.hasValue) {
                add(line, sectionName, key, Severity::Warning, "no-equals",
                    "这一行没有“=”：程序把它当作没有值的键，它还会挡住后面同名的键。请写成 键=值。",
                    "This line has no \"=\": the program reads it as a key without a value, and it hides any "
                    "later line of the same key. Write key=value.");
                continue;
            }
            if (!knownKey(kind, key)) {
                const int n = canonicalNumber(key);
                if (kind != SectionKind::Config && n > kMaxEntries) {
                    add(line, sectionName, key, Severity::Error, "past-99",
                        "程序每节最多读取键 1 到 99，" + q(key) + " 永远不会显示。",
                        "The program reads keys 1 to 99 of a section: " + q(key) + " never shows.");
                } else {
                    add(line, sectionName, key, Severity::Warning, "unknown-key",
                        "程序不读取这个键 " + q(key) + "。请检查拼写（序号不能有前导 0）。",
                        "The program never reads key " + q(key) +
                            ". Check its spelling (numbers have no leading zeros).");
                }
                continue;
            }
            if (kind == SectionKind::Config) continue;  // plain digits, checked as settings
            checkStoredValue(e, sectionName, key, line);
        }
    }

    // Facts of the stored bytes that reading hides: the cut at the read
    // buffer, and bytes that are not UTF-8.
    void checkStoredValue(const ini::Entry& e, std::string_view sectionName, std::string_view key, int line) {
        std::string_view raw = bytesAt(e.valueBegin, e.valueEnd);
        const std::optional<std::string> read = ini::find(doc_, sectionName, key);
        if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
            raw = raw.substr(1, raw.size() - 2);
        if (read && read->size() < raw.size()) {
            add(line, sectionName, key, Severity::Error, "value-cut",
                "值有 " + toText(static_cast<std::int64_t>(raw.size())) + " 字节，程序只读取前 " +
                    toText(static_cast<std::int64_t>(read->size())) + " 字节，后面的内容不会显示。请缩短它。",
                "The value is " + toText(static_cast<std::int64_t>(raw.size())) +
                    " bytes long; the program reads only the first " +
                    toText(static_cast<std::int64_t>(read->size())) + " and the rest never shows. Shorten it.");
        }
        // Checked on the stored text: reading would already have mended it.
        if (repairUtf8(raw) != raw) {
            add(line, sectionName, key, Severity::Error, "not-utf8",
                "这个值不是 UTF-8 编码：无法识别的字节会显示成“\xEF\xBF\xBD”。请把 Cfg.ini 存为 UTF-8。",
                "This value is not UTF-8: the bytes that are not show as \"\xEF\xBF\xBD\". Save Cfg.ini as "
                "UTF-8.");
        }
    }

    // ------------------------------------------------------------ [Config]

    void checkWindowSettings() {
        if (!section(kConfigSection)) return;
        // The monitors are the user's: only the limits that hold on any
        // primary screen are checked here.
        const WindowSettings used =
            readWindowSettings(ini_, {platform::Monitor{0, 0, INT_MAX, INT_MAX, true}});
        for (const ConfigKey& k : kConfigKeys) {
            const ini::Entry* e = entry(kConfigSection, k.key);
            if (!e || !e->hasValue) continue;
            const std::optional<ConfigFinding> f = judgeConfigValue(k, ini_.read(kConfigSection, k.key, ""), used);
            if (f) add(lineAt(e->keyBegin), kConfigSection, k.key, f->error ? Severity::Error : Severity::Warning,
                       f->code, f->zh, f->en);
        }
    }

    // ------------------------------------------------------------ topics [1]..[10]

    const CatalogTable* catalogFor(CatalogKind kind) const { return catalogOf(kind, items_, heroes_); }

    void checkTopic(int number) {
        const std::string sec = toText(number);
        if (!hasKeys(sec)) return;
        const MainNode& node = nodes_[static_cast<std::size_t>(number - 1)];
        checkBlanks(sec, "Name", ini_.read(sec, "Name", ""), true);
        checkMenu(number, sec);

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
        checkListEnd(sec, static_cast<int>(node.children.size()), false);

        const int n = static_cast<int>(node.children.size());
        if (n > kChildCapacity) {
            const std::string hiddenRange =
                toText(kChildCapacity + 1) + (n > kChildCapacity + 1 ? "–" + toText(n) : std::string());
            add(lineOf(sec, toText(kChildCapacity + 1)), sec, toText(kChildCapacity + 1), Severity::Error,
                "too-many-children",
                "这个主题有 " + toText(n) + " 项，只显示前 " + toText(kChildCapacity) + " 项（每行 14 项，共两行）：第 " +
                    hiddenRange + " 项不会显示。请拆分到另一个主题。",
                "This topic has " + toText(n) + " entries and only the first " + toText(kChildCapacity) +
                    " show (two rows of 14): entries " + hiddenRange + " never show. Move some to another topic.");
        }
        bool anyIds = false;
        for (const ChildNode& c : node.children) anyIds = anyIds || firstPositiveMember(c.members) > 0;
        // With no linked entries at all, the children's count decides the room.
        const bool entriesShow = linkedRoom(n, 0) != LinkedRoom::NoRoom;
        if (node.Link.kind() == LinkMode::Mutual && table && anyIds && !entriesShow) {
            add(lineOf(sec, "Link"), sec, "Link", Severity::Error, "ids-hidden",
                "这个主题有 " + toText(n) + " 项，超过 14 项时第三行用来显示第 15 项以后的内容，点击任何一项都不会显示它关联的 " +
                    node.In.text() + "。关联（Link 1）的主题请保持在 14 项以内。",
                "This topic has " + toText(n) + " entries: past 14 the third row holds entries 15 to 28, so a "
                "press on an entry never shows its linked " + node.In.text() +
                    " entries. Keep a Link 1 topic to 14 entries.");
        }

        for (int j = 0; j < std::min(n, kChildCapacity); ++j) {
            const ChildNode& child = node.children[static_cast<std::size_t>(j)];
            const std::string key = toText(child.number);
            const int line = lineOf(sec, key);
            const std::string raw = repairUtf8(ini_.read(sec, key, ""));
            checkBlanks(sec, key, raw, false);
            if (!linkOk) continue;  // every entry blank: said once above
            const std::size_t parts = split(removeBlanks(raw), "|", 4).size();
            if (parts != 4) {
                add(line, sec, key, Severity::Error, "child-parts",
                    "这一项需要用“|”分隔的四部分：图片|名称|说明|ID，这里只有 " + toText(static_cast<std::int64_t>(parts)) +
                        " 部分：程序把它显示为空白。末尾的空部分不算数，没有 ID 时请写 0。",
                    "An entry needs four parts separated by \"|\": picture|name|description|IDs; this one has " +
                        toText(static_cast<std::int64_t>(parts)) +
                        ", so the program shows it blank. An empty last part does not count: write 0 when "
                        "there are no IDs.");
                continue;
            }
            checkTipLength(line, sec, key, child.description);
            if (node.Link.kind() == LinkMode::Direct) {
                checkStandIn(node, sec, key, line, child, table);
            } else {
                checkPicture(line, sec, key, node.Name, child.picture);
                if (node.Link.kind() == LinkMode::Mutual && table) checkLinkedIds(node, sec, key, line, child, *table);
            }
        }
        if (linked && table) {
            for (const ChildNode& c : node.children) {
                if (node.Link.kind() == LinkMode::Direct) linkedTo_[node.In.text()].insert(firstPositiveMember(c.members));
                else
                    for (const std::string& m : c.members) linkedTo_[node.In.text()].insert(toInt(m));
            }
        }
    }

    void checkMenu(int number, const std::string& sec) {
        if (!menu_) menu_ = readMenu(ini_, menuDir_);
        for (const MenuEntry& m : *menu_) {
            if (m.section != number) continue;
            const std::string pic = ini_.read(sec, "Pic", "");
            const int line = lineOf(sec, "Pic");
            const PictureFacts& facts = examine(m.picturePath);
            const std::string shown = shownPath("Menu", repairUtf8(pic));
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
    void checkStandIn(const MainNode& node, const std::string& sec, const std::string& key, int line,
                      const ChildNode& child, const CatalogTable* table) {
        const int id = firstPositiveMember(child.members);
        const CatalogEntry* target = table ? findEntry(*table, id) : nullptr;
        if (!target) {
            if (table) {
                const std::string zh = id > 0 ? "ID " + toText(id) + " 在 [" + node.In.text() + "] 里没有对应的项"
                                              : std::string("这一项没有 ID");
                const std::string en = id > 0 ? "ID " + toText(id) + " names no entry of [" + node.In.text() + "]"
                                              : std::string("This entry has no ID");
                add(line, sec, key, Severity::Error, "member-missing",
                    zh + "：它显示自己的图片、名称和说明，而不是 " + node.In.text() + " 的内容。请在关联设置里选一个存在的项。",
                    en + ": it shows its own picture, name and description instead of an " + node.In.text() +
                        " entry. Choose an existing entry in the association editor.");
            }
            checkPicture(line, sec, key, node.Name, child.picture);
            return;
        }
        checkPicture(line, sec, key, node.Name, target->picture);
    }

    void checkLinkedIds(const MainNode& node, const std::string& sec, const std::string& key, int line,
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
        const LinkedRoom room = linkedRoom(static_cast<int>(node.children.size()), count);
        if (room == LinkedRoom::TooMany) {
            add(line, sec, key, Severity::Error, "too-many-ids",
                "这一项关联了 " + toText(count) + " 个 ID：点击时一个都不显示，只提示“子节点内容过多，无法展示。”。最多显示 14 个。",
                "This entry links " + toText(count) + " IDs: a press shows none of them, only the notice "
                "\"子节点内容过多，无法展示。\". At most 14 show.");
            return;
        }
        if (room == LinkedRoom::NoRoom) return;  // said once for the topic
        if (room == LinkedRoom::First14) {
            add(line, sec, key, Severity::Error, "too-many-ids",
                "这一项关联了 " + toText(count) + " 个 ID：点击时只显示前 14 个。请拆分成几项。",
                "This entry links " + toText(count) + " IDs: a press shows only the first 14. Split it.");
        }
        if (count == 2 && ids[0].empty() && toInt(ids[1]) > 0) {
            add(line, sec, key, Severity::Warning, "single-id",
                "只有一个 ID（" + repairUtf8(ids[1]) + "）时，它显示在第三行的第二格，第一格空着。想让它在第一格，请写 " +
                    repairUtf8(ids[1]) + ",0。",
                "A single ID (" + repairUtf8(ids[1]) +
                    ") shows in the second place of the third row; the first stays empty. To show it first, "
                    "write " + repairUtf8(ids[1]) + ",0.");
        }
        for (int t = 0; t < std::min(count, kRowCapacity); ++t) {
            const CatalogEntry* e = findEntry(table, toInt(ids[static_cast<std::size_t>(t)]));
            if (e) shownEntries_[node.In.text()].insert(e->number);
        }
    }

    // ------------------------------------------------------------ the node editor

    // The node editor lists topics up to the first one without a Title.
    void checkTitleGap() {
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

    // ------------------------------------------------------------ [Item] and [Hero]

    // Where a list of numbered keys ends for the program, and what lies beyond.
    void checkListEnd(const std::string& sec, int count, bool catalog) {
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

    static std::string joinReferences(const std::vector<BackReference>& refs) {
        std::string text;
        for (const BackReference& r : refs) text += (text.empty() ? "" : ",") + backReferenceMember(r);
        return text.empty() ? std::string("0&0") : text;
    }

    // An entry's back-references "s&c" say which children link it. A file
    // without them is fine; ones that are there must match the links.
    void checkBackReferences(const std::string& kind, const CatalogTable& table) {
        const auto expected = expectedBackReferences(nodes_, kind, table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            std::vector<BackReference> present;
            for (const std::string& m : table[i].members)
                if (const auto ref = parseBackReference(m)) present.push_back(*ref);
            if (present.empty()) continue;
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

    void checkCatalog(const std::string& kind, const CatalogTable& table) {
        if (!hasKeys(kind)) return;
        checkListEnd(kind, static_cast<int>(table.size()), true);
        checkBackReferences(kind, table);
        for (const CatalogEntry& e : table) {
            const std::string key = toText(e.number);
            const int line = lineOf(kind, key);
            checkBlanks(kind, key, repairUtf8(ini_.read(kind, key, "")), false);
            checkTipLength(line, kind, key, e.description);
            // Entries shown by Link 1 topics are looked up in Img\Item or Img\Hero.
            if (shownEntries_[kind].count(e.number)) checkPicture(line, kind, key, kind, e.picture);
            if (!linkedTo_[kind].count(e.number)) {
                add(line, kind, key, Severity::Note, "entry-unlinked",
                    "没有任何主题关联到这一项，它不会出现在任何地方。",
                    "No topic links to this entry, so it shows nowhere.");
            }
        }
    }

    // ------------------------------------------------------------ shared checks

    // A description is the hover tip, which shows only its first part.
    void checkTipLength(int line, const std::string& sec, const std::string& key, const std::string& description) {
        const std::size_t units = ini::utf16LeFromUtf8(tipText(description)).size() / 2;
        if (units <= static_cast<std::size_t>(platform::kTipShownUnits)) return;
        const std::string shown = toText(static_cast<std::int64_t>(platform::kTipShownUnits) - 1);
        add(line, sec, key, Severity::Warning, "tip-cut",
            "说明是悬停提示，提示最多显示 " + shown + " 个字符，后面加“…”；这段说明有 " +
                toText(static_cast<std::int64_t>(units)) + " 个（表情符号算 2 个，# 算 2 个）。请缩短它。",
            "The description is the hover tip, which shows at most " + shown +
                " characters and then \"…\"; this one has " + toText(static_cast<std::int64_t>(units)) +
                " (an emoji counts 2, a # counts 2). Shorten it.");
    }

    // Every blank of a value is removed when the program reads it.
    void checkBlanks(const std::string& sec, const std::string& key, const std::string& value, bool whole) {
        const std::vector<std::string> parts = whole ? std::vector<std::string>{value} : split(value, "|", 4);
        for (const std::string& part : parts) {
            const std::string_view written = trimSpaces(part);
            const std::string read = removeBlanks(written);
            if (read == written) continue;
            add(lineOf(sec, key), sec, key, Severity::Warning, "blanks-removed",
                "程序读取时会删除所有空格：" + q(written) + " 会变成 " + q(read) +
                    "。需要保留的空格请用不换行空格（U+00A0）；图片和文件夹名里不要有空格。",
                "The program removes every blank when it reads a value: " + q(written) + " becomes " + q(read) +
                    ". Where a blank must stay, write a no-break space (U+00A0); picture and folder names "
                    "must have none.");
            return;
        }
    }

    const PictureFacts& examine(const std::string& path) {
        auto it = pictures_.find(path);
        if (it == pictures_.end()) it = pictures_.emplace(path, examinePicture(path)).first;
        return it->second;
    }

    // A picture of the second or third row: a missing one shows the placeholder.
    void checkPicture(int line, const std::string& sec, const std::string& key, const std::string& dir,
                      const std::string& name) {
        const std::string shown = shownPath(dir, name);
        if (name.empty()) {
            add(line, sec, key, Severity::Warning, "picture-none",
                "这一项没有写图片名：显示占位图。", "This entry names no picture: the placeholder shows.");
            return;
        }
        const PictureFacts& facts = examine(picturePath(dir, name));
        if (facts.verdict == PictureFacts::Verdict::Missing) {
            add(line, sec, key, Severity::Error, "picture-missing",
                "图片不存在：" + shown + "。程序显示占位图。请添加这个文件或改正文件名。",
                "Picture missing: " + shown + ". The placeholder shows instead; add the file or fix the name.");
            return;
        }
        reportPicture(facts, line, sec, key, shown);
    }

    void reportPicture(const PictureFacts& facts, int line, const std::string& sec, const std::string& key,
                       const std::string& shown) {
        if (facts.verdict == PictureFacts::Verdict::Unreadable) {
            add(line, sec, key, Severity::Error, "picture-unreadable",
                "程序无法显示图片 " + shown + "：" + facts.whyZh + "。这一格显示为空白。" + facts.fixZh + "。",
                "The program cannot show " + shown + ": " + facts.whyEn + ". The box stays empty. " + facts.fixEn +
                    ".");
        } else if (facts.verdict == PictureFacts::Verdict::Slow) {
            const std::string size = toText(facts.width) + " × " + toText(facts.height);
            const std::string ms = toText(static_cast<std::int64_t>(facts.milliseconds + 0.5));
            add(line, sec, key, Severity::Warning, "picture-slow",
                "图片 " + shown + " 有 " + size + " 像素，这里解码用了约 " + ms +
                    " 毫秒：第一次点击显示它时会变慢。格子只有 70 × 70，请把图片缩小。",
                "Picture " + shown + " is " + size + " pixels and took about " + ms +
                    " ms to decode here: the first press that shows it is slow. The box is 70 × 70; scale it "
                    "down.");
        }
    }

    std::string folder_, cfgPath_, imageRoot_, menuDir_;
    ini::Document doc_;
    std::vector<std::size_t> lineStarts_;
    ConfigStore store_;
    ConfigStore::Snapshot ini_;
    NodeTable nodes_;
    CatalogTable items_, heroes_;
    std::optional<std::vector<MenuEntry>> menu_;
    std::map<std::string, PictureFacts> pictures_;
    std::map<std::string, std::set<int>> linkedTo_;      // catalog -> entry numbers some topic links to
    std::map<std::string, std::set<int>> shownEntries_;  // catalog -> entries a Link 1 press shows
    std::vector<Finding> findings_;
};

const char* severityName(Severity s) {
    switch (s) {
        case Severity::Note: return "note";
        case Severity::Warning: return "warning";
        case Severity::Error: return "error";
    }
    return "error";
}

void appendJsonString(std::string& out, std::string_view text) {
    static const char* hex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

constexpr const char* kUsage =
    "用法 usage: pallo-check [--json] [FOLDER]\n"
    "  检查 FOLDER（默认为当前文件夹）里的 Cfg.ini 和 Img。\n"
    "  Checks Cfg.ini and Img in FOLDER (the current folder by default).\n"
    "  退出码 exit status: 0 无问题 clean, 1 只有警告 warnings only, 2 有错误 errors, 3 命令行错误 bad command line.\n";

}  // namespace

std::vector<Finding> checkPack(const std::string& folder) { return Checker(folder).run(); }

std::string formatText(const Finding& f) {
    std::string out = "Cfg.ini:";
    if (f.line > 0) out += toText(f.line) + ":";
    if (!f.section.empty()) out += " [" + f.section + "]" + (f.key.empty() ? "" : " " + f.key) + ":";
    out += std::string(" ") + severityName(f.severity) + " [" + f.code + "]: " + f.zh + " — " + f.en;
    return out;
}

std::string formatSummary(const std::vector<Finding>& findings) {
    int counts[3] = {0, 0, 0};
    for (const Finding& f : findings) ++counts[static_cast<int>(f.severity)];
    const std::string e = toText(counts[2]), w = toText(counts[1]), n = toText(counts[0]);
    return "pallo-check: " + e + " 个错误，" + w + " 个警告，" + n + " 个提示 — " + e + " errors, " + w + " warnings, " + n +
           " notes.";
}

std::string formatJson(const std::vector<Finding>& findings) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i == 0 ? "\n  {" : ",\n  {";
        out += "\"line\": " + (f.line > 0 ? toText(f.line) : std::string("null"));
        out += ", \"section\": ";
        appendJsonString(out, f.section);
        out += ", \"key\": ";
        appendJsonString(out, f.key);
        out += ", \"severity\": ";
        appendJsonString(out, severityName(f.severity));
        out += ", \"code\": ";
        appendJsonString(out, f.code);
        out += ", \"message_zh\": ";
        appendJsonString(out, f.zh);
        out += ", \"message_en\": ";
        appendJsonString(out, f.en);
        out += "}";
    }
    out += findings.empty() ? "]\n" : "\n]\n";
    return out;
}

int exitStatus(const std::vector<Finding>& findings) {
    int status = 0;
    for (const Finding& f : findings) {
        if (f.severity == Severity::Error) return 2;
        if (f.severity == Severity::Warning) status = 1;
    }
    return status;
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    bool json = false;
    std::string folder;
    bool haveFolder = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (a == "--help" || a == "-h" || a == "/?") {
            out += kUsage;
            return 0;
        } else if (a.starts_with("-") || haveFolder) {
            err += kUsage;
            return 3;
        } else {
            folder = a;
            haveFolder = true;
        }
    }
    if (!haveFolder) folder = ".";
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == files::separator())) folder.pop_back();

    const std::vector<Finding> findings = checkPack(folder);
    if (json) {
        out += formatJson(findings);
    } else {
        for (const Finding& f : findings) out += formatText(f) + "\n";
        out += formatSummary(findings) + "\n";
    }
    return exitStatus(findings);
}

}  // namespace pallo::check
