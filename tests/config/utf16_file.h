// The bytes of a UTF-16LE file, built unit by unit, so that tests can hold
// unpaired surrogates and an odd last byte.
#pragma once

#include <string>
#include <string_view>

namespace pallo::testing {

inline std::string utf16File(std::u16string_view text, std::string_view oddByte = {}) {
    std::string out = "\xFF\xFE";
    for (const char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out.append(oddByte);
}

}  // namespace pallo::testing
