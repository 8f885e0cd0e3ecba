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

/// Finds back-references in one block through chains of its 3-byte sequences: every
/// position is linked to the next older position with the same hash, and a search walks its
/// position's chain back to the start of the window. For every position it yields exactly what
/// a plain scan of the window yields: the longest match of at least kMinMatch bytes (up to
/// LongestAllowedMatch), and of those the one farthest back.
/// Positions must be queried in ascending order (not every position need be queried).
class IndexedMatchFinder {
  public:
    explicit IndexedMatchFinder(ByteView block);  ///< `block` holds at most kTextRecordSize bytes

    Match FindMatch(std::size_t p);

  private:
    static constexpr std::size_t kHashBits = 14;
    static constexpr std::size_t kBuckets = std::size_t{1} << kHashBits;
    static constexpr std::size_t kPadding = 16;  ///< lets MatchLength load whole words
    /// A walk for the oldest longest match beyond this many steps takes the chains from their
    /// oldest end from then on: only repetitive blocks have chains that long.
    static constexpr std::size_t kLongWalk = 64;
    /// Where younger_ keeps, per hash, the link to the chain's oldest position in the window.
    static constexpr std::size_t kOldestLinks = kTextRecordSize + 1;

    /// How many positions from the block's start begin a 3-byte sequence and are linked.
    std::size_t LinkedPositions() const;
    std::size_t HashAt(std::size_t position) const;
    /// The number of equal bytes at q and p, 0 to 10, not yet limited to the allowed length.
    std::size_t MatchLength(std::size_t q, std::size_t p) const;
    /// The oldest position in the window that matches p for at least `longest` bytes, given
    /// one such position `q`.
    std::size_t OldestFullMatch(std::size_t p, std::size_t q, std::size_t longest,
                                std::size_t windowStart);
    /// The same, walking the chain from its oldest position in the window.
    std::size_t OldestFullMatchFromFront(std::size_t p, std::size_t longest,
                                         std::size_t windowStart);
    void LinkYounger();

    // Links are positions plus one, so that 0 stands for none.
    std::size_t size_;
    std::uint8_t bytes_[kTextRecordSize + kPadding];  ///< the block, then zero bytes
    /// Per link: the link to the next older position with the same hash. Indexed by link, so
    /// that a walk goes from load to load without arithmetic between.
    std::uint16_t older_[kTextRecordSize + 1];
    std::uint16_t olderStill_[kTextRecordSize + 1];  ///< per link: the link older_ gives twice
    /// Made when first needed (LinkYounger). Per link: the next younger position with the
    /// same hash; from kOldestLinks on, per hash, the oldest position of the chain still in
    /// the window.
    std::uint16_t younger_[kOldestLinks + kBuckets];
    bool youngerLinked_ = false;
};

/// Builds the compressed form of one block token by token: folds a pending space into
/// the next letter, and joins escaped bytes that follow each other into runs of up to 8.
class TokenWriter {
  public:
    /// A space and a high byte take three bytes for two: the output never needs more than
    /// half again the block's size, so `tokens` is sized once and written without checks. It
    /// keeps its size, so that the next block written into it need not grow it again.
    TokenWriter(Bytes& tokens, std::size_t blockSize) {
        tokens.resize(std::max(tokens.size(), blockSize + blockSize / 2 + 8));
        tokens_ = tokens.data();
    }

    void Literal(std::uint8_t byte) {
        if (spacePending_) {
            spacePending_ = false;
            if (byte >= 0x40 && byte <= 0x7F) {
                Put(byte ^ 0x80);
                return;
            }
            Put(0x20);
        } else if (byte == 0x20) {
            spacePending_ = true;
            return;
        }
        if ((byte >= 0x01 && byte <= 0x08) || byte >= 0x80) {
            Escaped(byte);
        } else {
            Put(byte);
        }
    }

    void BackReference(std::size_t distance, std::size_t length) {
        if (spacePending_) {
            spacePending_ = false;
            Put(0x20);
        }
        const std::size_t value = distance * 8 + (length - kMinMatch);
        Put(static_cast<std::uint8_t>(0x80 + (value >> 8)));
        Put(static_cast<std::uint8_t>(value & 0xFF));
    }

    /// Flushes a pending space; returns how many bytes of tokens were written.
    std::size_t Finish() {
        if (spacePending_) {
            spacePending_ = false;
            Put(0x20);
        }
        return size_;
    }

  private:
    void Put(std::uint8_t byte) { tokens_[size_++] = byte; }

    void Escaped(std::uint8_t byte) {
        // A run stays open only while it is the last token written.
        if (runEnd_ == size_ && tokens_[runStart_] < 8) {
            ++tokens_[runStart_];
        } else {
            runStart_ = size_;
            Put(1);
        }
        Put(byte);
        runEnd_ = size_;
    }

    std::uint8_t* tokens_;  ///< a pointer of its own, so that the compiler keeps it at hand
    std::size_t size_ = 0;
    bool spacePending_ = false;
    std::size_t runStart_ = 0;                           ///< count byte of the last escape run
    std::size_t runEnd_ = static_cast<std::size_t>(-1);  ///< where it ends; open while last
};

namespace detail {
bool ReportBadMatch(ByteView block, std::size_t p, const Match& match);
}  // namespace detail

/// The compressor's self-check of a finder's answer before it becomes a back-reference:
/// the occurrence lies before `p`, the match within the block, the distance and length
/// within what a back-reference can hold. Reports a bad answer on standard output
/// ("!! bug source ..." or "!! error dist overflow") and returns false, in which case the
/// byte at `p` goes out as a literal.
inline bool CheckMatch(ByteView block, std::size_t p, const Match& match) {
    if (match.position < p && p + match.length <= block.size() &&
        p - match.position <= kMaxDistance && match.length <= kMaxMatch) {
        return true;
    }
    return detail::ReportBadMatch(block, p, match);
}

/// Compresses one block (at most kTextRecordSize bytes) with the given finder, which must
/// answer FindMatch(p) for ascending p, into the front of `tokens`, which may be longer;
/// returns the length of the tokens.
template <typename Finder>
std::size_t CompressBlockWith(ByteView block, Finder& finder, Bytes& tokens) {
    TokenWriter writer(tokens, block.size());
    std::size_t p = 0;
    while (p < block.size()) {
        const Match match = finder.FindMatch(p);
        if (match.length >= kMinMatch && CheckMatch(block, p, match)) {
            writer.BackReference(p - match.position, match.length);
            p += match.length;
        } else {
            writer.Literal(block[p]);
            ++p;
        }
    }
    return writer.Finish();
}

template <typename Finder>
Bytes CompressBlockWith(ByteView block, Finder& finder) {
    Bytes tokens;
    tokens.resize(CompressBlockWith(block, finder, tokens));
    return tokens;
}

/// Compresses one block with the production finder.
Bytes CompressBlock(ByteView block);
/// The same into the front of `tokens`, which may be longer; returns the length of the tokens.
std::size_t CompressBlock(ByteView block, Bytes& tokens);

}  // namespace tomery::doc
