// What the program makes of one picture file: whether it is there, whether
// its decoder reads it, and how long the first showing takes.
#pragma once

#include <string>

#include "editors/check/check.h"

namespace pallo::check {

// Pictures with a side above this, or whose decoding takes longer than
// kSlowMilliseconds, make the first press that shows them noticeably slow.
inline constexpr int kSlowSide = 2000;
inline constexpr double kSlowMilliseconds = 100.0;

struct PictureFacts {
    enum class Verdict { Missing, Unreadable, Slow, Fine };
    Verdict verdict = Verdict::Missing;
    int width = 0;   // as decoded (Slow, Fine) or as declared (Unreadable, when known)
    int height = 0;
    double milliseconds = 0;  // decoding and scaling to the 70 x 70 box
    // Why the decoder refuses it and what to do (Unreadable).
    std::string whyZh;
    std::string whyEn;
    std::string fixZh;
    std::string fixEn;
};

// Reads and decodes path with the program's own decoder and size limits;
// with PictureCheck::Header a picture that looks whole and is not large is
// Fine without a decode (its milliseconds stay 0).
PictureFacts examinePicture(const std::string& path, PictureCheck check = PictureCheck::Decode);

}  // namespace pallo::check
