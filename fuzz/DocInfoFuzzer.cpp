// Feeds arbitrary bytes to the description that `tomery-doc info` prints.
#include "DocInfo.h"
#include "MemoryFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tomery::fuzz::MemoryFile file(data, size);
    const tomery::doc::DocInfo info = tomery::doc::ReadDocInfo(file.Path());
    if (info.problem.empty()) {
        tomery::doc::FormatDocInfo(info);
    }
    return 0;
}
