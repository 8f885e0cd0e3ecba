// The editor control on the 50 MB prose text in an 800 x 600 window, wrapped to the window:
// loading, saving, paging down, typing (each step painted), and resizing the window.
#include <benchmark/benchmark.h>

#include "EditorBenchmark.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "EditorProse.h"
#include "OvcEdit.h"
#include "TempFolder.h"

namespace {

using tomery::editor::TOvcTextFileEditor;

tomery::bench::TEditorWindow& TheWindow() {
    static tomery::bench::TEditorWindow window = tomery::bench::MakeEditorWindow(
        tomery::testing::ProseText(),
        [](TOvcTextFileEditor& editor) { editor.SetWrapToWindow(true); });
    return window;
}

/// Delivers what the step posted: the repaint of what it damaged and the status report.
void Paint(TOvcTextFileEditor&) {
    QApplication::processEvents();
}

void BM_LoadFromFile(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    for (auto _ : state) {
        w.editor->LoadFromFile(w.file);
        Paint(*w.editor);
    }
    state.counters["display_lines"] = w.editor->LineCount();
    state.counters["wrap_column"] = w.editor->WrapColumn();
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SaveToFile(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    const std::string saved = w.file + ".saved";
    for (auto _ : state) {
        w.editor->SaveToFile(saved);
    }
    std::remove(saved.c_str());
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->Iterations(3);

/// One iteration is one page down, painted.
void BM_PageDown(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    w.editor->ProcessCommand(tomery::editor::ccFirstPage, 0);
    for (auto _ : state) {
        w.editor->ProcessCommand(tomery::editor::ccNextPage, 0);
        Paint(*w.editor);
    }
    state.counters["top_line"] = w.editor->TopLine();
}
BENCHMARK(BM_PageDown)->Unit(benchmark::kMillisecond)->Iterations(1000);

/// One iteration is one typed character, painted.
void BM_TypeCharacter(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    int i = 0;
    for (auto _ : state) {
        w.editor->ProcessCommand(tomery::editor::ccTypeChar, (++i % 6 == 0) ? ' ' : 'e');
        Paint(*w.editor);
    }
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMillisecond)->Iterations(1000);

/// One iteration is a resize by one column, which re-wraps the whole text to the window.
void BM_ResizeByOneColumn(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    int step = 0;
    for (auto _ : state) {
        const int width = 800 + (++step % 2) * w.editor->CharWidth();
        w.editor->resize(width, 600);
        QApplication::processEvents();
        Paint(*w.editor);
    }
    state.counters["wrap_column"] = w.editor->WrapColumn();
}
BENCHMARK(BM_ResizeByOneColumn)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace

int main(int argc, char** argv) {
    return tomery::bench::RunQtBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}
