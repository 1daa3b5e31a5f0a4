// Decoding and fitting the pictures a node window shows: the embedded
// 710 x 710 placeholder and a 256 x 256 PNG icon, each into 70 x 70.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "platform/image.h"
#include "support/temp_dir.h"

namespace {

using namespace pallo;

constexpr std::uint32_t kGrey = 0xFF808080;

std::vector<std::uint8_t> iconBytes() {
    // The test picture beside this source tree (an emblem drawn at 256 x 256).
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "data" / "icon256.png";
    const std::string s = testing::readFile(path.string());
    return {s.begin(), s.end()};
}

void decodeAndFit(benchmark::State& state, std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || image::decode(bytes).empty()) {
        state.SkipWithError("picture missing or undecodable");
        return;
    }
    for (auto _ : state) {
        const image::Rgba decoded = image::decode(bytes);
        image::Rgba fitted = image::fitToBox(decoded, 70, 70, kGrey);
        benchmark::DoNotOptimize(fitted.pixels.data());
    }
}

void BM_DecodeFitPlaceholder710(benchmark::State& state) {
    decodeAndFit(state, assets::bytes(assets::Picture::NodePlaceholder));
}
BENCHMARK(BM_DecodeFitPlaceholder710)->Unit(benchmark::kMicrosecond);

void BM_DecodeFitIcon256(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = iconBytes();
    decodeAndFit(state, bytes);
}
BENCHMARK(BM_DecodeFitIcon256)->Unit(benchmark::kMicrosecond);

// The parts on their own, to see where the time goes.
void BM_DecodeOnlyPlaceholder710(benchmark::State& state) {
    const auto bytes = assets::bytes(assets::Picture::NodePlaceholder);
    for (auto _ : state) {
        image::Rgba decoded = image::decode(bytes);
        benchmark::DoNotOptimize(decoded.pixels.data());
    }
}
BENCHMARK(BM_DecodeOnlyPlaceholder710)->Unit(benchmark::kMicrosecond);

void BM_FitOnlyPlaceholder710(benchmark::State& state) {
    const image::Rgba decoded = image::decode(assets::bytes(assets::Picture::NodePlaceholder));
    for (auto _ : state) {
        image::Rgba fitted = image::fitToBox(decoded, 70, 70, kGrey);
        benchmark::DoNotOptimize(fitted.pixels.data());
    }
}
BENCHMARK(BM_FitOnlyPlaceholder710)->Unit(benchmark::kMicrosecond);

// What showing a row again costs: a cache hit.
void BM_CacheHitPlaceholder(benchmark::State& state) {
    image::PictureCache cache;
    const auto source = platform::PictureSource::builtIn(assets::Picture::NodePlaceholder);
    cache.get(source, 70, 70, kGrey);
    for (auto _ : state) benchmark::DoNotOptimize(cache.get(source, 70, 70, kGrey).get());
}
BENCHMARK(BM_CacheHitPlaceholder);

}  // namespace

BENCHMARK_MAIN();
