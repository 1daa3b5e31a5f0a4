// Portable picture decoding: PNG (libpng) and JPEG (libjpeg) bytes into
// RGBA, scaled to fit a box. Bad data of any kind gives an empty picture.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files.h"
#include "platform/picture_source.h"

namespace pallo::image {

// Largest width or height accepted; larger declared sizes are refused
// before any pixel memory is allocated.
inline constexpr int kMaxSide = 8192;

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4, rows top to bottom, R G B A
    bool empty() const { return width <= 0 || height <= 0; }
};

// Decodes by content (PNG or JPEG signature), whatever the file is named.
Rgba decode(std::span<const std::uint8_t> bytes);

// Scales to fit boxWidth x boxHeight keeping the aspect ratio, centred on a
// box filled with the background colour (0xAARRGGBB). Empty in, empty out.
Rgba fitToBox(const Rgba& picture, int boxWidth, int boxHeight, std::uint32_t background);

// Decoded, scaled pictures by source and box: a file is read and decoded
// once per path, size, modification time and box; an embedded picture once.
class PictureCache {
public:
    std::shared_ptr<const Rgba> get(const platform::PictureSource& source, int boxWidth, int boxHeight,
                                    std::uint32_t background);
    // How many times a picture was actually decoded (for tests and benchmarks).
    std::uint64_t decodeCount() const { return decodes_; }
    void clear() { entries_.clear(); }

private:
    struct Key {
        int kind;
        std::string path;
        int embedded;
        std::uint64_t size;
        std::int64_t modified;
        int width;
        int height;
        std::uint32_t background;
        auto tie() const { return std::tie(kind, path, embedded, size, modified, width, height, background); }
        bool operator<(const Key& o) const { return tie() < o.tie(); }
    };
    std::map<Key, std::shared_ptr<const Rgba>> entries_;
    std::uint64_t decodes_ = 0;
};

}  // namespace pallo::image
