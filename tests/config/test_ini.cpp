// The INI text rules on their own: reading, the bytes of a write, and
// hostile input.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "config/config_store.h"
#include "config/ini.h"
#include "config/utf16.h"
#include "utf16_file.h"

namespace pallo::ini {
namespace {

using testing::utf16File;

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

TEST(IniRead, Rules) {
    const std::optional<std::string> missing;
    const ReadCase cases[] = {
        {"plain", "[S]\r\nK=V\r\n", "S", "K", "V"},
        {"section ignores case", "[config]\r\nK=V\r\n", "CONFIG", "K", "V"},
        {"key ignores case", "[S]\r\nname=V\r\n", "S", "NaMe", "V"},
        {"only ASCII folds", "[S]\r\n\xC3\xA9=V\r\n", "S", "\xC3\x89", missing},
        {"blanks around names and value", " \t[ S \t]\r\n \t K \t= \t V x \t\r\n", "S", "K", "V x"},
        {"double quotes", "[S]\r\nK=\" V \"\r\n", "S", "K", " V "},
        {"single quotes", "[S]\r\nK='V'\r\n", "S", "K", "V"},
        {"quotes inside blanks", "[S]\r\nK=  'V'  \r\n", "S", "K", "V"},
        {"one pair only", "[S]\r\nK=\"\"V\"\"\r\n", "S", "K", "\"V\""},
        {"mismatched quotes kept", "[S]\r\nK=\"V'\r\n", "S", "K", "\"V'"},
        {"lone quote kept", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        {"empty quotes", "[S]\r\nK=\"\"\r\n", "S", "K", ""},
        {"comment", "[S]\r\n;K=V\r\n", "S", "K", missing},
        {"indented comment", "[S]\r\n \t;K=V\r\n", "S", "K", missing},
        {"no inline comment", "[S]\r\nK=V ; note\r\n", "S", "K", "V ; note"},
        {"first duplicate key wins", "[S]\r\nK=1\r\nk=2\r\n", "S", "K", "1"},
        {"first section only", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nK=2\r\n", "S", "K", missing},
        {"first section found", "[S]\r\nK=1\r\n[S]\r\nK=2\r\n", "S", "K", "1"},
        {"line without equals", "[S]\r\nK\r\nK V\r\n", "S", "K", missing},
        {"before first section", "K=V\r\n[S]\r\n", "S", "K", missing},
        {"unclosed section", "[S\r\nK=V\r\n", "S", "K", "V"},
        {"text after bracket", "[S] junk\r\nK=V\r\n", "S", "K", "V"},
        {"empty value", "[S]\r\nK=\r\n", "S", "K", ""},
        {"blank value", "[S]\r\nK=  \t\r\n", "S", "K", ""},
        {"equals in value", "[S]\r\nK=a=b\r\n", "S", "K", "a=b"},
        {"LF ends", "[S]\nA=1\nK=V\n", "S", "K", "V"},
        {"CR ends", "[S]\rA=1\rK=V\r", "S", "K", "V"},
        {"mixed ends", "[S]\r\nA=1\rK=V\n", "S", "K", "V"},
        {"BOM before section", "\xEF\xBB\xBF[Config]\r\nX=5\r\n", "Config", "X", "5"},
        {"no final break", "[S]\r\nK=V", "S", "K", "V"},
        {"missing section", "[S]\r\nK=V\r\n", "T", "K", missing},
        {"empty file", "", "S", "K", missing},
        {"NUL bytes", std::string("[S]\r\n\0\0=x\r\nK=a\0b\r\n", 17), "S", "K", std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(find(parse(c.file), c.section, c.key), c.expected) << c.name;
    }
}

// Where this reader follows the platform rather than the obvious reading:
// VT, FF and Ctrl-Z are blanks, a section name runs to the last ']', and a
// line without '=' is a key without a value that hides later ones.
TEST(IniRead, PlatformRules) {
    const std::optional<std::string> missing;
    const ReadCase cases[] = {
        {"DOS end-of-file mark after the last value", "[S]\r\nK=V\x1A", "S", "K", "V"},
        {"end-of-file mark on its own line", "[S]\r\nK=V\r\n\x1A", "S", "K", "V"},
        {"VT, FF, Ctrl-Z around names and value", "\x0B[\x0C S \x1A]\r\n\x1A K \x0B=\x0C V x \x0B\x1A\r\n", "S", "K",
         "V x"},
        {"quotes inside those blanks", "[S]\r\nK=\x0C'V'\x1A\r\n", "S", "K", "V"},
        {"other controls are not blanks", "[S]\r\nK=V\x01\r\n", "S", "K", "V\x01"},
        {"name ends at the last bracket", "[S]]\r\nK=V\r\n", "S]", "K", "V"},
        {"so the shorter name is missing", "[S]]\r\nK=V\r\n", "S", "K", missing},
        {"bracket inside the name", "[a]b] \r\nK=V\r\n", "a]b", "K", "V"},
        {"text after the last bracket", "[S] x ] junk\r\nK=V\r\n", "S] x", "K", "V"},
        {"key without value gives the default", "[S]\r\nK\r\n", "S", "K", missing},
        {"key without value hides a later one", "[S]\r\n \x1A k \t\r\nK=V\r\n", "S", "K", missing},
        {"other keys still read", "[S]\r\nJ\r\nK=V\r\n", "S", "K", "V"},
        {"line without equals names one key", "[S]\r\nK V\r\nK=V\r\n", "S", "K V", missing},
        {"UTF-16LE", utf16File(u"[\u8282]\r\nK = \u4E2D\u6587\U0001F600\x1A\r\n"), "\xE8\x8A\x82", "K",
         "\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80"},
        {"UTF-16LE, unpaired surrogates read as U+FFFD", utf16File(u"[S]\r\nK=\xDC00" u"a\xD800" u"\r\n"), "S", "K",
         "\xEF\xBF\xBD" "a\xEF\xBF\xBD"},
        {"UTF-16LE, odd last byte", utf16File(u"[S]\r\nK=V", "\x5A"), "S", "K", "V"},
        {"UTF-16LE, mark and one byte", "\xFF\xFE[", "S", "K", missing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(find(parse(c.file), c.section, c.key), c.expected) << c.name;
    }
}

TEST(IniRead, LongValueIsCutAtACharacterBoundary) {
    // 'a' + 3-byte characters: the 10239-byte limit falls inside one.
    std::string chinese = "a";
    for (int i = 0; i < 4000; ++i) chinese += "\xE4\xB8\xAD";
    const auto value = find(parse("[S]\r\nK=" + chinese + "\r\n"), "S", "K");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), 1u + 3 * 3412);
    EXPECT_EQ(*value, chinese.substr(0, value->size()));

    const std::string exact(kValueLimit - 1, 'x');
    EXPECT_EQ(find(parse("[S]\nK=" + exact + "y\n"), "S", "K"), exact);
    // The quotes come off before the cut.
    EXPECT_EQ(find(parse("[S]\nK=\"" + exact + "\"\n"), "S", "K"), exact);
}

TEST(IniText, Utf8CutLength) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::size_t expected;
    } const cases[] = {
        {"abc", 5, 3},
        {"abcdef", 3, 3},
        {"a\xE4\xB8\xAD", 2, 1},                 // inside a 3-byte character
        {"a\xE4\xB8\xAD", 3, 1},
        {"a\xE4\xB8\xAD" "b", 4, 4},             // right after it
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 7, 4},  // emoji
        {"\xC3\xA9\xC3\xA9", 3, 2},
        {"a\x80\x80\x80\x80\x80", 3, 3},         // stray continuation bytes cut as bytes
        {"\xC3\xA9\x80\x80", 3, 3},              // a whole character followed by strays
        {"\xE4\xB8", 1, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(utf8CutLength(c.text, c.limit), c.expected) << c.text;
}

TEST(IniText, NormaliseValue) {
    EXPECT_EQ(normaliseValue("a\r\nb\rc\nd"), "a#b#c#d");
    EXPECT_EQ(normaliseValue("a\n\rb"), "a##b");
    EXPECT_EQ(normaliseValue("\xFF\xFE not utf-8"), "\xFF\xFE not utf-8");
    EXPECT_EQ(normaliseValue(std::string(kValueLimit, 'x')).size(), kValueLimit - 1);
    EXPECT_EQ(normaliseValue(std::string(kValueLimit - 1, 'x')).size(), kValueLimit - 1);
}

TEST(IniText, Names) {
    EXPECT_EQ(cleanName(" \t\x01\x1F Config \t"), "Config");
    EXPECT_EQ(cleanName("\x20\x20"), "");
    EXPECT_EQ(skipLeadingControls("\x7F" "a"), "\x7F" "a");
    EXPECT_TRUE(isWritableKey("Name"));
    for (const char* good : {"Item", "a]b", "S]", "[x"}) EXPECT_TRUE(isWritableSection(good)) << good;
    for (const char* bad : {"a=b", "a\rb", "a\nb", ";a", "[a"}) EXPECT_FALSE(isWritableKey(bad)) << bad;
    for (const char* bad : {"a\r", "\nb"}) EXPECT_FALSE(isWritableSection(bad)) << bad;
}

// The bytes after one write, or the bytes as they were when it changes
// nothing.
std::string written(const std::string& before, std::string_view section, std::string_view key,
                    std::string_view value) {
    const Edit edit{section, key, value};
    return applyEdits(parse(before), std::span(&edit, 1)).value_or(before);
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(IniWrite, ExactBytes) {
    const WriteCase cases[] = {
        {"new file", "", "S", "K", "V", "[S]\r\nK=V\r\n"},
        {"in place keeps spacing", "; top\r\n[S]\r\n  K = old  \r\n\r\n; c\r\n", "S", "K", "new",
         "; top\r\n[S]\r\n  K = new  \r\n\r\n; c\r\n"},
        {"in place, empty value", "[S]\nK=\nZ=1\n", "S", "K", "v", "[S]\nK=v\nZ=1\n"},
        {"in place, blank value", "[S]\nK=   \n", "S", "K", "v", "[S]\nK=v   \n"},
        {"in place, quotes replaced", "[S]\r\nK=\"old\"\r\n", "S", "K", "new", "[S]\r\nK=new\r\n"},
        {"in place, case of stored key kept", "[s]\r\nname=1\r\n", "S", "NAME", "2", "[s]\r\nname=2\r\n"},
        {"in place, first duplicate", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "3", "[S]\r\nK=3\r\nK=2\r\n"},
        {"in place, no final break", "[S]\r\nK=1", "S", "K", "22", "[S]\r\nK=22"},
        {"new key after last entry", "[S]\r\nA=1\r\n\r\n; c\r\n[T]\r\nB=2\r\n", "S", "K", "V",
         "[S]\r\nA=1\r\nK=V\r\n\r\n; c\r\n[T]\r\nB=2\r\n"},
        {"new key after a key without value", "[S]\r\nA=1\r\njunk\r\n; c\r\n", "S", "K", "V",
         "[S]\r\nA=1\r\njunk\r\nK=V\r\n; c\r\n"},
        {"key without value gets one", "[S]\r\n K \x1A\r\nK=1\r\n", "S", "k", "V", "[S]\r\n K=V \x1A\r\nK=1\r\n"},
        {"key without value, no final break", "[S]\nK", "S", "K", "", "[S]\nK="},
        {"in place before end-of-file mark", "[S]\r\nK=old\x1A", "S", "K", "new", "[S]\r\nK=new\x1A"},
        {"section named up to the last bracket", "[S]]\r\nK=1\r\n", "S]", "K", "2", "[S]]\r\nK=2\r\n"},
        {"new section with brackets in its name", "[a]\n", "[a]b]", "K", "V", "[a]\n[[a]b]]\nK=V\n"},
        {"new key under bare header", "[S]\r\n; c\r\n[T]\r\n", "S", "K", "V", "[S]\r\nK=V\r\n; c\r\n[T]\r\n"},
        {"new key, header at end", "[S]", "S", "K", "V", "[S]\r\nK=V\r\n"},
        {"new key, last line unbroken", "[S]\nA=1", "S", "K", "V", "[S]\nA=1\nK=V\n"},
        {"new key in first duplicate", "[S]\nA=1\n[S]\nB=2\n", "S", "K", "V", "[S]\nA=1\nK=V\n[S]\nB=2\n"},
        {"new section at end", "[S]\r\nA=1\r\n", "T", "K", "V", "[S]\r\nA=1\r\n[T]\r\nK=V\r\n"},
        {"new section after unbroken line", "[S]\nA=1", "T", "K", "V", "[S]\nA=1\n[T]\nK=V\n"},
        {"new section, CR file", "[S]\rA=1\r", "T", "K", "V", "[S]\rA=1\r[T]\rK=V\r"},
        {"new section, no break in file", "; only", "T", "K", "V", "; only\r\n[T]\r\nK=V\r\n"},
        {"keys above sections untouched", "K=0\r\n", "S", "K", "V", "K=0\r\n[S]\r\nK=V\r\n"},
        {"BOM only", "\xEF\xBB\xBF", "S", "K", "V", "\xEF\xBB\xBF[S]\r\nK=V\r\n"},
        {"BOM kept", "\xEF\xBB\xBF[Config]\nX=1\n", "Config", "X", "2", "\xEF\xBB\xBF[Config]\nX=2\n"},
        {"unclosed section", "[S\nA=1\n", "S", "B", "2", "[S\nA=1\nB=2\n"},
    };
    for (const auto& c : cases) {
        const std::string out = written(c.before, c.section, c.key, c.value);
        EXPECT_EQ(out, c.after) << c.name;
        EXPECT_EQ(find(parse(out), c.section, c.key), c.value) << c.name;
    }
}

// A group builds the new bytes once; they must equal those of the same
// writes made one at a time, whatever the file, its encoding and the order:
// a key written twice, a key added then changed, a section added then
// extended, a value whose blanks or quotes move the next write's range.
TEST(IniWrite, GroupEqualsSingleWritesInOrder) {
    std::mt19937 random(2024);
    const char* const lines[] = {"[S]", "[s]", "[T]", "[U]]", " [S ", "K=1", " k = \"q\" ", "L", "L=2",
                                 "M=\x1A",  "; c", "",   "\x1A", "K",   "=x"};
    const char* const ends[] = {"\r\n", "\n", "\r"};
    const char* const sections[] = {"S", "s", "T", "U]", "V"};
    const char* const keys[] = {"K", "k", "L", "M", "N"};
    const char* const values[] = {"", "v", " v ", "\"v\"", "w", "  ", "1"};
    auto pick = [&](const auto& list) { return list[random() % std::size(list)]; };
    for (int round = 0; round < 3000; ++round) {
        const auto encoding = random() % 5;  // 0: UTF-8 mark, 1: UTF-16LE
        std::string file;
        const char* end = pick(ends);
        const int count = static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) {
            file += pick(lines);
            if (i + 1 < count || random() % 3) file += random() % 5 ? end : pick(ends);
        }
        if (encoding == 0) file = "\xEF\xBB\xBF" + file;
        if (encoding == 1) file = "\xFF\xFE" + utf16LeFromUtf8(file);
        std::vector<Edit> group;
        std::string oneByOne = file;
        for (int i = static_cast<int>(random() % 6); i > 0; --i) {
            group.push_back({pick(sections), pick(keys), pick(values)});
            oneByOne = written(oneByOne, group.back().section, group.back().key, group.back().value);
        }
        ASSERT_EQ(applyEdits(parse(file), group).value_or(file), oneByOne) << ::testing::PrintToString(file);
    }
}

// Random bytes, biased toward the characters that matter to the format:
// parsing never fails, and a written item always reads back while the
// items read before keep their values.
TEST(IniWrite, RandomBytesSurviveAWrite) {
    std::mt19937 random(12345);
    const char letters[] = "[]=;\"' \t\r\nSKab\0\xEF\xBB\xBF\xFF\x80";
    const std::string alphabet(letters, sizeof letters - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 120);
        for (int i = 0; i < length; ++i) {
            bytes += (random() % 4 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        }
        const auto otherBefore = find(parse(bytes), "a", "b");
        const Document after = parse(written(bytes, "S", "K", "value"));
        ASSERT_EQ(find(after, "S", "K"), "value") << round;
        ASSERT_EQ(find(after, "a", "b"), otherBefore) << round;
    }
}

}  // namespace
}  // namespace pallo::ini
