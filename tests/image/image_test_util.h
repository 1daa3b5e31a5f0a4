// Helpers shared by the picture tests.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/image.h"
#include "support/temp_dir.h"

namespace pallo::testing {

inline std::string dataPath(const std::string& name) { return std::string(PALLO_TEST_DATA) + "/" + name; }

inline std::vector<std::uint8_t> dataBytes(const std::string& name) {
    const std::string s = readFile(dataPath(name));
    return {s.begin(), s.end()};
}

inline image::Rgba decodeData(const std::string& name) { return image::decode(dataBytes(name)); }

inline std::array<int, 4> pixel(const image::Rgba& p, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)) * 4;
    return {p.pixels[i], p.pixels[i + 1], p.pixels[i + 2], p.pixels[i + 3]};
}

// A picture of one colour.
inline image::Rgba solid(int w, int h, std::array<std::uint8_t, 4> c) {
    image::Rgba p;
    p.width = w;
    p.height = h;
    for (int i = 0; i < w * h; ++i) p.pixels.insert(p.pixels.end(), c.begin(), c.end());
    return p;
}

}  // namespace pallo::testing
