// Search and replace through the editor control on the 50 MB prose text, wrapped at column 63
// in an 800 x 600 window: a forward find of a word that occurs only at the very end, and
// replace all of a common word, each painted afterwards.
#include <benchmark/benchmark.h>

#include "EditorBenchmark.h"

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "EditorProse.h"
#include "OvcEdit.h"
#include "TempFolder.h"

namespace {

using namespace tomery::editor;

/// The window, its editor wrapped at the prose's load column, and the prose with one more
/// line at its end holding the only occurrence of "lighthouse".
tomery::bench::TEditorWindow& TheWindow() {
    static tomery::bench::TEditorWindow window = tomery::bench::MakeEditorWindow(
        tomery::testing::ProseText() +
            "and far away, at the end of the text, stood the lighthouse.\r\n",
        [](TOvcTextFileEditor& editor) { editor.SetWrapColumn(tomery::testing::kLoadWrapColumn); });
    return window;
}

void BM_FindWordOccurringOnlyAtTheEnd(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    w.editor->LoadFromFile(w.file);
    bool found = false;
    for (auto _ : state) {
        state.PauseTiming();
        w.editor->SetCaretPosition(1, 1);
        QApplication::processEvents();
        state.ResumeTiming();
        found = w.editor->FindText("lighthouse", 0);
        QApplication::processEvents();
    }
    if (!found || w.editor->CaretPara() != w.editor->ParaCount() - 1) {
        state.SkipWithError("the word at the end was not found there");
    }
    state.counters["paragraphs"] = w.editor->ParaCount();
}
BENCHMARK(BM_FindWordOccurringOnlyAtTheEnd)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReplaceAllOfACommonWord(benchmark::State& state) {
    tomery::bench::TEditorWindow& w = TheWindow();
    std::int32_t replacements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.editor->LoadFromFile(w.file);
        w.editor->SetCaretPosition(1, 1);
        QApplication::processEvents();
        state.ResumeTiming();
        replacements = w.editor->Search("editor", "program", seGlobal | seReplaceAll);
        QApplication::processEvents();
    }
    if (replacements <= 0) {
        state.SkipWithError("nothing was replaced");
    }
    state.counters["replacements"] = replacements;
}
BENCHMARK(BM_ReplaceAllOfACommonWord)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    return tomery::bench::RunQtBenchmarks(argc, argv, [] { TheWindow().form.reset(); });
}
