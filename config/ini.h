// The INI text itself: parsing into sections and keys with their byte
// ranges, looking a value up, and producing the new bytes of a file for a
// write. Plain functions on bytes; no files, no caching.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pallo::ini {

// Leading bytes 0..32 (blanks and control characters) skipped, as the
// store does for path, section and key arguments.
std::string_view skipLeadingControls(std::string_view text);
// Blanks (space, tab, VT, FF and Ctrl-Z) removed from both ends.
std::string_view trimBlanks(std::string_view text);
// A section or key argument as it is looked up and written.
std::string_view cleanName(std::string_view name);
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

// The longest prefix length of text that is at most limit bytes and does
// not end inside a UTF-8 character.
std::size_t utf8CutLength(std::string_view text, std::size_t limit);

// How a file is stored. A UTF-16LE file (byte-order mark FF FE) is held
// as UTF-8 text and written back as UTF-16LE with its mark.
enum class Encoding { Utf8, Utf16Le };

// A value as the store writes it: every line break (CRLF, CR or LF) becomes
// '#', and the result is cut to fit the read buffer. Bytes that are not
// UTF-8 never enter a UTF-16 file: each becomes U+FFFD there.
std::string normaliseValue(std::string_view value, Encoding encoding = Encoding::Utf8);

// What a value reads back as once the store wrote it: normalised as a
// write does, then read as a line of a file is (blanks trimmed, one pair of
// matching outer quotes removed, cut to fit the read buffer).
std::string valueAsStored(std::string_view value);

// Names that would read back as something else once written ("a=b" or
// ";a" as a key, a line break in either, a name that is not UTF-8 in a
// UTF-16 file) are refused.
bool isWritableSection(std::string_view section, Encoding encoding = Encoding::Utf8);
bool isWritableKey(std::string_view key, Encoding encoding = Encoding::Utf8);

// Byte ranges of one key line. A line without '=' is a key without a
// value: it reads as missing, yet hides a later line of the same key.
struct Entry {
    std::size_t lineBegin = 0;
    std::size_t keyBegin = 0, keyEnd = 0;      // the name, blanks trimmed
    bool hasValue = false;
    std::size_t valueBegin = 0, valueEnd = 0;  // the value, blanks trimmed, quotes kept
                                               // (without a value: both at keyEnd)
    std::size_t lineEnd = 0;                   // where the line break starts
    std::size_t next = 0;                      // where the next line starts
};

struct Section {
    std::size_t nameBegin = 0, nameEnd = 0;
    std::size_t headerLineEnd = 0, headerNext = 0;
    std::vector<Entry> entries;  // key lines in file order, duplicates included
    // Lower-cased key -> index of its first entry.
    std::unordered_map<std::string, std::size_t> keyIndex;
};

enum class LineEnd { CrLf, Lf, Cr };

struct Document {
    // The text, UTF-8 for a UTF-16 file (surrogates without a partner kept
    // in their three-byte forms, so writing it back changes no other unit).
    std::string bytes;
    Encoding encoding = Encoding::Utf8;
    // A UTF-16 file's odd last byte, which no unit holds: kept at the end.
    std::string oddByte;
    std::size_t bomLength = 0;  // a UTF-8 mark at the start of bytes
    // The style of the file's first line break; CRLF when it has none.
    LineEnd lineEnd = LineEnd::CrLf;
    // Every section in file order. Keys above the first section belong to
    // none and cannot be reached.
    std::vector<Section> sections;
    // Lower-cased name -> index of its first section.
    std::unordered_map<std::string, std::size_t> sectionIndex;
};

Document parse(std::string bytes);

// The value as read: blanks trimmed, one pair of matching outer quotes
// removed, cut to fit the read buffer; from a UTF-16 file, an unpaired
// surrogate reads as U+FFFD. Nothing when the section or key is
// missing. Section and key are taken as given (already cleaned).
std::optional<std::string> find(const Document& doc, std::string_view section, std::string_view key);

// One item to write: section and key already cleaned and writable, the
// value already normalised, all for the document's encoding.
struct Edit {
    std::string_view section, key, value;
};

// The bytes of the file after the edits, applied in order exactly as single
// writes one after the other would: a changed value in place (a key without
// a value gets "=value" after its name), a new key after the last key line
// of its section, a new section at the end; every other byte stays as it
// was; a UTF-16 file stays UTF-16. Nothing when no edit changes a value as
// read.
std::optional<std::string> applyEdits(const Document& doc, std::span<const Edit> edits);

}  // namespace pallo::ini
