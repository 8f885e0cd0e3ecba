// The DOC record compressor: tokens for one block of at most 4096 bytes.
#pragma once

#include "DocFormat.h"

#include <algorithm>
#include <cstddef>

namespace tomery::doc {

/// A back-reference candidate: `length` bytes at `position` repeat at the search position.
struct Match {
    std::size_t position = 0;
    std::size_t length = 0;  ///< 0 when no candidate of at least kMinMatch bytes exists
};

inline constexpr std::size_t kMinMatch = 3;
inline constexpr std::size_t kMaxMatch = 10;
inline constexpr std::size_t kMaxDistance = 2047;

/// The longest allowed match at `p` in a block of `blockLength` bytes: at most kMaxMatch and
/// never covering the block's last byte.
constexpr std::size_t LongestAllowedMatch(std::size_t p, std::size_t blockLength) {
    return std::min(kMaxMatch, blockLength - 1 - p);
}

/// Finds back-references in one block with an index of 3-byte hashes. For every position
/// it yields exactly what a plain scan of the window yields: the longest match of at least
/// kMinMatch bytes (up to LongestAllowedMatch), and of those the one farthest back.
/// Positions must be queried in ascending order; skipped positions are indexed on the way.
class HashChainMatchFinder {
public:
    explicit HashChainMatchFinder(ByteView block);

    Match FindMatch(std::size_t p);

private:
    static constexpr std::size_t kHashBits = 12;
    static constexpr std::int16_t kNone = -1;

    std::size_t HashAt(std::size_t position) const;
    void IndexUpTo(std::size_t p);

    ByteView block_;
    std::size_t indexed_ = 0;                      ///< positions below this are in the chains
    std::int16_t oldest_[std::size_t{1} << kHashBits];  ///< oldest chained position per hash
    std::int16_t newest_[std::size_t{1} << kHashBits];  ///< newest chained position per hash
    std::int16_t next_[kTextRecordSize];           ///< next younger position with the same hash
};

/// Compresses one block (at most kTextRecordSize bytes) with the given finder, which must
/// answer FindMatch(p) for ascending p.
template <typename Finder>
Bytes CompressBlockWith(ByteView block, Finder& finder);

/// Compresses one block with the production finder.
Bytes CompressBlock(ByteView block);

/// Joins adjacent escape pairs (0x01 b) into runs of up to 8 escaped bytes.
Bytes MergeLiteralRuns(ByteView tokens);

namespace detail {

/// Appends one literal byte to the token stream, folding a pending space where it can.
void EmitLiteral(Bytes& tokens, bool& spacePending, std::uint8_t byte);
void EmitBackReference(Bytes& tokens, bool& spacePending, std::size_t distance,
                       std::size_t length);

/// The compressor's self-check of a finder's answer before it becomes a back-reference.
/// Reports a bad answer on standard output ("!! bug source ..." or "!! error dist
/// overflow") and returns false, in which case the byte at `p` goes out as a literal.
bool CheckMatch(ByteView block, std::size_t p, const Match& match);

}  // namespace detail

template <typename Finder>
Bytes CompressBlockWith(ByteView block, Finder& finder) {
    Bytes tokens;
    tokens.reserve(block.size() + block.size() / 2 + 8);
    bool spacePending = false;
    std::size_t p = 0;
    while (p < block.size()) {
        const Match match = finder.FindMatch(p);
        if (match.length >= kMinMatch && detail::CheckMatch(block, p, match)) {
            detail::EmitBackReference(tokens, spacePending, p - match.position, match.length);
            p += match.length;
        } else {
            detail::EmitLiteral(tokens, spacePending, block[p]);
            ++p;
        }
    }
    if (spacePending) {
        tokens.push_back(0x20);
    }
    return MergeLiteralRuns(tokens);
}

}  // namespace tomery::doc
