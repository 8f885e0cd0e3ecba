#include "FileEncoding.h"

#include "Utf8.h"

#include <algorithm>

namespace tomery::charset {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

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
    return AsciiLength(bytes) == bytes.size();
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
    if (!partial_.empty()) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(partial_[0]));
        const std::string_view rest = chunk.substr(0, length - partial_.size());
        partial_ += rest;
        chunk.remove_prefix(rest.size());
        if (partial_.size() < length) {
            return;
        }
        std::size_t start = 0;
        if (!NextUtf8(partial_, start)) {
            invalid_ = true;
            return;
        }
        partial_.clear();
    }
    std::size_t i = 0;
    for (;;) {
        i += AsciiLength(chunk.substr(i));
        if (i == chunk.size()) {
            return;
        }
        multiByte_ = true;
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(chunk[i]));
        if (length != 0 && i + length > chunk.size()) {
            partial_ = chunk.substr(i);  // the piece ends inside the sequence
            return;
        }
        if (!NextUtf8(chunk, i)) {
            invalid_ = true;
            return;
        }
    }
}

void TEncodingSniffer::Join(const TEncodingSniffer& later) {
    head_.append(later.head_.substr(0, 3 - std::min<std::size_t>(head_.size(), 3)));
    // The later part starts a character: a sequence this part ended in stays unfinished.
    invalid_ = invalid_ || !partial_.empty() || later.invalid_;
    multiByte_ = multiByte_ || later.multiByte_;
    partial_ = later.partial_;
}

std::size_t SniffingCut(std::string_view nextBytes) {
    const std::size_t seen = std::min<std::size_t>(nextBytes.size(), 4);
    for (std::size_t i = 0; i < seen; ++i) {
        if ((static_cast<unsigned char>(nextBytes[i]) & 0xC0) != 0x80) {
            return i;
        }
    }
    return seen < 4 ? seen : 0;  // the file's end, or four bytes that no text holds
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
    return multiByte_ && !invalid_ && partial_.empty() ? TFileEncoding::Utf8 : TFileEncoding::Bytes;
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
