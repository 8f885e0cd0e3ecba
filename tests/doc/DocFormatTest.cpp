#include "DocFormat.h"

#include <gtest/gtest.h>

namespace tomery::doc {
namespace {

TEST(DocFormat, BigEndianFieldsRoundTrip) {
    Bytes bytes;
    AppendUInt16(bytes, 0x1234);
    AppendUInt32(bytes, 0x89ABCDEF);
    EXPECT_EQ(bytes, (Bytes{0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(ReadUInt16(bytes, 0), 0x1234);
    EXPECT_EQ(ReadUInt32(bytes, 2), 0x89ABCDEFu);
}

TEST(DocFormat, FourCharacterCodesKeepTheirByteOrder) {
    EXPECT_EQ(FourCharCode("TEXt"), 0x54455874u);
    EXPECT_EQ(FourCharText(0x52454164), "REAd");
}

TEST(DocFormat, HeaderStoresAtMost31BytesOfTheName) {
    const std::string name40(40, 'n');
    const Bytes header = BuildDatabaseHeader(name40, 0);
    EXPECT_EQ(ReadDocName(header), std::string(31, 'n'));
    EXPECT_EQ(header[31], 0);

    const Bytes exact = BuildDatabaseHeader(std::string(31, 'x'), 0);
    EXPECT_EQ(ReadDocName(exact), std::string(31, 'x'));
    EXPECT_EQ(exact[31], 0);
}

TEST(DocFormat, ReaderTakesAllThirtyTwoNameBytesWhenNoneIsZero) {
    Bytes header = BuildDatabaseHeader("", 0);
    std::fill_n(header.begin(), 32, 'z');
    EXPECT_EQ(ReadDocName(header), std::string(32, 'z'));
}

TEST(DocFormat, HeaderHoldsTheFixedValues) {
    const Bytes header = BuildDatabaseHeader("Story", 3);
    ASSERT_EQ(header.size(), kDatabaseHeaderSize);
    EXPECT_EQ(ReadUInt32(header, 36), 0x06D144AEu);
    EXPECT_EQ(ReadUInt32(header, 40), 0x06D144AEu);
    EXPECT_EQ(FourCharText(ReadUInt32(header, 60)), "TEXt");
    EXPECT_EQ(FourCharText(ReadUInt32(header, 64)), "REAd");
    EXPECT_EQ(ReadUInt16(header, 76), 4);
    for (std::size_t offset : {32u, 34u, 44u, 48u, 52u, 56u, 68u, 72u}) {
        EXPECT_EQ(ReadUInt16(header, offset), 0) << offset;
    }
}

TEST(DocFormat, TypeAndCreatorCompareWithCase) {
    Bytes header = BuildDatabaseHeader("x", 0);
    EXPECT_TRUE(IsDocFormat(*ReadDatabaseHeader(header)));
    WriteUInt32(header, kTypeOffset, FourCharCode("text"));
    EXPECT_FALSE(IsDocFormat(*ReadDatabaseHeader(header)));
    header = BuildDatabaseHeader("x", 0);
    WriteUInt32(header, kCreatorOffset, FourCharCode("Read"));
    EXPECT_FALSE(IsDocFormat(*ReadDatabaseHeader(header)));
    EXPECT_FALSE(ReadDatabaseHeader(ByteView(header).first(77)));
}

TEST(DocFormat, TextRecordCountTrustsRecordZeroOnlyWithinTheHeadersCount) {
    EXPECT_EQ(TextRecordCount(5, 4), 4u);
    EXPECT_EQ(TextRecordCount(5, 2), 2u);  // two bookmark records follow the text
    EXPECT_EQ(TextRecordCount(5, 0), 4u);
    EXPECT_EQ(TextRecordCount(5, 9), 4u);
    EXPECT_EQ(TextRecordCount(1, 0), 0u);
    EXPECT_EQ(TextRecordCount(1, 1), 0u);
}

}  // namespace
}  // namespace tomery::doc
