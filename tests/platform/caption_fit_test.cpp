#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/caption_fit.h"

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

}  // namespace
}  // namespace pallo::platform
