// Start-up cost of reading the content model from a full Cfg.ini, against
// the floor of parsing the file once. The loaders read about 1200 items;
// with one snapshot per loader they should cost little more than the parse.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "config/config_store.h"
#include "full_cfg.h"
#include "model/loaders.h"
#include "support/temp_dir.h"

namespace {

using pallo::ConfigStore;
using pallo::bench::fullCfg;

void BM_StartupLoaders(benchmark::State& state) {
    pallo::testing::TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    const std::string text = fullCfg();
    pallo::testing::writeFile(path, text);
    for (auto _ : state) {
        ConfigStore store;
        pallo::NodeTable nodes;
        pallo::CatalogTable items;
        pallo::CatalogTable heroes;
        benchmark::DoNotOptimize(pallo::loadMainNodes(store, path, nodes));
        pallo::loadCatalog(store, path, "Item", items);
        pallo::loadCatalog(store, path, "Hero", heroes);
        benchmark::DoNotOptimize(nodes);
        benchmark::DoNotOptimize(items);
        benchmark::DoNotOptimize(heroes);
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_StartupLoaders);

void BM_ParseOnce(benchmark::State& state) {
    pallo::testing::TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    const std::string text = fullCfg();
    pallo::testing::writeFile(path, text);
    for (auto _ : state) {
        ConfigStore store;
        const ConfigStore::Snapshot ini = store.snapshot(path);
        std::string value = ini.read("Hero", "99", "");
        benchmark::DoNotOptimize(value);
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseOnce);

}  // namespace

BENCHMARK_MAIN();
