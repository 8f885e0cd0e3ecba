#include "DocDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tomery::doc {
namespace {

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Decode(const Bytes& record) {
    Bytes output;
    const auto error = DecodeRecord(record, output);
    EXPECT_FALSE(error) << error->Describe();
    return output;
}

TEST(Decoder, RepeatsTheLastByteForABackReferenceOfDistanceOne) {
    EXPECT_EQ(Decode({0x61, 0x80, 0x08}), ToBytes("aaaa"));
    EXPECT_EQ(Decode({0x61, 0x80, 0x08, 0x61}), ToBytes("aaaaa"));
}

TEST(Decoder, TurnsAHighByteIntoASpaceAndALetter) {
    EXPECT_EQ(Decode({0xE8}), ToBytes(" h"));
    EXPECT_EQ(Decode({0xC0, 0xFF}), (Bytes{0x20, 0x40, 0x20, 0x7F}));
}

TEST(Decoder, CopiesEscapedRunsAndPlainBytes) {
    EXPECT_EQ(Decode({0x00, 0x09, 0x7F}), (Bytes{0x00, 0x09, 0x7F}));
    EXPECT_EQ(Decode({0x03, 0x80, 0x01, 0xFF, 0x41}), (Bytes{0x80, 0x01, 0xFF, 0x41}));
    EXPECT_EQ(Decode({0x08, 1, 2, 3, 4, 5, 6, 7, 8}), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Decode({}), Bytes{});
}

TEST(Decoder, CopiesTheLongestBackReferenceOfTenBytes) {
    // distance 3, length 10: v = 3 * 8 + 7
    EXPECT_EQ(Decode({'a', 'b', 'c', 0x80, 0x1F}), ToBytes("abcabcabcabca"));
}

struct MalformedRecord {
    Bytes record;
    DecodeError::Kind kind;
    std::size_t at;
};

class MalformedRecords : public ::testing::TestWithParam<MalformedRecord> {};

TEST_P(MalformedRecords, FailWithTheTokenThatIsWrong) {
    Bytes output;
    const auto error = DecodeRecord(GetParam().record, output);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, GetParam().kind);
    EXPECT_EQ(error->at, GetParam().at);
    EXPECT_FALSE(error->Describe().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedRecords,
    ::testing::Values(
        MalformedRecord{{0x80, 0x08}, DecodeError::Kind::BadDistance, 0},
        MalformedRecord{{'a', 0x80, 0x10}, DecodeError::Kind::BadDistance, 1},  // distance 2
        MalformedRecord{{'a', 0x80, 0x03}, DecodeError::Kind::BadDistance, 1},  // distance 0
        MalformedRecord{{'a', 'b', 0xBF, 0xFF}, DecodeError::Kind::BadDistance, 2},
        MalformedRecord{{'a', 0x80}, DecodeError::Kind::BackReferenceCutOff, 1},
        MalformedRecord{{0x03, 'a', 'b'}, DecodeError::Kind::LiteralRunCutOff, 0},
        MalformedRecord{{'x', 0x08}, DecodeError::Kind::LiteralRunCutOff, 1}));

Bytes ExpandLineEnds(const Bytes& decoded, bool& previousWasCr) {
    Bytes expanded(ExpandedSizeLimit(decoded.size()));
    expanded.resize(doc::ExpandLineEnds(decoded, previousWasCr, expanded.data()).size);
    return expanded;
}

TEST(LineEndExpansion, TurnsEveryLineFeedIntoCrLf) {
    bool previousWasCr = false;
    EXPECT_EQ(ExpandLineEnds(ToBytes("a\nb\n\n"), previousWasCr), ToBytes("a\r\nb\r\n\r\n"));
    EXPECT_FALSE(previousWasCr);
    const Bytes feeds(4096, '\n');
    EXPECT_EQ(ExpandLineEnds(feeds, previousWasCr).size(), 8192u);
}

TEST(LineEndExpansion, KeepsCrLfThatIsAlreadyThere) {
    bool previousWasCr = false;
    EXPECT_EQ(ExpandLineEnds(ToBytes("a\r\nb\rc\n"), previousWasCr), ToBytes("a\r\nb\rc\r\n"));
}

// The decoder takes runs of plain bytes eight at a time: every token kind at every place, and
// every damaged record, must come out as a token-by-token reading gives it.
TEST(Decoder, MatchesATokenByTokenReadingOfAnyRecord) {
    const auto tokenByToken = [](const Bytes& in, Bytes& out) -> std::optional<DecodeError> {
        out.clear();
        for (std::size_t i = 0; i < in.size();) {
            const std::uint8_t byte = in[i];
            if (byte >= 0x01 && byte <= 0x08) {
                if (in.size() - i - 1 < byte) {
                    return DecodeError{DecodeError::Kind::LiteralRunCutOff, i};
                }
                out.insert(out.end(), in.begin() + i + 1, in.begin() + i + 1 + byte);
                i += 1 + byte;
            } else if (byte >= 0xC0) {
                out.push_back(' ');
                out.push_back(byte ^ 0x80);
                ++i;
            } else if (byte >= 0x80) {
                if (i + 1 >= in.size()) {
                    return DecodeError{DecodeError::Kind::BackReferenceCutOff, i};
                }
                const std::size_t value = (std::size_t{byte} << 8) | in[i + 1];
                const std::size_t distance = (value & 0x3FFF) >> 3;
                if (distance == 0 || distance > out.size()) {
                    return DecodeError{DecodeError::Kind::BadDistance, i, distance};
                }
                for (std::size_t k = 0; k < (value & 7) + 3; ++k) {
                    out.push_back(out[out.size() - distance]);
                }
                i += 2;
            } else {
                out.push_back(byte);
                ++i;
            }
        }
        return std::nullopt;
    };
    std::mt19937 random(11);
    RecordDecoder decoder;
    Bytes expected;
    for (int round = 0; round < 3000; ++round) {
        Bytes record(random() % 300);
        for (std::uint8_t& byte : record) {
            // Mostly plain bytes, so that long and short runs of them occur between tokens;
            // near distances, so that most back-references are good ones.
            const unsigned kind = random() % 8;
            byte = kind < 5   ? static_cast<std::uint8_t>(random() % 0x80)
                   : kind < 6 ? static_cast<std::uint8_t>(1 + random() % 8)
                   : kind < 7 ? static_cast<std::uint8_t>(0xC0 + random() % 0x40)
                              : static_cast<std::uint8_t>(0x80 + random() % 2);
        }
        const auto error = decoder.Decode(record);
        const auto expectedError = tokenByToken(record, expected);
        ASSERT_EQ(error.has_value(), expectedError.has_value()) << "round " << round;
        if (error) {
            EXPECT_EQ(error->Describe(), expectedError->Describe()) << "round " << round;
        } else {
            ASSERT_EQ(Bytes(decoder.Text().begin(), decoder.Text().end()), expected)
                << "round " << round;
        }
    }
}

TEST(LineEndExpansion, KeepsCrLfSplitAcrossTwoRecords) {
    bool previousWasCr = false;
    EXPECT_EQ(ExpandLineEnds(ToBytes("line\r"), previousWasCr), ToBytes("line\r"));
    EXPECT_TRUE(previousWasCr);
    EXPECT_EQ(ExpandLineEnds(ToBytes("\nnext\n"), previousWasCr), ToBytes("\nnext\r\n"));
}

// The expansion goes a word at a time up to each LF: line ends at every place in and across
// the words, and bytes one bit away from an LF, must come out as a byte-by-byte reading gives
// them, with every LF counted.
TEST(LineEndExpansion, MatchesAByteByByteReadingAtEveryPlace) {
    const Bytes alphabet{'\n', '\r', 0x0B, 0x08, 0x8A, 0x2A, 0x00, 0xFF};
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        Bytes decoded(random() % 40);
        for (std::uint8_t& byte : decoded) {
            byte = random() % 3 == 0 ? alphabet[random() % alphabet.size()] : 'x';
        }
        const bool crBefore = random() % 2;
        Bytes expected;
        std::uint64_t feeds = 0;
        bool previous = crBefore;
        for (const std::uint8_t byte : decoded) {
            if (byte == '\n') {
                ++feeds;
                if (!previous) {
                    expected.push_back('\r');
                }
            }
            expected.push_back(byte);
            previous = byte == '\r';
        }
        bool previousWasCr = crBefore;
        Bytes expanded(ExpandedSizeLimit(decoded.size()));
        const ExpandedText result = doc::ExpandLineEnds(decoded, previousWasCr, expanded.data());
        expanded.resize(result.size);
        ASSERT_EQ(expanded, expected) << "round " << round;
        EXPECT_EQ(previousWasCr, previous) << "round " << round;
        EXPECT_EQ(result.lineFeeds, feeds) << "round " << round;
        EXPECT_EQ(CountLineFeeds(decoded), feeds) << "round " << round;
    }
}

TEST(LineEndConversion, DropsCrBeforeLfAndControlBytes) {
    EXPECT_EQ(ConvertLineEndsToDoc(ToBytes("a\r\nb\rc\nd"), std::nullopt), ToBytes("a\nb\nc\nd"));
    EXPECT_EQ(ConvertLineEndsToDoc(Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 'x'}, std::nullopt),
              (Bytes{9, 'x'}));
    EXPECT_EQ(ConvertLineEndsToDoc(ToBytes("\r\r\n"), std::nullopt), ToBytes("\n\n"));
}

TEST(LineEndConversion, LooksAtTheNextBlockForTheLineFeed) {
    EXPECT_EQ(ConvertLineEndsToDoc(ToBytes("end\r"), std::uint8_t{'\n'}), ToBytes("end"));
    EXPECT_EQ(ConvertLineEndsToDoc(ToBytes("end\r"), std::uint8_t{'x'}), ToBytes("end\n"));
    EXPECT_EQ(ConvertLineEndsToDoc(ToBytes("end\r"), std::nullopt), ToBytes("end\n"));
}

TEST(LineEndConversion, TreatsACrBeforeADroppedByteAsALoneCr) {
    // The byte after the CR in the source decides, even when that byte is dropped.
    EXPECT_EQ(ConvertLineEndsToDoc(Bytes{'\r', 0x01, '\n'}, std::nullopt), ToBytes("\n\n"));
}

// The conversion goes a word at a time past plain bytes: line ends and dropped bytes at every
// place in and across the words must come out as a byte-by-byte reading gives them.
TEST(LineEndConversion, MatchesAByteByByteReadingAtEveryPlace) {
    const auto byteByByte = [](const Bytes& block, std::optional<std::uint8_t> next) {
        Bytes out;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const auto following = i + 1 < block.size() ? std::optional(block[i + 1]) : next;
            if (block[i] == '\r') {
                if (following != '\n') {
                    out.push_back('\n');
                }
            } else if (block[i] > 0x08) {
                out.push_back(block[i]);
            }
        }
        return out;
    };
    const Bytes alphabet{0x00, 0x05, 0x08, 0x09, '\n', 0x0C, '\r', 0x0E, 'a', 0x7F, 0x80, 0xFF};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        Bytes block(random() % 40);
        for (std::uint8_t& byte : block) {
            // Mostly plain letters, so that whole clean words occur between the others.
            byte = random() % 3 == 0 ? alphabet[random() % alphabet.size()] : 'x';
        }
        const std::optional<std::uint8_t> next =
            random() % 2 ? std::optional<std::uint8_t>(alphabet[random() % alphabet.size()])
                         : std::nullopt;
        ASSERT_EQ(ConvertLineEndsToDoc(block, next), byteByByte(block, next)) << "round " << round;
    }
}

}  // namespace
}  // namespace tomery::doc
