// The encodings of text files at the edge of the 8-bit text: a byte order mark or valid
// UTF-8 makes a Unicode file, anything else is bytes of the document's set.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tomery::charset {

/// `Bytes`: the file holds the document's 8-bit set as it is. The others are converted into
/// the set when read and back when written; UTF-16 files always carry their mark.
enum class TFileEncoding { Bytes, Utf8, Utf8Bom, Utf16Le, Utf16Be };

/// The byte order mark written at the start of a file; empty for `Bytes` and `Utf8`.
std::string_view ByteOrderMark(TFileEncoding encoding);
/// "UTF-8", "UTF-8 BOM", "UTF-16 LE", "UTF-16 BE"; empty for `Bytes`.
std::string_view EncodingName(TFileEncoding encoding);
bool IsUtf16(TFileEncoding encoding);

/// Tells a file's encoding from all of its bytes, fed in pieces of any size: a byte order
/// mark decides at once; otherwise the file is UTF-8 when it is valid UTF-8 with at least
/// one multi-byte sequence, and `Bytes` in every other case (ASCII alone included).
class TEncodingSniffer {
  public:
    void Feed(std::string_view chunk);
    /// Takes in the sniff of the bytes that follow those fed here, so that the parts of a big
    /// file can be sniffed at once. Those bytes must start where SniffingCut puts a cut.
    void Join(const TEncodingSniffer& later);
    TFileEncoding Result() const;
    /// Whether the bytes fed are no UTF-8: no more of them can change Result().
    bool SawNoUtf8() const { return invalid_; }

  private:
    void feedUtf8(std::string_view chunk);

    std::string head_;     ///< the first three bytes, where a mark would stand
    std::string partial_;  ///< a sequence the last piece ended in
    bool multiByte_ = false;
    bool invalid_ = false;
};

/// Where a file may be cut for sniffing its parts on their own, given up to four of its bytes
/// from a place on (fewer where the file ends): before the first of them that continues no
/// character, else at the file's end. Where all four continue one, the file is no UTF-8
/// whatever the cut, and the place itself is the cut.
std::size_t SniffingCut(std::string_view nextBytes);

/// What a file is read as, and how many bytes at its start are its mark rather than text.
struct TReadingEncoding {
    TFileEncoding Encoding;
    std::size_t MarkLength;
};

/// A file read as its bytes tell (`sniffed`: TEncodingSniffer's result) or as `forced`. A
/// forced UTF-8 still keeps a UTF-8 mark out of the text, and then counts as `Utf8Bom`; a
/// forced encoding never takes bytes for a mark that is not its own, so no text is lost.
TReadingEncoding ReadingEncoding(TFileEncoding sniffed, std::optional<TFileEncoding> forced);

/// UTF-16 bytes (without their mark) as UTF-8; an unpaired surrogate or an odd last byte
/// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
/// Valid UTF-8 as UTF-16 bytes without a mark.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

/// Whether every byte is below 0x80.
bool IsAscii(std::string_view bytes);

}  // namespace tomery::charset
