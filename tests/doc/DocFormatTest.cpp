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

}  // namespace
}  // namespace tomery::doc
