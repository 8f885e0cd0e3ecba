// Every text tool over the prose text in an 800 x 600 window wrapped to the window: the
// text read out of the editor, transformed, built apart and put in its place, with every
// progress report reading the clock as the window's does. Each tool runs on the first
// 25 MB and on the whole 50 MB, so that the two figures show how it grows.
#include <benchmark/benchmark.h>

#include "EditorBenchmark.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "EditorProse.h"
#include "OvcEdit.h"
#include "TempFolder.h"
#include "ToolsFramework.h"
#include "Tools_Dump.h"
#include "Tools_Filters.h"
#include "Tools_Lines.h"
#include "Tools_Reformat.h"

namespace {

using tomery::charset::DefaultCharacterSet;
using tomery::editor::TOvcTextFileEditor;
using namespace tomery::tools;
using tomery::TWorkProgress;

struct TToolsWindow {
    tomery::bench::TEditorWindow window;
    std::string halfFile;  ///< the first 25 MB of the prose, cut at a line end
    std::string dumpFile;  ///< 64 KB of the prose, to dump
};

TToolsWindow& TheWindow() {
    static TToolsWindow tools = [] {
        const std::string& prose = tomery::testing::ProseText();
        TToolsWindow made{tomery::bench::MakeEditorWindow(prose,
                                                          [](TOvcTextFileEditor& editor) {
                                                              editor.SetWrapToWindow(true);
                                                              editor.SetTabSize(8);
                                                          }),
                          "", ""};
        made.halfFile = made.window.file + ".half";
        tomery::testing::WriteFile(made.halfFile,
                                   prose.substr(0, prose.find("\r\n", 25'000'000) + 2));
        made.dumpFile = made.window.file + ".dump";
        tomery::testing::WriteFile(made.dumpFile, prose.substr(0, 65536));
        return made;
    }();
    return tools;
}

/// One iteration loads the text (not timed) and runs the tool with its read and write-back.
void RunTool(benchmark::State& state, const std::function<void(TOvcTextFileEditor&)>& tool) {
    TToolsWindow& tools = TheWindow();
    TOvcTextFileEditor& editor = *tools.window.editor;
    const std::string& file = state.range(0) == 50 ? tools.window.file : tools.halfFile;
    for (auto _ : state) {
        state.PauseTiming();
        editor.LoadFromFile(file);
        QApplication::processEvents();
        state.ResumeTiming();
        tool(editor);
        QApplication::processEvents();
    }
    state.counters["MB"] = static_cast<double>(state.range(0));
}

/// Progress as the window hears it: every report is a call that reads the clock.
bool CountReport(std::uint64_t, std::uint64_t) {
    static QElapsedTimer clock;
    static std::int64_t lastMs = 0;
    if (!clock.isValid()) {
        clock.start();
    }
    benchmark::DoNotOptimize(lastMs = clock.elapsed());
    return true;
}

/// A tool that maps the lines (and a progress) to the lines to write back, read with `tabs`.
template <typename Transform>
std::function<void(TOvcTextFileEditor&)> Lines(Transform transform, TTabs tabs = TTabs::Expanded) {
    return [transform, tabs](TOvcTextFileEditor& editor) {
        ReplaceText(editor, TransformText(editor, transform, CountReport, tabs));
    };
}

/// The same, for the Show ASCII codings that read the paragraphs as they are.
template <typename Transform>
std::function<void(TOvcTextFileEditor&)> RawLines(Transform transform) {
    return Lines(transform, TTabs::Kept);
}

std::optional<double> ReadCNumber(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? std::optional<double>(value) : std::nullopt;
}

TWorkLines Unchanged(TWorkLines lines, const TWorkProgress&) {
    return lines;
}

void SortDescending(TOvcTextFileEditor& editor) {
    Lines([&editor](TWorkLines l, const TWorkProgress& p) {
        l = SortLinesInLocale(std::move(l), 1, editor.CharacterSet(), p);
        std::reverse(l.begin(), l.end());
        return l;
    })(editor);
}

void DumpFile(TOvcTextFileEditor& editor) {
    const std::string bytes = ReadToolFile(TheWindow().dumpFile);
    Lines([&bytes](TWorkLines lines, const TWorkProgress& p) {
        return AppendDump(std::move(lines), "prose.dump", bytes, 16, p);
    })(editor);
}

void Append(TOvcTextFileEditor& editor) {
    tomery::charset::TReplacementLog replaced;
    ReplaceText(editor,
                AppendTextFile(editor, TheWindow().dumpFile, std::nullopt, replaced, CountReport));
}

#define TOOL_BENCHMARK(name, tool)         \
    BENCHMARK_CAPTURE(RunTool, name, tool) \
        ->Arg(25)                          \
        ->Arg(50)                          \
        ->Iterations(1)                    \
        ->Unit(benchmark::kMillisecond)

TOOL_BENCHMARK(ReadAndWriteOnly, Lines(Unchanged));
TOOL_BENCHMARK(AllUpper, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return ChangeCase(std::move(l), TCaseChange::Upper, p);
               }));
TOOL_BENCHMARK(Indent4, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return Indent(std::move(l), 4, 0, SIZE_MAX, p);
               }));
TOOL_BENCHMARK(SortAscending, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return SortLinesInLocale(std::move(l), 1, DefaultCharacterSet(), p);
               }));
TOOL_BENCHMARK(SortDescendingAtColumn1, SortDescending);
TOOL_BENCHMARK(SortAscendingAtColumn5, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return SortLinesInLocale(std::move(l), 5, DefaultCharacterSet(), p);
               }));
TOOL_BENCHMARK(SpaceSingle, Lines([](TWorkLines l, const TWorkProgress&) {
                   return Space(std::move(l), TSpacing::Single);
               }));
TOOL_BENCHMARK(SpaceTriple, Lines([](TWorkLines l, const TWorkProgress&) {
                   return Space(std::move(l), TSpacing::Triple);
               }));
TOOL_BENCHMARK(TabulateFill, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return FillInWithSpaces(std::move(l), 8, p);
               }));
TOOL_BENCHMARK(TabulateReplace, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return ReplaceWithTabs(std::move(l), 8, p);
               }));
TOOL_BENCHMARK(RemoveDuplicates, Lines([](TWorkLines l, const TWorkProgress&) {
                   return RemoveDuplicates(std::move(l));
               }));
TOOL_BENCHMARK(FixedWordwrap40, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return FixedWordwrap(std::move(l), 40, TAutoIndent::On, p);
               }));
TOOL_BENCHMARK(SmartWordwrap0, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return SmartWordwrap(std::move(l), 0, p);
               }));
TOOL_BENCHMARK(SmartWordwrap60, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return SmartWordwrap(std::move(l), 60, p);
               }));
TOOL_BENCHMARK(RemoveExtCharacters, Lines(RemoveExtendedCharacters));
TOOL_BENCHMARK(RemovePunctuation, Lines(RemovePunctuation));
TOOL_BENCHMARK(RemoveShortWords3, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return RemoveShortWords(std::move(l), 3, p);
               }));
TOOL_BENCHMARK(RemoveHtmlTags, Lines(RemoveHtmlTags));
TOOL_BENCHMARK(ShowAsciiLowCoded, RawLines([](TWorkLines l, const TWorkProgress& p) {
                   return EncodeAscii(std::move(l), TAsciiCoding::LowCoded, p);
               }));
TOOL_BENCHMARK(ShowAsciiExtended, RawLines([](TWorkLines l, const TWorkProgress& p) {
                   return EncodeAscii(std::move(l), TAsciiCoding::Extended, p);
               }));
TOOL_BENCHMARK(ShowAsciiNormal, RawLines(DecodeAscii));
TOOL_BENCHMARK(DumpFile64KB, DumpFile);
TOOL_BENCHMARK(TestTool1, Lines([](TWorkLines l, const TWorkProgress& p) {
                   return AppendSizeReport(std::move(l), ReadCNumber, p);
               }));
TOOL_BENCHMARK(TestTool2, Lines([](TWorkLines l, const TWorkProgress&) {
                   return AppendCharacterList(std::move(l));
               }));
TOOL_BENCHMARK(Append64KB, Append);

}  // namespace

int main(int argc, char** argv) {
    return tomery::bench::RunQtBenchmarks(argc, argv, [] { TheWindow().window.form.reset(); });
}
