// Decoding of compressed DOC records and the line-end conversions in both directions.
#pragma once

#include "DocFormat.h"

#include <cstddef>
#include <cstdint>
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

/// Decodes compressed records one after the other into one buffer, which grows only for a
/// record that decodes longer than any before it: a whole file decodes without allocating.
/// Never reads outside the record and never copies from outside the record's own output.
class RecordDecoder {
  public:
    RecordDecoder();

    /// Decodes `record`; on success Text() holds its bytes until the next call.
    std::optional<DecodeError> Decode(ByteView record);
    ByteView Text() const { return ByteView(buffer_.data(), size_); }

  private:
    void Grow();

    Bytes buffer_;  ///< the decoded bytes, then room for whole-word copies past them
    /// A bit for each byte of the record that does not stand for itself: plain bytes, 0x00
    /// and 0x09 to 0x7F, do.
    Bytes marks_;
    std::size_t size_ = 0;
};

/// Decodes one compressed record into `output` (replaced).
std::optional<DecodeError> DecodeRecord(ByteView record, Bytes& output);

/// The most bytes ExpandLineEnds writes for `size` decoded bytes.
constexpr std::size_t ExpandedSizeLimit(std::size_t size) {
    return 2 * size;
}

/// How many LF bytes `text` holds.
std::uint64_t CountLineFeeds(ByteView text);

struct ExpandedText {
    std::size_t size = 0;         ///< the bytes written
    std::uint64_t lineFeeds = 0;  ///< the LF bytes the decoded text held
};

/// Writes `decoded` to `into` with each LF turned into CR LF, except an LF that directly
/// follows a CR, which already ends a line as CR LF. `previousWasCr` carries the last byte's
/// state across records. `into` has room for ExpandedSizeLimit bytes.
ExpandedText ExpandLineEnds(ByteView decoded, bool& previousWasCr, std::uint8_t* into);

/// The writer's line-end conversion of one block: bytes 0x00-0x08 are dropped, a CR
/// followed by LF is dropped (`nextByte` is the byte after the block, if any), any other
/// CR becomes LF.
Bytes ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte);
/// The same, written to `into`, which has room for the block's size; returns the bytes written.
std::size_t ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte,
                                 std::uint8_t* into);

}  // namespace tomery::doc
