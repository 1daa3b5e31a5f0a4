#include "assets/assets.h"

#include <cstring>

#include "assets/embedded_files.h"

namespace pallo::assets {
namespace {

const char* fileName(Picture picture) {
    switch (picture) {
        case Picture::MainPicture: return "main_picture.png";
        case Picture::NodePlaceholder: return "node_placeholder.png";
        case Picture::PlaceholderPicture: return "placeholder_picture.png";
        case Picture::ProgramIcon: return "program_icon.png";
        case Picture::QrWeChat: return "qr_wechat.png";
        case Picture::QrAlipay: return "qr_alipay.png";
        case Picture::None: break;
    }
    return nullptr;
}

}  // namespace

std::span<const std::uint8_t> bytes(Picture picture) {
    const char* wanted = fileName(picture);
    if (wanted == nullptr) return {};
    for (std::size_t i = 0; i < detail::kEmbeddedFileCount; ++i) {
        const detail::EmbeddedFile& f = detail::kEmbeddedFiles[i];
        if (std::strcmp(f.name, wanted) == 0) return {f.data, f.size};
    }
    return {};
}

const char* name(Picture picture) {
    switch (picture) {
        case Picture::None: return "None";
        case Picture::MainPicture: return "MainPicture";
        case Picture::NodePlaceholder: return "NodePlaceholder";
        case Picture::PlaceholderPicture: return "PlaceholderPicture";
        case Picture::ProgramIcon: return "ProgramIcon";
        case Picture::QrWeChat: return "QrWeChat";
        case Picture::QrAlipay: return "QrAlipay";
    }
    return "Unknown";
}

}  // namespace pallo::assets
