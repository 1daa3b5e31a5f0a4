#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/loaders.h"
#include "model/text.h"

namespace pallo {
namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    const char* label;
    std::string text;
    std::string delim;
    std::size_t max;
    Pieces expected;
};

TEST(Split, EdgeCases) {
    const SplitCase cases[] = {
        {"empty text", "", ",", 0, {}},
        {"empty text with max", "", "|", 4, {}},
        {"empty delimiter", "a,b", "", 0, {"a,b"}},
        {"no delimiter", "abc", ",", 0, {"abc"}},
        {"empty inner piece kept", "1,2,,3", ",", 0, {"1", "2", "", "3"}},
        {"trailing delimiter dropped", "1,2,", ",", 0, {"1", "2"}},
        {"only the delimiter", ",", ",", 0, {""}},
        {"two delimiters", ",,", ",", 0, {"", ""}},
        {"leading delimiter", ",1", ",", 0, {"", "1"}},
        {"five parts, max 4", "a|b|c|d|e", "|", 4, {"a", "b", "c", "d"}},
        {"three parts and trailing |, max 4", "a|b|c|", "|", 4, {"a", "b", "c"}},
        {"leading | and three parts, max 4", "|b|c|d", "|", 4, {"", "b", "c", "d"}},
        {"four parts, empty last, max 4", "a|b|c||", "|", 4, {"a", "b", "c", ""}},
        {"max reached exactly at the end", "a|b", "|", 2, {"a", "b"}},
        {"max 1", "a|b|c", "|", 1, {"a"}},
        {"multi-byte delimiter", "a||b||", "||", 0, {"a", "b"}},
        {"multi-byte text around |", "火焰|冰霜之剑|说明#第二行|1,2", "|", 4,
         {"火焰", "冰霜之剑", "说明#第二行", "1,2"}},
        {"full-width delimiter", "甲，乙，丙", "，", 0, {"甲", "乙", "丙"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split(c.text, c.delim, c.max), c.expected) << c.label;
    }
}

TEST(Split, NeverMatchesInsideAMultiByteCharacter) {
    // "中" is E4 B8 AD; a delimiter made of its tail bytes must not cut it.
    const std::string text = "中a中";
    EXPECT_EQ(split(text, "\xB8\xAD", 0), Pieces{text});
    // "€" is E2 82 AC, "₂" is E2 82 82: a delimiter of the continuation
    // byte 0x82 must not be found inside either.
    EXPECT_EQ(split("€x₂", "\x82", 0), Pieces{"€x₂"});
    // Broken bytes before a delimiter are stepped over one at a time, so
    // the delimiter after them is still found.
    EXPECT_EQ(split("\xE4\xB8|b", "|", 0), (Pieces{"\xE4\xB8", "b"}));
}

TEST(RemoveBlanks, RemovesAsciiAndFullWidthSpacesEverywhere) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"\xE3\x80\x80\xE3\x80\x80", ""},
        {" \xE3\x80\x80 ", ""},
        {" a b ", "ab"},
        {"冰\xE3\x80\x80霜 之剑", "冰霜之剑"},
        {"a\tb", "a\tb"},  // only the two kinds of space
        {"\xE3\x80\x81", "\xE3\x80\x81"},  // U+3001 (、) shares two bytes with U+3000
        {"a\xE3\x80", "a\xE3\x80"},  // a cut-off U+3000 at the end is not a blank
        {"\xE3\x80\xE3\x80\x80 x", "\xE3\x80x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(removeBlanks(c.in), c.out) << '"' << c.in << '"';
        std::string inPlace = c.in;
        eraseBlanks(inPlace);
        EXPECT_EQ(inPlace, c.out) << '"' << c.in << '"';
    }
}

// Spaces a user types survive the loaders' blank removal as no-break
// spaces and are drawn as spaces again; typing over what is drawn keeps
// the stored text.
TEST(TypedSpaces, ReadBackUnchangedAndShowAsSpaces) {
    const std::string fragments[] = {"a", "Z", "7", " ", "\xE3\x80\x80", "\xC2\xA0", "中", "冰霜", "😀", "#", "é",
                                     "\xE3\x80\x81", ","};
    std::mt19937 rng(20241209);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(fragments) - 1);
    std::uniform_int_distribution<int> count(0, 16);
    for (int round = 0; round < 2000; ++round) {
        std::string typed;
        std::string drawn;  // every kind of space as an ASCII space
        for (int n = count(rng); n > 0; --n) {
            const std::string& f = fragments[pick(rng)];
            typed += f;
            drawn += f == "\xE3\x80\x80" || f == "\xC2\xA0" ? " " : f;
        }
        const std::string stored = storedSpaces(typed);
        ASSERT_FALSE(hasBlank(stored)) << typed;
        ASSERT_EQ(readBackValue(stored), stored) << typed;
        ASSERT_EQ(shownSpaces(stored), drawn) << typed;
        ASSERT_EQ(storedSpaces(shownSpaces(stored)), stored) << typed;
        ASSERT_EQ(hasBlank(typed), removeBlanks(typed) != typed) << typed;
    }
    EXPECT_EQ(storedSpaces("Wolf Hunt"), "Wolf\xC2\xA0Hunt");
    EXPECT_EQ(shownSpaces("Kill\xC2\xA0" "5\xC2\xA0wolves"), "Kill 5 wolves");
}

TEST(RepairUtf8, ValidTextPassesUnchanged) {
    const std::string texts[] = {
        "",
        "plain ASCII 123",
        "中文说明#第二行",
        "한국어 텍스트",
        "café naïve Ångström",
        "emoji 😀🎮 end",
        "\xF4\x8F\xBF\xBF",  // U+10FFFF, the last code point
        "\xEF\xBF\xBD",      // U+FFFD itself
        std::string("nul\0inside", 10),
    };
    for (const auto& t : texts) {
        EXPECT_EQ(repairUtf8(t), t);
        EXPECT_EQ(repairUtf8(t), t);
        std::string inPlace = t;
        mendUtf8(inPlace);
        EXPECT_EQ(inPlace, t);
    }
}

TEST(RepairUtf8, InvalidSequencesBecomeReplacementCharacters) {
    const std::string R = "\xEF\xBF\xBD";
    const struct {
        const char* label;
        std::string in;
        std::string out;
    } cases[] = {
        {"stray continuation", "a\x80z", "a" + R + "z"},
        {"two stray continuations", "\x80\xBF", R + R},
        {"overlong 2-byte /", "\xC0\xAF", R + R},
        {"overlong C1", "\xC1\xBF", R + R},
        {"overlong 3-byte", "\xE0\x80\xAF", R + R + R},
        {"overlong 4-byte", "\xF0\x80\x80\xAF", R + R + R + R},
        {"surrogate D800", "\xED\xA0\x80", R + R + R},
        {"surrogate DFFF", "x\xED\xBF\xBFy", "x" + R + R + R + "y"},
        {"above U+10FFFF (F4 90)", "\xF4\x90\x80\x80", R + R + R + R},
        {"F5 lead", "\xF5\x80", R + R},
        {"FF byte", "\xFF", R},
        {"truncated 3-byte at end", "中\xE4\xB8", "中" + R},
        {"truncated 4-byte at end", "\xF0\x9F\x98", R},
        {"truncated 2-byte before ASCII", "\xC3" "a", R + "a"},
        {"truncated 3-byte before valid char", "\xE4\xB8中", R + "中"},
        {"lead byte alone", "\xE4", R},
        {"invalid after a long ASCII run", "abcdefghijklmnop\xFFqrstuvwxyz012345", "abcdefghijklmnop" + R + "qrstuvwxyz012345"},
        {"invalid at byte 8", "01234567\x80", "01234567" + R},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(repairUtf8(c.in), c.out) << c.label;
        EXPECT_EQ(repairUtf8(c.in), c.out) << c.label;
        std::string inPlace = c.in;
        mendUtf8(inPlace);
        EXPECT_EQ(inPlace, c.out) << c.label;
    }
}

// An independent check of well-formed UTF-8: decode each character to its
// code point and reject overlong forms, surrogates and values past U+10FFFF.
bool isWellFormed(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            len = 1, cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4, cp = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

TEST(RepairUtf8, RandomMixturesComeOutWellFormedAndValidTextUnchanged) {
    // Fragments chosen to hit every branch: ASCII runs of both sides of
    // eight bytes, CJK runs, the special leads E0/ED/F0/F4, stray and
    // truncated sequences, and the full-width space.
    const std::string fragments[] = {
        "a", "abcdefghij", "|", ",", " ", "中", "冰霜之剑", "é", "😀", "\xE3\x80\x80", "\xE0\xA0\x80",
        "\xED\x9F\xBF", "\xF4\x8F\xBF\xBF", "\x80", "\xBF", "\xC0", "\xC2", "\xE0\x80", "\xED\xA0",
        "\xE4\xB8", "\xF0\x9F\x98", "\xF4\x90", "\xF8", "\xFF",
    };
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(fragments) - 1);
    std::uniform_int_distribution<int> count(0, 24);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = count(rng); n > 0; --n) text += fragments[pick(rng)];
        const std::string out = repairUtf8(text);
        ASSERT_TRUE(isWellFormed(out)) << ::testing::PrintToString(text);
        if (isWellFormed(text)) {
            ASSERT_EQ(out, text);
        }
        ASSERT_EQ(repairUtf8(out), out);
        ASSERT_EQ(localLength(text), localLength(out));
        std::string inPlace = text;
        mendUtf8(inPlace);
        ASSERT_EQ(inPlace, out);
    }
}

TEST(LocalLength, CountsOneForAsciiTwoForOthers) {
    EXPECT_EQ(localLength(""), 0u);
    EXPECT_EQ(localLength("a"), 1u);
    EXPECT_EQ(localLength("abc.png"), 7u);
    EXPECT_EQ(localLength("中"), 2u);
    EXPECT_EQ(localLength("中a"), 3u);
    EXPECT_EQ(localLength("é"), 2u);
    EXPECT_EQ(localLength("😀"), 2u);  // four bytes, one character
    EXPECT_EQ(localLength("\xE4\xB8"), 2u);  // counts as the U+FFFD it becomes
}

TEST(Compare, UnsignedBytewise) {
    EXPECT_EQ(compare("", ""), 0);
    EXPECT_EQ(compare("1", "1"), 0);
    EXPECT_EQ(compare("a", "b"), -1);
    EXPECT_EQ(compare("b", "a"), 1);
    EXPECT_EQ(compare("a", "A"), 1);  // case-sensitive
    EXPECT_EQ(compare("", "a"), -1);
    EXPECT_EQ(compare("ab", "a"), 1);
    EXPECT_EQ(compare("中", "z"), 1);  // 0xE4 > 'z' as an unsigned byte
    EXPECT_EQ(compare("z", "中"), -1);
}

TEST(ToInt, EdgeCases) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        std::string in;
        std::int32_t out;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"  15", 15},
        {"\t 1", 1},
        {"1 ", 1},
        {"+8", 8},
        {"-8", -8},
        {"- 8", 0},
        {"+-8", 0},
        {"12abc", 12},
        {"abc", 0},
        {"x12", 0},
        {"1.9", 1},
        {"中1", 0},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999999999", kMin},
    };
    for (const auto& c : cases) EXPECT_EQ(toInt(c.in), c.out) << '"' << c.in << '"';
}

TEST(Truncate, TowardZeroAndClamped) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(truncate(0.0), 0);
    EXPECT_EQ(truncate(1.9), 1);
    EXPECT_EQ(truncate(-1.9), -1);
    EXPECT_EQ(truncate(-0.5), 0);
    EXPECT_EQ(truncate(3e9), kMax);
    EXPECT_EQ(truncate(-3e9), kMin);
    EXPECT_EQ(truncate(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(truncate(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(truncate(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace pallo
