#include "DocCompressor.h"
#include "DocDecoder.h"
#include "PlainScanMatchFinder.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tomery::doc {
namespace {

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct CompressionCase {
    const char* what;
    Bytes input;
    Bytes expected;
};

class KnownCompressions : public ::testing::TestWithParam<CompressionCase> {};

TEST_P(KnownCompressions, CompressToTheExpectedTokens) {
    EXPECT_EQ(CompressBlock(GetParam().input), GetParam().expected) << GetParam().what;
    EXPECT_EQ(testing::CompressBlockByPlainScan(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, KnownCompressions,
    ::testing::Values(
        CompressionCase{"a back-reference of length 3 at distance 1, then a last literal",
                        {0x61, 0x61, 0x61, 0x61, 0x61},
                        {0x61, 0x80, 0x08, 0x61}},
        CompressionCase{"the pending space is flushed before a back-reference",
                        {0x61, 0x62, 0x63, 0x64, 0x20, 0x61, 0x62, 0x63, 0x64},
                        {0x61, 0x62, 0x63, 0x64, 0x20, 0x80, 0x28, 0x64}},
        CompressionCase{"a space folds into the next letter",
                        {0x54, 0x68, 0x65, 0x20, 0x63, 0x61, 0x74},
                        {0x54, 0x68, 0x65, 0xE3, 0x61, 0x74}},
        CompressionCase{
            "two spaces stay two spaces", {0x61, 0x20, 0x20, 0x62}, {0x61, 0x20, 0x20, 0x62}},
        CompressionCase{"a space before a digit stays", {0x61, 0x20, 0x31}, {0x61, 0x20, 0x31}},
        CompressionCase{
            "three high bytes make one run", {0xE9, 0xE8, 0xE7}, {0x03, 0xE9, 0xE8, 0xE7}},
        CompressionCase{"ten high bytes make a run of 8 and a run of 2",
                        {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89},
                        {0x08, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x02, 0x88, 0x89}},
        CompressionCase{
            "a block ending with a space ends with 0x20", {0x61, 0x62, 0x20}, {0x61, 0x62, 0x20}},
        CompressionCase{"a space before a high byte is written, then the escape",
                        {0x61, 0x20, 0x90},
                        {0x61, 0x20, 0x01, 0x90}},
        CompressionCase{
            "a space before a control byte is written plainly", {0x20, 0x0A}, {0x20, 0x0A}},
        CompressionCase{"escapes separated by another token are not merged",
                        {0x90, 0x41, 0x91},
                        {0x01, 0x90, 0x41, 0x01, 0x91}},
        CompressionCase{"an empty block gives no bytes", {}, {}},
        CompressionCase{"the zero byte goes out plainly", {0x00}, {0x00}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Compressor, NeverLetsAMatchCoverTheBlocksLastByte) {
    // Ten bytes repeat at distance 4, but the block's last byte must stay a literal.
    const Bytes block = ToBytes("abcdabcdabcd");
    const Bytes tokens = CompressBlock(block);
    EXPECT_EQ(tokens.back(), 'd');
    Bytes decoded;
    ASSERT_FALSE(DecodeRecord(tokens, decoded));
    EXPECT_EQ(decoded, block);
}

TEST(Compressor, PicksTheOccurrenceFarthestBackAmongTheLongest) {
    // At "abcZ", "abc" occurs at 0 and at 4 with length 3: the one at 0 wins (distance 8).
    const Bytes block = ToBytes("abcXabcYabcZ!");
    const Bytes tokens = CompressBlock(block);
    const Bytes expected = {'a', 'b', 'c', 'X', 0x80, 0x20, 'Y', 0x80, 0x40, 'Z', '!'};
    EXPECT_EQ(tokens, expected);
}

/// A finder that answers wrongly, to exercise the compressor's self-check.
struct LyingFinder {
    Match answer;
    Match FindMatch(std::size_t p) const { return p == 4 ? answer : Match{}; }
};

TEST(Compressor, SelfCheckTurnsABadAnswerIntoLiterals) {
    const Bytes block = ToBytes("abcdefghijklmnopqrst");
    for (const Match bad : {Match{4, 3}, Match{5, 3}, Match{2, 17}, Match{1, 11}}) {
        LyingFinder finder{bad};
        ::testing::internal::CaptureStdout();
        const Bytes tokens = CompressBlockWith(block, finder);
        const std::string report = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(tokens, block);
        EXPECT_FALSE(report.empty());
    }
}

TEST(Compressor, SelfCheckReportsTheSearchedBytes) {
    const Bytes block = ToBytes("abcdefghijklmnopqrst");
    LyingFinder finder{Match{4, 3}};
    ::testing::internal::CaptureStdout();
    CompressBlockWith(block, finder);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "!! bug source abc, dest efg, 3 bytes\n");
    LyingFinder tooLong{Match{1, 11}};
    ::testing::internal::CaptureStdout();
    CompressBlockWith(block, tooLong);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "!! error dist overflow\n");
}

// The indexed search must write exactly the bytes of the plain scan.
void ExpectSameAsPlainScan(const std::string& text, std::size_t blockSize) {
    for (std::size_t start = 0; start < text.size(); start += blockSize) {
        const std::size_t length = std::min(blockSize, text.size() - start);
        const Bytes block(text.begin() + static_cast<long>(start),
                          text.begin() + static_cast<long>(start + length));
        const Bytes fast = CompressBlock(block);
        ASSERT_EQ(fast, testing::CompressBlockByPlainScan(block))
            << "block at " << start << " of size " << length;
        Bytes decoded;
        ASSERT_FALSE(DecodeRecord(fast, decoded));
        ASSERT_EQ(decoded, block);
    }
}

std::string AllByteValues(std::size_t repeats) {
    std::string text;
    for (std::size_t r = 0; r < repeats; ++r) {
        for (int b = 0; b < 256; ++b) {
            text += static_cast<char>(r % 2 == 0 ? b : 255 - b);
        }
    }
    return text;
}

std::string RunsOfOneByte() {
    std::string text;
    std::mt19937 random(7);
    while (text.size() < 20000) {
        text.append(random() % 40 + 1, static_cast<char>("a \n\x90"[random() % 4]));
    }
    return text;
}

std::string FewSymbols(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string text(12000, 'a');
    for (char& c : text) {
        c = "ab "[random() % 3];
    }
    return text;
}

TEST(CompressorEquivalence, ProseInEveryBlockSizeFromZeroTo4096) {
    const std::string prose = tomery::testing::GenerateProse(4096 * 3, 11);
    for (std::size_t size = 0; size <= 4096; size += (size < 64 ? 1 : 37)) {
        const std::string block = prose.substr(size, size);
        ExpectSameAsPlainScan(block, std::max<std::size_t>(size, 1));
    }
    ExpectSameAsPlainScan(prose.substr(0, 4096), 4096);
}

TEST(CompressorEquivalence, ManyTexts) {
    ExpectSameAsPlainScan(tomery::testing::GenerateProse(200000, 3), 4096);
    ExpectSameAsPlainScan(tomery::testing::GenerateRandomBytes(50000, 5), 4096);
    ExpectSameAsPlainScan(RunsOfOneByte(), 4096);
    ExpectSameAsPlainScan(std::string(9000, ' '), 4096);
    ExpectSameAsPlainScan(std::string(9000, '\x00'), 4096);
    ExpectSameAsPlainScan(AllByteValues(40), 4096);
    ExpectSameAsPlainScan(AllByteValues(40), 1000);
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        ExpectSameAsPlainScan(FewSymbols(seed), 4096);
    }
}

TEST(CompressorEquivalence, RandomBlocksOfRandomSizes) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        const std::size_t size = random() % 4097;
        const int kind = static_cast<int>(random() % 3);
        const std::string text = kind == 0   ? tomery::testing::GenerateProse(size, random())
                                 : kind == 1 ? tomery::testing::GenerateRandomBytes(size, random())
                                             : FewSymbols(random()).substr(0, size);
        ExpectSameAsPlainScan(text, 4096);
    }
}

TEST(Compressor, NeverGrowsABlockBeyondHalfAgainItsSize) {
    std::string worst;
    for (int i = 0; i < 2048; ++i) {
        worst += ' ';
        worst += static_cast<char>(0x80 + (i * 7) % 128);
    }
    const Bytes tokens = CompressBlock(ToBytes(worst));
    EXPECT_LE(tokens.size(), worst.size() * 3 / 2 + 8);
    Bytes decoded;
    ASSERT_FALSE(DecodeRecord(tokens, decoded));
    EXPECT_EQ(decoded, ToBytes(worst));
}

}  // namespace
}  // namespace tomery::doc
