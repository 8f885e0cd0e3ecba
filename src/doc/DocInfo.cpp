#include "DocInfo.h"

#include "DocFormat.h"
#include "DocSource.h"

namespace tomery::doc {

DocInfo ReadDocInfo(const std::string& path) {
    DocInfo info;
    FileDocSource file(path);
    if (!file.IsOpen()) {
        info.problem = "cannot be read";
        return info;
    }
    const auto layout = ReadDatabaseHeader(file.Read(0, kDatabaseHeaderSize));
    if (!layout) {
        info.problem = "file is shorter than its header: " + std::to_string(file.Size()) + " bytes";
        return info;
    }
    if (!IsDocFormat(*layout)) {
        info.problem = "not a DOC file (type " + FourCharText(layout->type) + ", creator " +
                       FourCharText(layout->creator) + ")";
        return info;
    }
    if (auto problem = RecordListProblem(file.Size(), *layout)) {
        info.problem = std::move(*problem);
        return info;
    }
    const ByteView front = file.Read(0, RecordListEnd(1));
    if (front.size() < RecordListEnd(1)) {
        info.problem = "cannot be read";
        return info;
    }
    const std::uint32_t record0 = RecordOffset(front, 0);
    if (auto problem = RecordZeroProblem(file.Size(), *layout, record0)) {
        info.problem = std::move(*problem);
        return info;
    }
    const ByteView docHeader = file.Read(record0, kDocHeaderRecordSize);
    if (docHeader.size() < kDocHeaderRecordSize) {
        info.problem = "cannot be read";
        return info;
    }
    info.name = layout->name;
    info.type = FourCharText(layout->type);
    info.creator = FourCharText(layout->creator);
    info.headerRecords = layout->recordCount;
    info.storedTextRecords = ReadUInt16(docHeader, kStoredTextRecordsOffset);
    info.textRecords = TextRecordCount(info.headerRecords, info.storedTextRecords);
    info.compression = ReadUInt16(docHeader, kCompressionOffset);
    info.textLength = ReadUInt32(docHeader, kTextLengthOffset);
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
