#include "TextEncodings.h"

#include "TextCase.h"
#include "TextConversion.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>
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

namespace {

/// Big files are sniffed in parts of at least this size, one per core, all at once.
constexpr std::uint64_t kSniffingPartBytes = std::uint64_t{4} << 20;

struct TSniffedPart {
    charset::TEncodingSniffer Sniffer;
    bool Failed = false;
};

/// Sniffs the bytes from `begin` to `end`. A part that finds no UTF-8 says so in `noUtf8`,
/// which makes every part stop: the file is no UTF-8 then, whatever the rest holds.
TSniffedPart SniffPart(const std::string& path, std::uint64_t begin, std::uint64_t end,
                       std::atomic<bool>& noUtf8) {
    TSniffedPart part;
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(begin));
    std::vector<char> chunk(65536);
    for (std::uint64_t at = begin; at < end;) {
        in.read(chunk.data(),
                static_cast<std::streamsize>(std::min<std::uint64_t>(chunk.size(), end - at)));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            break;
        }
        part.Sniffer.Feed(std::string_view(chunk.data(), got));
        at += got;
        if (part.Sniffer.SawNoUtf8()) {
            noUtf8 = true;
        }
        if (noUtf8) {
            break;
        }
    }
    part.Failed = in.bad();
    return part;
}

/// Where the parts of the file at `path`, `size` bytes, begin: the first at 0, the others
/// where a character starts near their share of the file.
std::vector<std::uint64_t> SniffingParts(const std::string& path, std::uint64_t size) {
    const std::uint64_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::uint64_t parts =
        std::max<std::uint64_t>(1, std::min(cores, size / kSniffingPartBytes));
    std::vector<std::uint64_t> starts{0};
    std::ifstream in(path, std::ios::binary);
    for (std::uint64_t i = 1; i < parts; ++i) {
        const std::uint64_t near = size * i / parts;
        char next[4];
        in.seekg(static_cast<std::streamoff>(near));
        in.read(next, sizeof next);
        starts.push_back(near + charset::SniffingCut(
                                    std::string_view(next, static_cast<std::size_t>(in.gcount()))));
        in.clear();
    }
    return starts;
}

}  // namespace

TTextEncoding SniffTextFile(const std::string& path, const charset::TCharacterSet& set) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    const std::vector<std::uint64_t> starts = SniffingParts(path, error ? 0 : size);
    std::vector<std::future<TSniffedPart>> later;
    // The last part reads on to the end, wherever a file that grew or a pipe ends.
    const auto endOfPart = [&starts](std::size_t i) {
        return i + 1 < starts.size() ? starts[i + 1] : UINT64_MAX;
    };
    std::atomic<bool> noUtf8 = false;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        later.push_back(std::async(std::launch::async, SniffPart, path, starts[i], endOfPart(i),
                                   std::ref(noUtf8)));
    }
    TSniffedPart whole = SniffPart(path, 0, endOfPart(0), noUtf8);
    for (std::future<TSniffedPart>& part : later) {
        const TSniffedPart next = part.get();
        whole.Sniffer.Join(next.Sniffer);
        whole.Failed = whole.Failed || next.Failed;
    }
    const TFileEncoding sniffed = whole.Failed ? TFileEncoding::Bytes : whole.Sniffer.Result();
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
