// DOC record compression and decoding throughput on 10 MB of prose, with the plain window
// scan (the compressor's reference search) measured in the same run for comparison.
#include "Conversion.h"
#include "DocCompressor.h"
#include "DocDecoder.h"
#include "PlainScanMatchFinder.h"
#include "SampleTexts.h"
#include "TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

namespace {

using namespace tomery::doc;

constexpr std::size_t kProseBytes = 10 * 1024 * 1024;
// The plain scan takes about two microseconds a byte; one megabyte keeps a run short.
constexpr std::size_t kReferenceBytes = 1024 * 1024;

/// The text cut into records and converted as the writer converts them.
std::vector<Bytes> WriterBlocks(const std::string& text) {
    const Bytes bytes(text.begin(), text.end());
    std::vector<Bytes> result;
    for (std::size_t start = 0; start < bytes.size(); start += kTextRecordSize) {
        const std::size_t length = std::min(kTextRecordSize, bytes.size() - start);
        const Bytes converted =
            ConvertLineEndsToDoc(ByteView(bytes).subspan(start, length), std::nullopt);
        result.push_back(converted);
    }
    return result;
}

const std::vector<Bytes>& ProseBlocks() {
    static const std::vector<Bytes> blocks =
        WriterBlocks(tomery::testing::GenerateProse(kProseBytes, 42));
    return blocks;
}

std::size_t TotalSize(const std::vector<Bytes>& blocks, std::size_t limit) {
    std::size_t total = 0;
    for (const Bytes& block : blocks) {
        if (total >= limit) {
            break;
        }
        total += block.size();
    }
    return total;
}

template <typename Compress>
void CompressBlocks(benchmark::State& state, const std::vector<Bytes>& blocks, std::size_t limit,
                    Compress compress) {
    std::size_t compressed = 0;
    for (auto _ : state) {
        compressed = 0;
        std::size_t done = 0;
        for (const Bytes& block : blocks) {
            if (done >= limit) {
                break;
            }
            compressed += compress(block).size();
            done += block.size();
        }
        benchmark::DoNotOptimize(compressed);
    }
    const std::size_t input = TotalSize(blocks, limit);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input));
    state.counters["ratio%"] = 100.0 * static_cast<double>(compressed) / static_cast<double>(input);
}

void BM_Encode10MB(benchmark::State& state) {
    CompressBlocks(state, ProseBlocks(), kProseBytes,
                   [](const Bytes& block) { return CompressBlock(block); });
}
BENCHMARK(BM_Encode10MB)->Unit(benchmark::kMillisecond);

// The two far ends of the search: nothing repeats, and everything repeats at distance 1.
void BM_EncodeRandom10MB(benchmark::State& state) {
    static const auto blocks = WriterBlocks(tomery::testing::GenerateRandomBytes(kProseBytes, 42));
    CompressBlocks(state, blocks, kProseBytes,
                   [](const Bytes& block) { return CompressBlock(block); });
}
BENCHMARK(BM_EncodeRandom10MB)->Unit(benchmark::kMillisecond);

void BM_EncodeOneCharacter10MB(benchmark::State& state) {
    static const auto blocks = WriterBlocks(std::string(kProseBytes, 'a'));
    CompressBlocks(state, blocks, kProseBytes,
                   [](const Bytes& block) { return CompressBlock(block); });
}
BENCHMARK(BM_EncodeOneCharacter10MB)->Unit(benchmark::kMillisecond);

void BM_EncodeReferenceScan1MB(benchmark::State& state) {
    CompressBlocks(state, ProseBlocks(), kReferenceBytes, [](const Bytes& block) {
        return tomery::doc::testing::CompressBlockByPlainScan(block);
    });
}
BENCHMARK(BM_EncodeReferenceScan1MB)->Unit(benchmark::kMillisecond)->Iterations(2);

// From compressed records to the final text with CR LF line ends, as the reader does it.
void BM_Decode10MB(benchmark::State& state) {
    std::vector<Bytes> records;
    for (const Bytes& block : ProseBlocks()) {
        records.push_back(CompressBlock(block));
    }
    RecordDecoder decoder;
    Bytes text(ExpandedSizeLimit(kTextRecordSize));
    for (auto _ : state) {
        bool previousWasCr = false;
        for (const Bytes& record : records) {
            benchmark::DoNotOptimize(decoder.Decode(record));
            benchmark::DoNotOptimize(
                ExpandLineEnds(decoder.Text(), previousWasCr, text.data()).size);
        }
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * TotalSize(ProseBlocks(), kProseBytes)));
}
BENCHMARK(BM_Decode10MB)->Unit(benchmark::kMillisecond);

// The whole road with files and the log, as the editor saves and opens a 10 MB book.
void BM_ConvertFiles10MB(benchmark::State& state) {
    tomery::testing::TempFolder folder;
    tomery::testing::WriteFile(folder.Path("book.txt"),
                               tomery::testing::GenerateProse(kProseBytes, 42));
    std::string name;
    for (auto _ : state) {
        ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "Book");
        ConvertDocToText(folder.Path("book.pdb"), folder.Path("back.txt"), name);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kProseBytes));
}
BENCHMARK(BM_ConvertFiles10MB)->Unit(benchmark::kMillisecond);

// The scaling of the codec over threads: files of 10 MB encoded and decoded with 1 to N
// threads (N: the cores, at least 2), wall time.
void ThreadCounts(benchmark::internal::Benchmark* benchmark) {
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    for (unsigned threads = 1; threads <= cores; ++threads) {
        benchmark->Arg(threads);
    }
}

ConversionOptions WithThreads(const benchmark::State& state) {
    ConversionOptions options = BuiltInConversionOptions();
    options.threads = static_cast<unsigned>(state.range(0));
    return options;
}

void BM_EncodeFileThreads10MB(benchmark::State& state) {
    tomery::testing::TempFolder folder;
    tomery::testing::WriteFile(folder.Path("book.txt"),
                               tomery::testing::GenerateProse(kProseBytes, 42));
    for (auto _ : state) {
        ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "Book",
                         WithThreads(state));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kProseBytes));
}
BENCHMARK(BM_EncodeFileThreads10MB)->Apply(ThreadCounts)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DecodeFileThreads10MB(benchmark::State& state) {
    tomery::testing::TempFolder folder;
    tomery::testing::WriteFile(folder.Path("book.txt"),
                               tomery::testing::GenerateProse(kProseBytes, 42));
    ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "Book");
    std::string name;
    for (auto _ : state) {
        ConvertDocToText(folder.Path("book.pdb"), folder.Path("back.txt"), name,
                         WithThreads(state));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kProseBytes));
}
BENCHMARK(BM_DecodeFileThreads10MB)->Apply(ThreadCounts)->UseRealTime()->Unit(benchmark::kMillisecond);

// Peak memory of whole conversions, run as the command-line tool: the reader and writer hold
// one record at a time, so the peaks stay flat as the text grows tenfold. /usr/bin/time
// measures: a child of this process would count this process's own peak as its own.
double PeakMiBOfRun(const std::string& report, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"/usr/bin/time", "-f", "%M", "-o", report});
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return std::stod(tomery::testing::ReadFile(report)) / 1024.0;
}

void BM_ConversionPeakMemory(benchmark::State& state) {
    tomery::testing::TempFolder folder;
    const std::string text = folder.Path("book.txt");
    const std::string pdb = folder.Path("book.pdb");
    tomery::testing::WriteFile(
        text, tomery::testing::GenerateProse(static_cast<std::size_t>(state.range(0)) << 20, 42));
    const std::string report = folder.Path("peak");
    for (auto _ : state) {
        const double encode = PeakMiBOfRun(report, {TOMERY_DOC_BINARY, "encode", text, pdb});
        const double decode =
            PeakMiBOfRun(report, {TOMERY_DOC_BINARY, "decode", pdb, folder.Path("back.txt")});
        if (encode < 0 || decode < 0) {
            state.SkipWithError("a conversion failed, or /usr/bin/time (package time) is missing");
            break;
        }
        state.counters["encodePeakMiB"] = encode;
        state.counters["decodePeakMiB"] = decode;
    }
}
BENCHMARK(BM_ConversionPeakMemory)->Arg(5)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
