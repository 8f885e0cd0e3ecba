#include "DocBookmarks.h"

#include "DocSource.h"

#include <algorithm>

namespace tomery::doc {

namespace {

std::vector<TStoredBookmark> ReadBookmarkRecords(DocSource& file) {
    std::vector<TStoredBookmark> bookmarks;
    const auto layout = ReadDatabaseHeader(file.Read(0, kDatabaseHeaderSize));
    if (!layout || !IsDocFormat(*layout) || RecordListProblem(file.Size(), *layout)) {
        return bookmarks;
    }
    const std::size_t listEnd = RecordListEnd(layout->recordCount);
    const ByteView frontBytes = file.Read(0, listEnd);
    const Bytes front(frontBytes.begin(), frontBytes.end());  // the header and the record list
    if (front.size() < listEnd) {
        return bookmarks;
    }
    const std::uint32_t record0 = RecordOffset(front, 0);
    if (RecordZeroProblem(file.Size(), *layout, record0)) {
        return bookmarks;
    }
    const ByteView docHeader = file.Read(record0, kDocHeaderRecordSize);
    if (docHeader.size() < kDocHeaderRecordSize) {
        return bookmarks;
    }
    const std::uint32_t textLength = ReadUInt32(docHeader, kTextLengthOffset);
    const std::size_t textRecords =
        TextRecordCount(layout->recordCount, ReadUInt16(docHeader, kStoredTextRecordsOffset));
    for (std::size_t k = textRecords + 1; k < layout->recordCount; ++k) {
        const std::size_t start = RecordOffset(front, k);
        const std::size_t end =
            k + 1 < layout->recordCount ? RecordOffset(front, k + 1) : file.Size();
        if (start < listEnd || end > file.Size() || end < start + kBookmarkRecordSize) {
            continue;
        }
        const ByteView record = file.Read(start, kBookmarkRecordSize);
        if (record.size() < kBookmarkRecordSize) {
            continue;
        }
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

}  // namespace

std::vector<TStoredBookmark> ReadStoredBookmarks(ByteView file) {
    MemoryDocSource source(file);
    return ReadBookmarkRecords(source);
}

std::vector<TStoredBookmark> ReadStoredBookmarks(const std::string& path) {
    FileDocSource source(path);
    return source.IsOpen() ? ReadBookmarkRecords(source) : std::vector<TStoredBookmark>{};
}

}  // namespace tomery::doc
