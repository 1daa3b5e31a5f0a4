// Deleting the first of 99 children writes 99 items: keys 1..98 take the
// values of 2..99 and key 99 becomes empty. As one group that should cost
// about one single write (one parse, one build of the bytes, one atomic
// replace), against 99 replaces when written one by one.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/config_store.h"
#include "support/temp_dir.h"

namespace {

using pallo::ConfigStore;

constexpr int kSections = 10;
constexpr int kChildren = 99;

std::string child(int section, int key) {
    // Built by appending: gcc 12 warns falsely (-Wrestrict) on "literal" + std::string&&.
    const std::string n = std::to_string(key);
    std::string v = "c";
    v += std::to_string(section);
    v += "_" + n + ".png|烈焰之剑 " + n + "|攻击力+" + n;
    v += "，附带火焰伤害，持续3秒钟!|1,2,";
    v += n;
    return v;
}

// Ten main sections of 99 children and the two catalogs of 99 entries:
// about 105 KB of mixed Chinese and ASCII text.
std::string fullCfg() {
    std::string text = "[Config]\r\nX=300\r\nY=200\r\nW=70\r\nH=70\r\nT=1\r\nS=180\r\n";
    for (int i = 1; i <= kSections; ++i) {
        const std::string s = std::to_string(i);
        text += "[" + s + "]\r\nName=节点" + s + "\r\nTitle=主节点 " + s + "\r\nIn=" + (i % 2 ? "Item" : "Hero") +
                "\r\nLink=1\r\nShow=1\r\nPic=menu" + s + ".png\r\n";
        for (int k = 1; k <= kChildren; ++k) text += std::to_string(k) + "=" + child(i, k) + "\r\n";
    }
    for (const char* section : {"Item", "Hero"}) {
        text += std::string("[") + section + "]\r\nName=" + section + "\r\n";
        for (int k = 1; k <= kChildren; ++k) text += std::to_string(k) + "=" + child(0, k) + "\r\n";
    }
    return text;
}

// The writes of deleting child 1 of section 5.
std::vector<ConfigStore::Item> deleteFirstChild() {
    std::vector<ConfigStore::Item> items;
    for (int k = 1; k < kChildren; ++k) items.push_back({"5", std::to_string(k), child(5, k + 1)});
    items.push_back({"5", std::to_string(kChildren), ""});
    return items;
}

// A store holding the full file, parsed, as the program has it before an
// editor writes.
struct Fixture {
    pallo::testing::TempDir dir;
    std::string path = dir.file("Cfg.ini");
    std::string text = fullCfg();
    ConfigStore store;

    // The file as it was, parsed by a fresh store (a coarse clock could
    // otherwise let the old store take the restored file for its own).
    void reset() {
        pallo::testing::writeFile(path, text);
        store = ConfigStore();
        std::string x = store.read(path, "Config", "X", "");
        benchmark::DoNotOptimize(x);
    }
    void report(benchmark::State& state) const {
        state.counters["file_bytes"] = static_cast<double>(text.size());
    }
};

void BM_DeleteChildAsOneGroup(benchmark::State& state) {
    Fixture f;
    const auto items = deleteFirstChild();
    for (auto _ : state) {
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
        if (!f.store.writeGroup(f.path, items)) state.SkipWithError("group write failed");
    }
    f.report(state);
}
BENCHMARK(BM_DeleteChildAsOneGroup)->Unit(benchmark::kMillisecond);

void BM_DeleteChildOneByOne(benchmark::State& state) {
    Fixture f;
    const auto items = deleteFirstChild();
    for (auto _ : state) {
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
        for (const auto& item : items) {
            if (!f.store.write(f.path, item.section, item.key, item.value)) state.SkipWithError("write failed");
        }
    }
    f.report(state);
}
BENCHMARK(BM_DeleteChildOneByOne)->Unit(benchmark::kMillisecond);

// The reference: one changed value, written alone.
void BM_SingleWrite(benchmark::State& state) {
    Fixture f;
    const auto items = deleteFirstChild();
    for (auto _ : state) {
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
        if (!f.store.write(f.path, items[0].section, items[0].key, items[0].value)) state.SkipWithError("write failed");
    }
    f.report(state);
}
BENCHMARK(BM_SingleWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
