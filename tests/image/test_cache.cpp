#include <gtest/gtest.h>

#include "image_test_util.h"

namespace pallo::testing {
namespace {

using image::PictureCache;
using platform::PictureSource;

constexpr std::uint32_t kGrey = 0xFF808080;

TEST(PictureCache, FileIsDecodedOncePerContentAndBox) {
    TempDir dir;
    const std::string path = dir.file("child.png");
    writeFile(path, readFile(dataPath("rgba.png")));
    PictureCache cache;

    const auto first = cache.get(PictureSource::file(path), 70, 70, kGrey);
    ASSERT_EQ(first->width, 70);
    EXPECT_EQ(cache.decodeCount(), 1u);
    const auto again = cache.get(PictureSource::file(path), 70, 70, kGrey);
    EXPECT_EQ(again.get(), first.get()) << "the same shared picture";
    EXPECT_EQ(cache.decodeCount(), 1u);

    // Another box or background is another picture.
    EXPECT_EQ(cache.get(PictureSource::file(path), 100, 100, kGrey)->width, 100);
    cache.get(PictureSource::file(path), 70, 70, 0xFF000000);
    EXPECT_EQ(cache.decodeCount(), 3u);

    // The file changes on disk (another size): decoded anew, new content shown.
    writeFile(path, readFile(dataPath("gray8.png")));
    const auto changed = cache.get(PictureSource::file(path), 70, 70, kGrey);
    EXPECT_EQ(cache.decodeCount(), 4u);
    EXPECT_NE(pixel(*changed, 35, 35), pixel(*first, 35, 35));
    EXPECT_EQ(pixel(*changed, 0, 0), (std::array<int, 4>{128, 128, 128, 255})) << "3 x 2 leaves bars";
    cache.get(PictureSource::file(path), 70, 70, kGrey);
    EXPECT_EQ(cache.decodeCount(), 4u);

    // What was cached for the old content is gone: going back decodes again.
    writeFile(path, readFile(dataPath("rgba.png")));
    cache.get(PictureSource::file(path), 100, 100, kGrey);
    EXPECT_EQ(cache.decodeCount(), 5u);
}

TEST(PictureCache, DecodesByContentWhateverTheName) {
    TempDir dir;
    const std::string path = dir.file("hero.jpg");
    writeFile(path, readFile(dataPath("palette_trns.png")));
    PictureCache cache;
    const auto p = cache.get(PictureSource::file(path), 4, 2, kGrey);
    ASSERT_FALSE(p->empty());
    EXPECT_EQ(pixel(*p, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
}

TEST(PictureCache, MissingBadOrNoPictureIsEmpty) {
    TempDir dir;
    const std::string bad = dir.file("bad.png");
    writeFile(bad, "not a picture at all");
    PictureCache cache;
    EXPECT_TRUE(cache.get(PictureSource::file(dir.file("missing.png")), 70, 70, kGrey)->empty());
    EXPECT_TRUE(cache.get(PictureSource::file(dir.path()), 70, 70, kGrey)->empty()) << "a folder";
    EXPECT_TRUE(cache.get(PictureSource::none(), 70, 70, kGrey)->empty());
    EXPECT_TRUE(cache.get(PictureSource::builtIn(assets::Picture::None), 70, 70, kGrey)->empty());
    EXPECT_TRUE(cache.get(PictureSource::file(bad), 70, 70, kGrey)->empty());
    // A bad file is not tried again while it is unchanged.
    const auto before = cache.decodeCount();
    EXPECT_TRUE(cache.get(PictureSource::file(bad), 70, 70, kGrey)->empty());
    EXPECT_EQ(cache.decodeCount(), before);
}

TEST(PictureCache, EmbeddedPicturesHaveTheirSizesAndDecodeOnce) {
    struct Case {
        assets::Picture picture;
        int width, height;
    };
    const Case cases[] = {
        {assets::Picture::MainPicture, 316, 316},     {assets::Picture::NodePlaceholder, 710, 710},
        {assets::Picture::PlaceholderPicture, 654, 600}, {assets::Picture::ProgramIcon, 128, 128},
        {assets::Picture::QrWeChat, 300, 300},        {assets::Picture::QrAlipay, 300, 300},
    };
    PictureCache cache;
    for (const Case& c : cases) {
        SCOPED_TRACE(assets::name(c.picture));
        const image::Rgba p = image::decode(assets::bytes(c.picture));
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);

        const auto before = cache.decodeCount();
        const auto small = cache.get(PictureSource::builtIn(c.picture), 70, 70, kGrey);
        EXPECT_EQ(small->width, 70);
        EXPECT_EQ(cache.get(PictureSource::builtIn(c.picture), 264, 264, kGrey)->width, 264);
        EXPECT_EQ(cache.get(PictureSource::builtIn(c.picture), 70, 70, kGrey).get(), small.get());
        EXPECT_EQ(cache.decodeCount(), before + 1);
    }
    EXPECT_TRUE(assets::bytes(assets::Picture::None).empty());
}

TEST(PictureCache, QrPlaceholdersArePalettePngs) {
    // Colour type 3 in the header, as the donation window's pictures are.
    for (auto picture : {assets::Picture::QrWeChat, assets::Picture::QrAlipay}) {
        const auto bytes = assets::bytes(picture);
        ASSERT_GT(bytes.size(), 26u);
        EXPECT_EQ(bytes[25], 3) << assets::name(picture);
    }
}

}  // namespace
}  // namespace pallo::testing
