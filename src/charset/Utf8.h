// Reading and writing one UTF-8 character at a time. The readers are inline: loading a text
// file runs them for every character beyond ASCII.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tomery::charset {

/// How many bytes at the start of `bytes` are below 0x80: ASCII, which is the same in UTF-8
/// and in every offered set.
inline std::size_t AsciiLength(std::string_view bytes) {
    // Text files are mostly ASCII: they are read a word at a time, and the rest of a piece by
    // the word that ends it (whose bytes before the rest are known to be ASCII).
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const auto highBits = [&bytes](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        return word & kHighBits;
    };
    const auto firstHigh = [](std::uint64_t high) {
        return static_cast<std::size_t>(std::endian::native == std::endian::little
                                            ? std::countr_zero(high)
                                            : std::countl_zero(high)) /
               8;
    };
    const std::size_t size = bytes.size();
    if (size < 8) {
        std::size_t i = 0;
        while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
        }
        return i;
    }
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        if (const std::uint64_t high = highBits(i)) {
            return i + firstHigh(high);
        }
    }
    const std::uint64_t high = highBits(size - 8);
    return high != 0 ? size - 8 + firstHigh(high) : size;
}

/// The length of the sequence a byte starts: 1 for ASCII, 2 to 4, or 0 for a byte that starts
/// none (a continuation byte, an overlong lead, beyond U+10FFFF).
inline std::size_t Utf8SequenceLength(unsigned char lead) {
    return lead < 0x80                    ? 1
           : lead >= 0xC2 && lead <= 0xDF ? 2
           : lead >= 0xE0 && lead <= 0xEF ? 3
           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                          : 0;
}

/// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t c, std::string& out);

/// The code point at `i`, advancing `i` past it; nothing for a malformed, overlong or
/// surrogate sequence, of which one byte is consumed.
inline std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(lead);
    if (length == 1) {
        ++i;
        return lead;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return std::nullopt;
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        c = c << 6 | (next & 0x3F);
    }
    if (c < kMinimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return std::nullopt;
    }
    i += length;
    return c;
}

}  // namespace tomery::charset
