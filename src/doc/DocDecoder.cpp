#include "DocDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tomery::doc {

namespace {

/// Room kept past the decoded bytes: a token writes at most 16 bytes (two whole words).
constexpr std::size_t kSlack = 16;

void CopyWord(std::uint8_t* to, const std::uint8_t* from) {
    std::uint64_t word;
    std::memcpy(&word, from, sizeof word);
    std::memcpy(to, &word, sizeof word);
}

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kLow7 = kOnes * 0x7F;
constexpr std::uint64_t kHigh = kOnes * 0x80;

/// The high bit of each LF byte in `word`.
std::uint64_t LineFeedFlags(std::uint64_t word) {
    const std::uint64_t x = word ^ (kOnes * '\n');
    // Per byte, without carries between bytes: the high bit stays clear only for a zero.
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

/// The eight bytes at `from` as one word, the first byte lowest.
std::uint64_t LoadLittleEndian(const std::uint8_t* from) {
    std::uint64_t word;
    std::memcpy(&word, from, sizeof word);
    return std::endian::native == std::endian::little ? word : __builtin_bswap64(word);
}

/// The high bit of each byte of `word` that is not a plain byte: an escape count (0x01 to
/// 0x08) or a high byte.
std::uint64_t TokenFlags(std::uint64_t word) {
    // Per byte, without carries between bytes: a low seven bits of 1 to 8.
    const std::uint64_t low = word & kLow7;
    return (word | ((kOnes * (0x7F + 9) - low) & (low + kLow7))) & kHigh;
}

/// Marks each byte of `record` that is not a plain byte with a bit in `marks`, byte k as bit
/// k % 8 of marks[k / 8]; the bits past the record are set, and eight more bytes of set bits
/// follow, so that any word read at a byte of the record finds the run's end.
void MarkTokens(ByteView record, std::uint8_t* marks) {
    const std::size_t n = record.size();
    std::size_t k = 0;
    for (; n - k >= 8; k += 8) {
        // The flags, one at the top of each byte, gathered into one byte by a multiply
        // whose partial products never overlap.
        const std::uint64_t flags = TokenFlags(LoadLittleEndian(record.data() + k)) >> 7;
        *marks++ = static_cast<std::uint8_t>((flags * 0x0102040810204080) >> 56);
    }
    std::uint8_t last = 0xFF;
    for (std::size_t bit = 0; k + bit < n; ++bit) {
        const std::uint8_t byte = record[k + bit];
        if (byte == 0 || (byte > 0x08 && byte < 0x80)) {
            last &= static_cast<std::uint8_t>(~(1u << bit));
        }
    }
    *marks++ = last;
    std::memset(marks, 0xFF, 8);
}

/// The bytes MarkTokens writes for a record of `size` bytes.
std::size_t MarksSize(std::size_t size) {
    return size / 8 + 9;
}

}  // namespace

std::string DecodeError::Describe() const {
    switch (kind) {
        case Kind::LiteralRunCutOff:
            return "literal run cut off by the end of the record at byte " + std::to_string(at);
        case Kind::BackReferenceCutOff:
            return "back-reference cut off by the end of the record at byte " + std::to_string(at);
        case Kind::BadDistance:
            return "back-reference at byte " + std::to_string(at) + " with distance " +
                   std::to_string(distance) + " reaches outside the record's text";
    }
    return {};
}

RecordDecoder::RecordDecoder() = default;

void RecordDecoder::Grow() {
    buffer_.resize(buffer_.size() * 2);
}

std::optional<DecodeError> RecordDecoder::Decode(ByteView record) {
    if (buffer_.empty()) {
        // Made on first use, by the thread that decodes: a batch's decoders wait idle at first.
        buffer_.resize(kTextRecordSize + kSlack);
    }
    const std::uint8_t* in = record.data();
    const std::size_t n = record.size();
    if (marks_.size() < MarksSize(n)) {
        marks_.resize(MarksSize(n));
    }
    MarkTokens(record, marks_.data());
    std::uint8_t* out = buffer_.data();
    std::size_t limit = buffer_.size() - kSlack;
    std::size_t i = 0;
    std::size_t o = 0;
    // The marks of the bytes from `marksFrom` on, kept in a register: finding the end of a run
    // of plain bytes is then a bit count, not a read of the record that waits for the token
    // before it to be decoded.
    std::size_t marksFrom = 0;
    std::uint64_t marks = LoadLittleEndian(marks_.data());
    size_ = 0;
    while (i < n) {
        if (o > limit - 10) {  // a token adds at most 10 bytes
            Grow();
            out = buffer_.data();
            limit = buffer_.size() - kSlack;
        }
        if (n - i >= 8) {
            if (i - marksFrom > 56) {  // fewer than eight of the word's marks lie ahead
                marksFrom = i & ~std::size_t{7};
                marks = LoadLittleEndian(marks_.data() + marksFrom / 8);
            }
            // Plain bytes stand for themselves: those that lead the next eight go over at
            // once, and the loop goes on at the first token of another kind.
            const std::size_t plain =
                std::min<std::size_t>(std::countr_zero(marks >> (i - marksFrom)), 8);
            CopyWord(out + o, in + i);
            o += plain;
            i += plain;
            if (plain == 8) {
                continue;
            }
        }
        const std::uint8_t byte = in[i];
        if ((byte ^ 0x80) >= 0x40 && (byte == 0 || byte > 0x08)) {
            // A plain byte or a space pair, told apart without a branch: in prose they
            // follow each other too irregularly for the processor to guess.
            const bool spacePair = byte >= 0xC0;
            out[o] = spacePair ? 0x20 : byte;
            out[o + 1] = byte ^ 0x80;
            o += 1 + spacePair;
            ++i;
        } else if (byte >= 0x80) {
            if (i + 1 >= n) {
                return DecodeError{DecodeError::Kind::BackReferenceCutOff, i};
            }
            const std::size_t value = (std::size_t{byte} << 8) | in[i + 1];
            const std::size_t distance = (value & 0x3FFF) >> 3;
            const std::size_t length = (value & 7) + 3;
            if (distance == 0 || distance > o) {
                return DecodeError{DecodeError::Kind::BadDistance, i, distance};
            }
            std::uint8_t* to = out + o;
            const std::uint8_t* from = to - distance;
            if (distance >= 8) {
                // Whole words: the second one starts at bytes the first has already written.
                CopyWord(to, from);
                CopyWord(to + 8, from + 8);
            } else {
                // A copy may overlap the bytes it produces: one byte at a time.
                for (std::size_t k = 0; k < length; ++k) {
                    to[k] = from[k];
                }
            }
            o += length;
            i += 2;
        } else {
            if (n - i - 1 < byte) {
                return DecodeError{DecodeError::Kind::LiteralRunCutOff, i};
            }
            if (n - i > 8) {
                CopyWord(out + o, in + i + 1);
            } else {
                std::memcpy(out + o, in + i + 1, byte);
            }
            o += byte;
            i += 1 + byte;
        }
    }
    size_ = o;
    return std::nullopt;
}

std::optional<DecodeError> DecodeRecord(ByteView record, Bytes& output) {
    RecordDecoder decoder;
    const auto error = decoder.Decode(record);
    output.assign(decoder.Text().begin(), decoder.Text().end());
    return error;
}

std::uint64_t CountLineFeeds(ByteView text) {
    std::uint64_t feeds = 0;
    std::size_t i = 0;
    for (; text.size() - i >= 8; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        feeds += static_cast<std::uint64_t>(std::popcount(LineFeedFlags(word)));
    }
    return feeds + static_cast<std::uint64_t>(std::count(text.begin() + i, text.end(), '\n'));
}

ExpandedText ExpandLineEnds(ByteView decoded, bool& previousWasCr, std::uint8_t* into) {
    const std::uint8_t* from = decoded.data();
    const std::uint8_t* const end = from + decoded.size();
    std::uint8_t* to = into;
    std::uint64_t feeds = 0;
    bool crBefore = previousWasCr;
    while (from < end) {
        const auto* feed = static_cast<const std::uint8_t*>(std::memchr(from, '\n', end - from));
        const std::uint8_t* runEnd = feed ? feed : end;
        const std::size_t run = static_cast<std::size_t>(runEnd - from);
        std::memcpy(to, from, run);
        to += run;
        if (run > 0) {
            crBefore = runEnd[-1] == '\r';
        }
        if (!feed) {
            break;
        }
        if (!crBefore) {
            *to++ = '\r';
        }
        *to++ = '\n';
        ++feeds;
        crBefore = false;
        from = feed + 1;
    }
    previousWasCr = crBefore;
    return {static_cast<std::size_t>(to - into), feeds};
}

Bytes ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte) {
    // The result is never longer than the block: each byte gives at most one.
    Bytes converted(block.size());
    converted.resize(ConvertLineEndsToDoc(block, nextByte, converted.data()));
    return converted;
}

std::size_t ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte,
                                 std::uint8_t* into) {
    const std::uint8_t* const from = block.data();
    const std::size_t size = block.size();
    std::size_t to = 0;
    std::size_t i = 0;
    while (i < size) {
        // Words go over as they are up to their first byte below 0x0E; `to` never passes
        // `i`, so the word fits. Only that byte takes the byte-wise way.
        if (size - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, from + i, sizeof word);
            std::memcpy(into + to, &word, sizeof word);
            constexpr std::uint64_t kOnes = 0x0101010101010101;
            const std::uint64_t low = (word - kOnes * 0x0E) & ~word & (kOnes * 0x80);
            if (low == 0) {
                to += 8;
                i += 8;
                continue;
            }
            // The lowest flag is exact, as a borrow runs only toward higher bytes; those are
            // the word's first bytes where the machine stores the high byte first.
            const std::size_t clean = std::endian::native == std::endian::little
                                          ? static_cast<std::size_t>(std::countr_zero(low)) / 8
                                          : 0;
            to += clean;
            i += clean;
        }
        const std::uint8_t byte = from[i];
        if (byte == 0x0D) {
            const auto following = i + 1 < size ? std::optional(from[i + 1]) : nextByte;
            if (following != 0x0A) {
                into[to++] = 0x0A;
            }
        } else if (byte > 0x08) {
            into[to++] = byte;
        }
        ++i;
    }
    return to;
}

}  // namespace tomery::doc
