#include <gtest/gtest.h>

#include <optional>

#include "image_test_util.h"

namespace pallo::testing {
namespace {

using image::Rgba;

constexpr std::uint32_t kGrey = 0xFF808080;

// The bounding box of the pixels that differ from the background.
struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Bounds contentBounds(const Rgba& p, std::array<int, 4> background) {
    Bounds b;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (pixel(p, x, y) == background) continue;
            b.left = std::min(b.left, x);
            b.top = std::min(b.top, y);
            b.right = std::max(b.right, x);
            b.bottom = std::max(b.bottom, y);
        }
    }
    return b;
}

TEST(FitToBox, KeepsAspectAndCentres) {
    struct Case {
        int w, h, boxW, boxH;
        int left, top, right, bottom;  // content, inclusive
    };
    const Case cases[] = {
        {200, 100, 70, 70, 0, 17, 69, 51},   // wide: bars above and below
        {100, 200, 70, 70, 17, 0, 51, 69},   // tall: bars left and right
        {710, 710, 70, 70, 0, 0, 69, 69},    // square shrinks to fill
        {20, 10, 70, 70, 0, 17, 69, 51},     // small grows to fit
        {316, 316, 80, 80, 0, 0, 79, 79},    // main picture in the donation window
        {300, 300, 264, 264, 0, 0, 263, 263},
        {654, 600, 70, 70, 0, 3, 69, 66},    // the missing-picture placeholder
        {1000, 1, 70, 70, 0, 34, 69, 34},    // never thinner than one pixel
    };
    for (const Case& c : cases) {
        const Rgba out = image::fitToBox(solid(c.w, c.h, {255, 0, 0, 255}), c.boxW, c.boxH, kGrey);
        ASSERT_EQ(out.width, c.boxW);
        ASSERT_EQ(out.height, c.boxH);
        const Bounds b = contentBounds(out, {128, 128, 128, 255});
        EXPECT_EQ(b.left, c.left) << c.w << "x" << c.h;
        EXPECT_EQ(b.top, c.top) << c.w << "x" << c.h;
        EXPECT_EQ(b.right, c.right) << c.w << "x" << c.h;
        EXPECT_EQ(b.bottom, c.bottom) << c.w << "x" << c.h;
        // Inside the content every pixel is the picture's colour.
        EXPECT_EQ(pixel(out, (b.left + b.right) / 2, (b.top + b.bottom) / 2), (std::array<int, 4>{255, 0, 0, 255}));
    }
}

TEST(FitToBox, ShrinkingAveragesTheArea) {
    // A one-pixel checkerboard: averaging gives even grey; sampling would
    // give black or white or moire.
    Rgba board = solid(700, 700, {0, 0, 0, 255});
    for (int y = 0; y < 700; ++y) {
        for (int x = (y % 2); x < 700; x += 2) {
            const std::size_t i = (static_cast<std::size_t>(y) * 700 + static_cast<std::size_t>(x)) * 4;
            board.pixels[i] = board.pixels[i + 1] = board.pixels[i + 2] = 255;
        }
    }
    for (int box : {70, 33, 100}) {
        const Rgba out = image::fitToBox(board, box, box, kGrey);
        for (int y = 0; y < box; ++y) {
            for (int x = 0; x < box; ++x) ASSERT_NEAR(pixel(out, x, y)[0], 128, 6) << box << ": " << x << "," << y;
        }
    }
}

// Growing, each source pixel's centre lands on the centre of its share of
// the box, and the box's edges show the edge pixels unmixed: a 2 x 2 of
// four colours (red rising to the right, green downwards) and a 3 x 3 with a
// white middle, each in a 70 x 70 box.
TEST(FitToBox, GrowingPutsEachPixelCentreInItsPlace) {
    Rgba quad = solid(2, 2, {0, 0, 90, 255});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * 2 + x) * 4;
            quad.pixels[i] = static_cast<std::uint8_t>(255 * x);
            quad.pixels[i + 1] = static_cast<std::uint8_t>(255 * y);
        }
    const Rgba out = image::fitToBox(quad, 70, 70, kGrey);
    // A source pixel's centre is at 17.5 (and 52.5): up to 17 it shows
    // alone, from 52 on the other; between, a ramp even about the middle.
    const auto along = [](int at) {
        return at <= 17 ? std::optional<int>(0) : at >= 52 ? std::optional<int>(255) : std::nullopt;
    };
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 70; ++x) {
            const auto got = pixel(out, x, y);
            const auto mirrored = pixel(out, 69 - x, 69 - y);
            ASSERT_EQ(got[2], 90) << x << "," << y;
            ASSERT_EQ(got[3], 255) << x << "," << y;
            if (along(x)) { ASSERT_EQ(got[0], *along(x)) << x << "," << y; }
            if (along(y)) { ASSERT_EQ(got[1], *along(y)) << x << "," << y; }
            ASSERT_NEAR(got[0] + mirrored[0], 255, 1) << x << "," << y;
            ASSERT_NEAR(got[1] + mirrored[1], 255, 1) << x << "," << y;
            if (x > 0) { ASSERT_GE(got[0], pixel(out, x - 1, y)[0]) << x << "," << y; }
        }
    }

    Rgba dot = solid(3, 3, {0, 0, 0, 255});
    dot.pixels[4 * 4] = dot.pixels[4 * 4 + 1] = dot.pixels[4 * 4 + 2] = 255;
    const Rgba grown = image::fitToBox(dot, 70, 70, kGrey);
    // The middle pixel's centre is the box's (34.5): 34 and 35 are the
    // brightest, alike; up to 11 and from 58 only black shows.
    for (int x = 0; x < 70; ++x) {
        const int v = pixel(grown, x, 35)[0];
        EXPECT_NEAR(v, pixel(grown, 69 - x, 35)[0], 1) << x;
        if (x <= 11 || x >= 58) { EXPECT_EQ(v, 0) << x; }
        EXPECT_LE(v, pixel(grown, 34, 35)[0]) << x;
    }
    EXPECT_GE(pixel(grown, 34, 34)[0], 240);
}

TEST(FitToBox, CompositesAlphaOntoTheBackground) {
    struct Case {
        std::array<std::uint8_t, 4> colour;
        std::uint32_t background;
        std::array<int, 4> expected;
    };
    const Case cases[] = {
        {{255, 255, 255, 128}, 0xFF000000, {128, 128, 128, 255}},
        {{255, 0, 0, 0}, 0xFF102030, {16, 32, 48, 255}},  // fully transparent: background only
        {{0, 0, 255, 255}, 0xFF102030, {0, 0, 255, 255}},
        {{200, 100, 50, 128}, 0x00000000, {200, 100, 50, 128}},  // transparent background keeps the picture
    };
    for (const Case& c : cases) {
        const Rgba out = image::fitToBox(solid(140, 140, c.colour), 70, 70, c.background);
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{35, 35}, std::pair{69, 69}}) {
            const auto got = pixel(out, x, y);
            for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(got[k], c.expected[k], 1) << k;
        }
    }
}

TEST(FitToBox, TransparentColourDoesNotBleed) {
    // Left half invisible red, right half opaque blue: the seam shows blue
    // over grey, never red (which straight-alpha averaging would bring in).
    Rgba p = solid(100, 100, {0, 0, 255, 255});
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 50; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * 100 + static_cast<std::size_t>(x)) * 4;
            p.pixels[i] = 255;
            p.pixels[i + 2] = 0;
            p.pixels[i + 3] = 0;
        }
    }
    const Rgba out = image::fitToBox(p, 30, 30, 0xFF000000);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) EXPECT_EQ(pixel(out, x, y)[0], 0) << x << "," << y;
    }
    EXPECT_EQ(pixel(out, 29, 15)[2], 255);
    EXPECT_EQ(pixel(out, 0, 15)[2], 0);
}

TEST(FitToBox, EmptyOrInvalidGivesEmpty) {
    const Rgba picture = solid(10, 10, {1, 2, 3, 255});
    EXPECT_TRUE(image::fitToBox(Rgba{}, 70, 70, kGrey).empty());
    EXPECT_TRUE(image::fitToBox(picture, 0, 70, kGrey).empty());
    EXPECT_TRUE(image::fitToBox(picture, 70, -1, kGrey).empty());
    Rgba inconsistent = picture;
    inconsistent.pixels.resize(12);  // claims 10 x 10, holds 3 pixels
    EXPECT_TRUE(image::fitToBox(inconsistent, 70, 70, kGrey).empty());
}

TEST(FitToBox, EmbeddedPlaceholderBecomesACleanNodePicture) {
    const Rgba big = image::decode(assets::bytes(assets::Picture::NodePlaceholder));
    ASSERT_EQ(big.width, 710);
    const Rgba small = image::fitToBox(big, 70, 70, kGrey);
    // The corners are transparent in the art: grey background there; the
    // middle is the translucent body over grey, darker than the background.
    EXPECT_EQ(pixel(small, 0, 0), (std::array<int, 4>{128, 128, 128, 255}));
    EXPECT_LT(pixel(small, 35, 60)[0], 128);
    EXPECT_EQ(pixel(small, 35, 60)[3], 255);
}

}  // namespace
}  // namespace pallo::testing
