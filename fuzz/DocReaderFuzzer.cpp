// Feeds arbitrary bytes to the DOC reader as a file image in memory: the same checks and
// decoding as a file on disk, without writing or syncing a file per input. Run:
//   build-fuzz/bin/doc_reader_fuzzer -max_total_time=60 corpus/
#include "Conversion.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tomery::doc::DecodeDocImage(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
