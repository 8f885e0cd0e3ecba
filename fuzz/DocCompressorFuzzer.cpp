// Compresses arbitrary blocks of up to one record and decodes them again: the decoder must
// give back exactly the block the compressor was given.
#include "DocCompressor.h"
#include "DocDecoder.h"
#include "DocFormat.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tomery::doc;
    const ByteView block(data, std::min(size, kTextRecordSize));
    const Bytes compressed = CompressBlock(block);
    Bytes decoded;
    if (DecodeRecord(compressed, decoded) ||
        !std::equal(decoded.begin(), decoded.end(), block.begin(), block.end())) {
        __builtin_trap();
    }
    return 0;
}
