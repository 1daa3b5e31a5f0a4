// Where a picture box's picture comes from: a file, an embedded picture, or
// nothing. The picture cache and the headless platform key on it.
#pragma once

#include <string>
#include <utility>

#include "assets/assets.h"

namespace pallo::platform {

// Where a picture box's picture came from.
struct PictureSource {
    enum class Kind { None, File, Embedded };
    Kind kind = Kind::None;
    std::string path;                                // Kind::File
    assets::Picture embedded = assets::Picture::None;  // Kind::Embedded

    static PictureSource none() { return {}; }
    static PictureSource file(std::string p) { return {Kind::File, std::move(p), assets::Picture::None}; }
    static PictureSource builtIn(assets::Picture id) { return {Kind::Embedded, {}, id}; }
    friend bool operator==(const PictureSource&, const PictureSource&) = default;
};

}  // namespace pallo::platform
