#include "Conversion.h"
#include "ConversionLog.h"
#include "DocDecoder.h"
#include "DocFileBuilder.h"
#include "RecordsBehindFront.h"
#include "SampleTexts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace tomery::doc {
namespace {

using tomery::testing::ReadCrLfLines;
using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

// The records go into the file before the front they follow. A text that changed its length
// while it was read gives a front of another size than the room kept: the records, more than
// one chunk of them, move either way and nothing of the room is left.
TEST(RecordsBehindFront, PutsAFrontOfAnySizeBeforeTheRecords) {
    TempFolder folder;
    Bytes records;
    for (std::size_t k = 0; k < 1000; ++k) {
        records.insert(records.end(), 700, static_cast<std::uint8_t>(k * 7));
    }
    const Bytes after{'e', 'n', 'd'};
    for (const std::size_t frontSize : {60, 100, 140}) {
        const std::string path = folder.Path("book" + std::to_string(frontSize) + ".pdb");
        const Bytes front(frontSize, 'F');
        {
            FileReplacement out(path);
            RecordsBehindFront behind(out, 100);
            for (std::size_t at = 0; at < records.size(); at += 700) {
                ASSERT_TRUE(behind.Append(ByteView(records).subspan(at, 700)));
            }
            ASSERT_TRUE(behind.Finish(front, after));
            ASSERT_TRUE(out.Commit());
        }
        Bytes expected = front;
        expected.insert(expected.end(), records.begin(), records.end());
        expected.insert(expected.end(), after.begin(), after.end());
        const std::string file = ReadFile(path);
        EXPECT_TRUE(Bytes(file.begin(), file.end()) == expected) << "front of " << frontSize;
    }
}

class DocWriter : public ::testing::Test {
  protected:
    Bytes Encode(const std::string& text, const std::string& name = "Story",
                 const ConversionOptions& options = BuiltInConversionOptions()) {
        WriteFile(source, text);
        EXPECT_TRUE(ConvertTextToDoc(source, destination, name, options));
        const std::string file = ReadFile(destination);
        return Bytes(file.begin(), file.end());
    }

    /// Encodes and decodes again, returning the text the reader gives back.
    std::string RoundTrip(const std::string& text) {
        Encode(text);
        std::string name;
        EXPECT_TRUE(ConvertDocToText(destination, folder.Path("back.txt"), name));
        EXPECT_EQ(name, "Story");
        return ReadFile(folder.Path("back.txt"));
    }

    std::vector<std::string> Log() const { return ReadCrLfLines(ConversionLogPath()); }

    TempFolder folder;
    std::string source = folder.Path("text.txt");
    std::string destination = folder.Path("book.pdb");
};

TEST_F(DocWriter, WritesA104ByteFileForAnEmptyText) {
    const Bytes file = Encode("");
    ASSERT_EQ(file.size(), 104u);
    EXPECT_EQ(ReadUInt16(file, 76), 1);
    EXPECT_EQ(ReadUInt32(file, 78), 88u);
    EXPECT_EQ(ReadUInt32(file, 82), 0x406F8000u);
    EXPECT_EQ(ReadUInt16(file, 86), 0);
    const Bytes record0(file.begin() + 88, file.end());
    EXPECT_EQ(record0, (Bytes{0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0}));
    const std::vector<std::string> expected = {
        "", "Opened files: " + source + ", " + destination,
        "saving to " + destination + " as <Story>, compressed", ""};
    EXPECT_EQ(Log(), expected);
}

TEST_F(DocWriter, CutsTheTextInto4096ByteRecords) {
    const std::string text = tomery::testing::GenerateProse(4096 * 2 + 1, 4);
    const Bytes file = Encode(text);
    ASSERT_EQ(ReadUInt16(file, 76), 4);
    EXPECT_EQ(ReadUInt32(file, 78), 88u + 8 * 3);
    EXPECT_EQ(ReadUInt32(file, 78 + 8), 104u + 8 * 3);
    for (std::uint32_t k = 0; k <= 3; ++k) {
        EXPECT_EQ(ReadUInt32(file, 78 + 8 * k + 4), 0x406F8000u + k);
    }
    const std::size_t record0 = ReadUInt32(file, 78);
    EXPECT_EQ(ReadUInt32(file, record0 + 4), text.size()) << "the text length counts every CR";
    EXPECT_EQ(ReadUInt16(file, record0 + 8), 3);
    const std::size_t last = ReadUInt32(file, 78 + 8 * 3);
    Bytes decoded;
    ASSERT_FALSE(DecodeRecord(ByteView(file).subspan(last), decoded));
    EXPECT_LE(decoded.size(), 1u);
    EXPECT_EQ(Log().back(), "converting record 3 of 3");
}

TEST_F(DocWriter, WritesExactly4096BytesAsOneRecord) {
    const Bytes file = Encode(std::string(4096, 'x'));
    EXPECT_EQ(ReadUInt16(file, 76), 2);
}

TEST_F(DocWriter, StoresTheFirst31BytesOfALongName) {
    const Bytes file = Encode("text", std::string(40, 'N'));
    EXPECT_EQ(ReadDocName(file), std::string(31, 'N'));
}

TEST_F(DocWriter, RoundTripsProseByteForByte) {
    // The larger text crosses the windows in which the reader and writer read their files.
    for (const std::size_t size : {100000, 700000}) {
        const std::string prose = tomery::testing::GenerateProse(size, 9);
        EXPECT_EQ(RoundTrip(prose), prose);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()),
                            std::filesystem::directory_iterator()),
              4)
        << "the records waited in no file of their own: text, DOC, text back, log";
}

TEST_F(DocWriter, TurnsLoneCrsIntoCrLfAndDropsControlBytes) {
    EXPECT_EQ(RoundTrip("a\rb\nc\r\n\x01\x02\x08\td"), "a\r\nb\r\nc\r\n\td");
}

TEST_F(DocWriter, KeepsOneLineEndForACrLfSplitByARecordBoundary) {
    const std::string text = std::string(4095, 'x') + "\r\n" + "tail";
    EXPECT_EQ(RoundTrip(text), text);
    const Bytes file = Encode(text);
    EXPECT_EQ(ReadUInt16(file, 76), 3);
}

TEST_F(DocWriter, RoundTripsEveryByteValueButTheDroppedOnes) {
    std::string text;
    for (int b = 0; b < 256; ++b) {
        text += static_cast<char>(b);
    }
    text += "\r\n";
    // 0x0A, and the 0x0D that is not followed by it, each come back as CR LF.
    std::string normalized;
    for (int b = 9; b < 256; ++b) {
        normalized +=
            (b == '\n' || b == '\r') ? std::string("\r\n") : std::string(1, static_cast<char>(b));
    }
    EXPECT_EQ(RoundTrip(text), normalized + "\r\n");
}

TEST_F(DocWriter, StoresRecordsPlainWhenCompressionIsOff) {
    ConversionOptions plain;
    plain.compression = false;
    const Bytes file = Encode("The cat\r\n", "Story", plain);
    EXPECT_EQ(ReadUInt16(file, 88 + 8), kCompressionPlain);
    EXPECT_EQ(Bytes(file.begin() + 112, file.end()), testing::BytesOf("The cat\n"));
    EXPECT_EQ(Log()[2], "saving to " + destination + " as <Story>, not compressed");
}

TEST_F(DocWriter, LeavesLineEndsAloneInBinaryMode) {
    ConversionOptions binary;
    binary.binaryMode = true;
    binary.compression = false;
    const Bytes file = Encode("a\r\n\x01", "Story", binary);
    EXPECT_EQ(Bytes(file.begin() + 112, file.end()), (Bytes{'a', '\r', '\n', 0x01}));
    EXPECT_EQ(Log()[2], "saving to " + destination + " as <Story>, binary mode, not compressed");
}

TEST_F(DocWriter, AnyNumberOfThreadsWritesAndReadsTheSameBytesAndLogsAsOne) {
    // Many batches of records, and a file damaged in its 40th record, whose log must stop
    // there whatever was decoded ahead of it.
    WriteFile(source, tomery::testing::GenerateProse(300000, 5));
    struct Run {
        std::string file, fileLog, text, textLog, damagedLog;
        bool operator==(const Run&) const = default;
    };
    const auto run = [&](unsigned threads) {
        ConversionOptions options;
        options.ratioLogging = true;
        options.threads = threads;
        Run result;
        EXPECT_TRUE(ConvertTextToDoc(source, destination, "Story", options));
        result.file = ReadFile(destination);
        result.fileLog = ReadFile(ConversionLogPath());
        std::string name;
        EXPECT_TRUE(ConvertDocToText(destination, folder.Path("back.txt"), name, options));
        result.text = ReadFile(folder.Path("back.txt"));
        result.textLog = ReadFile(ConversionLogPath());
        Bytes damaged(result.file.begin(), result.file.end());
        damaged[RecordOffset(damaged, 40)] = 0x80;  // a back-reference before the record's start
        damaged[RecordOffset(damaged, 40) + 1] = 0x40;
        WriteFile(folder.Path("damaged.pdb"), damaged);
        EXPECT_FALSE(ConvertDocToText(folder.Path("damaged.pdb"), folder.Path("back.txt"), name,
                                      options));
        result.damagedLog = ReadFile(ConversionLogPath());
        return result;
    };
    const Run one = run(1);
    EXPECT_NE(one.damagedLog.find("bad record 40"), std::string::npos);
    for (const unsigned threads : {2u, 3u, 7u}) {
        EXPECT_TRUE(run(threads) == one) << threads << " threads";
    }
}

TEST_F(DocWriter, LogsTheRatioWhenAskedTo) {
    ConversionOptions ratio;
    ratio.ratioLogging = true;
    const std::string text = tomery::testing::GenerateProse(4096, 2);
    const Bytes file = Encode(text, "Story", ratio);
    const std::size_t written = file.size() - 112;
    char expected[64];
    std::snprintf(expected, sizeof expected,
                  "original 4096 bytes, compressed to %zu bytes, ratio: %5.1f", written,
                  100.0 * static_cast<double>(written) / 4096.0);
    EXPECT_EQ(Log().back(), expected);
    EXPECT_EQ(Log()[Log().size() - 2], "converting record 1 of 1");
}

TEST_F(DocWriter, ReportsFilesThatCannotBeOpened) {
    EXPECT_FALSE(ConvertTextToDoc(folder.Path("missing.txt"), destination, "x"));
    EXPECT_EQ(Log(), (std::vector<std::string>{"", "problem opening files"}));
    WriteFile(source, std::string("text"));
    EXPECT_FALSE(ConvertTextToDoc(source, folder.Path("missing/book.pdb"), "x"));
    EXPECT_EQ(Log(), (std::vector<std::string>{"", "problem opening files"}));
}

TEST_F(DocWriter, NeverTouchesAReadOnlyDestination) {
    WriteFile(destination, std::string("old DOC file"));
    ::chmod(destination.c_str(), 0444);
    WriteFile(source, std::string("new text"));
    EXPECT_FALSE(ConvertTextToDoc(source, destination, "x"));
    EXPECT_EQ(ReadFile(destination), "old DOC file");
}

TEST_F(DocWriter, ReplacesAnExistingFileKeepingItsPermissions) {
    WriteFile(destination, std::string("old DOC file"));
    ::chmod(destination.c_str(), 0640);
    Encode("new text");
    struct stat status {};
    ASSERT_EQ(::stat(destination.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(DocWriter, RefusesATextThatNeedsMoreThan65534Records) {
    WriteFile(destination, std::string("old DOC file"));
    WriteFile(source, std::string());
    ASSERT_EQ(::truncate(source.c_str(), 65534 * 4096 + 1), 0);  // sparse: costs no disk
    EXPECT_FALSE(ConvertTextToDoc(source, destination, "Big"));
    EXPECT_EQ(Log().back(),
              "text too long: it needs 65535 records, a DOC file holds at most 65534");
    EXPECT_EQ(ReadFile(destination), "old DOC file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()),
                            std::filesystem::directory_iterator()),
              3)
        << "no temporary file stays behind";
}

TEST_F(DocWriter, WritesThroughASymbolicLinkToItsTarget) {
    const std::string target = folder.Path("real.pdb");
    WriteFile(target, std::string("old"));
    std::filesystem::create_symlink(target, destination);
    Encode("text");
    EXPECT_TRUE(std::filesystem::is_symlink(destination));
    EXPECT_EQ(ReadUInt16(testing::BytesOf(ReadFile(target)), 76), 2);
}

}  // namespace
}  // namespace tomery::doc
