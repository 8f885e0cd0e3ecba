#include "ChildProcess.h"
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocFileBuilder.h"
#include "DocReader.h"
#include "DocSource.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace tomery::doc {
namespace {

using testing::BytesOf;
using testing::DocFileBuilder;
using tomery::testing::ReadCrLfLines;
using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class DocReader : public ::testing::Test {
  protected:
    /// Decodes `file` into text.txt; the output, the log and the name are left for checks.
    bool Decode(const Bytes& file, const ConversionOptions& options = BuiltInConversionOptions()) {
        WriteFile(source, file);
        return ConvertDocToText(source, output, docName, options);
    }

    std::vector<std::string> Log() const { return ReadCrLfLines(ConversionLogPath()); }
    bool LogHas(const std::string& line) const {
        const auto lines = Log();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    TempFolder folder;
    std::string source = folder.Path("book.pdb");
    std::string output = folder.Path("text.txt");
    std::string docName = "unchanged";
};

TEST_F(DocReader, WritesTheLogOfASuccessfulRead) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("One\n"), BytesOf("Two")};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "One\r\nTwo");
    EXPECT_EQ(docName, "Story");
    const std::vector<std::string> expected = {
        "",
        "opened source file: " + source,
        "file pos = 78",
        "Name = Story",
        "Creator = REAd",
        "Type = TEXt",
        "Record0 pos = 104",
        "bCompressed = 2",
        "Next file pos = 120",
        "",
        "opened dest file: " + output,
        "",
        "dwLen = 127",
        "nRecs = 2",
        "Rec 1: pos = 120",
        "       dwRecLen = 4",
        "       4 bytes read",
        "reconverting Story: record 1 of 2",
        "Rec 2: pos = 124",
        "       dwRecLen = 3",
        "       3 bytes read",
        "reconverting Story: record 2 of 2",
    };
    EXPECT_EQ(Log(), expected);
}

TEST_F(DocReader, ConvertsAFileWithOnlyRecordZeroToAnEmptyText) {
    ASSERT_TRUE(Decode(DocFileBuilder{}.Build()));
    EXPECT_EQ(ReadFile(output), "");
    EXPECT_TRUE(LogHas("nRecs = 0"));
}

TEST_F(DocReader, CopiesPlainRecordsWithOnlyTheLineEndsExpanded) {
    DocFileBuilder builder;
    builder.compression = kCompressionPlain;
    builder.textRecords = {Bytes{0x80, 0x08, '\n', 0xE8}};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "\x80\x08\r\n\xE8");
}

TEST_F(DocReader, ReadsARecordLargerThanTheWindowItReadsTheFileIn) {
    DocFileBuilder builder;
    builder.compression = kCompressionPlain;
    builder.textRecords = {BytesOf("a\n"), Bytes(300000, 'x'), BytesOf("z")};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "a\r\n" + std::string(300000, 'x') + "z");
}

TEST_F(DocReader, WarnsOfAnUnknownCompressionAndDecodesAnyway) {
    DocFileBuilder builder;
    builder.compression = 0;
    builder.textRecords = {Bytes{0x61, 0x80, 0x08}};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "aaaa");
    EXPECT_TRUE(LogHas("WARNING: unknown file compression type: 0"));
}

TEST_F(DocReader, KeepsBinaryModeBytesAsTheyAre) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("a\nb")};
    ConversionOptions binary;
    binary.binaryMode = true;
    ASSERT_TRUE(Decode(builder.Build(), binary));
    EXPECT_EQ(ReadFile(output), "a\nb");
}

TEST_F(DocReader, RefusesAnotherTypeWithoutCreatingTheOutput) {
    DocFileBuilder builder;
    builder.type = "Data";
    EXPECT_FALSE(Decode(builder.Build()));
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(docName, "unchanged");
    const auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "");
    EXPECT_EQ(log.back(), ".prc file is not the correct format");
}

TEST_F(DocReader, RefusesTypeAndCreatorThatDifferOnlyInCase) {
    DocFileBuilder lower;
    lower.type = "text";
    EXPECT_FALSE(Decode(lower.Build()));
    DocFileBuilder read;
    read.creator = "Read";
    EXPECT_FALSE(Decode(read.Build()));
}

TEST_F(DocReader, ReportsAMissingSourceAndKeepsTheName) {
    EXPECT_FALSE(ConvertDocToText(folder.Path("missing.pdb"), output, docName));
    EXPECT_EQ(docName, "unchanged");
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "", "problem opening source file: " + folder.Path("missing.pdb")}));
}

TEST_F(DocReader, EmptiesTheNameOnAFailureAfterTheFormatCheck) {
    DocFileBuilder builder;
    builder.textRecords = {Bytes{0x80, 0x08}};
    EXPECT_FALSE(Decode(builder.Build()));
    EXPECT_EQ(docName, "");
}

TEST_F(DocReader, ReportsAnOutputFileThatCannotBeCreated) {
    output = folder.Path("no-such-folder/text.txt");
    DocFileBuilder builder;
    EXPECT_FALSE(Decode(builder.Build()));
    EXPECT_EQ(Log().back(), "problem opening output file " + output);
}

TEST_F(DocReader, LeavesAReadOnlySourceReadOnlyOnEveryPath) {
    DocFileBuilder good;
    good.textRecords = {BytesOf("text")};
    DocFileBuilder bad = good;
    bad.textRecords = {Bytes{0x80, 0x08}};
    for (const auto* builder : {&good, &bad}) {
        WriteFile(source, builder->Build());
        ::chmod(source.c_str(), 0444);
        ConvertDocToText(source, output, docName);
        struct stat status {};
        ASSERT_EQ(::stat(source.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0444u);
        ::chmod(source.c_str(), 0644);
    }
}

TEST_F(DocReader, OpensTheSourceForReadingOnlyAndNeverChangesItsAttributes) {
    // Changing permissions, even and back, stamps the file's change time: it must stay.
    DocFileBuilder good;
    good.textRecords = {BytesOf("text")};
    WriteFile(source, good.Build());
    ::chmod(source.c_str(), 0444);
    struct stat before {};
    ASSERT_EQ(::stat(source.c_str(), &before), 0);
    ASSERT_TRUE(ConvertDocToText(source, output, docName));
    struct stat after {};
    ASSERT_EQ(::stat(source.c_str(), &after), 0);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(after.st_mode, before.st_mode);
}

TEST_F(DocReader, ReportsALogThatCannotBeCreatedThroughTheReporter) {
    std::string reported;
    SetLogErrorReporter([&](const std::string& message) { reported = message; });
    ::setenv("TOMERY_HOME", folder.Path("missing-folder").c_str(), 1);
    DocFileBuilder builder;
    WriteFile(source, builder.Build());
    EXPECT_FALSE(ConvertDocToText(source, output, docName));
    EXPECT_FALSE(ConvertTextToDoc(source, folder.Path("out.pdb"), "x"));
    SetLogErrorReporter({});
    EXPECT_EQ(reported,
              "Error creating log file: " + folder.Path("missing-folder") + "/Conversion.log");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.pdb")));
}

TEST_F(DocReader, ReportsALogThatCannotBeWrittenWhole) {
    DocFileBuilder builder;
    WriteFile(source, builder.Build());
    // A disk that fills up after the log's first bytes.
    const int result = tomery::testing::RunInChildProcess([&] {
        std::string reported;
        SetLogErrorReporter([&](const std::string& message) { reported = message; });
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ConvertDocToText(source, output, docName);
        return reported == "Error writing log file: " + folder.Path("Conversion.log") ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(DocReader, DecodesOnlyTheTextRecordsWhenBookmarksFollow) {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("Chapter 1\n"), BytesOf("Chapter 2\n")};
    Bytes bookmark = BytesOf("Chapter 2");
    bookmark.resize(16, 0);
    AppendUInt32(bookmark, 10);
    builder.extraRecords = {bookmark};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "Chapter 1\r\nChapter 2\r\n");
    const auto log = Log();
    const auto records = std::find(log.begin(), log.end(), "nRecs = 2");
    ASSERT_NE(records, log.end());
    EXPECT_EQ(*std::next(records),
              "skipping 1 record after the 2 text records that record 0 counts");

    builder.extraRecords.push_back(bookmark);
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_TRUE(LogHas("skipping 2 records after the 2 text records that record 0 counts"));
}

TEST_F(DocReader, DecodesAllRecordsWhenRecordZerosCountCannotBeRight) {
    for (const std::uint16_t stored : {0, 3}) {
        DocFileBuilder builder;
        builder.textRecords = {BytesOf("a"), BytesOf("b")};
        builder.storedTextRecords = stored;
        ASSERT_TRUE(Decode(builder.Build()));
        EXPECT_EQ(ReadFile(output), "ab");
    }
}

TEST_F(DocReader, ReadsCrLfStoredInsideRecordsAsOneLineEnd) {
    DocFileBuilder builder;
    builder.compression = kCompressionPlain;
    builder.textRecords = {BytesOf("one\r\ntwo\r"), BytesOf("\nthree\nfour\r\r\n")};
    ASSERT_TRUE(Decode(builder.Build()));
    EXPECT_EQ(ReadFile(output), "one\r\ntwo\r\nthree\r\nfour\r\r\n");
}

TEST_F(DocReader, ReadsTheHeaderLayoutsOfOtherConverters) {
    DocFileBuilder spaced;
    spaced.record0Offset = 256;
    DocFileBuilder bare;
    bare.entryTag = 0;
    DocFileBuilder noGap;
    noGap.gapAfterList = false;
    DocFileBuilder dated;
    dated.date = 0xB5C3A2F0;
    DocFileBuilder all = spaced;
    all.entryTag = 0;
    all.date = 0xB5C3A2F0;
    for (DocFileBuilder* builder : {&spaced, &bare, &noGap, &dated, &all}) {
        builder->textRecords = {Bytes{'T', 'h', 'e', 0xE3, 'a', 't', '\n'}, BytesOf("end")};
        ASSERT_TRUE(Decode(builder->Build()));
        EXPECT_EQ(ReadFile(output), "The cat\r\nend");
        EXPECT_EQ(docName, "Story");
    }
}

struct BrokenLayout {
    const char* what;
    Bytes file;
    const char* logLine;
};

class BrokenLayouts : public DocReader, public ::testing::WithParamInterface<BrokenLayout> {};

TEST_P(BrokenLayouts, FailWithALogLineAndLeaveTheOutputAlone) {
    WriteFile(output, std::string("previous text"));
    EXPECT_FALSE(Decode(GetParam().file)) << GetParam().what;
    EXPECT_EQ(ReadFile(output), "previous text");
    EXPECT_EQ(Log().back(), GetParam().logLine) << GetParam().what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()),
                            std::filesystem::directory_iterator()),
              3)
        << "no temporary file stays behind";
}

Bytes WithUInt32(Bytes file, std::size_t offset, std::uint32_t value) {
    WriteUInt32(file, offset, value);
    return file;
}

Bytes WithUInt16(Bytes file, std::size_t offset, std::uint16_t value) {
    WriteUInt16(file, offset, value);
    return file;
}

Bytes TwoRecordFile() {
    DocFileBuilder builder;
    builder.textRecords = {BytesOf("first"), BytesOf("second")};
    return builder.Build();  // record 0 at 104, records at 120 and 125, 131 bytes
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenLayouts,
    ::testing::Values(
        BrokenLayout{"a file shorter than its header", Bytes(40, 0),
                     "file is shorter than its header: 40 bytes"},
        BrokenLayout{"no records", WithUInt16(TwoRecordFile(), 76, 0),
                     "bad header: the number of records is 0"},
        BrokenLayout{"a record list past the end", WithUInt16(TwoRecordFile(), 76, 200),
                     "bad header: the record list of 200 records runs past the end of the file"},
        BrokenLayout{"record 0 inside the record list", WithUInt32(TwoRecordFile(), 78, 90),
                     "bad record list: record 0 at 90 does not lie between the record list and "
                     "the end of the file"},
        BrokenLayout{"record 0 past the end", WithUInt32(TwoRecordFile(), 78, 125),
                     "bad record list: record 0 at 125 does not lie between the record list and "
                     "the end of the file"},
        BrokenLayout{"a record inside the record list", WithUInt32(TwoRecordFile(), 86, 80),
                     "bad record list: offset 80 of record 1 lies before the end of the record "
                     "list at 102"},
        BrokenLayout{"decreasing offsets", WithUInt32(TwoRecordFile(), 94, 110),
                     "bad record list: offset 110 of record 2 is below the offset of the record "
                     "before it, 120"},
        BrokenLayout{"an offset past the end", WithUInt32(TwoRecordFile(), 94, 5000),
                     "bad record list: offset 5000 of record 2 lies beyond the end of the file "
                     "at 131"},
        BrokenLayout{"a malformed record", WithUInt32(TwoRecordFile(), 120, 0x80080000),
                     "bad record 1: back-reference at byte 0 with distance 1 reaches outside "
                     "the record's text"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DocReaderLength, WarnsWhenTheTextEndsBeforeTheLengthRecordZeroDeclares) {
    struct Case {
        const char* file;
        std::vector<std::string> records;
        std::uint32_t declared;
        bool cutShort;
    };
    const std::string full(kTextRecordSize, 'a');
    // Other converters date their files and declare the text's own length; this program's
    // writer uses its fixed date and declares the CR LF text it read, one byte more a line.
    const Case cases[] = {
        {"other converter, whole", {full, "bb\n"}, 4099, false},
        {"other converter, last record cut", {full, "b"}, 4099, true},
        {"other converter, cut by less than its line ends", {full, "\n\n"}, 4099, true},
        {"this writer, whole", {"one\ntwo\n"}, 10, false},
        {"this writer, whole, in two records", {std::string(2048, '\n'), "z"}, 4097, false},
        {"this writer, cut", {"one\ntw"}, 10, true},
        {"no length declared", {"text"}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DocFileBuilder builder;
        builder.compression = kCompressionPlain;
        if (std::string_view(c.file).starts_with("other")) {
            builder.date = 0xC1A2B3C4;
        }
        for (const std::string& record : c.records) {
            builder.textRecords.push_back(BytesOf(record));
        }
        Bytes file = builder.Build();
        WriteUInt32(file, RecordOffset(file, 0) + kTextLengthOffset, c.declared);
        const DocImageText image = DecodeDocImage(
            std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
        EXPECT_TRUE(image.converted);
        EXPECT_EQ(image.findings.cutShort, c.cutShort);
        EXPECT_EQ(image.log.find("WARNING: the text ends before the length record 0 declares (") !=
                      std::string::npos,
                  c.cutShort);
    }
}

// A file whose bytes from `failAt` on cannot be read, as on a damaged disk.
class FailingSource final : public DocSource {
  public:
    FailingSource(ByteView image, std::size_t failAt) : image_(image), failAt_(failAt) {}
    std::size_t Size() const override { return image_.size(); }
    ByteView Read(std::size_t offset, std::size_t length) override {
        failed_ = failed_ || offset + length > failAt_;
        return ByteView(image_).subspan(
            std::min(offset, failAt_),
            std::min(offset + length, failAt_) - std::min(offset, failAt_));
    }
    bool Failed() const override { return failed_; }

  private:
    ByteView image_;
    std::size_t failAt_;
    bool failed_ = false;
};

// Records are read a batch at a time: a read that fails stops the text at the first record it
// did not bring whole, which the log names with the bytes that were read of it.
TEST(DocReaderFailure, StopsAtTheRecordTheFailedReadDidNotBringWhole) {
    DocFileBuilder builder;
    builder.compression = kCompressionPlain;
    builder.textRecords.assign(100, Bytes(100, 'a'));
    const Bytes file = builder.Build();
    struct Case {
        std::size_t record;  ///< the text record the failure lies in
        std::size_t into;    ///< the bytes of it that can be read
    };
    for (const Case c : {Case{1, 0}, Case{1, 99}, Case{64, 50}, Case{65, 0}, Case{100, 1}}) {
        SCOPED_TRACE("record " + std::to_string(c.record) + " + " + std::to_string(c.into));
        const std::size_t offset = RecordOffset(file, c.record);
        FailingSource source(file, offset + c.into);
        MemoryLog log;
        DiscardingSink sink;
        ConversionOptions options;
        options.threads = 2;
        std::string name;
        EXPECT_FALSE(ReadDocText(log, source, sink, name, options));
        const std::string record = "Rec " + std::to_string(c.record) +
                                   ": pos = " + std::to_string(offset) +
                                   "\r\n       dwRecLen = 100\r\n       " + std::to_string(c.into) +
                                   " bytes read\r\n\r\nproblem reading source file\r\n";
        EXPECT_TRUE(log.Text().ends_with(record)) << log.Text();
        if (c.record > 1) {
            EXPECT_NE(log.Text().find("record " + std::to_string(c.record - 1) + " of 100\r\n"),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tomery::doc
