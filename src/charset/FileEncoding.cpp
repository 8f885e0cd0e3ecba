#include "FileEncoding.h"

#include "Utf8.h"

#include <cstdint>
#include <cstring>

namespace tomery::charset {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

/// How many bytes from `i` on are below 0x80, eight at a time.
std::size_t AsciiRun(std::string_view bytes, std::size_t i) {
    const std::size_t start = i;
    while (i + 8 <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            break;
        }
        i += 8;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    return i - start;
}

char16_t Unit(std::string_view bytes, std::size_t i, bool bigEndian) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
}

void AppendUnit(char16_t unit, bool bigEndian, std::string& out) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

}  // namespace

std::string_view ByteOrderMark(TFileEncoding encoding) {
    switch (encoding) {
        case TFileEncoding::Utf8Bom:
            return kUtf8Mark;
        case TFileEncoding::Utf16Le:
            return kUtf16LeMark;
        case TFileEncoding::Utf16Be:
            return kUtf16BeMark;
        default:
            return {};
    }
}

std::string_view EncodingName(TFileEncoding encoding) {
    switch (encoding) {
        case TFileEncoding::Utf8:
            return "UTF-8";
        case TFileEncoding::Utf8Bom:
            return "UTF-8 BOM";
        case TFileEncoding::Utf16Le:
            return "UTF-16 LE";
        case TFileEncoding::Utf16Be:
            return "UTF-16 BE";
        default:
            return {};
    }
}

bool IsUtf16(TFileEncoding encoding) {
    return encoding == TFileEncoding::Utf16Le || encoding == TFileEncoding::Utf16Be;
}

bool IsAscii(std::string_view bytes) {
    return AsciiRun(bytes, 0) == bytes.size();
}

void TEncodingSniffer::Feed(std::string_view chunk) {
    if (head_.size() < 3) {
        head_.append(chunk.substr(0, 3 - head_.size()));
    }
    if (!invalid_) {
        feedUtf8(chunk);
    }
}

void TEncodingSniffer::feedUtf8(std::string_view chunk) {
    std::size_t i = 0;
    while (i < chunk.size()) {
        if (pending_ == 0) {
            i += AsciiRun(chunk, i);
            if (i == chunk.size()) {
                return;
            }
            const auto lead = static_cast<unsigned char>(chunk[i++]);
            multiByte_ = true;
            low_ = 0x80;
            high_ = 0xBF;
            if (lead >= 0xC2 && lead <= 0xDF) {
                pending_ = 1;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                pending_ = 2;
                low_ = lead == 0xE0 ? 0xA0 : 0x80;
                high_ = lead == 0xED ? 0x9F : 0xBF;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                pending_ = 3;
                low_ = lead == 0xF0 ? 0x90 : 0x80;
                high_ = lead == 0xF4 ? 0x8F : 0xBF;
            } else {
                invalid_ = true;
                return;
            }
            continue;
        }
        const auto next = static_cast<unsigned char>(chunk[i++]);
        if (next < low_ || next > high_) {
            invalid_ = true;
            return;
        }
        --pending_;
        low_ = 0x80;
        high_ = 0xBF;
    }
}

TFileEncoding TEncodingSniffer::Result() const {
    const std::string_view head = head_;
    if (head.substr(0, 3) == kUtf8Mark) {
        return TFileEncoding::Utf8Bom;
    }
    if (head.substr(0, 2) == kUtf16LeMark) {
        return TFileEncoding::Utf16Le;
    }
    if (head.substr(0, 2) == kUtf16BeMark) {
        return TFileEncoding::Utf16Be;
    }
    return multiByte_ && !invalid_ && pending_ == 0 ? TFileEncoding::Utf8 : TFileEncoding::Bytes;
}

TReadingEncoding ReadingEncoding(TFileEncoding sniffed, std::optional<TFileEncoding> forced) {
    TFileEncoding encoding = forced.value_or(sniffed);
    if (encoding == TFileEncoding::Utf8 || encoding == TFileEncoding::Utf8Bom) {
        encoding = sniffed == TFileEncoding::Utf8Bom ? TFileEncoding::Utf8Bom : TFileEncoding::Utf8;
    }
    return {encoding, encoding == sniffed ? ByteOrderMark(encoding).size() : 0};
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        const char16_t unit = Unit(bytes, i, bigEndian);
        i += 2;
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size()) {
            const char16_t low = Unit(bytes, i, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c, out);
    }
    if (i < bytes.size()) {
        AppendUtf8(0xFFFD, out);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = NextUtf8(utf8, i).value_or(0xFFFD);
        if (c >= 0x10000) {
            c -= 0x10000;
            AppendUnit(static_cast<char16_t>(0xD800 + (c >> 10)), bigEndian, out);
            AppendUnit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)), bigEndian, out);
        } else {
            AppendUnit(static_cast<char16_t>(c), bigEndian, out);
        }
    }
    return out;
}

}  // namespace tomery::charset
