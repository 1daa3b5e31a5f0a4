// Showing a main node of 28 children with 256 x 256 pictures: the first time
// (a fresh platform, so every picture is read and decoded) and again (the
// picture cache should make it nearly free: no decoding, only a check of
// each file's size and time).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/app.h"
#include "display/detail.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

namespace {

using pallo::testing::TempDir;
using pallo::testing::writeFile;

constexpr int kChildren = 28;
constexpr int kSide = 256;

void put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFFu);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type) + data;
    out += body;
    put32(out, static_cast<std::uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// A compressed RGB picture like the content packs hold: a tinted tile with
// a soft gradient and a disc, different for every seed.
std::string tilePng(int seed) {
    std::string raw;
    const int cx = kSide / 2 + (seed * 7) % 40 - 20;
    for (int y = 0; y < kSide; ++y) {
        raw += '\0';
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - cx, dy = y - kSide / 2;
            const bool disc = dx * dx + dy * dy < 70 * 70;
            raw += static_cast<char>(disc ? 250 : (seed * 37 + x / 2) & 0xFF);
            raw += static_cast<char>(disc ? 240 : (seed * 91 + y / 2) & 0xFF);
            raw += static_cast<char>(disc ? 230 : (seed * 53 + (x + y) / 4) & 0xFF);
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string z(size, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 6);
    z.resize(size);

    std::string ihdr;
    put32(ihdr, kSide);
    put32(ihdr, kSide);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    std::string out = "\x89PNG\r\n\x1a\n";
    chunk(out, "IHDR", ihdr);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", "");
    return out;
}

// A run directory with one main node of 28 children, each with its picture.
struct Pack {
    TempDir run;
    Pack() {
        const char sep = pallo::files::separator();
        std::string cfg = "[Config]\r\nX=200\r\nY=150\r\n[1]\r\nName=Tiles\r\nTitle=Tiles\r\nIn=\r\nLink=0\r\nPic=tiles.png\r\n";
        for (int k = 1; k <= kChildren; ++k) {
            const std::string n = std::to_string(k);
            cfg += n + "=t" + n + ".png|tile " + n + "|line one#line two|0\r\n";
            writeFile(run.path() + sep + "Img" + sep + "Tiles" + sep + "t" + n + ".png", tilePng(k));
        }
        writeFile(run.file("Cfg.ini"), cfg);
    }
};

// A started program on a fresh platform (with an empty picture cache).
struct Program {
    pallo::platform::headless::HeadlessPlatform platform;
    pallo::App app;
    explicit Program(const std::string& dir) : platform(dir), app(platform) { app.start(); }
};

bool show(Program& program) {
    std::string message;
    return pallo::showChildren(program.app.context(), 1, message, false);
}

void BM_ShowChildrenCold(benchmark::State& state) {
    const Pack pack;
    std::uint64_t decodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto program = std::make_unique<Program>(pack.run.path());
        const std::uint64_t before = program->platform.pictureCache().decodeCount();
        state.ResumeTiming();
        benchmark::DoNotOptimize(show(*program));
        state.PauseTiming();
        decodes = program->platform.pictureCache().decodeCount() - before;
        program.reset();
        state.ResumeTiming();
    }
    state.counters["decodes"] = static_cast<double>(decodes);
    if (decodes != kChildren) state.SkipWithError("the first showing did not decode every picture");
}
BENCHMARK(BM_ShowChildrenCold)->Unit(benchmark::kMillisecond);

void BM_ShowChildrenWarm(benchmark::State& state) {
    const Pack pack;
    Program program(pack.run.path());
    show(program);
    const std::uint64_t before = program.platform.pictureCache().decodeCount();
    for (auto _ : state) benchmark::DoNotOptimize(show(program));
    const std::uint64_t decodes = program.platform.pictureCache().decodeCount() - before;
    state.counters["decodes"] = static_cast<double>(decodes);
    if (decodes != 0) state.SkipWithError("showing the node again decoded pictures");
}
BENCHMARK(BM_ShowChildrenWarm)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
