// Conversions tell how far they got, and a cancel leaves their output as it was: also the
// decoding that hands its text on as it goes.
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocTextStream.h"
#include "SampleTexts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tomery::doc {
namespace {

using tomery::testing::ReadCrLfLines;
using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class ConversionProgress : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(text, tomery::testing::GenerateProse(6 << 20, 3));
        ASSERT_TRUE(ConvertTextToDoc(text, pdb, "Prose"));
    }

    std::size_t FilesInFolder() const {
        const auto entries = std::filesystem::directory_iterator(folder.Root());
        return static_cast<std::size_t>(std::distance(entries, {}));
    }

    TempFolder folder;
    std::string text = folder.Path("prose.txt");
    std::string pdb = folder.Path("prose.pdb");
    std::string output = folder.Path("out");
};

TEST_F(ConversionProgress, BothDirectionsReportEachBatchAndACancelLeavesTheOutputAsItWas) {
    for (const bool decode : {true, false}) {
        WriteFile(output, "the old output");
        const std::size_t files = FilesInFolder();
        std::vector<std::uint64_t> done;
        ConversionOptions options = BuiltInConversionOptions();
        options.progress = [&](std::uint64_t bytes, std::uint64_t total) {
            EXPECT_EQ(total, std::filesystem::file_size(decode ? pdb : text));
            EXPECT_TRUE(done.empty() || bytes > done.back());
            done.push_back(bytes);
            return done.size() < 3;
        };
        std::string name;
        EXPECT_THROW(decode ? ConvertDocToText(pdb, output, name, options)
                            : ConvertTextToDoc(text, output, "Prose", options),
                     EWorkCancelled);
        EXPECT_EQ(done.size(), 3u);
        EXPECT_EQ(ReadFile(output), "the old output");
        EXPECT_EQ(FilesInFolder(), files) << "no temporary file stays behind";
        EXPECT_EQ(ReadCrLfLines(ConversionLogPath()).back(), "conversion cancelled");
    }
}

TEST_F(ConversionProgress, AWriterShownItsBlocksInOrderStopsAtTheFirstRefusedAndKeepsTheOutput) {
    const std::string source = ReadFile(text);
    // In the first batch of blocks, and in one read while another is compressed.
    for (const std::size_t refused : {std::size_t{0}, std::size_t{300}}) {
        SCOPED_TRACE(refused);
        WriteFile(output, "the old output");
        const std::size_t files = FilesInFolder();
        std::string shown;
        ConversionOptions options = BuiltInConversionOptions();
        options.acceptBlock = [&](ByteView block) {
            const bool accepted = shown.size() < refused * kTextRecordSize;
            shown.append(block.begin(), block.end());
            return accepted;
        };
        EXPECT_FALSE(ConvertTextToDoc(text, output, "Prose", options));
        EXPECT_EQ(shown, source.substr(0, (refused + 1) * kTextRecordSize));
        EXPECT_EQ(ReadFile(output), "the old output");
        EXPECT_EQ(FilesInFolder(), files) << "no temporary file stays behind";
    }
}

TEST_F(ConversionProgress, AStreamLeftUnreadStopsItsConversionAndKeepsTheOldOutput) {
    WriteFile(output, "the old output");
    {
        DocTextStream stream(pdb, output, BuiltInConversionOptions());
        char piece[4096];
        EXPECT_EQ(stream.Read(piece, sizeof piece), sizeof piece);
    }
    EXPECT_EQ(ReadFile(output), "the old output");
    EXPECT_EQ(ReadCrLfLines(ConversionLogPath()).back(), "conversion cancelled");

    // Finish lets the conversion run to its end, as a plain conversion would.
    std::string name;
    ASSERT_TRUE(ConvertDocToText(pdb, folder.Path("plain.txt"), name));
    const std::string log = ReadFile(ConversionLogPath());
    {
        DocTextStream stream(pdb, output, BuiltInConversionOptions());
        EXPECT_TRUE(stream.Finish());
        EXPECT_EQ(stream.DocName(), "Prose");
    }
    EXPECT_EQ(ReadFile(output), ReadFile(folder.Path("plain.txt")));
    const std::string plainName = folder.Path("plain.txt");
    EXPECT_EQ(ReadFile(ConversionLogPath()),
              log.substr(0, log.find(plainName)) + output +
                  log.substr(log.find(plainName) + plainName.size()));
}

}  // namespace
}  // namespace tomery::doc
