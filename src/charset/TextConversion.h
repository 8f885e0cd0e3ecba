// Whole texts across the boundary: a file's bytes, in whatever encoding, into the bytes of
// an 8-bit set, and back into the file's encoding. For texts held in memory (the converter's
// input, an older file to compare); the editor converts line by line as it reads.
#pragma once

#include "CharacterSet.h"
#include "FileEncoding.h"

#include <optional>
#include <string>
#include <string_view>

namespace tomery::charset {

struct TDecodedText {
    std::string Bytes;             ///< the text in the set, without a byte order mark
    TFileEncoding Encoding;        ///< what the file was read as
    TReplacementLog Replacements;  ///< lines counted by LF, from 1
};

/// Reads `file` as the encoding its bytes tell (TEncodingSniffer), or as `forced`: `Bytes`
/// keeps every byte as it is; a forced UTF-8 still drops a UTF-8 mark (ReadingEncoding).
TDecodedText DecodeText(std::string_view file, const TCharacterSet& set,
                        std::optional<TFileEncoding> forced = std::nullopt);

/// The text's bytes as a file of `encoding`, its mark first.
std::string EncodeText(std::string_view bytes, const TCharacterSet& set, TFileEncoding encoding);
/// Appends the text's bytes as `encoding` without a mark: for a file written in pieces.
void AppendEncodedText(std::string_view bytes, const TCharacterSet& set, TFileEncoding encoding,
                       std::string& out);

}  // namespace tomery::charset
