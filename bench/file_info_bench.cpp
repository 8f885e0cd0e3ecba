// File Information on the 50 MB prose text in an 800 x 600 window, wrapped to the window: the
// word count (the whole text read paragraph by paragraph, word wrap off and back on) and
// everything the dialog shows.
#include <benchmark/benchmark.h>

#include "EditStat.h"
#include "EditorBenchmark.h"
#include "EditorProse.h"

namespace {

using tomery::editor::TOvcTextFileEditor;

tomery::bench::TEditorWindow& TheWindow() {
    static tomery::bench::TEditorWindow window = [] {
        tomery::bench::TEditorWindow w = tomery::bench::MakeEditorWindow(
            tomery::testing::ProseText(),
            [](TOvcTextFileEditor& editor) { editor.SetWrapToWindow(true); });
        w.editor->LoadFromFile(w.file);
        QApplication::processEvents();
        return w;
    }();
    return window;
}

void BM_CountWords(benchmark::State& state) {
    TOvcTextFileEditor& editor = *TheWindow().editor;
    std::int64_t words = 0;
    for (auto _ : state) {
        words = tomery::app::CountWords(editor);
    }
    state.counters["words"] = static_cast<double>(words);
    state.counters["display_lines"] = editor.LineCount();
}
BENCHMARK(BM_CountWords)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CollectFileInformation(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tomery::app::CollectFileInformation(w.file, "", *w.editor));
    }
}
BENCHMARK(BM_CollectFileInformation)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return tomery::bench::RunQtBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}
