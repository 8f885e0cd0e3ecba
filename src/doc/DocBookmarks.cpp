#include "DocBookmarks.h"

#include <algorithm>
#include <numeric>

namespace tomery::doc {

std::vector<TStoredBookmark> ReadStoredBookmarks(DocSource& file) {
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

std::vector<TStoredBookmark> ReadStoredBookmarks(ByteView file) {
    MemoryDocSource source(file);
    return ReadStoredBookmarks(source);
}

std::vector<TStoredBookmark> ReadStoredBookmarks(const std::string& path) {
    FileDocSource source(path);
    return source.IsOpen() ? ReadStoredBookmarks(source) : std::vector<TStoredBookmark>{};
}

Bytes BuildBookmarkRecord(const TStoredBookmark& bookmark) {
    Bytes record(kBookmarkNameSize, 0);
    const std::size_t length = std::min(bookmark.Name.size(), kBookmarkNameSize);
    std::copy_n(bookmark.Name.begin(), length, record.begin());
    AppendUInt32(record, bookmark.Offset);
    return record;
}

BookmarkPlacer::BookmarkPlacer(std::vector<TStoredBookmark> bookmarks)
    : bookmarks_(std::move(bookmarks)), byOffset_(bookmarks_.size()), places_(bookmarks_.size()) {
    std::iota(byOffset_.begin(), byOffset_.end(), std::size_t{0});
    std::stable_sort(byOffset_.begin(), byOffset_.end(), [this](std::size_t a, std::size_t b) {
        return bookmarks_[a].Offset < bookmarks_[b].Offset;
    });
}

TBookmarkPlace BookmarkPlacer::PlaceAt(std::size_t bookmark, std::uint64_t offset) const {
    return {bookmarks_[bookmark].Name, line_, static_cast<std::uint32_t>(offset - lineStart_)};
}

void BookmarkPlacer::Follow(ByteView text) {
    for (std::size_t i = 0; i < text.size() && next_ < byOffset_.size(); ++i) {
        const std::uint64_t offset = offset_ + i;
        while (next_ < byOffset_.size() && bookmarks_[byOffset_[next_]].Offset == offset) {
            places_[byOffset_[next_]] = PlaceAt(byOffset_[next_], offset);
            ++next_;
        }
        const std::uint8_t byte = text[i];
        if (byte == '\r' || (byte == '\n' && !previousWasCr_)) {
            ++line_;
            lineStart_ = offset + 1;
        } else if (byte == '\n') {
            lineStart_ = offset + 1;  // the LF of a CR LF belongs to the line end
        }
        previousWasCr_ = byte == '\r';
    }
    offset_ += text.size();
}

std::vector<TBookmarkPlace> BookmarkPlacer::Places() const {
    std::vector<TBookmarkPlace> places = places_;
    for (std::size_t k = next_; k < byOffset_.size(); ++k) {
        places[byOffset_[k]] = PlaceAt(byOffset_[k], offset_);
    }
    return places;
}

}  // namespace tomery::doc
