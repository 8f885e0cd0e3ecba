#include "DocInfo.h"

#include "DocFormat.h"
#include "FileAccess.h"

namespace tomery::doc {

DocInfo ReadDocInfo(const std::string& path) {
    DocInfo info;
    const auto file = ReadWholeFile(path);
    if (!file) {
        info.problem = "cannot be read";
        return info;
    }
    const auto layout = ReadDatabaseHeader(*file);
    if (!layout) {
        info.problem =
            "file is shorter than its header: " + std::to_string(file->size()) + " bytes";
        return info;
    }
    if (!IsDocFormat(*layout)) {
        info.problem = "not a DOC file (type " + FourCharText(layout->type) + ", creator " +
                       FourCharText(layout->creator) + ")";
        return info;
    }
    if (auto problem = RecordListProblem(*file, *layout)) {
        info.problem = std::move(*problem);
        return info;
    }
    if (auto problem = RecordZeroProblem(*file, *layout)) {
        info.problem = std::move(*problem);
        return info;
    }
    const std::size_t record0 = RecordOffset(*file, 0);
    info.name = layout->name;
    info.type = FourCharText(layout->type);
    info.creator = FourCharText(layout->creator);
    info.headerRecords = layout->recordCount;
    info.storedTextRecords = ReadUInt16(*file, record0 + kStoredTextRecordsOffset);
    info.textRecords = TextRecordCount(info.headerRecords, info.storedTextRecords);
    info.compression = ReadUInt16(*file, record0 + kCompressionOffset);
    info.textLength = ReadUInt32(*file, record0 + kTextLengthOffset);
    return info;
}

std::string FormatDocInfo(const DocInfo& info) {
    std::string compression = std::to_string(info.compression);
    if (info.compression == kCompressionPlain) {
        compression += " (plain)";
    } else if (info.compression == kCompressionCompressed) {
        compression += " (compressed)";
    } else {
        compression += " (unknown, read as compressed)";
    }
    std::string text = "name: " + info.name + "\n" + "type: " + info.type + "\n" +
                       "creator: " + info.creator + "\n" +
                       "records: " + std::to_string(info.textRecords) + "\n" +
                       "compression: " + compression + "\n" +
                       "text length: " + std::to_string(info.textLength) + "\n";
    if (info.storedTextRecords != info.headerRecords - 1) {
        text += "record 0 text records: " + std::to_string(info.storedTextRecords) + "\n";
        text += "header records: " + std::to_string(info.headerRecords) + "\n";
    }
    return text;
}

}  // namespace tomery::doc
