#include "config/ini.h"

#include <algorithm>

#include "config/utf16.h"
#include "config/value_limit.h"

namespace pallo::ini {
namespace {

// Besides space and tab, VT, FF and Ctrl-Z count as blanks: a DOS
// end-of-file mark after the last value is not part of that value.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\x0B' || c == '\x0C' || c == '\x1A'; }
bool isBreak(char c) { return c == '\r' || c == '\n'; }
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::string_view lineEndText(LineEnd style) {
    switch (style) {
        case LineEnd::Lf: return "\n";
        case LineEnd::Cr: return "\r";
        case LineEnd::CrLf: break;
    }
    return "\r\n";
}

// [begin, end) with blanks trimmed; an all-blank range collapses to end.
void trimRange(std::string_view b, std::size_t& begin, std::size_t& end) {
    while (begin < end && isBlank(b[begin])) ++begin;
    while (end > begin && isBlank(b[end - 1])) --end;
}

const Section* findSection(const Document& doc, std::string_view section) {
    const auto it = doc.sectionIndex.find(lowerCopy(section));
    return it == doc.sectionIndex.end() ? nullptr : &doc.sections[it->second];
}

const Entry* findEntry(const Section& s, std::string_view key) {
    const auto it = s.keyIndex.find(lowerCopy(key));
    return it == s.keyIndex.end() ? nullptr : &s.entries[it->second];
}

// The parts of one line (without its break), as offsets into it.
struct LineParts {
    enum class Kind { Other, Header, Entry };
    Kind kind = Kind::Other;                  // Other: blank or comment
    std::size_t nameBegin = 0, nameEnd = 0;   // section or key name, blanks trimmed
    bool hasValue = false;                    // the key line has '='
    std::size_t valueBegin = 0, valueEnd = 0; // blanks trimmed, quotes kept
};

LineParts parseLine(std::string_view line) {
    LineParts parts;
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    if (start == line.size() || line[start] == ';') return parts;

    if (line[start] == '[') {
        // The name ends at the line's last ']'; "[name" without one still
        // opens a section.
        parts.kind = LineParts::Kind::Header;
        parts.nameBegin = start + 1;
        const std::size_t close = line.rfind(']');
        parts.nameEnd = close == std::string_view::npos ? line.size() : close;
        trimRange(line, parts.nameBegin, parts.nameEnd);
        return parts;
    }

    parts.kind = LineParts::Kind::Entry;
    const std::size_t eq = std::min(line.find('='), line.size());
    parts.nameBegin = start;
    parts.nameEnd = eq;
    trimRange(line, parts.nameBegin, parts.nameEnd);
    if (eq == line.size()) {
        // A key without a value: writing it puts "=value" right after the name.
        parts.valueBegin = parts.valueEnd = parts.nameEnd;
        return parts;
    }
    parts.hasValue = true;
    parts.valueBegin = eq + 1;
    parts.valueEnd = line.size();
    trimRange(line, parts.valueBegin, parts.valueEnd);
    if (parts.valueBegin == parts.valueEnd) parts.valueBegin = parts.valueEnd = eq + 1;
    return parts;
}

constexpr std::size_t kMaxValueBytes = kValueLimit - 1;

// A value's stored text as read: one pair of matching outer quotes
// removed, cut to fit the read buffer. A UTF-16 file's unpaired surrogates
// read as U+FFFD, like any other text that is not UTF-8.
std::string valueAsRead(std::string_view value, Encoding encoding) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    value = value.substr(0, utf8CutLength(value, kMaxValueBytes));
    return encoding == Encoding::Utf16Le ? replaceInvalidUtf8(value) : std::string(value);
}

}  // namespace

std::string_view skipLeadingControls(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    return text.substr(i);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view cleanName(std::string_view name) { return trimBlanks(skipLeadingControls(name)); }

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::size_t utf8CutLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    // Back up over the continuation bytes at the cut to the byte that
    // starts their character; drop that character only if it really
    // reaches past the limit (stray continuation bytes are cut as bytes).
    std::size_t cut = limit;
    int back = 0;
    while (back < 3 && cut > 0 && isContinuation(static_cast<unsigned char>(text[cut]))) {
        --cut;
        ++back;
    }
    if (back == 0) return limit;
    const auto lead = static_cast<unsigned char>(text[cut]);
    if (lead >= 0xC0) {
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (cut + length > limit) return cut;
    }
    return limit;
}

std::string normaliseValue(std::string_view value, Encoding encoding) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        out += isBreak(c) ? '#' : c;
    }
    if (encoding == Encoding::Utf16Le) out = replaceInvalidUtf8(out);
    out.resize(utf8CutLength(out, kMaxValueBytes));
    return out;
}

std::string valueAsStored(std::string_view value) {
    // The value goes through the same parse as a whole file, so no rule of
    // the reader can be left out here.
    const Document doc = parse("[s]\r\nk=" + normaliseValue(value) + "\r\n");
    return find(doc, "s", "k").value_or(std::string());
}

bool isWritableSection(std::string_view section, Encoding encoding) {
    if (encoding == Encoding::Utf16Le && !isValidUtf8(section)) return false;
    // A ']' inside the name or at its end reads back, as the name ends at
    // the header's last ']'.
    return section.find_first_of("\r\n") == std::string_view::npos;
}

bool isWritableKey(std::string_view key, Encoding encoding) {
    if (encoding == Encoding::Utf16Le && !isValidUtf8(key)) return false;
    if (key.empty() || key.front() == ';' || key.front() == '[') return false;
    return key.find_first_of("\r\n=") == std::string_view::npos;
}

Document parse(std::string bytes) {
    Document doc;
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        doc.encoding = Encoding::Utf16Le;
        if (bytes.size() % 2 != 0) doc.oddByte = bytes.substr(bytes.size() - 1);
        doc.bytes = utf8FromUtf16Le(std::string_view(bytes).substr(2, bytes.size() - 2 - doc.oddByte.size()));
    } else {
        doc.bytes = std::move(bytes);
        if (doc.bytes.size() >= 3 && doc.bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) doc.bomLength = 3;
    }
    const std::string& b = doc.bytes;

    bool styleKnown = false;
    Section* current = nullptr;  // null above the first section
    std::size_t pos = doc.bomLength;
    while (pos < b.size()) {
        std::size_t lineEnd = pos;
        while (lineEnd < b.size() && !isBreak(b[lineEnd])) ++lineEnd;
        std::size_t next = lineEnd;
        if (next < b.size()) {
            const bool crlf = b[next] == '\r' && next + 1 < b.size() && b[next + 1] == '\n';
            if (!styleKnown) {
                doc.lineEnd = crlf ? LineEnd::CrLf : b[next] == '\r' ? LineEnd::Cr : LineEnd::Lf;
                styleKnown = true;
            }
            next += crlf ? 2 : 1;
        }

        const LineParts line = parseLine(std::string_view(b).substr(pos, lineEnd - pos));
        const std::string_view name = std::string_view(b).substr(pos + line.nameBegin, line.nameEnd - line.nameBegin);
        if (line.kind == LineParts::Kind::Header) {
            Section s;
            s.nameBegin = pos + line.nameBegin;
            s.nameEnd = pos + line.nameEnd;
            s.headerLineEnd = lineEnd;
            s.headerNext = next;
            doc.sections.push_back(std::move(s));
            current = &doc.sections.back();
            doc.sectionIndex.try_emplace(lowerCopy(name), doc.sections.size() - 1);
        } else if (line.kind == LineParts::Kind::Entry && current) {
            Entry e;
            e.lineBegin = pos;
            e.keyBegin = pos + line.nameBegin;
            e.keyEnd = pos + line.nameEnd;
            e.hasValue = line.hasValue;
            e.valueBegin = pos + line.valueBegin;
            e.valueEnd = pos + line.valueEnd;
            e.lineEnd = lineEnd;
            e.next = next;
            current->entries.push_back(e);
            current->keyIndex.try_emplace(lowerCopy(name), current->entries.size() - 1);
        }
        pos = next;
    }
    return doc;
}

std::optional<std::string> find(const Document& doc, std::string_view section, std::string_view key) {
    const Section* s = findSection(doc, section);
    if (!s) return std::nullopt;
    const Entry* e = findEntry(*s, key);
    if (!e || !e->hasValue) return std::nullopt;
    return valueAsRead(std::string_view(doc.bytes).substr(e->valueBegin, e->valueEnd - e->valueBegin), doc.encoding);
}

namespace {

// Sets the value of one key line (its text without the line break), in
// place as a single write would. False when the value as read is already
// this one.
bool setLineValue(std::string& line, std::string_view value, Encoding encoding) {
    const LineParts parts = parseLine(line);
    const std::string_view stored = std::string_view(line).substr(parts.valueBegin, parts.valueEnd - parts.valueBegin);
    if (parts.hasValue && valueAsRead(stored, encoding) == value) return false;
    std::string replacement = parts.hasValue ? std::string() : std::string("=");
    replacement += value;
    line.replace(parts.valueBegin, parts.valueEnd - parts.valueBegin, replacement);
    return true;
}

// Keys a group adds to one section, in the order they were added.
struct AddedKeys {
    std::vector<std::string> lines;  // without line breaks
    std::unordered_map<std::string, std::size_t> index;  // lower-cased key -> line

    // The line of key, created with the value when missing; true when the
    // value changed.
    bool set(std::string_view key, std::string_view value, Encoding encoding) {
        const auto [it, inserted] = index.try_emplace(lowerCopy(key), lines.size());
        if (!inserted) return setLineValue(lines[it->second], value, encoding);
        std::string line(key);
        line += '=';
        line += value;
        lines.push_back(std::move(line));
        return true;
    }

    void appendTo(std::string& out, std::string_view le) const {
        for (const std::string& line : lines) out.append(line).append(le);
    }
};

// The edits of a group applied to the parsed file without rewriting it:
// changed lines and added keys are kept aside and the new bytes are built
// once at the end, so a group costs about one single write.
class PendingEdits {
public:
    explicit PendingEdits(const Document& doc) : doc_(doc) {}

    bool apply(const Edit& edit) {
        if (const Section* s = findSection(doc_, edit.section)) {
            const std::size_t index = static_cast<std::size_t>(s - doc_.sections.data());
            if (const Entry* e = findEntry(*s, edit.key)) return setEntry(*e, edit.value);
            return added_[index].set(edit.key, edit.value, doc_.encoding);
        }
        const auto [it, inserted] = newIndex_.try_emplace(lowerCopy(edit.section), newSections_.size());
        if (inserted) newSections_.push_back({std::string(edit.section), {}});
        return newSections_[it->second].keys.set(edit.key, edit.value, doc_.encoding);
    }

    std::string render() const {
        const std::string& b = doc_.bytes;
        const std::string_view le = lineEndText(doc_.lineEnd);
        // An unbroken last line gets its break before the first text added
        // at the end of the file.
        bool endNeedsBreak = b.size() > doc_.bomLength && !isBreak(b.back());

        struct Splice {
            std::size_t begin, end;
            std::string text;
        };
        std::vector<Splice> splices;
        splices.reserve(changed_.size() + added_.size() + 1);
        for (const auto& [lineBegin, line] : changed_) splices.push_back({lineBegin, line.end, line.text});
        for (const auto& [index, keys] : added_) {
            // After the section's last key line (not after its trailing
            // comments or blank lines), or right under its header.
            const Section& s = doc_.sections[index];
            const std::size_t at = s.entries.empty() ? s.headerNext : s.entries.back().next;
            std::string text;
            if (at == b.size() && endNeedsBreak) {
                text.append(le);
                endNeedsBreak = false;
            }
            keys.appendTo(text, le);
            splices.push_back({at, at, std::move(text)});
        }
        if (!newSections_.empty()) {
            std::string text;
            if (endNeedsBreak) text.append(le);
            for (const NewSection& n : newSections_) {
                text.append("[").append(n.name).append("]").append(le);
                n.keys.appendTo(text, le);
            }
            splices.push_back({b.size(), b.size(), std::move(text)});
        }
        // By position; at one position an insertion goes before a changed
        // line, and the last section's keys before the new sections.
        std::stable_sort(splices.begin(), splices.end(), [](const Splice& x, const Splice& y) {
            return x.begin != y.begin ? x.begin < y.begin : x.end < y.end;
        });

        std::size_t size = b.size();
        for (const Splice& sp : splices) size += sp.text.size();
        std::string out;
        out.reserve(size);
        std::size_t pos = 0;
        for (const Splice& sp : splices) {
            out.append(b, pos, sp.begin - pos).append(sp.text);
            pos = sp.end;
        }
        out.append(b, pos);
        if (doc_.encoding == Encoding::Utf8) return out;
        return "\xFF\xFE" + utf16LeFromUtf8(out) + doc_.oddByte;
    }

private:
    bool setEntry(const Entry& e, std::string_view value) {
        if (const auto it = changed_.find(e.lineBegin); it != changed_.end()) return setLineValue(it->second.text, value, doc_.encoding);
        std::string line = doc_.bytes.substr(e.lineBegin, e.lineEnd - e.lineBegin);
        if (!setLineValue(line, value, doc_.encoding)) return false;
        changed_.emplace(e.lineBegin, ChangedLine{e.lineEnd, std::move(line)});
        return true;
    }

    struct ChangedLine {
        std::size_t end;   // where the line's break starts
        std::string text;  // the whole line, without its break
    };
    struct NewSection {
        std::string name;
        AddedKeys keys;
    };

    const Document& doc_;
    std::unordered_map<std::size_t, ChangedLine> changed_;     // by line start
    std::unordered_map<std::size_t, AddedKeys> added_;         // section index -> its new keys
    std::vector<NewSection> newSections_;
    std::unordered_map<std::string, std::size_t> newIndex_;    // lower-cased name -> new section
};

}  // namespace

std::optional<std::string> applyEdits(const Document& doc, std::span<const Edit> edits) {
    PendingEdits pending(doc);
    bool changed = false;
    for (const Edit& edit : edits) changed = pending.apply(edit) || changed;
    if (!changed) return std::nullopt;
    return pending.render();
}

}  // namespace pallo::ini
