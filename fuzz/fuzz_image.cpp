// Decodes arbitrary bytes and fits the result into the boxes the program
// uses. Any crash, sanitizer report, leak or out-of-memory is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pallo::image;
    const Rgba picture = decode(std::span(data, size));
    if (picture.empty()) {
        if (!picture.pixels.empty()) std::abort();
        return 0;
    }
    if (picture.width > kMaxSide || picture.height > kMaxSide ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4) {
        std::abort();
    }
    // The node windows' box, and an odd box from the input's last byte.
    const Rgba node = fitToBox(picture, 70, 70, 0xFF808080);
    if (node.width != 70 || node.height != 70) std::abort();
    const int side = 1 + data[size - 1] % 97;
    const Rgba odd = fitToBox(picture, side, side / 2 + 1, 0x80FFFFFF);
    if (odd.width != side) std::abort();
    return 0;
}
