#include "DocInfo.h"

#include "DocBookmarks.h"
#include "DocFormat.h"
#include "DocReader.h"
#include "DocSource.h"

#include <ctime>

namespace tomery::doc {

namespace {

/// The last line a log holds that is not empty: the reason a conversion failed.
std::string LastLogLine(const std::string& log) {
    std::string last;
    for (std::size_t start = 0, end = log.find("\r\n"); end != std::string::npos;
         start = end + 2, end = log.find("\r\n", start)) {
        if (end > start) {
            last = log.substr(start, end - start);
        }
    }
    return last;
}

/// Decodes the records as decode does, to find damage that the header does not show.
void CheckRecords(DocSource& file, DocInfo& info) {
    MemoryLog log;
    DiscardingSink sink;
    std::string docName;
    DocTextFindings findings;
    if (!ReadDocText(log, file, sink, docName, BuiltInConversionOptions(), &findings)) {
        info.damage = LastLogLine(log.Text());
        return;
    }
    info.cutShort = findings.cutShort;
    info.storedBookmarks = findings.bookmarks.size();
}

}  // namespace

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
    const ByteView header = file.Read(0, kDatabaseHeaderSize);
    info.created = ReadUInt32(header, kCreationDateOffset);
    info.modified = ReadUInt32(header, kModificationDateOffset);
    info.backedUp = ReadUInt32(header, kBackupDateOffset);
    CheckRecords(file, info);
    return info;
}

std::string FormatDocDate(std::uint32_t date) {
    if (date == 0) {
        return "none";
    }
    constexpr std::int64_t kSeconds1904To1970 = 2082844800;
    const std::int64_t unixTime =
        (date & 0x80000000u) != 0 ? std::int64_t{date} - kSeconds1904To1970 : std::int64_t{date};
    const std::time_t time = static_cast<std::time_t>(unixTime);
    std::tm parts{};
    char text[32];
    if (::gmtime_r(&time, &parts) == nullptr ||
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts) == 0) {
        return std::to_string(date);
    }
    return text;
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
    std::string text =
        "name: " + info.name + "\n" + "type: " + info.type + "\n" + "creator: " + info.creator +
        "\n" + "created: " + FormatDocDate(info.created) + "\n" +
        "modified: " + FormatDocDate(info.modified) + "\n" +
        "backed up: " + FormatDocDate(info.backedUp) + "\n" +
        "records: " + std::to_string(info.textRecords) + "\n" + "compression: " + compression +
        "\n" + "text length: " + std::to_string(info.textLength) + "\n";
    if (info.storedTextRecords != info.headerRecords - 1) {
        text += "record 0 text records: " + std::to_string(info.storedTextRecords) + "\n";
        text += "header records: " + std::to_string(info.headerRecords) + "\n";
    }
    if (info.storedBookmarks > 0) {
        text += "stored bookmarks: " + std::to_string(info.storedBookmarks) + "\n";
    }
    return text;
}

}  // namespace tomery::doc
