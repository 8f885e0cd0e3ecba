// Stored bookmark records after the text of a DOC file.
#include "DocBookmarks.h"
#include "DocFileBuilder.h"

#include <gtest/gtest.h>

namespace tomery::doc {
namespace {

using testing::BytesOf;
using testing::DocFileBuilder;

Bytes BookmarkRecord(const std::string& name, std::uint32_t offset) {
    Bytes record(kBookmarkNameSize, 0);
    std::copy(name.begin(), name.end(), record.begin());
    AppendUInt32(record, offset);
    return record;
}

/// Record 0's text length is left 0 by the builder; the bookmarks are checked against it.
Bytes WithTextLength(Bytes file, std::uint32_t length) {
    WriteUInt32(file, RecordOffset(file, 0) + kTextLengthOffset, length);
    return file;
}

TEST(DocBookmarks, ListsTheRecordsAfterTheTextThatFitInRecordOrder) {
    DocFileBuilder builder;
    builder.compression = kCompressionPlain;
    builder.textRecords = {BytesOf("one\ntwo\nthree\n")};
    Bytes shortRecord = BookmarkRecord("Short", 1);
    shortRecord.resize(19);
    Bytes longRecord = BookmarkRecord("Longer record", 0);
    longRecord.push_back(0xAA);
    builder.extraRecords = {BookmarkRecord("Two", 4), shortRecord,
                            BookmarkRecord("Past the end", 15),
                            BookmarkRecord("Sixteen bytes!!!", 14), longRecord};
    const auto bookmarks = ReadStoredBookmarks(WithTextLength(builder.Build(), 14));
    ASSERT_EQ(bookmarks.size(), 3u);
    EXPECT_EQ(bookmarks[0].Name, "Two");
    EXPECT_EQ(bookmarks[0].Offset, 4u);
    EXPECT_EQ(bookmarks[1].Name, "Sixteen bytes!!!");  // a full name field has no zero byte
    EXPECT_EQ(bookmarks[1].Offset, 14u);
    EXPECT_EQ(bookmarks[2].Name, "Longer record");
}

TEST(DocBookmarks, NoneInFilesWithoutThemOrThatAreNotDocFiles) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("text")};
    EXPECT_TRUE(ReadStoredBookmarks(WithTextLength(builder.Build(), 4)).empty());

    builder.extraRecords = {BookmarkRecord("Mark", 0)};
    builder.storedTextRecords = 2;  // all records text: nothing after them
    EXPECT_TRUE(ReadStoredBookmarks(WithTextLength(builder.Build(), 4)).empty());

    builder.storedTextRecords.reset();
    builder.type = "BOOK";
    EXPECT_TRUE(ReadStoredBookmarks(WithTextLength(builder.Build(), 4)).empty());
    EXPECT_TRUE(ReadStoredBookmarks(Bytes(40, 0)).empty());
    EXPECT_TRUE(ReadStoredBookmarks(std::string("/nonexistent/book.pdb")).empty());
}

TEST(DocBookmarks, ARecordOffsetOutsideTheFileIsLeftOut) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("text")};
    builder.extraRecords = {BookmarkRecord("A", 1), BookmarkRecord("B", 2)};
    Bytes file = WithTextLength(builder.Build(), 4);
    WriteUInt32(file, kDatabaseHeaderSize + kRecordEntrySize * 3, 0xFFFFFF00);
    const auto bookmarks = ReadStoredBookmarks(file);
    ASSERT_EQ(bookmarks.size(), 0u);  // A would end past B's bad start, B starts past the end
}

}  // namespace
}  // namespace tomery::doc
