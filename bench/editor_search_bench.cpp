// Search and replace over the 50 MB prose text wrapped at column 63: a forward find of a word
// that occurs only at the very end, and replace all of a common word.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "EditorProse.h"
#include "OvcEdit_Search.h"

namespace {

using namespace tomery::editor;
using tomery::testing::LoadedProseStore;

constexpr std::string_view kWordDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
constexpr std::string_view kWordAtTheEnd = "lighthouse";

/// The prose with one more line at its end holding the only occurrence of kWordAtTheEnd.
std::unique_ptr<TParaList> StoreWithWordAtTheEnd() {
    auto list = LoadedProseStore();
    list->AppendLine("and far away, at the end of the text, stood the lighthouse.",
                     TTrimBlanks::Yes);
    return list;
}

const TSearchPlaces kTopOfText{{1, 1}, {1, 1}, {1, 1}};

void BM_FindWordOccurringOnlyAtTheEnd(benchmark::State& state) {
    static const std::unique_ptr<TParaList> list = StoreWithWordAtTheEnd();
    const TSearchOptions options = seGlobal | (state.range(0) != 0 ? seMatchCase : 0);
    TSearchOutcome outcome;
    for (auto _ : state) {
        outcome =
            SearchParagraphs(*list, {kWordAtTheEnd, {}, options, kWordDelimiters}, kTopOfText);
        benchmark::DoNotOptimize(outcome);
    }
    if (outcome.Stop != TSearchStop::Found || outcome.MatchBegin.Para != list->ParaCount() - 1) {
        state.SkipWithError("the word at the end was not found there");
    }
    state.counters["paragraphs"] = list->ParaCount();
    state.SetBytesProcessed(state.iterations() * list->ByteCount());
}
BENCHMARK(BM_FindWordOccurringOnlyAtTheEnd)
    ->ArgName("match_case")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_ReplaceAllOfACommonWord(benchmark::State& state) {
    std::unique_ptr<TParaList> list;
    std::int32_t replacements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.reset();
        list = LoadedProseStore();
        state.ResumeTiming();
        const TSearchOutcome outcome = SearchParagraphs(
            *list, {"editor", "program", seGlobal | seReplaceAll, kWordDelimiters}, kTopOfText);
        replacements = outcome.Replacements;
        if (outcome.Stop != TSearchStop::Exhausted) {
            state.SkipWithError("replace all stopped early");
        }
    }
    state.counters["replacements"] = replacements;
}
BENCHMARK(BM_ReplaceAllOfACommonWord)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
