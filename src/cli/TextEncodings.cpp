#include "TextEncodings.h"

#include "TextCase.h"
#include "TextConversion.h"

#include <fstream>
#include <vector>

#include <langinfo.h>
#include <locale.h>

namespace tomery::cli {

namespace {

using charset::TFileEncoding;

struct TUnicodeEncoding {
    const char* Name;
    TFileEncoding File;
};
const TUnicodeEncoding kUnicodeEncodings[] = {
    {"utf-8", TFileEncoding::Utf8},
    {"utf-16le", TFileEncoding::Utf16Le},
    {"utf-16be", TFileEncoding::Utf16Be},
};

/// Bytes of one set as bytes of another.
TConvertedText Recoded(std::string_view bytes, const charset::TCharacterSet& from,
                       const charset::TCharacterSet& to) {
    if (&from == &to) {
        return {std::string(bytes), {}};
    }
    charset::TDecodedText recoded = DecodeText(from.ToUtf8(bytes), to, TFileEncoding::Utf8);
    return {std::move(recoded.Bytes), std::move(recoded.Replacements)};
}

std::string TerminalCodeset() {
    // A locale of its own, so that the program's (the C locale) stays as it was. A locale the
    // system lacks leaves the terminal as the C locale would.
    const locale_t terminal = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (terminal == static_cast<locale_t>(nullptr)) {
        return ::nl_langinfo(CODESET);
    }
    std::string codeset = ::nl_langinfo_l(CODESET, terminal);
    ::freelocale(terminal);
    return codeset;
}

}  // namespace

std::optional<TTextEncoding> FindTextEncoding(std::string_view name) {
    const std::string lowered = AsciiLowered(std::string(name));
    for (const TUnicodeEncoding& unicode : kUnicodeEncodings) {
        if (lowered == unicode.Name) {
            return TTextEncoding{unicode.File, nullptr};
        }
    }
    if (const charset::TCharacterSet* set = charset::FindCharacterSet(name)) {
        return TTextEncoding{TFileEncoding::Bytes, set};
    }
    return std::nullopt;
}

std::string CharacterSetNames() {
    std::string names;
    for (const charset::TCharacterSet* set : charset::AllCharacterSets()) {
        names += (names.empty() ? "" : ", ") + set->Name();
    }
    return names;
}

std::string TextEncodingNames() {
    std::string names;
    for (const TUnicodeEncoding& unicode : kUnicodeEncodings) {
        names += std::string(unicode.Name) + ", ";
    }
    return names + CharacterSetNames();
}

TTextEncoding SniffTextFile(const std::string& path, const charset::TCharacterSet& set) {
    std::ifstream in(path, std::ios::binary);
    charset::TEncodingSniffer sniffer;
    std::vector<char> chunk(65536);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        sniffer.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
    }
    const TFileEncoding sniffed = in.bad() ? TFileEncoding::Bytes : sniffer.Result();
    return {sniffed, sniffed == TFileEncoding::Bytes ? &set : nullptr};
}

TConvertedText ReadText(std::string_view file, const charset::TCharacterSet& set,
                        const TTextEncoding& encoding) {
    if (encoding.File == TFileEncoding::Bytes) {
        return Recoded(file, *encoding.Set, set);
    }
    charset::TDecodedText decoded = DecodeText(file, set, encoding.File);
    return {std::move(decoded.Bytes), std::move(decoded.Replacements)};
}

TConvertedText WriteText(std::string_view bytes, const charset::TCharacterSet& set,
                         const TTextEncoding& encoding) {
    if (encoding.File == TFileEncoding::Bytes) {
        return Recoded(bytes, set, *encoding.Set);
    }
    return {EncodeText(bytes, set, encoding.File), {}};
}

bool TerminalIsUtf8() {
    const std::string codeset = AsciiLowered(TerminalCodeset());
    return codeset == "utf-8" || codeset == "utf8" || codeset == "ansi_x3.4-1968" ||
           codeset == "ascii" || codeset == "us-ascii";
}

std::string TypedName(std::string_view name, const charset::TCharacterSet& set,
                      charset::TReplacementLog& log) {
    charset::TEncodingSniffer sniffer;
    sniffer.Feed(name);
    if (sniffer.Result() == TFileEncoding::Utf8 && TerminalIsUtf8()) {
        return set.FromUtf8(name, &log);
    }
    return std::string(name);
}

std::string ShownName(std::string_view name, const charset::TCharacterSet& set) {
    return TerminalIsUtf8() ? set.ToUtf8(name) : std::string(name);
}

}  // namespace tomery::cli
