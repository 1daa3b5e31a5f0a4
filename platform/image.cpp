#include "platform/image.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace pallo::image {
namespace {

// ------------------------------------------------------------------ output
//
// The decoders below call setjmp, and libpng / libjpeg leave them through
// longjmp on any error. A longjmp skips destructors, so those functions hold
// no C++ object with one: they ask the caller, through this plain struct, for
// the pixel memory once the header has been checked, and the caller's
// std::vector lives in a frame the jump never crosses.
struct Output {
    Rgba* target;
};

// Sizes the caller's picture; nullptr when the memory cannot be had. Never
// throws, so it can be called between setjmp and longjmp.
std::uint8_t* allocatePixels(Output* out, int width, int height) noexcept {
    try {
        out->target->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    } catch (...) {
        return nullptr;
    }
    out->target->width = width;
    out->target->height = height;
    return out->target->pixels.data();
}

bool sideOk(std::uint64_t side) { return side > 0 && side <= static_cast<std::uint64_t>(kMaxSide); }

// ------------------------------------------------------------------ PNG

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct PngJob {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
    std::jmp_buf jump;
};

[[noreturn]] void pngError(png_structp png, png_const_charp /*message*/) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::longjmp(job->jump, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, std::size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->size - job->pos) png_error(png, "truncated");
    std::memcpy(out, job->data + job->pos, length);
    job->pos += length;
}

// zlib inflates at most about 1032 bytes from one byte of input, so a PNG
// declaring more pixel data than that could never fill it: refuse it before
// allocating, instead of allocating for a picture that cannot be there.
bool pngSizePlausible(std::uint32_t width, std::uint32_t height, int bitDepth, int channels, std::size_t fileSize) {
    const std::uint64_t rowBits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitDepth) *
                                  static_cast<std::uint64_t>(channels);
    const std::uint64_t raw = static_cast<std::uint64_t>(height) * ((rowBits + 7) / 8);
    return raw <= static_cast<std::uint64_t>(fileSize) * 1040 + 4096;
}

// Plain function: no object with a destructor lives here (see Output).
bool decodePng(PngJob* job, Output* out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    // Installed only now: errors inside png_create_read_struct go to
    // libpng's own handler, before our jump buffer is set.
    png_set_error_fn(png, job, pngError, pngWarning);
    png_set_read_fn(png, job, pngRead);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_cache_max(png, 128);
    png_set_chunk_malloc_max(png, 8u * 1024u * 1024u);

    // volatile: set after setjmp and read after a possible longjmp.
    volatile bool ok = false;
    if (setjmp(job->jump) == 0) {
        png_read_info(png, info);
        const png_uint_32 width = png_get_image_width(png, info);
        const png_uint_32 height = png_get_image_height(png, info);
        const int bitDepth = png_get_bit_depth(png, info);
        const int colorType = png_get_color_type(png, info);
        const int channels = png_get_channels(png, info);
        if (!sideOk(width) || !sideOk(height) || !pngSizePlausible(width, height, bitDepth, channels, job->size)) {
            png_error(png, "refused size");
        }

        // Everything to 8-bit RGBA: palette and low gray depths expanded,
        // tRNS turned into alpha, 16-bit scaled, gray copied to RGB, and an
        // opaque alpha added where the file has none.
        if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
        if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
        if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
        if (bitDepth == 16) png_set_scale_16(png);
        if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        const int passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
        if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4) png_error(png, "unexpected layout");

        std::uint8_t* pixels = allocatePixels(out, static_cast<int>(width), static_cast<int>(height));
        if (pixels == nullptr) png_error(png, "out of memory");
        // Row by row into the caller's buffer: with interlace handling each
        // pass merges into the rows already there, and no row-pointer array
        // is needed. The chunks after the pixels are not read: nothing there
        // changes the picture.
        const std::size_t stride = static_cast<std::size_t>(width) * 4;
        for (int pass = 0; pass < passes; ++pass) {
            for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels + y * stride, nullptr);
        }
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

// ------------------------------------------------------------------ JPEG

struct JpegJob {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errorManager;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

JpegJob* jobOf(j_common_ptr cinfo) {
    // cinfo is the first member of JpegJob, which is standard layout.
    return reinterpret_cast<JpegJob*>(cinfo);
}

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) { std::longjmp(jobOf(cinfo)->jump, 1); }

void jpegOutputMessage(j_common_ptr) {}

void sourceInit(j_decompress_ptr) {}

// All bytes were handed over at the start: being asked for more means the
// data is truncated. (libjpeg's own memory source would pad with a fake end
// marker and show a grey lower part; a cut-off file is refused instead.)
// Warnings about corrupt data are otherwise tolerated and silenced: many
// real files carry a few stray bytes.
boolean sourceFill(j_decompress_ptr cinfo) {
    cinfo->err->msg_code = JERR_INPUT_EOF;
    jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
}

void sourceSkip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) sourceFill(cinfo);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void sourceTerm(j_decompress_ptr) {}

// A progressive file can hold a great many tiny scans that each cost a
// pass over the whole picture; real encoders write about a dozen.
void jpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > 256) jpegErrorExit(cinfo);
    }
}

std::uint8_t clampByte(int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// The steps of decodeJpeg. Each may leave through jpegErrorExit's longjmp
// back to decodeJpeg, so none keeps an object with a destructor.

void attachErrorHandlers(JpegJob* job) {
    job->cinfo.err = jpeg_std_error(&job->errorManager);
    job->errorManager.error_exit = jpegErrorExit;
    job->errorManager.output_message = jpegOutputMessage;
}

// Bounds libjpeg's own memory (a progressive picture keeps all its
// coefficients); beyond it the decode fails instead of growing. The scan
// count is bounded by jpegProgress.
void limitJpegWork(JpegJob* job) {
    job->cinfo.mem->max_memory_to_use = 512L * 1024L * 1024L;
    job->progress.progress_monitor = jpegProgress;
    job->cinfo.progress = &job->progress;
}

void attachSource(JpegJob* job, const std::uint8_t* data, std::size_t size) {
    job->source.init_source = sourceInit;
    job->source.fill_input_buffer = sourceFill;
    job->source.skip_input_data = sourceSkip;
    job->source.resync_to_restart = jpeg_resync_to_restart;
    job->source.term_source = sourceTerm;
    job->source.next_input_byte = data;
    job->source.bytes_in_buffer = size;
    job->cinfo.src = &job->source;
}

// Reads the header and asks for CMYK, gray or RGB output; true for CMYK.
bool readJpegHeader(j_decompress_ptr cinfo) {
    jpeg_read_header(cinfo, TRUE);
    if (!sideOk(cinfo->image_width) || !sideOk(cinfo->image_height)) jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        cinfo->out_color_space = JCS_CMYK;
    } else if (cinfo->jpeg_color_space == JCS_GRAYSCALE) {
        cinfo->out_color_space = JCS_GRAYSCALE;
    } else {
        cinfo->out_color_space = JCS_RGB;
    }
    return cmyk;
}

// Refuses an output other than the one asked for, or of a refused size.
void checkJpegOutput(j_decompress_ptr cinfo, bool cmyk) {
    const int components = cinfo->output_components;
    if ((cmyk && components != 4) || (!cmyk && components != 1 && components != 3) ||
        !sideOk(cinfo->output_width) || !sideOk(cinfo->output_height)) {
        jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    }
}

// One decoded scan line of gray, RGB or CMYK samples to RGBA.
void lineToRgba(const JSAMPLE* in, std::uint8_t* o, int width, int components, bool inverted) {
    for (int x = 0; x < width; ++x, o += 4) {
        if (components == 1) {
            o[0] = o[1] = o[2] = in[x];
        } else if (components == 3) {
            o[0] = in[x * 3];
            o[1] = in[x * 3 + 1];
            o[2] = in[x * 3 + 2];
        } else {
            int c = in[x * 4], m = in[x * 4 + 1], yy = in[x * 4 + 2], k = in[x * 4 + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yy = 255 - yy;
                k = 255 - k;
            }
            o[0] = clampByte((c * k + 127) / 255);
            o[1] = clampByte((m * k + 127) / 255);
            o[2] = clampByte((yy * k + 127) / 255);
        }
        o[3] = 255;
    }
}

// Reads every scan line into the caller's buffer.
void readJpegLines(j_decompress_ptr cinfo, Output* out, bool cmyk) {
    const int components = cinfo->output_components;
    const int width = static_cast<int>(cinfo->output_width);
    const int height = static_cast<int>(cinfo->output_height);
    // Adobe's CMYK JPEGs store the inks inverted; libjpeg hands them on as
    // stored.
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;

    std::uint8_t* pixels = allocatePixels(out, width, height);
    if (pixels == nullptr) jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    // The scan line buffer belongs to libjpeg's pool and goes with the
    // decompressor, also on the error path.
    JSAMPARRAY line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                  static_cast<JDIMENSION>(width * components), 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, line, 1) != 1) jpegErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
        lineToRgba(line[0], pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4, width,
                   components, inverted);
    }
}

// Plain function: no object with a destructor lives here (see Output).
bool decodeJpeg(JpegJob* job, const std::uint8_t* data, std::size_t size, Output* out) {
    attachErrorHandlers(job);
    if (setjmp(job->jump) != 0) {
        jpeg_destroy_decompress(&job->cinfo);
        return false;
    }
    jpeg_create_decompress(&job->cinfo);
    j_decompress_ptr cinfo = &job->cinfo;
    limitJpegWork(job);
    attachSource(job, data, size);
    const bool cmyk = readJpegHeader(cinfo);
    jpeg_start_decompress(cinfo);
    checkJpegOutput(cinfo, cmyk);
    readJpegLines(cinfo, out, cmyk);
    jpeg_destroy_decompress(cinfo);
    return true;
}

// ------------------------------------------------------------------ scaling

// For each output index along one axis: the first source index and the
// weights of the consecutive source samples that make it (summing to 1).
struct AxisWeights {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> offset;  // into weights
    std::vector<float> weights;
};

// Shrinking averages the source area under each output pixel (a box
// filter with fractional edges), so thin lines fade instead of vanishing;
// growing interpolates linearly between pixel centres.
AxisWeights axisWeights(int source, int target) {
    AxisWeights a;
    a.first.resize(static_cast<std::size_t>(target));
    a.count.resize(static_cast<std::size_t>(target));
    a.offset.resize(static_cast<std::size_t>(target));
    const double scale = static_cast<double>(source) / static_cast<double>(target);
    for (int i = 0; i < target; ++i) {
        const auto at = static_cast<std::size_t>(i);
        a.offset[at] = static_cast<int>(a.weights.size());
        if (target < source) {
            const double begin = i * scale;
            const double end = std::min(static_cast<double>(source), (i + 1) * scale);
            const int first = static_cast<int>(std::floor(begin));
            const int last = std::min(source - 1, static_cast<int>(std::ceil(end)) - 1);
            a.first[at] = first;
            for (int s = first; s <= last; ++s) {
                const double overlap = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
                a.weights.push_back(static_cast<float>(std::max(0.0, overlap) / scale));
            }
            a.count[at] = last - first + 1;
        } else {
            double centre = (i + 0.5) * scale - 0.5;
            centre = std::clamp(centre, 0.0, static_cast<double>(source - 1));
            const int left = std::min(static_cast<int>(std::floor(centre)), source - 1);
            const double t = centre - left;
            a.first[at] = left;
            if (left + 1 < source && t > 0.0) {
                a.weights.push_back(static_cast<float>(1.0 - t));
                a.weights.push_back(static_cast<float>(t));
                a.count[at] = 2;
            } else {
                a.weights.push_back(1.0f);
                a.count[at] = 1;
            }
        }
    }
    return a;
}

std::uint8_t toByte(float v) {
    const float r = v * 255.0f + 0.5f;
    return static_cast<std::uint8_t>(r <= 0.0f ? 0.0f : r >= 255.0f ? 255.0f : r);
}

// The steps of fitToBox.

// A box it can fill, and a picture whose pixels match its size.
bool fittable(const Rgba& picture, int boxWidth, int boxHeight) {
    return !(picture.empty() || boxWidth <= 0 || boxHeight <= 0 || boxWidth > kMaxSide || boxHeight > kMaxSide ||
             picture.pixels.size() !=
                 static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4);
}

// Where the scaled picture lies in the box: as large as fits, centred.
struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

Placement placeInBox(const Rgba& picture, int boxWidth, int boxHeight) {
    const double scale = std::min(static_cast<double>(boxWidth) / picture.width,
                                  static_cast<double>(boxHeight) / picture.height);
    const int w = std::clamp(static_cast<int>(std::lround(picture.width * scale)), 1, boxWidth);
    const int h = std::clamp(static_cast<int>(std::lround(picture.height * scale)), 1, boxHeight);
    return Placement{(boxWidth - w) / 2, (boxHeight - h) / 2, w, h};
}

// The box in its background colour (0xAARRGGBB).
Rgba filledBox(int boxWidth, int boxHeight, std::uint32_t background) {
    Rgba box;
    box.width = boxWidth;
    box.height = boxHeight;
    box.pixels.resize(static_cast<std::size_t>(boxWidth) * static_cast<std::size_t>(boxHeight) * 4);
    for (std::size_t i = 0; i < box.pixels.size(); i += 4) {
        box.pixels[i] = static_cast<std::uint8_t>((background >> 16) & 0xFF);
        box.pixels[i + 1] = static_cast<std::uint8_t>((background >> 8) & 0xFF);
        box.pixels[i + 2] = static_cast<std::uint8_t>(background & 0xFF);
        box.pixels[i + 3] = static_cast<std::uint8_t>((background >> 24) & 0xFF);
    }
    return box;
}

// Which source rows some output row uses.
std::vector<bool> usedRows(const AxisWeights& down, int sourceHeight, int h) {
    std::vector<bool> used(static_cast<std::size_t>(sourceHeight), false);
    for (int y = 0; y < h; ++y) {
        const auto at = static_cast<std::size_t>(y);
        for (int k = 0; k < down.count[at]; ++k) used[static_cast<std::size_t>(down.first[at] + k)] = true;
    }
    return used;
}

// One source row in premultiplied alpha, 0..1.
void premultiplyRow(const std::uint8_t* row, std::size_t width, std::vector<float>& premultiplied) {
    constexpr float kInv255 = 1.0f / 255.0f;
    for (std::size_t x = 0; x < width; ++x) {
        const float a = static_cast<float>(row[x * 4 + 3]) * kInv255;
        const float colour = a * kInv255;
        premultiplied[x * 4] = static_cast<float>(row[x * 4]) * colour;
        premultiplied[x * 4 + 1] = static_cast<float>(row[x * 4 + 1]) * colour;
        premultiplied[x * 4 + 2] = static_cast<float>(row[x * 4 + 2]) * colour;
        premultiplied[x * 4 + 3] = a;
    }
}

// The source rows scaled across to width w, premultiplied, one row of w
// pixels per source row (rows no output row uses are left at zero).
std::vector<float> scaleAcross(const Rgba& picture, const AxisWeights& across, const AxisWeights& down, int w, int h) {
    const auto srcW = static_cast<std::size_t>(picture.width);
    std::vector<float> premultiplied(srcW * 4);
    std::vector<float> columns(static_cast<std::size_t>(w) * 4 * static_cast<std::size_t>(picture.height));
    // Only the source rows some output row uses are scaled across.
    const std::vector<bool> used = usedRows(down, picture.height, h);
    for (int sy = 0; sy < picture.height; ++sy) {
        if (!used[static_cast<std::size_t>(sy)]) continue;
        premultiplyRow(picture.pixels.data() + static_cast<std::size_t>(sy) * srcW * 4, srcW, premultiplied);
        float* outRow = columns.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) * 4;
        for (int x = 0; x < w; ++x) {
            const auto at = static_cast<std::size_t>(x);
            float acc[4] = {0, 0, 0, 0};
            const float* weight = across.weights.data() + across.offset[at];
            const float* src = premultiplied.data() + static_cast<std::size_t>(across.first[at]) * 4;
            for (int k = 0; k < across.count[at]; ++k, src += 4) {
                for (int c = 0; c < 4; ++c) acc[c] += src[c] * weight[k];
            }
            for (int c = 0; c < 4; ++c) outRow[at * 4 + static_cast<std::size_t>(c)] = acc[c];
        }
    }
    return columns;
}

// The rows scaled across, scaled down to the placed height and laid over
// the background at the picture's place in the box.
void scaleDownOntoBox(Rgba& box, const std::vector<float>& columns, const AxisWeights& down, const Placement& place,
                      std::uint32_t background) {
    const float bgA = static_cast<float>((background >> 24) & 0xFF) / 255.0f;
    const float bgR = static_cast<float>((background >> 16) & 0xFF) / 255.0f;
    const float bgG = static_cast<float>((background >> 8) & 0xFF) / 255.0f;
    const float bgB = static_cast<float>(background & 0xFF) / 255.0f;
    const int w = place.width;
    for (int y = 0; y < place.height; ++y) {
        const auto at = static_cast<std::size_t>(y);
        const float* weight = down.weights.data() + down.offset[at];
        std::uint8_t* outRow =
            box.pixels.data() + (static_cast<std::size_t>(place.top + y) * static_cast<std::size_t>(box.width) +
                                 static_cast<std::size_t>(place.left)) * 4;
        for (int x = 0; x < w; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (int k = 0; k < down.count[at]; ++k) {
                const float* src = columns.data() + (static_cast<std::size_t>(down.first[at] + k) * static_cast<std::size_t>(w) +
                                                     static_cast<std::size_t>(x)) * 4;
                for (int c = 0; c < 4; ++c) acc[c] += src[c] * weight[k];
            }
            // Over the background: premultiplied source + background * (1 - a).
            const float a = std::clamp(acc[3], 0.0f, 1.0f);
            const float outA = a + bgA * (1.0f - a);
            std::uint8_t* o = outRow + static_cast<std::size_t>(x) * 4;
            if (outA <= 0.0f) {
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            const float keep = bgA * (1.0f - a);
            o[0] = toByte((acc[0] + bgR * keep) / outA);
            o[1] = toByte((acc[1] + bgG * keep) / outA);
            o[2] = toByte((acc[2] + bgB * keep) / outA);
            o[3] = toByte(outA);
        }
    }
}

}  // namespace

Rgba decode(std::span<const std::uint8_t> bytes) {
    Rgba picture;
    Output out{&picture};
    bool ok = false;
    if (bytes.size() >= sizeof kPngSignature && std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0) {
        PngJob job{};
        job.data = bytes.data();
        job.size = bytes.size();
        ok = decodePng(&job, &out);
    } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        JpegJob job{};
        ok = decodeJpeg(&job, bytes.data(), bytes.size(), &out);
    }
    if (!ok) return {};
    return picture;
}

Rgba fitToBox(const Rgba& picture, int boxWidth, int boxHeight, std::uint32_t background) {
    if (!fittable(picture, boxWidth, boxHeight)) return {};
    const Placement place = placeInBox(picture, boxWidth, boxHeight);
    Rgba box = filledBox(boxWidth, boxHeight, background);
    // Separable resampling in premultiplied alpha, so the colour of fully
    // transparent pixels never bleeds into the edges of what is visible.
    const AxisWeights across = axisWeights(picture.width, place.width);
    const AxisWeights down = axisWeights(picture.height, place.height);
    const std::vector<float> columns = scaleAcross(picture, across, down, place.width, place.height);
    scaleDownOntoBox(box, columns, down, place, background);
    return box;
}

std::shared_ptr<const Rgba> PictureCache::get(const platform::PictureSource& source, int boxWidth, int boxHeight,
                                              std::uint32_t background) {
    using Kind = platform::PictureSource::Kind;
    if (boxWidth <= 0 || boxHeight <= 0) return std::make_shared<const Rgba>();
    if (source.kind == Kind::File) {
        const std::optional<files::Stamp> stamp = files::stamp(source.path);
        if (!stamp) return std::make_shared<const Rgba>();
        const Key key{static_cast<int>(Kind::File), source.path, 0, stamp->size, stamp->modifiedNs,
                      boxWidth, boxHeight, background};
        if (auto found = entries_.find(key); found != entries_.end()) return found->second;
        // The file changed on disk: what was cached for its old content is
        // stale for every box.
        std::erase_if(entries_, [&](const auto& entry) {
            const Key& k = entry.first;
            return k.kind == key.kind && k.path == key.path && (k.size != key.size || k.modified != key.modified);
        });
        const std::optional<std::string> content = files::readAll(source.path);
        Rgba decoded;
        if (content) {
            decoded = decode(std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
            ++decodes_;
        }
        auto fitted = std::make_shared<const Rgba>(fitToBox(decoded, boxWidth, boxHeight, background));
        entries_.emplace(key, fitted);
        return fitted;
    }
    if (source.kind == Kind::Embedded && source.embedded != assets::Picture::None) {
        const int id = static_cast<int>(source.embedded);
        const Key key{static_cast<int>(Kind::Embedded), {}, id, 0, 0, boxWidth, boxHeight, background};
        if (auto found = entries_.find(key); found != entries_.end()) return found->second;
        // The decoded picture itself is kept under a box of -1 x -1 (no real
        // box has that size), so another box size only rescales it.
        const Key originalKey{static_cast<int>(Kind::Embedded), {}, id, 0, 0, -1, -1, 0};
        auto original = entries_.find(originalKey);
        if (original == entries_.end()) {
            original = entries_.emplace(originalKey, std::make_shared<const Rgba>(decode(assets::bytes(source.embedded)))).first;
            ++decodes_;
        }
        auto fitted = std::make_shared<const Rgba>(fitToBox(*original->second, boxWidth, boxHeight, background));
        entries_.emplace(key, fitted);
        return fitted;
    }
    return std::make_shared<const Rgba>();
}

}  // namespace pallo::image
