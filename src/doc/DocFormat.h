// The DOC file layout: field routines, fixed values, and the parsed view of a file's header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tomery::doc {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline constexpr std::size_t kDatabaseHeaderSize = 78;
inline constexpr std::size_t kRecordEntrySize = 8;
inline constexpr std::size_t kDocHeaderRecordSize = 16;
inline constexpr std::size_t kNameFieldSize = 32;
inline constexpr std::size_t kCreationDateOffset = 36;
inline constexpr std::size_t kModificationDateOffset = 40;
inline constexpr std::size_t kBackupDateOffset = 44;
inline constexpr std::size_t kTypeOffset = 60;
inline constexpr std::size_t kCreatorOffset = 64;
inline constexpr std::size_t kRecordCountOffset = 76;
inline constexpr std::size_t kTextRecordSize = 4096;
inline constexpr std::size_t kCompressionOffset = 0;        ///< in record 0
inline constexpr std::size_t kTextLengthOffset = 4;         ///< in record 0
inline constexpr std::size_t kStoredTextRecordsOffset = 8;  ///< in record 0
/// The header's record count is 16 bits and also counts record 0.
inline constexpr std::size_t kMaxTextRecords = 65534;
inline constexpr std::uint32_t kFixedDate = 0x06D144AE;
inline constexpr std::uint32_t kRecordEntryTag = 0x406F8000;
inline constexpr std::uint16_t kCompressionPlain = 1;
inline constexpr std::uint16_t kCompressionCompressed = 2;
inline constexpr char kDocType[] = "TEXt";
inline constexpr char kDocCreator[] = "REAd";

// Big-endian fields. The readers expect `offset + size` within `bytes`.
std::uint16_t ReadUInt16(ByteView bytes, std::size_t offset);
std::uint32_t ReadUInt32(ByteView bytes, std::size_t offset);
void WriteUInt16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void WriteUInt32(Bytes& bytes, std::size_t offset, std::uint32_t value);
void AppendUInt16(Bytes& bytes, std::uint16_t value);
void AppendUInt32(Bytes& bytes, std::uint32_t value);

/// The four bytes of a four-character code, in reading order.
std::uint32_t FourCharCode(const char (&code)[5]);
/// The four characters of a code read as a big-endian value.
std::string FourCharText(std::uint32_t code);

/// The document name in a name field: the bytes before the first zero byte, at most 32.
std::string ReadDocName(ByteView header);

/// The document name as a DOC file holds it: its first bytes, leaving the field's last byte for
/// the terminating zero.
std::string StoredDocName(const std::string& docName);

/// The 78-byte database header as the writer fills it for `textRecords` text records.
Bytes BuildDatabaseHeader(const std::string& docName, std::size_t textRecords);

/// What a reader needs from the header, the record list and record 0. Offsets are
/// checked as they are used, so this only holds what lies inside the file.
struct DocLayout {
    std::string name;
    std::uint32_t type = 0;
    std::uint32_t creator = 0;
    std::uint16_t recordCount = 0;  ///< the header's number of records, record 0 included
};

/// Reads the database header; nothing when the file is shorter than the header.
std::optional<DocLayout> ReadDatabaseHeader(ByteView file);

/// True when type and creator say DOC ("TEXt", "REAd"; case-sensitive).
bool IsDocFormat(const DocLayout& layout);

/// Why the header's record list cannot be right (no records, or a list that runs past the
/// end of a file of `fileSize` bytes); nothing when it lies in the file.
std::optional<std::string> RecordListProblem(std::size_t fileSize, const DocLayout& layout);

/// Why record 0 at `offset` cannot be read (inside the record list, or not whole in the
/// file); nothing when its 16 bytes lie in the file. Expects RecordListProblem to have found
/// nothing.
std::optional<std::string> RecordZeroProblem(std::size_t fileSize, const DocLayout& layout,
                                             std::uint32_t offset);

/// Offset of record `index` as stored in the record list; `front` holds the file's bytes
/// from its start through that entry at least.
std::uint32_t RecordOffset(ByteView front, std::size_t index);

/// The number of text records to decode. Files from other tools may keep further records
/// after the text (stored bookmarks); record 0 then says how many of the records are text.
/// Its count is used when it lies between 1 and the header's count less record 0.
std::size_t TextRecordCount(std::uint16_t headerRecordCount, std::uint16_t storedTextRecords);

/// File offset just past the record list of a header with `recordCount` entries.
constexpr std::size_t RecordListEnd(std::size_t recordCount) {
    return kDatabaseHeaderSize + kRecordEntrySize * recordCount;
}

}  // namespace tomery::doc
