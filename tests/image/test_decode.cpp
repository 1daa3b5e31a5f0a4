#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <random>

#include "image_test_util.h"

namespace pallo::testing {
namespace {

using image::Rgba;

struct Probe {
    int x, y;
    std::array<int, 4> rgba;
};

struct DecodeCase {
    const char* file;
    int width, height;
    int tolerance;
    std::vector<Probe> probes;
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.file; }

void expectNear(const std::array<int, 4>& got, const std::array<int, 4>& want, int tolerance, const std::string& where) {
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(got[static_cast<std::size_t>(c)], want[static_cast<std::size_t>(c)], tolerance)
            << where << " channel " << c;
    }
}

class DecodeFile : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFile, SizeAndPixels) {
    const DecodeCase& c = GetParam();
    const Rgba p = decodeData(c.file);
    ASSERT_EQ(p.width, c.width) << c.file;
    ASSERT_EQ(p.height, c.height) << c.file;
    ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(c.width * c.height * 4));
    for (const Probe& probe : c.probes) {
        expectNear(pixel(p, probe.x, probe.y), probe.rgba, c.tolerance,
                   std::string(c.file) + " at " + std::to_string(probe.x) + "," + std::to_string(probe.y));
    }
}

// JPEG blocks: red and green on top, blue and white below, 16 x 8 each.
const std::vector<Probe> kJpegBlocks = {
    {8, 4, {255, 0, 0, 255}}, {24, 4, {0, 255, 0, 255}}, {8, 12, {0, 0, 255, 255}}, {24, 12, {255, 255, 255, 255}}};

INSTANTIATE_TEST_SUITE_P(
    Pictures, DecodeFile,
    ::testing::Values(
        DecodeCase{"palette_trns.png", 4, 2, 0,
                   {{0, 0, {255, 0, 0, 255}}, {1, 0, {0, 255, 0, 128}}, {2, 0, {0, 0, 255, 0}},
                    {3, 0, {255, 255, 255, 255}}, {0, 1, {255, 255, 255, 255}}, {3, 1, {255, 0, 0, 255}}}},
        DecodeCase{"gray8.png", 3, 2, 0,
                   {{0, 0, {0, 0, 0, 255}}, {1, 0, {128, 128, 128, 255}}, {2, 0, {255, 255, 255, 255}},
                    {2, 1, {16, 16, 16, 255}}}},
        DecodeCase{"gray2.png", 4, 1, 0,
                   {{0, 0, {0, 0, 0, 255}}, {1, 0, {85, 85, 85, 255}}, {2, 0, {170, 170, 170, 255}},
                    {3, 0, {255, 255, 255, 255}}}},
        DecodeCase{"gray_alpha.png", 2, 1, 0, {{0, 0, {200, 200, 200, 100}}, {1, 0, {50, 50, 50, 255}}}},
        DecodeCase{"rgba.png", 3, 2, 0,
                   {{0, 0, {255, 0, 0, 255}}, {1, 0, {0, 255, 0, 128}}, {2, 0, {0, 0, 255, 0}},
                    {1, 1, {50, 60, 70, 80}}}},
        DecodeCase{"rgb16.png", 2, 1, 1, {{0, 0, {255, 128, 0, 255}}, {1, 0, {18, 171, 1, 255}}}},
        DecodeCase{"rgb_trns.png", 2, 1, 0, {{0, 0, {10, 20, 30, 0}}, {1, 0, {1, 2, 3, 255}}}},
        DecodeCase{"baseline.jpg", 32, 16, 12, kJpegBlocks},
        DecodeCase{"progressive.jpg", 32, 16, 12, kJpegBlocks},
        DecodeCase{"cmyk.jpg", 32, 16, 16, kJpegBlocks},
        // The Rec. 709 luma ImageMagick wrote for red, green, blue and white.
        DecodeCase{"gray.jpg", 32, 16, 6,
                   {{8, 4, {54, 54, 54, 255}}, {24, 4, {182, 182, 182, 255}}, {8, 12, {18, 18, 18, 255}},
                    {24, 12, {255, 255, 255, 255}}}}));

TEST(Decode, InterlacedPngMatchesEveryPixel) {
    const Rgba p = decodeData("interlaced.png");
    ASSERT_EQ(p.width, 11);
    ASSERT_EQ(p.height, 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 11; ++x) {
            const std::array<int, 4> want = {x * 20, y * 25, (x + y) * 5, 255 - x};
            ASSERT_EQ(pixel(p, x, y), want) << x << "," << y;
        }
    }
}

// ------------------------------------------------------------ bad data

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBe32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    v[at] = static_cast<std::uint8_t>(x >> 24);
    v[at + 1] = static_cast<std::uint8_t>(x >> 16);
    v[at + 2] = static_cast<std::uint8_t>(x >> 8);
    v[at + 3] = static_cast<std::uint8_t>(x);
}

// rgba.png with its header's width and height replaced (CRC kept valid),
// so only the size check can refuse it.
std::vector<std::uint8_t> pngWithSize(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = dataBytes("rgba.png");
    putBe32(png, 16, width);
    putBe32(png, 20, height);
    putBe32(png, 29, crc32(png.data() + 12, 17));
    return png;
}

std::size_t find(const std::vector<std::uint8_t>& v, const char* what) {
    const std::size_t n = std::strlen(what);
    for (std::size_t i = 0; i + n <= v.size(); ++i) {
        if (std::memcmp(v.data() + i, what, n) == 0) return i;
    }
    return v.size();
}

TEST(Decode, RefusedSizesGiveEmpty) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"PNG header 100000 x 100000", dataBytes("huge_header.png")},
        {"JPEG header 60000 x 60000", dataBytes("huge_header.jpg")},
        {"PNG width 0", pngWithSize(0, 2)},
        {"PNG height 0", pngWithSize(3, 0)},
        {"PNG width 8193", pngWithSize(8193, 2)},
        {"PNG height 8193", pngWithSize(3, 8193)},
        // Within the side limit, but far more pixels than 81 bytes can hold.
        {"PNG 8192 x 8192 from a tiny file", pngWithSize(8192, 8192)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(image::decode(c.bytes).empty()) << c.what;
    }
    // The header edit itself is sound: the original size still decodes.
    EXPECT_FALSE(image::decode(pngWithSize(3, 2)).empty());
}

TEST(Decode, EmptyAndUnknownDataGiveEmpty) {
    const std::vector<std::vector<std::uint8_t>> cases = {
        {},
        {0x89, 'P', 'N', 'G'},
        {0xFF, 0xD8},
        {0xFF, 0xD8, 0xFF},
        {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0},
        {'B', 'M', 0, 0, 0, 0},
    };
    for (const auto& bytes : cases) {
        const Rgba p = image::decode(bytes);
        EXPECT_TRUE(p.empty()) << bytes.size() << " bytes";
        EXPECT_TRUE(p.pixels.empty());
    }
}

TEST(Decode, TruncatedFilesGiveEmpty) {
    // Every cut before the end of the pixel data is refused. A PNG cut after
    // its pixel data (only IEND lost) still shows the whole picture.
    for (const char* file : {"rgba.png", "palette_trns.png", "interlaced.png", "rgb16.png"}) {
        const std::vector<std::uint8_t> full = dataBytes(file);
        const std::size_t idatEnd = find(full, "IEND") - 4;
        for (std::size_t n = 0; n < idatEnd; ++n) {
            EXPECT_TRUE(image::decode(std::span(full.data(), n)).empty()) << file << " cut at " << n;
        }
        EXPECT_FALSE(image::decode(std::span(full.data(), idatEnd)).empty()) << file;
    }
    for (const char* file : {"baseline.jpg", "progressive.jpg", "gray.jpg", "cmyk.jpg"}) {
        const std::vector<std::uint8_t> full = dataBytes(file);
        for (std::size_t n = 0; n + 2 < full.size(); ++n) {
            EXPECT_TRUE(image::decode(std::span(full.data(), n)).empty()) << file << " cut at " << n;
        }
    }
}

TEST(Decode, CorruptCrcGivesEmpty) {
    for (const char* chunk : {"IHDR", "IDAT", "PLTE"}) {
        std::vector<std::uint8_t> png = dataBytes("palette_trns.png");
        const std::size_t at = find(png, chunk);
        ASSERT_LT(at, png.size()) << chunk;
        png[at + 4] ^= 0x01;  // first data byte; the stored CRC no longer matches
        EXPECT_TRUE(image::decode(png).empty()) << chunk;
    }
}

TEST(Decode, RandomBytesNeverCrash) {
    std::mt19937 rng(12345);
    const std::vector<std::uint8_t> png = dataBytes("rgba.png");
    const std::vector<std::uint8_t> jpeg = dataBytes("baseline.jpg");
    int decoded = 0;
    for (int round = 0; round < 600; ++round) {
        std::vector<std::uint8_t> bytes;
        switch (round % 3) {
            case 0: {  // noise, sometimes behind a real signature
                bytes.resize(rng() % 2048);
                for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
                if (round % 2 && bytes.size() >= 8) std::memcpy(bytes.data(), png.data(), 8);
                break;
            }
            case 1:  // a real PNG with a few bytes changed
            case 2: {  // a real JPEG with a few bytes changed
                bytes = round % 3 == 1 ? png : jpeg;
                for (int k = 0; k < 1 + static_cast<int>(rng() % 4); ++k) bytes[2 + rng() % (bytes.size() - 2)] = static_cast<std::uint8_t>(rng());
                break;
            }
        }
        const Rgba p = image::decode(bytes);
        if (!p.empty()) {
            ++decoded;
            ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4);
            ASSERT_LE(p.width, image::kMaxSide);
            ASSERT_LE(p.height, image::kMaxSide);
        } else {
            ASSERT_TRUE(p.pixels.empty());
        }
    }
    // Damaged JPEG entropy data often still decodes (libjpeg resyncs); that is fine.
    RecordProperty("decoded", decoded);
}

TEST(Decode, DataAfterTheEndIsIgnored) {
    std::vector<std::uint8_t> png = dataBytes("rgba.png");
    const std::vector<std::uint8_t> jpeg = dataBytes("baseline.jpg");
    png.insert(png.end(), jpeg.begin(), jpeg.end());
    EXPECT_EQ(image::decode(png).width, 3);
}

}  // namespace
}  // namespace pallo::testing
