// How long reading and paging a long menu takes in the behaviour code (in-memory files).
//   cmake --build --preset host && build/host/bench/menu_bench
#include <benchmark/benchmark.h>

#include "editor/SetupWizard.h"
#include "tests/fakes/World.h"

namespace {

std::string LongMenu(int entries) {
    std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:Long menu\r\n"
                       "BTCOLOR:16435132\r\nBGCOLOR:16777215\r\nHIDESETUP:0\r\n7\r\n8\r\n";
    for (int i = 1; i <= entries; ++i)
        text += "Entry " + std::to_string(i) + ",Label for entry " + std::to_string(i) +
                ",content\\documents\\file" + std::to_string(i) + ".pdf,open\r\n";
    return text;
}

void MenuWindowRead(benchmark::State& state) {
    World w;
    w.fs.AddFile(w.Content("config.ini"), LongMenu(static_cast<int>(state.range(0))));
    for (auto _ : state) w.main.ReadConfig();
}
BENCHMARK(MenuWindowRead)->Arg(4)->Arg(1000)->Arg(32766)->Unit(benchmark::kMicrosecond);

// One Next at the given depth of a 32,766-entry menu.
void PageTurn(benchmark::State& state) {
    World w;
    w.fs.AddFile(w.Content("config.ini"), LongMenu(32766));
    w.main.ReadConfig();
    const auto depth = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        while (w.main.ScrollOffset() > depth) w.main.ShowMenuPage("Prev");
        while (w.main.ScrollOffset() < depth - 1) w.main.ShowMenuPage("Next");
        state.ResumeTiming();
        w.main.ShowMenuPage("Next");
    }
}
BENCHMARK(PageTurn)->Arg(1)->Arg(16000)->Arg(32700)->Unit(benchmark::kMicrosecond);

// A menu of the benchmark's length and a Menu Editor on it.
struct EditorOnMenu {
    explicit EditorOnMenu(const benchmark::State& state) {
        w.fs.AddFile(w.Content("config.ini"), LongMenu(static_cast<int>(state.range(0))));
    }
    World w;
    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};
};

// Opening the Menu Editor: the whole file into the list's rows.
void EditorOpen(benchmark::State& state) {
    EditorOnMenu m(state);
    for (auto _ : state) m.editor.ReadSetupConfig();
}
BENCHMARK(EditorOpen)->Arg(4)->Arg(1000)->Arg(32766)->Unit(benchmark::kMicrosecond);

// Saving from the Menu Editor: the rows into the file's lines and out.
void EditorSave(benchmark::State& state) {
    EditorOnMenu m(state);
    m.editor.ReadSetupConfig();
    for (auto _ : state) m.editor.WriteSetupConfig();
}
BENCHMARK(EditorSave)->Arg(4)->Arg(1000)->Arg(32766)->Unit(benchmark::kMicrosecond);

}  // namespace
