#include "TextConversion.h"

namespace tomery::charset {

namespace {

/// UTF-8 into the set a line at a time, so that what is replaced is logged with its line.
std::string Utf8IntoSet(std::string_view utf8, const TCharacterSet& set, TReplacementLog& log) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::int64_t line = 1;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        const std::string_view piece = utf8.substr(0, end == std::string_view::npos ? utf8.size() : end + 1);
        if (IsAscii(piece)) {
            bytes += piece;
        } else {
            bytes += set.FromUtf8(piece, &log, line);
        }
        utf8.remove_prefix(piece.size());
        ++line;
    }
    return bytes;
}

}  // namespace

TDecodedText DecodeText(std::string_view file, const TCharacterSet& set,
                        std::optional<TFileEncoding> forced) {
    TDecodedText decoded{{}, TFileEncoding::Bytes, {}};
    if (forced) {
        decoded.Encoding = *forced;
        if (*forced == TFileEncoding::Utf8 && file.substr(0, 3) == ByteOrderMark(TFileEncoding::Utf8Bom)) {
            decoded.Encoding = TFileEncoding::Utf8Bom;
        }
    } else {
        TEncodingSniffer sniffer;
        sniffer.Feed(file);
        decoded.Encoding = sniffer.Result();
    }
    // A forced encoding may meet a file without its mark.
    const std::string_view mark = ByteOrderMark(decoded.Encoding);
    const std::string_view body = file.substr(file.starts_with(mark) ? mark.size() : 0);
    switch (decoded.Encoding) {
        case TFileEncoding::Bytes:
            decoded.Bytes = body;
            break;
        case TFileEncoding::Utf8:
        case TFileEncoding::Utf8Bom:
            decoded.Bytes = Utf8IntoSet(body, set, decoded.Replacements);
            break;
        case TFileEncoding::Utf16Le:
        case TFileEncoding::Utf16Be:
            decoded.Bytes = Utf8IntoSet(
                Utf16ToUtf8(body, decoded.Encoding == TFileEncoding::Utf16Be), set,
                decoded.Replacements);
            break;
    }
    return decoded;
}

std::string EncodeText(std::string_view bytes, const TCharacterSet& set, TFileEncoding encoding) {
    std::string file(ByteOrderMark(encoding));
    switch (encoding) {
        case TFileEncoding::Bytes:
            file += bytes;
            break;
        case TFileEncoding::Utf8:
        case TFileEncoding::Utf8Bom:
            set.AppendUtf8(bytes, file);
            break;
        case TFileEncoding::Utf16Le:
        case TFileEncoding::Utf16Be:
            file += Utf8ToUtf16(set.ToUtf8(bytes), encoding == TFileEncoding::Utf16Be);
            break;
    }
    return file;
}

}  // namespace tomery::charset
