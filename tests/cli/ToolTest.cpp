// The tomery-doc tool, run as a user would run it.
#include "ChildProcess.h"
#include "DocBookmarks.h"
#include "DocFileBuilder.h"
#include "DocFormat.h"
#include "SampleTexts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>

namespace tomery {
namespace {

using doc::testing::BytesOf;
using doc::testing::DocFileBuilder;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class Tool : public ::testing::Test {
  protected:
    // Document names are typed and shown in the terminal's encoding.
    Tool() { ::setenv("LC_ALL", "C.UTF-8", 1); }

    ToolRun Run(const std::string& arguments) {
        // Run in the test's folder, so that relative paths such as "-odd.txt" can be tried.
        const std::string command = "cd '" + folder.Root() + "' && '" + TOMERY_DOC_BINARY + "' " +
                                    arguments + " >'" + folder.Path("stdout") + "' 2>'" +
                                    folder.Path("stderr") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(folder.Path("stdout")),
                ReadFile(folder.Path("stderr"))};
    }

    std::string Quoted(const std::string& name) const { return "'" + folder.Path(name) + "'"; }

    TempFolder folder;
};

TEST_F(Tool, RoundTripsATextThroughEncodeAndDecode) {
    const std::string text = testing::GenerateProse(30000, 8);
    WriteFile(folder.Path("My Book.txt"), text);
    const ToolRun encode = Run("encode " + Quoted("My Book.txt") + " " + Quoted("book.pdb"));
    ASSERT_EQ(encode.status, 0) << encode.err;
    const ToolRun decode = Run("decode " + Quoted("book.pdb") + " " + Quoted("back.txt"));
    ASSERT_EQ(decode.status, 0) << decode.err;
    EXPECT_EQ(decode.out, "My Book\n");
    EXPECT_EQ(ReadFile(folder.Path("back.txt")), text);
    EXPECT_TRUE(std::filesystem::exists(folder.Path("Conversion.log")));
}

TEST_F(Tool, KeepsTheBytesOfFileNamesThatAreNotUtf8) {
    WriteFile(folder.Path("caf\xE9.txt"), std::string("Une tasse.\r\n"));
    const ToolRun encode = Run("encode " + Quoted("caf\xE9.txt") + " " + Quoted("caf\xE9.pdb"));
    ASSERT_EQ(encode.status, 0) << encode.err;
    EXPECT_EQ(Run("info " + Quoted("caf\xE9.pdb")).status, 0);
    const ToolRun decode = Run("decode " + Quoted("caf\xE9.pdb") + " " + Quoted("caf\xE9 2.txt"));
    ASSERT_EQ(decode.status, 0) << decode.err;
    // The name's byte is the DOC's Windows-1252 "\xE9", shown in the terminal's UTF-8.
    EXPECT_EQ(decode.out, "caf\xC3\xA9\n");
    EXPECT_EQ(ReadFile(folder.Path("caf\xE9 2.txt")), "Une tasse.\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
        EXPECT_EQ(entry.path().string().find("\xEF\xBF\xBD"), std::string::npos) << entry.path();
    }
}

TEST_F(Tool, TakesTheDocumentNameFromTheNameOption) {
    WriteFile(folder.Path("a.txt"), std::string("x"));
    ASSERT_EQ(
        Run("encode " + Quoted("a.txt") + " " + Quoted("a.pdb") + " --name 'Short Tales'").status,
        0);
    EXPECT_EQ(doc::ReadDocName(BytesOf(ReadFile(folder.Path("a.pdb")))), "Short Tales");

    const ToolRun cut = Run("encode a.txt b.pdb --name=" + std::string(40, 'x'));
    EXPECT_EQ(cut.status, 0);
    const std::string stored(31, 'x');
    EXPECT_EQ(cut.err,
              "tomery-doc: the document name is cut to the 31 characters a DOC file holds: " +
                  stored + "\n");
}

// The road of a Project Gutenberg e-text: UTF-8 with a mark, typographic punctuation and a
// letter Windows-1252 lacks.
TEST_F(Tool, EncodesAUnicodeTextIntoTheDocsCharacterSet) {
    WriteFile(folder.Path("book.txt"),
              std::string("\xEF\xBB\xBF\u201CHello\u201D \u2014 caf\u00E9\nDvo\u0159\u00E1k\n"));
    const ToolRun encode = Run("encode book.txt book.pdb --name='Anton\u00EDn Dvo\u0159\u00E1k'");
    ASSERT_EQ(encode.status, 0) << encode.err;
    EXPECT_EQ(encode.err,
              "tomery-doc: book.txt: 1 character was replaced:\nline 2: \u0159 \u2192 r\n"
              "tomery-doc: the document name: 1 character was replaced:\n\u0159 \u2192 r\n");
    EXPECT_EQ(doc::ReadDocName(BytesOf(ReadFile(folder.Path("book.pdb")))), "Anton\xEDn Dvor\xE1k");
    EXPECT_NE(Run("info book.pdb").out.find("name: Anton\u00EDn Dvor\u00E1k\n"), std::string::npos);

    const ToolRun decode = Run("decode book.pdb back.txt --to=utf-8");
    ASSERT_EQ(decode.status, 0) << decode.err;
    EXPECT_EQ(decode.out, "Anton\u00EDn Dvor\u00E1k\n");
    EXPECT_EQ(ReadFile(folder.Path("back.txt")),
              "\u201CHello\u201D \u2014 caf\u00E9\r\nDvor\u00E1k\r\n");

    if (!std::filesystem::exists("/usr/bin/txt2pdbdoc")) {
        GTEST_SKIP() << "txt2pdbdoc is not installed";
    }
    ASSERT_EQ(
        std::system(("cd '" + folder.Root() + "' && txt2pdbdoc -d book.pdb peer.txt").c_str()), 0);
    EXPECT_EQ(ReadFile(folder.Path("peer.txt")), "\x93Hello\x94 \x97 caf\xE9\nDvor\xE1k\n");
}

TEST_F(Tool, ConvertsBetweenTheTextsEncodingAndTheDocsCharacterSet) {
    // Encoded as bytes of the set until the first byte beyond ASCII, some batches of records in.
    const std::string ascii(600000, 'a');
    const struct {
        const char* charset;
        const char* from;  ///< nothing: as the text's bytes tell
        std::string text;
        std::string stored;
        std::string utf8;
    } cases[] = {
        {"windows-1252", nullptr, "caf\xE9 \x93q\x94", "caf\xE9 \x93q\x94",
         "caf\u00E9 \u201Cq\u201D"},
        {"windows-1251", nullptr, "\u041C\u0438\u0440", "\xCC\xE8\xF0", "\u041C\u0438\u0440"},
        {"cp1251", "koi8-r", "\xED\xC9\xD2", "\xCC\xE8\xF0", "\u041C\u0438\u0440"},
        {"windows-1252", nullptr, std::string("\xFE\xFF\0c\0\xE9", 6), "c\xE9", "c\u00E9"},
        {"windows-1252", "utf-16le", std::string("c\0\xE9\0", 4), "c\xE9", "c\u00E9"},
        {"windows-1252", nullptr, ascii + "caf\u00E9", ascii + "caf\xE9", ascii + "caf\u00E9"},
        {"windows-1252", nullptr, ascii + "caf\xE9", ascii + "caf\xE9", ascii + "caf\u00E9"},
        {"windows-1252", "windows-1252", "caf\xC3\xA9", "caf\xC3\xA9", "caf\u00C3\u00A9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.charset) + " from " + (c.from ? c.from : "its bytes"));
        WriteFile(folder.Path("in.txt"), c.text);
        const std::string from = c.from ? std::string(" --from=") + c.from : "";
        const std::string charset = std::string(" --charset=") + c.charset;
        const ToolRun encode = Run("encode in.txt in.pdb" + charset + from);
        ASSERT_EQ(encode.status, 0) << encode.err;
        EXPECT_EQ(encode.err, "");
        ASSERT_EQ(Run("decode in.pdb stored.txt").status, 0);
        EXPECT_EQ(ReadFile(folder.Path("stored.txt")), c.stored);
        ASSERT_EQ(Run("decode in.pdb - --to=UTF-8" + charset).status, 0);
        EXPECT_EQ(ReadFile(folder.Path("stdout")), c.utf8);
    }
    const ToolRun greek = Run("decode in.pdb greek.txt --to=iso-8859-7");
    EXPECT_EQ(greek.status, 0);
    EXPECT_EQ(ReadFile(folder.Path("greek.txt")), "cafA\xA9");
    EXPECT_EQ(greek.err,
              "tomery-doc: greek.txt: 1 character was replaced:\nline 1: \u00C3 \u2192 A\n");
}

TEST_F(Tool, SniffsABigTextInPartsWhereOnePartsInvalidByteMakesItBytes) {
    // Big enough to be sniffed in parts, one per core, which all stop once one finds no UTF-8.
    const std::size_t early = 1 << 20;
    const std::string filler(9 << 20, 'a');
    const struct {
        std::string head, first, last;  ///< the mark, and what stands early and at the end
        std::string storedFirst, storedLast;
    } cases[] = {
        {"", "\xE9", "\u00E9", "\xE9", "\u00E9"},
        {"", "\u00E9", "\xE9", "\u00E9", "\xE9"},
        {"", "\u00E9", "\u00E9", "\xE9", "\xE9"},
        {"\xEF\xBB\xBF", "\u00E9", "\xE9", "\xE9", "?"},  // a mark wins over a bad byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head + c.first + " ... " + c.last);
        WriteFile(folder.Path("big.txt"), c.head + filler.substr(0, early) + c.first +
                                              filler.substr(early) + c.last + "\r\n");
        ASSERT_EQ(Run("encode big.txt big.pdb").status, 0);
        ASSERT_EQ(Run("decode big.pdb stored.txt").status, 0);
        const std::string stored = ReadFile(folder.Path("stored.txt"));
        const std::size_t lastAt = stored.size() - c.storedLast.size() - 2;
        EXPECT_EQ(stored.substr(early, c.storedFirst.size()), c.storedFirst);
        EXPECT_EQ(stored.substr(lastAt, c.storedLast.size()), c.storedLast);
    }
}

TEST_F(Tool, DescribesADocFile) {
    WriteFile(folder.Path("a.txt"), std::string(5000, 'z'));
    ASSERT_EQ(Run("encode " + Quoted("a.txt") + " " + Quoted("a.pdb")).status, 0);
    const ToolRun info = Run("info " + Quoted("a.pdb"));
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out,
              "name: a\ntype: TEXt\ncreator: REAd\ncreated: 1973-08-16 19:38:22 UTC\n"
              "modified: 1973-08-16 19:38:22 UTC\nbacked up: none\nrecords: 2\n"
              "compression: 2 (compressed)\ntext length: 5000\n");
}

TEST_F(Tool, EncodeStoresNoBookmarksUnlessToldToKeepAnotherDocsOnes) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("older text")};
    builder.extraRecords = {doc::BuildBookmarkRecord({"Near", 2}),
                            doc::BuildBookmarkRecord({"Far", 9})};
    doc::Bytes old = builder.Build();
    doc::WriteUInt32(old, doc::RecordOffset(old, 0) + doc::kTextLengthOffset, 10);
    WriteFile(folder.Path("old.pdb"), old);
    WriteFile(folder.Path("new.txt"), std::string("new\r\n"));
    ASSERT_EQ(Run("encode " + Quoted("new.txt") + " " + Quoted("plain.pdb")).status, 0);
    EXPECT_TRUE(doc::ReadStoredBookmarks(folder.Path("plain.pdb")).empty());

    const ToolRun kept = Run("encode " + Quoted("new.txt") + " " + Quoted("kept.pdb") +
                             " --keep-bookmarks-from=" + Quoted("old.pdb"));
    ASSERT_EQ(kept.status, 0) << kept.err;
    const auto bookmarks = doc::ReadStoredBookmarks(folder.Path("kept.pdb"));
    ASSERT_EQ(bookmarks.size(), 2u);
    EXPECT_EQ(bookmarks[0].Name, "Near");
    EXPECT_EQ(bookmarks[0].Offset, 2u);
    EXPECT_EQ(bookmarks[1].Offset, 4u);  // the new text "new" LF ends before 9
    EXPECT_NE(Run("info " + Quoted("kept.pdb")).out.find("stored bookmarks: 2\n"),
              std::string::npos);
    EXPECT_EQ(Run("encode " + Quoted("new.txt") + " " + Quoted("x.pdb") +
                  " --keep-bookmarks-from=" + Quoted("missing.pdb"))
                  .status,
              2);
}

TEST_F(Tool, InfoChecksTheRecordsAsDecodeDoes) {
    struct Case {
        const char* file;
        std::vector<std::string> records;  ///< compressed
        std::uint32_t declaredLength;
        int status;
        const char* err;  ///< after "tomery-doc: " and the path
    };
    const Case cases[] = {
        {"whole", {"ab"}, 2, 0, ""},
        {"damaged",
         {"a\x80"},
         2,
         1,
         ": damaged: bad record 1: back-reference cut off by the end "
         "of the record at byte 1\n"},
        {"cut short", {"ab"}, 40, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DocFileBuilder builder;
        for (const std::string& record : c.records) {
            builder.textRecords.push_back(BytesOf(record));
        }
        doc::Bytes file = builder.Build();
        doc::WriteUInt32(file, doc::RecordOffset(file, 0) + doc::kTextLengthOffset,
                         c.declaredLength);
        WriteFile(folder.Path("book.pdb"), file);
        const ToolRun info = Run("info " + Quoted("book.pdb"));
        const ToolRun decode = Run("decode " + Quoted("book.pdb") + " " + Quoted("out.txt"));
        EXPECT_EQ(info.status, c.status);
        EXPECT_EQ(decode.status, c.status);
        EXPECT_NE(info.out.find("name: Story\n"), std::string::npos);
        const std::string path = folder.Path("book.pdb");
        if (c.declaredLength == 40) {
            const std::string warning = "tomery-doc: warning: " + path +
                                        ": the text ends before the length the file declares; "
                                        "the file may be cut short\n";
            EXPECT_EQ(info.err, warning);
            EXPECT_EQ(decode.err, warning);
        } else {
            EXPECT_EQ(info.err, *c.err == 0 ? std::string() : "tomery-doc: " + path + c.err);
        }
    }
}

TEST_F(Tool, ReportsBothRecordCountsWhenRecordsFollowTheText) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("text")};
    builder.extraRecords = {doc::Bytes(20, 0), doc::Bytes(20, 0)};
    WriteFile(folder.Path("marked.pdb"), builder.Build());
    const ToolRun info = Run("info " + Quoted("marked.pdb"));
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("records: 1\n"), std::string::npos);
    EXPECT_NE(info.out.find("record 0 text records: 1\nheader records: 4\n"), std::string::npos);
}

TEST_F(Tool, FailsAConversionWithStatusOneAndNamesTheLogWhenThereIsOne) {
    DocFileBuilder builder;
    builder.type = "Data";
    WriteFile(folder.Path("data.pdb"), builder.Build());
    const ToolRun decode = Run("decode " + Quoted("data.pdb") + " " + Quoted("out.txt"));
    EXPECT_EQ(decode.status, 1);
    EXPECT_EQ(decode.err,
              "tomery-doc: conversion failed; see " + folder.Path("Conversion.log") + "\n");
    EXPECT_EQ(Run("info " + Quoted("data.pdb")).status, 1);

    // A log that could not be made, or not written whole, is named once and pointed to never.
    const std::string log = folder.Path("Conversion.log");
    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    EXPECT_EQ(Run("decode " + Quoted("data.pdb") + " " + Quoted("out.txt")).err,
              "Error creating log file: " + log + "\ntomery-doc: conversion failed\n");
    std::filesystem::remove(log);
    std::filesystem::create_symlink("/dev/full", log);
    EXPECT_EQ(Run("decode " + Quoted("data.pdb") + " " + Quoted("out.txt")).err,
              "Error writing log file: " + log + "\ntomery-doc: conversion failed\n");
}

TEST_F(Tool, AnswersBadUsageAndMissingFilesWithStatusTwo) {
    EXPECT_EQ(Run("").status, 2);
    EXPECT_EQ(Run("frobnicate").status, 2);
    EXPECT_EQ(Run("decode only-one-path").status, 2);
    EXPECT_EQ(Run("encode a b --name").status, 2);
    const ToolRun missing = Run("decode " + Quoted("missing.pdb") + " " + Quoted("out.txt"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);
    EXPECT_EQ(Run("info " + Quoted("missing.pdb")).status, 2);
}

TEST_F(Tool, RefusesOutputsThatWouldLoseDataOrCannotBeMade) {
    WriteFile(folder.Path("a.txt"), std::string("text"));
    std::filesystem::create_symlink("a.txt", folder.Path("link.txt"));
    std::filesystem::create_hard_link(folder.Path("a.txt"), folder.Path("hard.txt"));
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"encode a.txt a.txt", "the output is the input file itself: a.txt"},
        {"encode a.txt link.txt", "the output is the input file itself"},
        {"decode link.txt hard.txt", "the output is the input file itself"},
        {"encode a.txt missing/a.pdb", "the output folder does not exist: missing"},
        {"encode a.txt a.pdb --name \"$(printf 'A\\tB')\"", "control characters"},
        {"encode a.txt a.pdb --bogus", "unknown option: --bogus"},
        {"decode -x a.txt b.txt", "unknown option: -x"},
        {"decode a.txt b.txt --from=utf-8", "unknown option: --from=utf-8"},
        {"encode a.txt a.pdb --charset=klingon",
         "unknown character set: klingon\nknown character sets: windows-1252, palmos-latin, "},
        {"info a.txt --charset", "--charset needs a value"},
        {"encode a.txt a.pdb --from=utf-32",
         "unknown encoding for --from: utf-32\nknown encodings: utf-8, utf-16le, utf-16be, "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = Run(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(folder.Path("a.txt")), "text");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("a.pdb")));
}

TEST_F(Tool, TakesDashForTheStandardStreamsAndStopsOptionsAtDoubleDash) {
    const std::string text = "line one\r\nline two\r\n";
    WriteFile(folder.Path("-odd.txt"), text);
    ASSERT_EQ(Run("encode --name=Odd -- -odd.txt --name").status, 0);
    EXPECT_EQ(doc::ReadDocName(BytesOf(ReadFile(folder.Path("--name")))), "Odd");

    const ToolRun piped =
        Run("encode - - < ./-odd.txt | '" + std::string(TOMERY_DOC_BINARY) + "' decode - -");
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, text);
    ASSERT_EQ(Run("encode - piped.pdb < ./-odd.txt").status, 0);
    EXPECT_EQ(doc::ReadDocName(BytesOf(ReadFile(folder.Path("piped.pdb")))), "piped");
    EXPECT_NE(Run("info - < piped.pdb").out.find("name: piped\n"), std::string::npos);
}

TEST_F(Tool, WritesOverADocFileInAFolderThatRefusesNewFiles) {
    const std::string locked = folder.Path("locked");
    std::filesystem::create_directory(locked);
    WriteFile(folder.Path("a.txt"), std::string("new text"));
    WriteFile(locked + "/book.pdb", std::string("old"));
    ::chmod(folder.Root().c_str(), 0777);  // the conversion log is written there
    ::chmod((locked + "/book.pdb").c_str(), 0666);
    ::chmod(locked.c_str(), 0555);
    const int status = testing::RunUnprivileged([&] {
        const ToolRun run = Run("encode a.txt locked/book.pdb --name Book");
        return run.status;
    });
    ::chmod(locked.c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(doc::ReadDocName(BytesOf(ReadFile(locked + "/book.pdb"))), "Book");
}

TEST_F(Tool, PrintsHelpAndVersion) {
    const ToolRun help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("tomery-doc decode IN.pdb OUT.txt"), std::string::npos);
    const ToolRun version = Run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tomery-doc ", 0), 0u);
}

}  // namespace
}  // namespace tomery
