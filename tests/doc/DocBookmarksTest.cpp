// Stored bookmark records after the text of a DOC file.
#include "Conversion.h"
#include "DocBookmarks.h"
#include "DocFileBuilder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace tomery::doc {
namespace {

using testing::BytesOf;
using testing::DocFileBuilder;
using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

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

TEST(DocBookmarks, PlacesCountLinesEndedByCrLfOrCrLfFromZero) {
    // Lines: "ab" LF, "c" CR, "d" CR LF, "" LF, "ef"; the text is 13 bytes.
    const std::string text = "ab\nc\rd\r\n\nef";
    const std::vector<std::pair<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>>> cases = {
        {0, {0, 0}}, {2, {0, 2}}, {3, {1, 0}},  {5, {2, 0}},  {6, {2, 1}},
        {8, {3, 0}}, {9, {4, 0}}, {10, {4, 1}}, {11, {4, 2}}, {500, {4, 2}},
    };
    std::vector<TStoredBookmark> bookmarks;
    for (const auto& [offset, place] : cases) {
        bookmarks.push_back({std::to_string(offset), offset});
    }
    BookmarkPlacer placer(bookmarks);
    for (std::size_t at = 0; at < text.size(); at += 4) {  // in pieces, as records come
        const std::string piece = text.substr(at, 4);
        placer.Follow(ByteView(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()));
    }
    const std::vector<TBookmarkPlace> places = placer.Places();
    ASSERT_EQ(places.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(places[i], (TBookmarkPlace{std::to_string(cases[i].first), cases[i].second.first,
                                             cases[i].second.second}))
            << "offset " << cases[i].first;
    }
}

TEST(DocBookmarks, TheWriterStoresThemAfterTheTextAtTheirPlacesInTheDocText) {
    TempFolder folder;
    // CR LF becomes LF, a lone CR becomes LF, bytes 0x00-0x08 vanish; the first block of 4096
    // source bytes ends between the CR and the LF of the third line's end.
    const std::string source = "one\r\ntw\x01o\rthree " + std::string(4079, 'x') + "\r\nlast\r\n";
    WriteFile(folder.Path("source.txt"), source);
    const std::vector<TBookmarkToStore> bookmarks = {
        {"Two", 5, {}},                       // after "one" CR LF
        {"Second twice", 5, {}},              // the same place, kept in its order
        {"Three", 10, {}},                    // after the dropped 0x01 and the lone CR
        {"Last", source.size() - 6, {}},      // past the second block boundary
        {"Name longer than sixteen", 0, {}},  // cut to 16 bytes
        {"End", source.size() + 40, {}},      // past the text: its end
    };
    ASSERT_TRUE(
        ConvertTextToDoc(folder.Path("source.txt"), folder.Path("book.pdb"), "Book", bookmarks));
    const Bytes file = BytesOf(ReadFile(folder.Path("book.pdb")));
    const std::uint32_t textLength = 4 + 4 + 6 + 4079 + 1 + 5;
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {{"Two", 4},
                                                                         {"Second twice", 4},
                                                                         {"Three", 8},
                                                                         {"Last", textLength - 5},
                                                                         {"Name longer than", 0},
                                                                         {"End", textLength}};
    const auto stored = ReadStoredBookmarks(file);
    ASSERT_EQ(stored.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(stored[i].Name, expected[i].first);
        EXPECT_EQ(stored[i].Offset, expected[i].second) << expected[i].first;
    }

    // The reader finds the text and the bookmarks' lines; the records after the text are no text.
    std::string name;
    DocTextFindings findings;
    ASSERT_TRUE(ConvertDocToText(folder.Path("book.pdb"), folder.Path("back.txt"), name, findings));
    EXPECT_EQ(ReadFile(folder.Path("back.txt")),
              "one\r\ntwo\r\nthree " + std::string(4079, 'x') + "\r\nlast\r\n");
    EXPECT_FALSE(findings.cutShort);
    ASSERT_EQ(findings.bookmarks.size(), expected.size());
    EXPECT_EQ(findings.bookmarks[0], (TBookmarkPlace{"Two", 1, 0}));
    EXPECT_EQ(findings.bookmarks[2], (TBookmarkPlace{"Three", 2, 0}));
    EXPECT_EQ(findings.bookmarks[3], (TBookmarkPlace{"Last", 3, 0}));
    EXPECT_EQ(findings.bookmarks[5], (TBookmarkPlace{"End", 4, 0}));
}

}  // namespace
}  // namespace tomery::doc
