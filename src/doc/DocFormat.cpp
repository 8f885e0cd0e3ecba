#include "DocFormat.h"

#include <algorithm>

namespace tomery::doc {

std::uint16_t ReadUInt16(ByteView bytes, std::size_t offset) {
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

std::uint32_t ReadUInt32(ByteView bytes, std::size_t offset) {
    return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
           (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

void WriteUInt16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<std::uint8_t>(value);
}

void WriteUInt32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

void AppendUInt16(Bytes& bytes, std::uint16_t value) {
    bytes.resize(bytes.size() + 2);
    WriteUInt16(bytes, bytes.size() - 2, value);
}

void AppendUInt32(Bytes& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 4);
    WriteUInt32(bytes, bytes.size() - 4, value);
}

std::uint32_t FourCharCode(const char (&code)[5]) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(code[i]);
    }
    return value;
}

std::string FourCharText(std::uint32_t code) {
    std::string text(4, '\0');
    for (int i = 0; i < 4; ++i) {
        text[i] = static_cast<char>(code >> (24 - 8 * i));
    }
    return text;
}

std::string ReadDocName(ByteView header) {
    const auto field = header.first(kNameFieldSize);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

std::string StoredDocName(const std::string& docName) {
    return docName.substr(0, kNameFieldSize - 1);
}

Bytes BuildDatabaseHeader(const std::string& docName, std::size_t textRecords) {
    Bytes header(kDatabaseHeaderSize, 0);
    const std::string stored = StoredDocName(docName);
    std::copy(stored.begin(), stored.end(), header.begin());
    WriteUInt32(header, kCreationDateOffset, kFixedDate);
    WriteUInt32(header, kModificationDateOffset, kFixedDate);
    WriteUInt32(header, kTypeOffset, FourCharCode(kDocType));
    WriteUInt32(header, kCreatorOffset, FourCharCode(kDocCreator));
    WriteUInt16(header, kRecordCountOffset, static_cast<std::uint16_t>(textRecords + 1));
    return header;
}

std::optional<DocLayout> ReadDatabaseHeader(ByteView file) {
    if (file.size() < kDatabaseHeaderSize) {
        return std::nullopt;
    }
    DocLayout layout;
    layout.name = ReadDocName(file);
    layout.type = ReadUInt32(file, kTypeOffset);
    layout.creator = ReadUInt32(file, kCreatorOffset);
    layout.recordCount = ReadUInt16(file, kRecordCountOffset);
    return layout;
}

bool IsDocFormat(const DocLayout& layout) {
    return layout.type == FourCharCode(kDocType) && layout.creator == FourCharCode(kDocCreator);
}

std::size_t TextRecordCount(std::uint16_t headerRecordCount, std::uint16_t storedTextRecords) {
    // The header's count includes record 0; a count of 0 wraps as a 16-bit value would.
    const std::size_t headerTextRecords = static_cast<std::uint16_t>(headerRecordCount - 1);
    if (storedTextRecords >= 1 && storedTextRecords <= headerTextRecords) {
        return storedTextRecords;
    }
    return headerTextRecords;
}

std::optional<std::string> RecordListProblem(std::size_t fileSize, const DocLayout& layout) {
    if (layout.recordCount == 0) {
        return "bad header: the number of records is 0";
    }
    if (RecordListEnd(layout.recordCount) > fileSize) {
        return "bad header: the record list of " + std::to_string(layout.recordCount) +
               " records runs past the end of the file";
    }
    return std::nullopt;
}

std::optional<std::string> RecordZeroProblem(std::size_t fileSize, const DocLayout& layout,
                                             std::uint32_t offset) {
    if (offset < RecordListEnd(layout.recordCount) ||
        std::size_t{offset} + kDocHeaderRecordSize > fileSize) {
        return "bad record list: record 0 at " + std::to_string(offset) +
               " does not lie between the record list and the end of the file";
    }
    return std::nullopt;
}

std::uint32_t RecordOffset(ByteView front, std::size_t index) {
    return ReadUInt32(front, kDatabaseHeaderSize + kRecordEntrySize * index);
}

}  // namespace tomery::doc
