#include "DocCompressor.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace tomery::doc {

HashChainMatchFinder::HashChainMatchFinder(ByteView block) : block_(block) {
    std::fill(std::begin(oldest_), std::end(oldest_), kNone);
    std::fill(std::begin(newest_), std::end(newest_), kNone);
}

std::size_t HashChainMatchFinder::HashAt(std::size_t position) const {
    const std::uint32_t key = (std::uint32_t{block_[position]} << 16) |
                              (std::uint32_t{block_[position + 1]} << 8) | block_[position + 2];
    return (key * 2654435761u) >> (32 - kHashBits);
}

void HashChainMatchFinder::IndexUpTo(std::size_t p) {
    for (; indexed_ < p && indexed_ + 2 < block_.size(); ++indexed_) {
        const std::size_t hash = HashAt(indexed_);
        const auto position = static_cast<std::int16_t>(indexed_);
        next_[indexed_] = kNone;
        if (newest_[hash] == kNone) {
            oldest_[hash] = position;
        } else {
            next_[newest_[hash]] = position;
        }
        newest_[hash] = position;
    }
    indexed_ = std::max(indexed_, p);
}

Match HashChainMatchFinder::FindMatch(std::size_t p) {
    IndexUpTo(p);
    if (p + kMinMatch >= block_.size()) {
        return {};
    }
    const std::size_t longest = LongestAllowedMatch(p, block_.size());
    const std::size_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;
    const std::size_t hash = HashAt(p);

    // The window only moves forward, so positions that fell out of it never return.
    std::int16_t& oldest = oldest_[hash];
    while (oldest != kNone && static_cast<std::size_t>(oldest) < windowStart) {
        oldest = next_[oldest];
    }
    if (oldest == kNone) {
        newest_[hash] = kNone;
        return {};
    }

    // Walking from the oldest candidate, a strictly longer match is the only reason to
    // move on, which leaves the farthest-back occurrence of the longest length.
    Match best;
    for (std::int16_t candidate = oldest; candidate != kNone; candidate = next_[candidate]) {
        const auto q = static_cast<std::size_t>(candidate);
        std::size_t length = 0;
        while (length < longest && block_[q + length] == block_[p + length]) {
            ++length;
        }
        if (length >= kMinMatch && length > best.length) {
            best = {q, length};
            if (length == longest) {
                break;
            }
        }
    }
    return best;
}

Bytes CompressBlock(ByteView block) {
    HashChainMatchFinder finder(block);
    return CompressBlockWith(block, finder);
}

Bytes MergeLiteralRuns(ByteView tokens) {
    Bytes merged;
    merged.reserve(tokens.size());
    std::size_t i = 0;
    while (i < tokens.size()) {
        const std::uint8_t first = tokens[i];
        if (first >= 0x80 && first <= 0xBF && i + 1 < tokens.size()) {
            merged.push_back(first);
            merged.push_back(tokens[i + 1]);
            i += 2;
        } else if (first == 0x01 && i + 1 < tokens.size()) {
            const std::size_t countAt = merged.size();
            merged.push_back(1);
            merged.push_back(tokens[i + 1]);
            i += 2;
            while (merged[countAt] < 8 && i + 1 < tokens.size() && tokens[i] == 0x01) {
                merged.push_back(tokens[i + 1]);
                ++merged[countAt];
                i += 2;
            }
        } else {
            merged.push_back(first);
            ++i;
        }
    }
    return merged;
}

namespace detail {

namespace {

bool NeedsEscape(std::uint8_t byte) { return (byte >= 0x01 && byte <= 0x08) || byte >= 0x80; }

std::string ThreeBytesAt(ByteView block, std::size_t position) {
    std::string bytes;
    for (std::size_t i = position; i < position + 3 && i < block.size(); ++i) {
        bytes += static_cast<char>(block[i]);
    }
    return bytes;
}

}  // namespace

void EmitLiteral(Bytes& tokens, bool& spacePending, std::uint8_t byte) {
    if (!spacePending) {
        if (byte == 0x20) {
            spacePending = true;
        } else if (NeedsEscape(byte)) {
            tokens.push_back(0x01);
            tokens.push_back(byte);
        } else {
            tokens.push_back(byte);
        }
        return;
    }
    spacePending = false;
    if (byte >= 0x40 && byte <= 0x7F) {
        tokens.push_back(byte ^ 0x80);
    } else if (NeedsEscape(byte)) {
        tokens.push_back(0x20);
        tokens.push_back(0x01);
        tokens.push_back(byte);
    } else {
        tokens.push_back(0x20);
        tokens.push_back(byte);
    }
}

void EmitBackReference(Bytes& tokens, bool& spacePending, std::size_t distance,
                       std::size_t length) {
    if (spacePending) {
        tokens.push_back(0x20);
        spacePending = false;
    }
    const std::size_t value = distance * 8 + (length - kMinMatch);
    tokens.push_back(static_cast<std::uint8_t>(0x80 + (value >> 8)));
    tokens.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

bool CheckMatch(ByteView block, std::size_t p, const Match& match) {
    const bool inBlock = match.position < p && p + match.length <= block.size();
    if (!inBlock || !std::equal(block.begin() + p, block.begin() + p + match.length,
                                block.begin() + match.position)) {
        const std::size_t windowStart = p > kMaxDistance ? p - kMaxDistance : 0;
        std::printf("!! bug source %s, dest %s, %zu bytes\n",
                    ThreeBytesAt(block, windowStart).c_str(), ThreeBytesAt(block, p).c_str(),
                    match.length);
        return false;
    }
    if (p - match.position > kMaxDistance || match.length > kMaxMatch) {
        std::printf("!! error dist overflow\n");
        return false;
    }
    return true;
}

}  // namespace detail

}  // namespace tomery::doc
