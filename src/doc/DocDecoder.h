// Decoding of compressed DOC records and the line-end conversions in both directions.
#pragma once

#include "DocFormat.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tomery::doc {

/// Why a compressed record could not be decoded, and where (a byte index in the record).
struct DecodeError {
    enum class Kind { LiteralRunCutOff, BackReferenceCutOff, BadDistance };
    Kind kind;
    std::size_t at = 0;
    std::size_t distance = 0;  ///< for BadDistance: 0, or more than the output decoded so far

    std::string Describe() const;
};

/// Decodes one compressed record into `output` (replaced). Never reads outside `record`
/// and never copies from outside the record's own output.
std::optional<DecodeError> DecodeRecord(ByteView record, Bytes& output);

/// Turns each LF into CR LF, except an LF that directly follows a CR, which already ends
/// a line as CR LF. `previousWasCr` carries the last byte's state across records.
Bytes ExpandLineEnds(ByteView decoded, bool& previousWasCr);

/// The writer's line-end conversion of one block: bytes 0x00-0x08 are dropped, a CR
/// followed by LF is dropped (`nextByte` is the byte after the block, if any), any other
/// CR becomes LF.
Bytes ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte);

}  // namespace tomery::doc
