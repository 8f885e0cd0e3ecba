#include "DocBookmarks.h"

#include "FileAccess.h"

#include <algorithm>

namespace tomery::doc {

std::vector<TStoredBookmark> ReadStoredBookmarks(ByteView file) {
    std::vector<TStoredBookmark> bookmarks;
    const auto layout = ReadDatabaseHeader(file);
    if (!layout || !IsDocFormat(*layout) || RecordListProblem(file, *layout) ||
        RecordZeroProblem(file, *layout)) {
        return bookmarks;
    }
    const std::size_t record0 = RecordOffset(file, 0);
    const std::uint32_t textLength = ReadUInt32(file, record0 + kTextLengthOffset);
    const std::size_t textRecords =
        TextRecordCount(layout->recordCount, ReadUInt16(file, record0 + kStoredTextRecordsOffset));
    const std::size_t listEnd = RecordListEnd(layout->recordCount);
    for (std::size_t k = textRecords + 1; k < layout->recordCount; ++k) {
        const std::size_t start = RecordOffset(file, k);
        const std::size_t end =
            k + 1 < layout->recordCount ? RecordOffset(file, k + 1) : file.size();
        if (start < listEnd || end > file.size() || end < start + kBookmarkRecordSize) {
            continue;
        }
        const ByteView record = file.subspan(start, kBookmarkRecordSize);
        const auto name = record.first(kBookmarkNameSize);
        const std::uint32_t offset = ReadUInt32(record, kBookmarkNameSize);
        if (offset > textLength) {
            continue;
        }
        bookmarks.push_back(
            {std::string(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0})),
             offset});
    }
    return bookmarks;
}

std::vector<TStoredBookmark> ReadStoredBookmarks(const std::string& path) {
    const auto file = ReadWholeFile(path);
    return file ? ReadStoredBookmarks(*file) : std::vector<TStoredBookmark>{};
}

}  // namespace tomery::doc
