// The pictures compiled into the program. A build step turns the files of
// this folder into byte arrays; both builds embed the same bytes.
#pragma once

#include <cstdint>
#include <span>

namespace pallo::assets {

enum class Picture {
    None,
    MainPicture,         // the overlay's picture, 316 x 316 PNG
    NodePlaceholder,     // the node windows' design picture, 710 x 710 RGBA PNG
    PlaceholderPicture,  // shown for a missing picture file, 654 x 600 PNG
    ProgramIcon,         // 128 x 128, 32-bit PNG
    QrWeChat,            // donation window, left code, 300 x 300 palette PNG
    QrAlipay,            // donation window, right code, 300 x 300 palette PNG
};

// The encoded (PNG) bytes of an embedded picture; empty for None.
std::span<const std::uint8_t> bytes(Picture picture);

// A stable name for logs and test messages ("MainPicture", ...).
const char* name(Picture picture);

}  // namespace pallo::assets
