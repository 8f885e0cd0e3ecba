// The encodings tomery-doc's text crosses into and out of the DOC's character set: those of
// text files (--from, --to, or what a file's bytes tell) and the terminal's, in which
// document names are typed and shown.
#pragma once

#include "CharacterSet.h"
#include "FileEncoding.h"
#include "ReplacementLog.h"

#include <optional>
#include <string>
#include <string_view>

namespace tomery::cli {

/// A text file's encoding: UTF-8 or UTF-16, or the bytes of a set.
struct TTextEncoding {
    charset::TFileEncoding File = charset::TFileEncoding::Bytes;
    const charset::TCharacterSet* Set = nullptr;  ///< for `Bytes` only

    /// True when a text in this encoding is already the bytes of `set`.
    bool IsBytesOf(const charset::TCharacterSet& set) const {
        return File == charset::TFileEncoding::Bytes && Set == &set;
    }
};

/// "utf-8", "utf-16le", "utf-16be" (in any case) or a name FindCharacterSet knows; nothing
/// for another name.
std::optional<TTextEncoding> FindTextEncoding(std::string_view name);
/// The names FindTextEncoding knows, without the aliases: for the message refusing another.
std::string TextEncodingNames();
/// The names FindCharacterSet knows, without the aliases.
std::string CharacterSetNames();

/// The encoding of the text file at `path` as its bytes tell (a mark, or valid UTF-8 with a
/// multi-byte sequence), else the bytes of `set`. A file that cannot be read counts as bytes,
/// so that the conversion itself reports it.
TTextEncoding SniffTextFile(const std::string& path, const charset::TCharacterSet& set);

/// A text on its way into or out of a set, and the characters that did not keep their own.
struct TConvertedText {
    std::string Text;
    charset::TReplacementLog Replacements;  ///< lines counted by LF, from 1
};

/// A text file in `encoding` as bytes of `set`, without a byte order mark.
TConvertedText ReadText(std::string_view file, const charset::TCharacterSet& set,
                        const TTextEncoding& encoding);
/// Bytes of `set` as a text file in `encoding`; UTF-16 is written with its mark.
TConvertedText WriteText(std::string_view bytes, const charset::TCharacterSet& set,
                         const TTextEncoding& encoding);

/// Whether the terminal speaks UTF-8, by the locale's (LC_CTYPE) codeset. The C locale's
/// ASCII counts as UTF-8: no byte above 0x7F is ASCII, and UTF-8 is what such a byte in an
/// argument most likely is.
bool TerminalIsUtf8();

/// A document name as typed in the terminal, as bytes of `set`: a UTF-8 terminal's valid
/// UTF-8 is converted (what the set lacks counts in `log`); anything else is taken as bytes
/// of the set, as it is.
std::string TypedName(std::string_view name, const charset::TCharacterSet& set,
                      charset::TReplacementLog& log);
/// A document name in `set` as the terminal shows it.
std::string ShownName(std::string_view name, const charset::TCharacterSet& set);

}  // namespace tomery::cli
