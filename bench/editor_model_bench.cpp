// The editor's text model on a generated 50 MB prose text wrapped at column 63: loading,
// re-wrapping, reading lines in order and at random, and typing with undo recording.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "BenchmarkProse.h"
#include "OvcEditP.h"

namespace {

using tomery::editor::TParaList;
using tomery::editor::TTrimBlanks;

constexpr std::int32_t kLoadWrapColumn = 63;
constexpr std::int32_t kRewrapColumn = 100;

/// Feeds every line of `text` to the store as the file loader does.
void LoadLines(TParaList& list, std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        list.AppendLine(text.substr(0, end), TTrimBlanks::Yes);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    }
}

std::unique_ptr<TParaList> LoadedStore() {
    auto list = std::make_unique<TParaList>(nullptr, true, 8192);
    list->SetWrapColumn(kLoadWrapColumn);
    LoadLines(*list, tomery::testing::BenchmarkProse());
    return list;
}

/// One store shared by the benchmarks that only read or append to it.
TParaList& SharedStore() {
    static const std::unique_ptr<TParaList> list = LoadedStore();
    return *list;
}

/// Bytes of heap in use, malloc's chunk overhead included, mapped blocks too.
std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_LoadThroughAppendLine(benchmark::State& state) {
    const std::string& text = tomery::testing::BenchmarkProse();
    std::size_t heapBytes = 0;
    std::int32_t paragraphs = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto list = LoadedStore();
        heapBytes = HeapInUse() - before;
        paragraphs = list->ParaCount();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["paragraphs"] = paragraphs;
    state.counters["heap_bytes_per_paragraph"] = static_cast<double>(heapBytes) / paragraphs;
    state.counters["heap_to_text_ratio"] = static_cast<double>(heapBytes) / text.size();
}
BENCHMARK(BM_LoadThroughAppendLine)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RewrapAllToColumn100(benchmark::State& state) {
    TParaList& list = SharedStore();
    for (auto _ : state) {
        state.PauseTiming();
        list.SetWrapColumn(kLoadWrapColumn);
        state.ResumeTiming();
        list.SetWrapColumn(kRewrapColumn);
    }
    state.counters["display_lines"] = list.LineCount();
    list.SetWrapColumn(kLoadWrapColumn);
}
BENCHMARK(BM_RewrapAllToColumn100)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadEveryDisplayLineInOrder(benchmark::State& state) {
    TParaList& list = SharedStore();
    for (auto _ : state) {
        std::size_t characters = 0;
        for (std::int32_t line = 1; line <= list.LineCount(); ++line) {
            characters += list.GetLine(line).Text.size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * list.LineCount());
}
BENCHMARK(BM_ReadEveryDisplayLineInOrder)->Unit(benchmark::kMillisecond);

void BM_RandomGetLine(benchmark::State& state) {
    TParaList& list = SharedStore();
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> pick(1, list.LineCount());
    for (auto _ : state) {
        std::size_t characters = 0;
        for (int i = 0; i < 10'000; ++i) {
            characters += list.GetLine(pick(random)).Text.size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_RandomGetLine)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TypeTenThousandCharactersNearTheEnd(benchmark::State& state) {
    TParaList& list = SharedStore();
    std::int32_t para = list.ParaCount() - 100;
    for (auto _ : state) {
        std::int32_t pos = list.GetParaLength(para) / 2 + 1;
        for (int i = 0; i < 10'000; ++i) {
            list.InsertText(para, pos++, (i % 7 == 6) ? " " : "e");
        }
        --para;
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_TypeTenThousandCharactersNearTheEnd)->Unit(benchmark::kMillisecond);

}  // namespace
