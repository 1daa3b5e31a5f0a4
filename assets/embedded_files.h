// The table the build step writes (assets/embed.cmake): every embedded file
// of this folder by file name. Only assets.cpp looks into it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pallo::assets::detail {

struct EmbeddedFile {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

}  // namespace pallo::assets::detail
