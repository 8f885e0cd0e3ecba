#include "DocCompressor.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <string>

namespace tomery::doc {

IndexedMatchFinder::IndexedMatchFinder(ByteView block) : size_(block.size()) {
    std::copy(block.begin(), block.end(), bytes_);
    std::fill(bytes_ + size_, bytes_ + size_ + kPadding, std::uint8_t{0});
    std::uint16_t youngest[kBuckets] = {};  // per hash: the link to its youngest position
    older_[0] = 0;
    const std::size_t linked = LinkedPositions();
    for (std::size_t position = 0; position < linked; ++position) {
        std::uint16_t& link = youngest[HashAt(position)];
        older_[position + 1] = link;
        olderStill_[position + 1] = older_[link];  // older_[0] is 0: none older than none
        link = static_cast<std::uint16_t>(position + 1);
    }
}

void IndexedMatchFinder::LinkYounger() {
    const std::size_t linked = LinkedPositions();
    for (std::size_t position = 0; position < linked; ++position) {
        // A chain's first position is its oldest in the window until the window moves on.
        const std::size_t link = older_[position + 1];
        younger_[link != 0 ? link : kOldestLinks + HashAt(position)] =
            static_cast<std::uint16_t>(position + 1);
    }
    youngerLinked_ = true;
}

std::size_t IndexedMatchFinder::LinkedPositions() const {
    return size_ >= kMinMatch ? size_ - 2 : 0;
}

std::size_t IndexedMatchFinder::HashAt(std::size_t position) const {
    std::uint32_t word;
    std::memcpy(&word, bytes_ + position, sizeof word);  // the padding makes this safe
    const std::uint32_t key =
        std::endian::native == std::endian::little ? word & 0xFFFFFF : word >> 8;
    return (key * 2654435761u) >> (32 - kHashBits);
}

std::size_t IndexedMatchFinder::MatchLength(std::size_t q, std::size_t p) const {
    // Eight bytes at once: the first differing byte is the lowest set byte of the XOR.
    std::uint64_t candidate;
    std::uint64_t target;
    std::memcpy(&candidate, bytes_ + q, sizeof candidate);
    std::memcpy(&target, bytes_ + p, sizeof target);
    if (const std::uint64_t difference = candidate ^ target; difference != 0) {
        const int bits = std::endian::native == std::endian::little ? std::countr_zero(difference)
                                                                    : std::countl_zero(difference);
        return static_cast<std::size_t>(bits) / 8;
    }
    return 8 + (bytes_[q + 8] == bytes_[p + 8]) +
           (bytes_[q + 8] == bytes_[p + 8] && bytes_[q + 9] == bytes_[p + 9]);
}

Match IndexedMatchFinder::FindMatch(std::size_t p) {
    if (p + kMinMatch >= size_) {
        return {};
    }
    const std::size_t longest = LongestAllowedMatch(p, size_);
    const std::size_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;

    // Each candidate is ranked by its length first and its age second, so that the best rank
    // is the oldest occurrence of the longest length; ranking without branches keeps the walk
    // fast. Below the longest allowed length no length needs clamping.
    const auto rank = [](std::size_t length, std::size_t q) {
        return static_cast<std::uint32_t>((length << 16) | (0xFFFF - q));
    };
    std::uint32_t bestRank = 0;
    // Two positions a step: the links of the next two hang on one load, not on two in a row.
    for (std::size_t link = older_[p + 1]; link > windowStart;) {
        const std::size_t further = olderStill_[link];
        const std::size_t second = older_[link];
        const std::size_t q = link - 1;
        const std::size_t length = MatchLength(q, p);
        if (length >= longest) {
            return {OldestFullMatch(p, q, longest, windowStart), longest};
        }
        bestRank = std::max(bestRank, rank(length, q));
        if (second <= windowStart) {
            break;
        }
        const std::size_t secondQ = second - 1;
        const std::size_t secondLength = MatchLength(secondQ, p);
        if (secondLength >= longest) {
            return {OldestFullMatch(p, secondQ, longest, windowStart), longest};
        }
        bestRank = std::max(bestRank, rank(secondLength, secondQ));
        link = further;
    }
    const std::size_t length = bestRank >> 16;
    if (length < kMinMatch) {
        return {};
    }
    return {0xFFFF - (bestRank & 0xFFFF), length};
}

std::size_t IndexedMatchFinder::OldestFullMatch(std::size_t p, std::size_t q, std::size_t longest,
                                                std::size_t windowStart) {
    if (youngerLinked_) {
        return OldestFullMatchFromFront(p, longest, windowStart);
    }
    std::size_t steps = 0;
    for (std::size_t link = older_[q + 1]; link > windowStart; link = older_[link]) {
        if (++steps > kLongWalk) {
            LinkYounger();
            return OldestFullMatchFromFront(p, longest, windowStart);
        }
        if (MatchLength(link - 1, p) >= longest) {
            q = link - 1;
        }
    }
    return q;
}

std::size_t IndexedMatchFinder::OldestFullMatchFromFront(std::size_t p, std::size_t longest,
                                                         std::size_t windowStart) {
    // The window only moves forward: positions that fell out of it never return.
    std::uint16_t& oldest = younger_[kOldestLinks + HashAt(p)];
    while (oldest - 1u < windowStart) {
        oldest = younger_[oldest];
    }
    std::size_t q = oldest - 1u;
    while (MatchLength(q, p) < longest) {
        q = younger_[q + 1] - 1u;
    }
    return q;
}

// Flattened so that the finder's search is inlined into the compressor's loop.
[[gnu::flatten]] std::size_t CompressBlock(ByteView block, Bytes& tokens) {
    IndexedMatchFinder finder(block);
    return CompressBlockWith(block, finder, tokens);
}

Bytes CompressBlock(ByteView block) {
    Bytes tokens;
    tokens.resize(CompressBlock(block, tokens));
    return tokens;
}

namespace {

std::string ThreeBytesAt(ByteView block, std::size_t position) {
    std::string bytes;
    for (std::size_t i = position; i < position + 3 && i < block.size(); ++i) {
        bytes += static_cast<char>(block[i]);
    }
    return bytes;
}

}  // namespace

namespace detail {

bool ReportBadMatch(ByteView block, std::size_t p, const Match& match) {
    if (match.position >= p || p + match.length > block.size()) {
        const std::size_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;
        std::printf("!! bug source %s, dest %s, %zu bytes\n",
                    ThreeBytesAt(block, windowStart).c_str(), ThreeBytesAt(block, p).c_str(),
                    match.length);
    } else {
        std::printf("!! error dist overflow\n");
    }
    return false;
}

}  // namespace detail

}  // namespace tomery::doc
