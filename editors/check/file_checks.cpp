// The file itself: lines outside sections, the sections and keys the
// program reads, and facts of the stored bytes.
#include <algorithm>

#include "editors/check/checker.h"
#include "model/settings.h"
#include "model/text.h"

namespace pallo::check {

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
        case SectionKind::Config: return knownConfigKey(key);
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

// Lines above the first section belong to none: the program never reads them.
void Checker::checkLinesOutsideSections() {
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

void Checker::checkSectionsAndKeys() {
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

void Checker::checkKeys(const ini::Section& s, std::string_view sectionName, SectionKind kind) {
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
void Checker::checkStoredValue(const ini::Entry& e, std::string_view sectionName, std::string_view key, int line) {
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

}  // namespace pallo::check
