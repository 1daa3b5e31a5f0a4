// Compressed RGB PNG pictures like the ones content packs hold, for the
// benchmarks and the full-pack maker: a tinted tile with a soft gradient,
// a disc and a little grain, different for every seed.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

#include "tests/display/png_writer.h"

namespace pallo::bench {

// A side x side picture. The grain keeps it from compressing far better
// than drawn art does, so decoding costs what a real icon's would.
inline std::string tilePng(int side, int seed) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(side) * (static_cast<std::size_t>(side) * 3 + 1));
    const int cx = side / 2 + (seed * 7) % 40 - 20;
    const int r = side * 70 / 256;
    std::uint32_t noise = static_cast<std::uint32_t>(seed) * 2654435761u + 1u;
    for (int y = 0; y < side; ++y) {
        raw += '\0';
        for (int x = 0; x < side; ++x) {
            const int dx = x - cx, dy = y - side / 2;
            const bool disc = dx * dx + dy * dy < r * r;
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>((noise >> 24) & 3u);
            raw += static_cast<char>(((disc ? 240 : seed * 37 + x / 2) + grain) & 0xFF);
            raw += static_cast<char>(((disc ? 230 : seed * 91 + y / 2) + grain) & 0xFF);
            raw += static_cast<char>(((disc ? 220 : seed * 53 + (x + y) / 4) + grain) & 0xFF);
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string z(size, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 6);
    z.resize(size);

    return testing::rgbPngFile(side, side, z);
}

}  // namespace pallo::bench
