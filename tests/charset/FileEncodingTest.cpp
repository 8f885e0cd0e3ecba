// Telling a text file's encoding, and UTF-16 at the edge.
#include "FileEncoding.h"
#include "TextConversion.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tomery::charset {
namespace {

TFileEncoding SniffWhole(std::string_view bytes) {
    TEncodingSniffer sniffer;
    sniffer.Feed(bytes);
    return sniffer.Result();
}

TFileEncoding SniffByteByByte(std::string_view bytes) {
    TEncodingSniffer sniffer;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        sniffer.Feed(bytes.substr(i, 1));
    }
    return sniffer.Result();
}

TEST(EncodingSniffer, AMarkOrValidMultiByteUtf8MakesAUnicodeFileWhateverThePieces) {
    using E = TFileEncoding;
    const std::pair<std::string, E> cases[] = {
        {"", E::Bytes},
        {"plain ascii\r\n", E::Bytes},
        {"caf\xC3\xA9", E::Utf8},
        {std::string(40, 'a') + "\xE2\x80\x9C" + std::string(40, 'b'), E::Utf8},
        {"\xF0\x9F\x98\x80", E::Utf8},
        {"\xEF\xBB\xBFplain", E::Utf8Bom},
        {"\xEF\xBB\xBF", E::Utf8Bom},
        {"\xEF\xBB\xBF\xFF", E::Utf8Bom},
        {std::string("\xFF\xFEh\0i\0", 6), E::Utf16Le},
        {std::string("\xFE\xFF\0h\0i", 6), E::Utf16Be},
        {"caf\xE9", E::Bytes},
        {"\xC3", E::Bytes},
        {"ok \xC3\xA9 then \xE9", E::Bytes},
        {"\xC0\xAF", E::Bytes},
        {"\xED\xA0\x80", E::Bytes},
        {"\xF4\x90\x80\x80", E::Bytes},
        {"\xEF\xBB", E::Bytes},
        {"\xE0\x9F\xBF", E::Bytes},
        {"\xE2\x41\x41", E::Bytes},
    };
    for (const auto& [bytes, encoding] : cases) {
        EXPECT_EQ(SniffWhole(bytes), encoding) << ::testing::PrintToString(bytes);
        EXPECT_EQ(SniffByteByByte(bytes), encoding) << ::testing::PrintToString(bytes);
    }
}

TEST(EncodingSniffer, PartsCutWhereSniffingCutSaysJoinToTheSniffOfTheWhole) {
    // Texts of a few characters each: ASCII, valid sequences of every length, marks, and
    // bytes no UTF-8 holds, so that every cut meets sequences whole, cut and broken.
    const std::string pieces[] = {
        "a",        "\r\n", "\xC3\xA9",         "\xE2\x80\x9C", "\xF0\x9F\x98\x80", "\xEF\xBB\xBF",
        "\xFF\xFE", "\xE9", "\x80\x80\x80\x80", "\xC3"};
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        const std::size_t count = random() % 8;
        for (std::size_t i = 0; i < count; ++i) {
            bytes += pieces[random() % std::size(pieces)];
        }
        for (std::size_t near = 1; near < bytes.size(); ++near) {
            const std::size_t cut = near + SniffingCut(std::string_view(bytes).substr(near, 4));
            TEncodingSniffer first;
            TEncodingSniffer second;
            first.Feed(std::string_view(bytes).substr(0, cut));
            second.Feed(std::string_view(bytes).substr(cut));
            first.Join(second);
            EXPECT_EQ(first.Result(), SniffWhole(bytes))
                << ::testing::PrintToString(bytes) << " cut at " << cut;
        }
    }
}

TEST(AsciiLength, EndsAtTheFirstHighByteWherever) {
    for (std::size_t size = 0; size <= 40; ++size) {
        for (std::size_t high = 0; high <= size; ++high) {
            std::string bytes(size, 'a');
            if (high < size) {
                bytes[high] = static_cast<char>(0x80 + high);
            }
            EXPECT_EQ(AsciiLength(bytes), high) << size;
            EXPECT_EQ(IsAscii(bytes), high == size) << size;
        }
    }
}

TEST(Utf16, RoundTripsEveryPlaneInBothByteOrdersAndMarksWhatIsBroken) {
    const std::string text = "a\u00e9\u20ac\U0001F600\r\n";
    for (const bool bigEndian : {false, true}) {
        const std::string utf16 = Utf8ToUtf16(text, bigEndian);
        EXPECT_EQ(utf16.size(), 2u * 7);
        EXPECT_EQ(Utf16ToUtf8(utf16, bigEndian), text);
    }
    EXPECT_EQ(Utf8ToUtf16("a", true), std::string("\0a", 2));
    EXPECT_EQ(Utf16ToUtf8(std::string("\x00\xD8"
                                      "a\0",
                                      4),
                          false),
              "\uFFFDa");
    EXPECT_EQ(Utf16ToUtf8(std::string("a\0b", 3), false), "a\uFFFD");
    EXPECT_EQ(ByteOrderMark(TFileEncoding::Utf8Bom), "\xEF\xBB\xBF");
    EXPECT_TRUE(ByteOrderMark(TFileEncoding::Utf8).empty());
}

TEST(TextConversion, AFileRoundTripsThroughTheSetInEveryEncodingItWasReadIn) {
    const TCharacterSet& set = DefaultCharacterSet();
    const std::string bytes =
        "\x93"
        "Caf\xE9\x94 \x97 \x80\r\nline two\r\n";
    for (const TFileEncoding encoding :
         {TFileEncoding::Utf8, TFileEncoding::Utf8Bom, TFileEncoding::Utf16Le,
          TFileEncoding::Utf16Be, TFileEncoding::Bytes}) {
        const std::string file = EncodeText(bytes, set, encoding);
        const TDecodedText decoded = DecodeText(file, set);
        EXPECT_EQ(decoded.Encoding, encoding);
        EXPECT_EQ(decoded.Bytes, bytes);
        EXPECT_TRUE(decoded.Replacements.Empty());
    }
    EXPECT_EQ(EncodeText("\xE9", set, TFileEncoding::Utf8Bom), "\xEF\xBB\xBF\xC3\xA9");
}

TEST(TextConversion, ReplacementsAreLoggedWithTheirLinesAndAForcedReadingWins) {
    const TCharacterSet& set = DefaultCharacterSet();
    const TDecodedText decoded = DecodeText("one\ntwo \u0159\nthree \u0416\u0443\u043a\n", set);
    EXPECT_EQ(decoded.Bytes, "one\ntwo r\nthree Zhuk\n");
    ASSERT_EQ(decoded.Replacements.Count(), 4u);
    EXPECT_EQ(decoded.Replacements.First()[0].Line, 2);
    EXPECT_EQ(decoded.Replacements.First()[1].Line, 3);
    EXPECT_EQ(DecodeText("caf\xC3\xA9", set, TFileEncoding::Bytes).Bytes, "caf\xC3\xA9");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a",
                         set, TFileEncoding::Utf8)
                  .Encoding,
              TFileEncoding::Utf8Bom);
    EXPECT_EQ(DecodeText("caf\xE9", set, TFileEncoding::Utf8).Bytes, "caf?");
    EXPECT_EQ(DecodeText(std::string("h\0i\0", 4), set, TFileEncoding::Utf16Le).Bytes, "hi");
    EXPECT_EQ(DecodeText(std::string("\xFE\xFF\0h", 4), set, TFileEncoding::Utf16Be).Bytes, "h");
}

}  // namespace
}  // namespace tomery::charset
