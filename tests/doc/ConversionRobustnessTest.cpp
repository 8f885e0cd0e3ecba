// Damaged DOC files either convert or fail cleanly: never a crash, a hang or a read
// outside the file (the sanitizer build checks the last).
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocDecoder.h"
#include "DocTextStream.h"
#include "SampleTexts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace tomery::doc {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class DamagedDocFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(folder.Path("source.txt"), tomery::testing::GenerateProse(9000, 21));
        ASSERT_TRUE(ConvertTextToDoc(folder.Path("source.txt"), pdb, "Sample"));
        const std::string file = ReadFile(pdb);
        valid.assign(file.begin(), file.end());
    }

    /// Converts `file`: a success leaves an output file, a failure leaves none. Decoded in
    /// memory, and when asked through a stream, it gives the same result, text and log.
    void ExpectCleanOutcome(const Bytes& file, bool throughStream = false) {
        std::filesystem::remove(output);
        WriteFile(damaged, file);
        std::string name;
        const bool converted = ConvertDocToText(damaged, output, name);
        EXPECT_EQ(std::filesystem::exists(output), converted);
        EXPECT_LE(name.size(), 32u);

        const DocImageText image = DecodeDocImage(
            std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
        EXPECT_EQ(image.converted, converted);
        EXPECT_EQ(image.docName, name);
        EXPECT_EQ(image.text, converted ? ReadFile(output) : "");
        EXPECT_EQ(image.log, LogFromTheHeaderOn());
        if (throughStream) {
            ExpectTheSameThroughAStream(converted, converted ? ReadFile(output) : "");
        }
    }

    /// The damaged file decoded through a DocTextStream read in small pieces: the same
    /// outcome, text, output file and log as the plain conversion's.
    void ExpectTheSameThroughAStream(bool converted, const std::string& text) {
        const std::string log = ReadFile(ConversionLogPath());
        std::filesystem::remove(output);
        std::string streamed;
        bool ended = false;
        {
            DocTextStream stream(damaged, output, BuiltInConversionOptions());
            try {
                char piece[1000];
                while (const std::size_t got = stream.Read(piece, sizeof piece)) {
                    streamed.append(piece, got);
                }
                ended = true;
            } catch (const EDocConversionFailed&) {
            }
            EXPECT_EQ(stream.Finish(), converted);
        }
        EXPECT_EQ(ended, converted);
        EXPECT_EQ(std::filesystem::exists(output), converted);
        if (converted) {
            EXPECT_EQ(streamed, text);
            EXPECT_EQ(ReadFile(output), text);
        }
        EXPECT_EQ(ReadFile(ConversionLogPath()), log);
    }

    /// The file log without the source's lines, naming the output as the memory log does.
    std::string LogFromTheHeaderOn() const {
        std::string log = ReadFile(ConversionLogPath());
        log.erase(0, ("\r\nopened source file: " + damaged + "\r\n").size());
        for (std::size_t at; (at = log.find(output)) != std::string::npos;) {
            log.replace(at, output.size(), "(memory)");
        }
        return log;
    }

    TempFolder folder;
    std::string pdb = folder.Path("valid.pdb");
    std::string damaged = folder.Path("damaged.pdb");
    std::string output = folder.Path("out.txt");
    Bytes valid;
};

TEST_F(DamagedDocFiles, EveryTruncationConvertsOrFailsCleanly) {
    for (std::size_t length = 0; length <= valid.size(); ++length) {
        ExpectCleanOutcome(Bytes(valid.begin(), valid.begin() + static_cast<long>(length)),
                           length % 8 == 0);
    }
}

TEST_F(DamagedDocFiles, RandomCorruptionsConvertOrFailCleanly) {
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        Bytes file = valid;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int c = 0; c < changes; ++c) {
            // Half of the damage goes to the header, the record list and record 0.
            const std::size_t span =
                random() % 2 == 0 ? std::min<std::size_t>(140, file.size()) : file.size();
            file[random() % span] = static_cast<std::uint8_t>(random());
        }
        if (random() % 4 == 0) {
            file.resize(random() % file.size());
        }
        ExpectCleanOutcome(file, round % 8 == 0);
    }
}

TEST(DamagedRecords, RandomBytesDecodeOrFailWithinBounds) {
    std::mt19937 random(99);
    Bytes output;
    for (int round = 0; round < 20000; ++round) {
        Bytes record(random() % 64);
        for (auto& byte : record) {
            byte = static_cast<std::uint8_t>(random());
        }
        if (!DecodeRecord(record, output)) {
            EXPECT_LE(output.size(), record.size() * 5);
        }
    }
}

}  // namespace
}  // namespace tomery::doc
