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
        const std::string_view piece =
            utf8.substr(0, end == std::string_view::npos ? utf8.size() : end + 1);
        set.AppendFromUtf8(piece, bytes, &log, line);
        utf8.remove_prefix(piece.size());
        ++line;
    }
    return bytes;
}

}  // namespace

TDecodedText DecodeText(std::string_view file, const TCharacterSet& set,
                        std::optional<TFileEncoding> forced) {
    // A forced reading only asks the sniffer about a mark, which the first bytes tell.
    TEncodingSniffer sniffer;
    sniffer.Feed(forced ? file.substr(0, ByteOrderMark(TFileEncoding::Utf8Bom).size()) : file);
    const TReadingEncoding reading = ReadingEncoding(sniffer.Result(), forced);
    TDecodedText decoded{{}, reading.Encoding, {}};
    const std::string_view body = file.substr(reading.MarkLength);
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
            decoded.Bytes =
                Utf8IntoSet(Utf16ToUtf8(body, decoded.Encoding == TFileEncoding::Utf16Be), set,
                            decoded.Replacements);
            break;
    }
    return decoded;
}

std::string EncodeText(std::string_view bytes, const TCharacterSet& set, TFileEncoding encoding) {
    std::string file(ByteOrderMark(encoding));
    AppendEncodedText(bytes, set, encoding, file);
    return file;
}

void AppendEncodedText(std::string_view bytes, const TCharacterSet& set, TFileEncoding encoding,
                       std::string& out) {
    switch (encoding) {
        case TFileEncoding::Bytes:
            out += bytes;
            break;
        case TFileEncoding::Utf8:
        case TFileEncoding::Utf8Bom:
            set.AppendUtf8(bytes, out);
            break;
        case TFileEncoding::Utf16Le:
        case TFileEncoding::Utf16Be:
            out += Utf8ToUtf16(set.ToUtf8(bytes), encoding == TFileEncoding::Utf16Be);
            break;
    }
}

}  // namespace tomery::charset
