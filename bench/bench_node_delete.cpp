// Deleting the first of 99 children in the node editor on a full Cfg.ini:
// 98 children move up a key and the last key is emptied. They are written
// as one group, one replace of the file, so the deletion should cost about
// what one single write of an item costs, not 99 of them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "full_cfg.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"
#include "ui/names.h"

namespace {

namespace ne = pallo::ui::names::nodeEditor;
using pallo::testing::TempDir;
using pallo::testing::writeFile;

// The program with the node editor open on main node 1 and its first child
// row selected, as a user leaves it before pressing "删除".
struct EditorReady {
    pallo::platform::headless::HeadlessPlatform platform;
    pallo::App app{platform};

    explicit EditorReady(const std::string& runDir) : platform(runDir) {
        app.start();
        platform.clickMouse({app.state().overlay, pallo::ui::names::overlay::editorsLabel});
        const pallo::platform::WindowRef editor = app.state().nodeEditor;
        platform.chooseItem({editor, ne::nodeChooser}, 1);
        platform.selectRow({editor, ne::childList}, 0);
    }
};

void BM_DeleteFirstOf99(benchmark::State& state) {
    TempDir run;
    const std::string path = run.file("Cfg.ini");
    const std::string text = pallo::bench::fullCfg();
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path, text);
        auto ready = std::make_unique<EditorReady>(run.path());
        ready->platform.queueAnswer(pallo::platform::Answer::Yes);
        state.ResumeTiming();

        ready->platform.click({ready->app.state().nodeEditor, ne::deleteButton});

        state.PauseTiming();
        const auto& boxes = ready->platform.messageBoxes();
        if (boxes.size() != 2 || boxes[1].text != "删除完成。") state.SkipWithError("the deletion did not complete");
        ready.reset();
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_DeleteFirstOf99)->Unit(benchmark::kMillisecond);

// The floor: one item written to the same file by the same program, set up
// the same way, through the store the editor writes with.
void BM_OneSingleWrite(benchmark::State& state) {
    TempDir run;
    const std::string path = run.file("Cfg.ini");
    const std::string text = pallo::bench::fullCfg();
    const std::string value = pallo::bench::entry(1, 2);
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path, text);
        auto ready = std::make_unique<EditorReady>(run.path());
        pallo::ProgramState& st = ready->app.state();
        state.ResumeTiming();

        const bool written = static_cast<bool>(st.store.write(st.CfgPath, "1", "1", value));

        state.PauseTiming();
        if (!written) state.SkipWithError("the write failed");
        ready.reset();
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_OneSingleWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
