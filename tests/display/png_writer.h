// Writes small true-colour PNG files without any library: the image data
// goes into stored (uncompressed) deflate blocks, which every decoder reads.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace pallo::testing {

using Rgb = std::array<std::uint8_t, 3>;

namespace png_detail {

inline std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        c ^= static_cast<std::uint8_t>(ch);
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

inline std::uint32_t adler32(const std::string& bytes) {
    std::uint32_t a = 1, b = 0;
    for (const char ch : bytes) {
        a = (a + static_cast<std::uint8_t>(ch)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

inline void put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFFu);
}

inline void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type) + data;
    out += body;
    put32(out, crc32(body));
}

}  // namespace png_detail

// An 8-bit RGB PNG file around its zlib stream of filtered rows.
inline std::string rgbPngFile(int width, int height, const std::string& zlibStream) {
    using namespace png_detail;
    std::string ihdr;
    put32(ihdr, static_cast<std::uint32_t>(width));
    put32(ihdr, static_cast<std::uint32_t>(height));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

    std::string out = "\x89PNG\r\n\x1a\n";
    chunk(out, "IHDR", ihdr);
    chunk(out, "IDAT", zlibStream);
    chunk(out, "IEND", "");
    return out;
}

// A width x height RGB picture whose pixels colour(x, y) gives.
inline std::string pngBytes(int width, int height, const std::function<Rgb(int, int)>& colour) {
    using namespace png_detail;
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter: none
        for (int x = 0; x < width; ++x)
            for (const std::uint8_t v : colour(x, y)) raw += static_cast<char>(v);
    }
    std::string z = "\x78\x01";
    for (std::size_t pos = 0; pos == 0 || pos < raw.size();) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z += raw.substr(pos, n);
        pos += n;
        if (last) break;
    }
    put32(z, adler32(raw));
    return rgbPngFile(width, height, z);
}

inline std::string solidPng(int width, int height, Rgb colour) {
    return pngBytes(width, height, [colour](int, int) { return colour; });
}

}  // namespace pallo::testing
