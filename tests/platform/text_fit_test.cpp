#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "model/text.h"
#include "platform/caption_fit.h"
#include "platform/tip_wrap.h"

namespace pallo::platform {
namespace {

// A fixed-width font: 8 pixels an ASCII character, 16 any other ("…" too).
int fixedWidth(std::string_view text) {
    int width = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) width += 8;
        else if ((byte & 0xC0) == 0xC0) width += 16;
    }
    return width;
}

TEST(CaptionFit, ATooWideCaptionIsCutAtItsEndWithAnEllipsis) {
    const struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"地图", 64, "地图"},                             // fits: whole
        {"收起选项", 64, "收起选项"},                     // exactly fits
        {"收起选项了", 64, "收起选\xE2\x80\xA6"},          // whole characters only
        {"Long caption", 64, "Long c\xE2\x80\xA6"},       // 6 * 8 + 16
        {"Long caption", 63, "Long\xE2\x80\xA6"},         // the blank before the cut goes
        {"AB  CD", 40, "AB\xE2\x80\xA6"},                 // every blank before it
        {"长名字", 20, "\xE2\x80\xA6"},                    // nothing fits beside it
        {"长名字", 8, "\xE2\x80\xA6"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.width));
        const std::string shown = fitCaption(c.text, c.width, fixedWidth);
        EXPECT_EQ(shown, c.shown);
        if (shown.size() > 3) {
            EXPECT_LE(fixedWidth(shown), c.width);
        }
    }
}

// The tip's lines joined by "|".
std::string wrapped(std::string_view text, int width) {
    std::string out;
    for (const std::string& line : wrapTip(text, width, fixedWidth)) out += (out.empty() ? "" : "|") + line;
    return out;
}

TEST(TipWrap, LinesBreakAtSpacesBetweenCharactersOfCjkAndInsideTooLongWords) {
    const struct {
        std::string text;
        int width;
        const char* lines;
    } cases[] = {
        {"one two three four", 80, "one two|three four"},           // 10 characters a line
        {"one   two", 40, "one|two"},                              // the blanks at a break go
        {"abcdefghijklmnop", 48, "abcdef|ghijkl|mnop"},             // a word longer than a line
        {"ab abcdefghij", 48, "ab|abcdef|ghij"},
        {shownSpaces("one\xC2\xA0two\xC2\xA0three"), 64, "one two|three"},  // no-break spaces as typed
        {"地图一二三四五六", 64, "地图一二|三四五六"},             // no spaces needed
        {"一二三四，五", 64, "一二三|四，五"},                     // a closing mark never starts a line
        {"地图 map 一二", 64, "地图 map|一二"},
        {"one two three\r\nfour", 64, "one two|three|four"},        // its own breaks always break
        {"a\n\nb", 64, "a||b"},
        {"one two", 0, "one two"},                                  // no width: no wrapping
        {"", 64, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
        EXPECT_EQ(wrapped(c.text, c.width), c.lines);
    }
}

// Whatever the width, every line fits unless it is a single character, and
// nothing but the blanks at the breaks is lost.
TEST(TipWrap, EveryLineFitsAndNoCharacterIsLost) {
    const std::string text = "Pallo 的提示：一段很长的说明 with words, averyveryverylongwordwithoutspaces 和 "
                             "更多的文字。\r\nSecond paragraph  here.";
    const auto withoutBlanks = [](std::string_view s) {
        std::string out;
        for (const char c : s)
            if (c != ' ' && c != '\r' && c != '\n') out += c;
        return out;
    };
    for (int width = 8; width <= 400; width += 4) {
        SCOPED_TRACE(width);
        std::string joined;
        for (const std::string& line : wrapTip(text, width, fixedWidth)) {
            if (fixedWidth(line) > 16) {
                EXPECT_LE(fixedWidth(line), width) << line;
            }
            EXPECT_TRUE(line.empty() || line.back() != ' ') << line;
            joined += line;
        }
        EXPECT_EQ(withoutBlanks(joined), withoutBlanks(text));
    }
}

}  // namespace
}  // namespace pallo::platform
