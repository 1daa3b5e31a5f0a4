#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/tip_place.h"

namespace pallo::platform {
namespace {

constexpr int kSide = 70;  // a node window
constexpr int kStep = 71;  // from one node window to the next
constexpr int kGap = 2;

PixelRect square(int left, int top) { return {left, top, left + kSide, top + kSide}; }

// The overlay at x, y with its menu row of menu windows to its right, and
// rows two and three under it holding second and third windows.
std::vector<PixelRect> rows(int x, int y, int menu, int second, int third) {
    std::vector<PixelRect> out{square(x, y)};
    for (int i = 1; i <= menu; ++i) out.push_back(square(x + kStep * i, y));
    for (int i = 0; i < second; ++i) out.push_back(square(x + kStep * i, y + kStep));
    for (int i = 0; i < third; ++i) out.push_back(square(x + kStep * i, y + 2 * kStep));
    return out;
}

bool overlaps(const PixelRect& a, const PixelRect& b) { return tip_place::overlapArea(a, b) > 0; }

TEST(TipPlace, UnderThePictureUnlessThatCoversARowOrLeavesTheMonitor) {
    const PixelRect screen{0, 0, 1280, 800};
    const PixelRect secondRowFirst = square(200, 271);
    const struct {
        const char* what;
        PixelRect anchor;
        std::vector<PixelRect> clear;
        PixelRect monitor;
        int width, height;
        PixelPoint place;
    } cases[] = {
        {"nothing around: centred under it", square(500, 300), {}, screen, 400, 90, {335, 372}},
        {"at the left edge: from the edge, not past it", square(0, 300), {}, screen, 400, 90, {0, 372}},
        {"at the right edge", square(1210, 300), {}, screen, 400, 90, {880, 372}},
        {"at the bottom: above it", square(500, 730), {}, screen, 400, 90, {335, 638}},
        {"on a monitor left of the primary", square(-70, 300), {}, {-1280, 0, 0, 1024}, 400, 90, {-400, 372}},
        {"wider than the monitor: at its left", square(100, 300), {}, {0, 0, 300, 800}, 400, 90, {0, 372}},
        {"row three empty: the usual place", secondRowFirst, rows(200, 200, 10, 14, 0), screen, 400, 90, {35, 343}},
        // A Link entry's own click filled row three: under row three, not over it.
        {"row three filled", secondRowFirst, rows(200, 200, 10, 14, 2), screen, 400, 90, {35, 414}},
        {"row three filled, no room under it: above the menu row", secondRowFirst, rows(200, 200, 10, 14, 2),
         {0, 0, 1280, 480}, 400, 90, {35, 108}},
        {"room beside the last entry: beside it, clear of the menu row", square(271, 271), rows(200, 200, 10, 2, 2),
         screen, 400, 90, {343, 272}},
        {"no clear place: covers the least of the picture", square(200, 10), {}, {0, 0, 500, 100}, 400, 90, {35, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PixelPoint at = placeTip(c.width, c.height, c.anchor, c.clear, c.monitor, kGap);
        EXPECT_EQ(at.x, c.place.x);
        EXPECT_EQ(at.y, c.place.y);
    }
}

// Wherever the pointer rests on rows that leave room, the tip stands wholly on
// the monitor and covers no window, the picture's own included.
TEST(TipPlace, WithRoomLeftItCoversNoWindowAndStaysOnTheMonitor) {
    std::mt19937 random(7);
    const PixelRect monitor{0, 0, 1920, 1080};
    for (int round = 0; round < 100; ++round) {
        const int x = std::uniform_int_distribution(0, 1000)(random);
        const int y = std::uniform_int_distribution(0, 850)(random);
        const int second = std::uniform_int_distribution(1, 14)(random);
        const std::vector<PixelRect> clear =
            rows(x, y, 10, second, std::uniform_int_distribution(0, 14)(random));
        const PixelRect anchor = clear[1 + 10 + std::uniform_int_distribution(0, second - 1)(random)];
        const int width = std::uniform_int_distribution(50, 400)(random);
        const int height = std::uniform_int_distribution(16, 300)(random);
        SCOPED_TRACE("round " + std::to_string(round));
        const PixelPoint at = placeTip(width, height, anchor, clear, monitor, kGap);
        const PixelRect tip{at.x, at.y, at.x + width, at.y + height};
        EXPECT_TRUE(tip.left >= 0 && tip.top >= 0 && tip.right <= 1920 && tip.bottom <= 1080);
        for (const PixelRect& r : clear) EXPECT_FALSE(overlaps(tip, r));
    }
}

}  // namespace
}  // namespace pallo::platform
