// Opening the 50 MB prose text: through the main window's open road, from a fresh window as
// a user's first open, and into the editor control alone in a window of the same size. The
// two should differ by little: the window must wrap the text once, at the column it shows.
// The control also opens the prose with quotes, dashes and accents as Windows-1252 bytes and
// as UTF-8, whose conversion into the character set should cost little. Each also reports the
// heap the loaded text holds, per byte of its text file, while the window lives.
#include <benchmark/benchmark.h>

#include "EditorBenchmark.h"

#include <QApplication>

#include <malloc.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "CharacterSet.h"
#include "Conversion.h"
#include "EditMain.h"
#include "EditorProse.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"

namespace {

constexpr QSize kWindowSize{800, 600};

tomery::testing::TempFolder& ProseFolder() {
    static tomery::testing::TempFolder folder;  // also the program folder of the windows
    return folder;
}

const std::string& ProseFile() {
    static const std::string path = [] {
        const std::string file = ProseFolder().Path("prose.txt");
        tomery::testing::WriteFile(file, tomery::testing::ProseText());
        return file;
    }();
    return path;
}

/// The prose as Windows-1252 bytes with curly quotes around every "e-text", about one line in
/// four; `dense` also gives it dashes and accented words, in most lines as in French.
std::string AccentedProse(bool dense) {
    struct TReplacement {
        std::string_view Word;
        std::string_view By;
    };
    const TReplacement replacements[] = {
        {"e-text",
         "\x93"
         "e-text\x94"},
        {"well-known", "well\x97known"},
        {"chapter", "ch\xE2pitre"},
        {"reader",
         "r\xE9"
         "dacteur"},
    };
    const std::size_t used = dense ? std::size(replacements) : 1;
    std::string out;
    std::string_view rest = tomery::testing::ProseText();
    out.reserve(rest.size() + rest.size() / 10);
    while (!rest.empty()) {
        std::size_t next = rest.size();
        const TReplacement* found = nullptr;
        for (std::size_t r = 0; r < used; ++r) {
            const std::size_t at = rest.find(replacements[r].Word);
            if (at < next) {
                next = at;
                found = &replacements[r];
            }
        }
        out += rest.substr(0, next);
        rest.remove_prefix(next);
        if (found != nullptr) {
            out += found->By;
            rest.remove_prefix(found->Word.size());
        }
    }
    return out;
}

/// The accented prose as a file of Windows-1252 bytes or of UTF-8, written once.
const std::string& AccentedProseFile(bool dense, bool utf8) {
    static std::map<std::pair<bool, bool>, std::string> files;
    std::string& path = files[{dense, utf8}];
    if (path.empty()) {
        const std::string text = AccentedProse(dense);
        path = ProseFolder().Path(std::string(dense ? "dense" : "light") +
                                  (utf8 ? "-utf8.txt" : "-1252.txt"));
        tomery::testing::WriteFile(
            path, utf8 ? tomery::charset::DefaultCharacterSet().ToUtf8(text) : text);
    }
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

/// Bytes of heap in use: small blocks in the arenas plus the mmapped large ones.
std::int64_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

/// Heap the text added over the empty window, per byte of the text file `textPath`.
double HeapPerTextByte(std::int64_t emptyWindowHeap, const std::string& textPath) {
    return static_cast<double>(HeapInUse() - emptyWindowHeap) /
           static_cast<double>(std::filesystem::file_size(textPath));
}

void ControlLoad(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        state.PauseTiming();
        tomery::bench::TEditorWindow w = tomery::bench::MakeEditorWindow(
            "", [](tomery::editor::TOvcTextFileEditor& editor) { editor.SetWrapToWindow(true); });
        w.form->resize(kWindowSize);
        w.editor->setGeometry(QRect(QPoint(), kWindowSize));
        QApplication::processEvents();
        const std::int64_t emptyWindowHeap = HeapInUse();
        state.ResumeTiming();
        w.editor->LoadFromFile(path);
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["heap_per_text_byte"] = HeapPerTextByte(emptyWindowHeap, path);
        state.counters["display_lines"] = w.editor->LineCount();
        state.counters["wrap_column"] = w.editor->WrapColumn();
        w.form.reset();
        state.ResumeTiming();
    }
}
void BM_ControlLoad(benchmark::State& state) {
    ControlLoad(state, ProseFile());
}
BENCHMARK(BM_ControlLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

/// Arguments: the light (0) or dense (1) accented prose, as Windows-1252 bytes (0) or UTF-8 (1).
void BM_ControlLoadAccented(benchmark::State& state) {
    ControlLoad(state, AccentedProseFile(state.range(0) == 1, state.range(1) == 1));
}
BENCHMARK(BM_ControlLoadAccented)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void WindowFirstOpen(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<tomery::app::TEditForm>(
            std::make_unique<tomery::app::testing::ScriptedModalUi>());
        form->resize(kWindowSize);
        form->show();
        QApplication::processEvents();
        const std::int64_t emptyWindowHeap = HeapInUse();
        state.ResumeTiming();
        form->Workflow().OpenDocument(path);
        QApplication::processEvents();
        state.PauseTiming();
        // A DOC file is compressed: the heap is measured against the text it holds.
        state.counters["heap_per_text_byte"] = HeapPerTextByte(emptyWindowHeap, ProseFile());
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
