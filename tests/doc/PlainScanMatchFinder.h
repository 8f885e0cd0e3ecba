// The reference search for back-references: a plain scan of the window, position by
// position from its start, with a first-byte test before each full comparison.
#pragma once

#include "DocCompressor.h"

namespace tomery::doc::testing {

class PlainScanMatchFinder {
  public:
    explicit PlainScanMatchFinder(ByteView block) : block_(block) {}

    Match FindMatch(std::size_t p) const {
        const std::size_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;
        const std::size_t longest = LongestAllowedMatch(p, block_.size());
        Match best;
        for (std::size_t q = windowStart; q < p; ++q) {
            if (block_[q] != block_[p]) {
                continue;
            }
            std::size_t length = 1;
            while (length < longest && block_[q + length] == block_[p + length]) {
                ++length;
            }
            if (length > best.length) {
                best = {q, length};
            }
        }
        if (best.length < kMinMatch) {
            return {};
        }
        return best;
    }

  private:
    ByteView block_;
};

inline Bytes CompressBlockByPlainScan(ByteView block) {
    PlainScanMatchFinder finder(block);
    return CompressBlockWith(block, finder);
}

}  // namespace tomery::doc::testing
