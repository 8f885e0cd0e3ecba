// Opening the 50 MB prose text: through the main window's open road, from a fresh window as
// a user's first open, and into the editor control alone in a window of the same size. The
// two should differ by little: the window must wrap the text once, at the column it shows.
#include <benchmark/benchmark.h>

#include "EditorBenchmark.h"

#include <QApplication>

#include <memory>
#include <stdexcept>
#include <string>

#include "Conversion.h"
#include "EditMain.h"
#include "EditorProse.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"

namespace {

constexpr QSize kWindowSize{800, 600};

const std::string& ProseFile() {
    static tomery::testing::TempFolder folder;  // also the program folder of the windows
    static const std::string path = [] {
        const std::string file = folder.Path("prose.txt");
        tomery::testing::WriteFile(file, tomery::testing::ProseText());
        return file;
    }();
    return path;
}

/// The same text as a DOC e-book: its open adds the decode into Conversion.txt.
const std::string& ProseDocFile() {
    static const std::string path = [] {
        std::string file = ProseFile();
        file.replace(file.size() - 3, 3, "pdb");
        if (!tomery::doc::ConvertTextToDoc(ProseFile(), file, "Prose")) {
            throw std::runtime_error("the benchmark's DOC file could not be written");
        }
        return file;
    }();
    return path;
}

void BM_ControlLoad(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        tomery::bench::TEditorWindow w = tomery::bench::MakeEditorWindow(
            "", [](tomery::editor::TOvcTextFileEditor& editor) { editor.SetWrapToWindow(true); });
        w.form->resize(kWindowSize);
        w.editor->setGeometry(QRect(QPoint(), kWindowSize));
        QApplication::processEvents();
        state.ResumeTiming();
        w.editor->LoadFromFile(ProseFile());
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["display_lines"] = w.editor->LineCount();
        state.counters["wrap_column"] = w.editor->WrapColumn();
        w.form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ControlLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

void WindowFirstOpen(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<tomery::app::TEditForm>(
            std::make_unique<tomery::app::testing::ScriptedModalUi>());
        form->resize(kWindowSize);
        form->show();
        QApplication::processEvents();
        state.ResumeTiming();
        form->Workflow().OpenDocument(path);
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["display_lines"] = form->Editor().LineCount();
        state.counters["wrap_column"] = form->Editor().WrapColumn();
        form.reset();
        state.ResumeTiming();
    }
}
void BM_WindowFirstOpen(benchmark::State& state) {
    WindowFirstOpen(state, ProseFile());
}
BENCHMARK(BM_WindowFirstOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowFirstOpenDoc(benchmark::State& state) {
    WindowFirstOpen(state, ProseDocFile());
}
BENCHMARK(BM_WindowFirstOpenDoc)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return tomery::bench::RunQtBenchmarks(argc, argv, [] {});
}
