#include "editors/check/pictures.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string_view>

#include "model/picture_dirs.h"
#include "model/text.h"
#include "platform/files.h"
#include "platform/image.h"

namespace pallo::check {

namespace {

std::uint32_t bigEndian(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(k)]);
    return v;
}

struct Declared {
    bool known = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size a PNG header declares (IHDR follows the signature).
Declared pngSize(std::string_view b) {
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") return {};
    return {true, bigEndian(b, 16, 4), bigEndian(b, 20, 4)};
}

// Where a JPEG's markers up to its first scan declare its size and begin
// that scan.
struct JpegMarks {
    Declared size;  // from the first start-of-frame marker
    std::size_t scan = std::string_view::npos;
};

JpegMarks jpegMarks(std::string_view b) {
    JpegMarks marks;
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) return marks;
        const unsigned marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::uint32_t length = bigEndian(b, at + 2, 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && !marks.size.known && at + 9 <= b.size())
            marks.size = {true, bigEndian(b, at + 7, 2), bigEndian(b, at + 5, 2)};
        if (marker == 0xDA) {
            marks.scan = at;
            return marks;
        }
        if (length < 2) return marks;
        at += 2 + length;
    }
    return marks;
}

// Whether a PNG's picture data is all there: its chunks up to the last of
// the data lie within the file, and the next chunk begins (the decoder
// reads nothing after the data, but a file that ends with a data chunk may
// have lost more of them).
bool pngWhole(std::string_view b) {
    bool data = false;
    for (std::uint64_t at = 8; at + 8 <= b.size();) {
        const std::string_view type = b.substr(static_cast<std::size_t>(at) + 4, 4);
        const std::uint64_t end = at + 12 + bigEndian(b, static_cast<std::size_t>(at), 4);
        if (type == "IDAT") {
            if (end > b.size()) return false;
            data = true;
        } else if (data || type == "IEND") {
            return data;
        }
        at = end;
    }
    return false;
}

// The size a picture declares when it looks whole: a PNG whose data is all
// there, a JPEG with an end marker after its first scan. Unknown otherwise.
Declared wholeSize(std::string_view b) {
    if (b.substr(0, 8) == "\x89PNG\r\n\x1A\n") return pngWhole(b) ? pngSize(b) : Declared{};
    if (b.size() < 3 || b.substr(0, 3) != "\xFF\xD8\xFF") return {};
    const JpegMarks marks = jpegMarks(b);
    const std::size_t end = b.rfind("\xFF\xD9");
    return marks.scan != std::string_view::npos && end != std::string_view::npos && end > marks.scan ? marks.size
                                                                                                     : Declared{};
}

bool withinSide(const Declared& d, std::uint32_t side) {
    return d.known && d.width > 0 && d.height > 0 && d.width <= side && d.height <= side;
}

// Why the decoder gave nothing, told from the file's first bytes.
void explainRefusal(std::string_view b, PictureFacts& facts) {
    const auto tooLarge = [&](const Declared& d, const char* kind) {
        if (!d.known || (d.width <= static_cast<std::uint32_t>(image::kMaxSide) &&
                         d.height <= static_cast<std::uint32_t>(image::kMaxSide)))
            return false;
        facts.width = static_cast<int>(std::min<std::uint32_t>(d.width, INT32_MAX));
        facts.height = static_cast<int>(std::min<std::uint32_t>(d.height, INT32_MAX));
        const std::string size = toText(d.width) + " × " + toText(d.height);
        facts.whyZh = std::string(kind) + " 图片为 " + size + " 像素，程序只接受每边不超过 " +
                      toText(image::kMaxSide) + " 像素的图片";
        facts.whyEn = std::string("the ") + kind + " picture is " + size +
                      " pixels; the program refuses pictures over " + toText(image::kMaxSide) + " pixels a side";
        facts.fixZh = "请把它缩小（格子只有 70 × 70）";
        facts.fixEn = "Scale it down (the box is 70 × 70)";
        return true;
    };
    const auto other = [&](const char* zh, const char* en) {
        facts.whyZh = zh;
        facts.whyEn = en;
        facts.fixZh = "请把它存为 PNG 或 JPEG";
        facts.fixEn = "Save it as PNG or JPEG";
    };
    if (b.substr(0, 8) == "\x89PNG\r\n\x1A\n") {
        if (!tooLarge(pngSize(b), "PNG")) other("PNG 文件已损坏或不完整", "the PNG file is damaged or cut short");
    } else if (b.size() >= 3 && b.substr(0, 3) == "\xFF\xD8\xFF") {
        if (!tooLarge(jpegMarks(b).size, "JPEG")) other("JPEG 文件已损坏或不完整", "the JPEG file is damaged or cut short");
    } else if (b.substr(0, 4) == "GIF8") {
        other("这是 GIF 图片，程序只能显示 PNG 和 JPEG", "it is really a GIF; the program shows only PNG and JPEG");
    } else if (b.substr(0, 2) == "BM") {
        other("这是 BMP 图片，程序只能显示 PNG 和 JPEG", "it is really a BMP; the program shows only PNG and JPEG");
    } else if (b.size() >= 12 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") {
        other("这是 WebP 图片，程序只能显示 PNG 和 JPEG", "it is really a WebP; the program shows only PNG and JPEG");
    } else {
        other("不是 PNG 或 JPEG 图片", "it is not a PNG or JPEG picture");
    }
}

}  // namespace

PictureFacts examinePicture(const std::string& path, PictureCheck check) {
    PictureFacts facts;
    if (!isPictureFile(path)) return facts;
    const std::optional<std::string> bytes = files::readAll(path);
    if (!bytes) {
        facts.verdict = PictureFacts::Verdict::Unreadable;
        facts.whyZh = "文件无法读取";
        facts.whyEn = "the file cannot be read";
        facts.fixZh = "请检查文件权限";
        facts.fixEn = "Check the file's permissions";
        return facts;
    }
    // A large picture is decoded all the same: its message tells how long that took.
    if (const Declared d = wholeSize(*bytes); check == PictureCheck::Header && withinSide(d, kSlowSide)) {
        facts.verdict = PictureFacts::Verdict::Fine;
        facts.width = static_cast<int>(d.width);
        facts.height = static_cast<int>(d.height);
        return facts;
    }
    // What the first showing costs: decoding, then scaling to the node
    // window's 70 x 70 box (later showings come from the picture cache).
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    const auto timedDecode = [&data](image::Rgba& out) {
        const std::clock_t start = std::clock();
        out = image::decode(data);
        if (!out.empty()) (void)image::fitToBox(out, 70, 70, 0);
        return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    };
    // Processor time where the C library measures it so (a busy machine does
    // not make a small picture slow); a slow result is timed twice more and
    // the fastest counts, for a C library whose clock is the wall clock.
    image::Rgba picture;
    facts.milliseconds = timedDecode(picture);
    for (int again = 0; again < 2 && !picture.empty() && facts.milliseconds > kSlowMilliseconds; ++again) {
        image::Rgba ignored;
        facts.milliseconds = std::min(facts.milliseconds, timedDecode(ignored));
    }

    if (picture.empty()) {
        facts.verdict = PictureFacts::Verdict::Unreadable;
        explainRefusal(*bytes, facts);
        return facts;
    }
    facts.width = picture.width;
    facts.height = picture.height;
    const bool large = std::max(picture.width, picture.height) > kSlowSide;
    facts.verdict = large || facts.milliseconds > kSlowMilliseconds ? PictureFacts::Verdict::Slow
                                                                    : PictureFacts::Verdict::Fine;
    return facts;
}

}  // namespace pallo::check
