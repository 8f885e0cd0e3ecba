// Builds DOC files byte by byte, in our layout or in the layouts other converters write.
#pragma once

#include "DocFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace tomery::doc::testing {

struct DocFileBuilder {
    std::string name = "Story";
    std::string type = "TEXt";
    std::string creator = "REAd";
    std::uint16_t compression = kCompressionCompressed;
    std::vector<Bytes> textRecords;
    std::vector<Bytes> extraRecords;                 ///< records after the text, e.g. bookmarks
    std::optional<std::uint16_t> storedTextRecords;  ///< record 0's count; default: the text's
    std::optional<std::uint16_t> headerRecordCount;  ///< default: all records and record 0
    std::optional<std::uint32_t> record0Offset;      ///< default: after the list and gap
    bool gapAfterList = true;                        ///< the two zero bytes after the record list
    std::uint32_t entryTag = kRecordEntryTag;        ///< attributes and unique ID base
    std::uint32_t date = kFixedDate;

    Bytes Build() const {
        const std::size_t recordCount = 1 + textRecords.size() + extraRecords.size();
        Bytes file(kDatabaseHeaderSize, 0);
        for (std::size_t i = 0; i < name.size() && i < 32; ++i) {
            file[i] = static_cast<std::uint8_t>(name[i]);
        }
        WriteUInt32(file, 36, date);
        WriteUInt32(file, 40, date);
        WriteUInt32(file, 44, date == kFixedDate ? 0 : date);
        WriteUInt32(file, kTypeOffset, Code(type));
        WriteUInt32(file, kCreatorOffset, Code(creator));
        WriteUInt16(file, kRecordCountOffset,
                    headerRecordCount.value_or(static_cast<std::uint16_t>(recordCount)));

        const std::size_t listAt = file.size();
        file.resize(RecordListEnd(recordCount) + (gapAfterList ? 2 : 0), 0);
        if (record0Offset) {
            file.resize(*record0Offset, 0);
        }
        std::vector<std::uint32_t> offsets;
        offsets.push_back(static_cast<std::uint32_t>(file.size()));
        AppendUInt16(file, compression);
        AppendUInt16(file, 0);
        AppendUInt32(file, 0);
        AppendUInt16(file,
                     storedTextRecords.value_or(static_cast<std::uint16_t>(textRecords.size())));
        AppendUInt16(file, 4096);
        AppendUInt32(file, 0);
        for (const auto* group : {&textRecords, &extraRecords}) {
            for (const Bytes& record : *group) {
                offsets.push_back(static_cast<std::uint32_t>(file.size()));
                file.insert(file.end(), record.begin(), record.end());
            }
        }
        for (std::size_t k = 0; k < offsets.size(); ++k) {
            WriteUInt32(file, listAt + 8 * k, offsets[k]);
            WriteUInt32(file, listAt + 8 * k + 4,
                        entryTag == 0 ? 0 : entryTag + static_cast<std::uint32_t>(k));
        }
        return file;
    }

    static std::uint32_t Code(const std::string& code) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<std::uint8_t>(i < code.size() ? code[i] : ' ');
        }
        return value;
    }
};

inline Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace tomery::doc::testing
