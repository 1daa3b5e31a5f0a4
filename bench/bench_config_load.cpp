// Start-up cost of reading the content model from a full Cfg.ini, against
// the floor of parsing the file once. The loaders read about 1200 items;
// with one snapshot per loader they should cost little more than the parse.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "config/config_store.h"
#include "model/loaders.h"
#include "support/temp_dir.h"

namespace {

using pallo::ConfigStore;

std::string entry(int section, int key) {
    // Built by appending: gcc 12 warns falsely (-Wrestrict) on "literal" + std::string&&.
    const std::string n = std::to_string(key);
    std::string v = "c";
    v += std::to_string(section);
    v += "_" + n + ".png|烈焰之剑 " + n + "|攻击力+" + n;
    v += "#附带火焰伤害，持续3秒；对 Boss 有效|1,";
    v += std::to_string(key % 7 + 2);
    v += ",";
    v += n;
    return v;
}

// A full content pack: ten main nodes of 99 children each and two full
// catalogs, about 100 KB of mixed Chinese and ASCII text.
std::string fullCfg() {
    std::string text = "[Config]\r\nX=300\r\nY=200\r\nW=70\r\nH=70\r\nT=1\r\nS=180\r\n";
    for (int i = 1; i <= pallo::kMainNodeCount; ++i) {
        const std::string s = std::to_string(i);
        text += "[" + s + "]\r\nName=节点" + s + "\r\nTitle=主节点 " + s + "\r\nIn=" + (i % 2 ? "Item" : "Hero") +
                "\r\nLink=" + std::to_string(i % 3) + "\r\nShow=1\r\nPic=menu" + s + ".png\r\n";
        for (int k = 1; k <= pallo::kMaxEntries; ++k) text += std::to_string(k) + "=" + entry(i, k) + "\r\n";
    }
    for (const char* section : {"Item", "Hero"}) {
        text += std::string("[") + section + "]\r\nName=" + section + "\r\n";
        for (int k = 1; k <= pallo::kMaxEntries; ++k) text += std::to_string(k) + "=" + entry(0, k) + "\r\n";
    }
    return text;
}

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
        std::string message;
        pallo::loadMainNodes(store, path, nodes, message, true);
        pallo::loadCatalog(store, path, "Item", items, message, true);
        pallo::loadCatalog(store, path, "Hero", heroes, message, true);
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
