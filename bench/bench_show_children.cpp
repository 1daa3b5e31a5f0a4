// Showing a main node of 28 children with 256 x 256 pictures: the first time
// (a fresh platform, so every picture is read and decoded) and again (the
// picture cache should make it nearly free: no decoding, only a check of
// each file's size and time).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/app.h"
#include "display/detail.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"
#include "tile_png.h"

namespace {

using pallo::testing::TempDir;
using pallo::testing::writeFile;

constexpr int kChildren = 28;
constexpr int kSide = 256;

// A run directory with one main node of 28 children, each with its picture.
struct Pack {
    TempDir run;
    Pack() {
        const char sep = pallo::files::separator();
        std::string cfg = "[Config]\r\nX=200\r\nY=150\r\n[1]\r\nName=Tiles\r\nTitle=Tiles\r\nIn=\r\nLink=0\r\nPic=tiles.png\r\n";
        for (int k = 1; k <= kChildren; ++k) {
            const std::string n = std::to_string(k);
            cfg += n + "=t" + n + ".png|tile " + n + "|line one#line two|0\r\n";
            writeFile(run.path() + sep + "Img" + sep + "Tiles" + sep + "t" + n + ".png",
                      pallo::bench::tilePng(kSide, k));
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
    const auto note = pallo::showChildren(program.app.context(), 1);
    return !note || note->kind != pallo::ShowNote::Kind::Refused;
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
