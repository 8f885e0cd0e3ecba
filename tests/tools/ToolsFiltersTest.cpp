// The character filters and the Show ASCII codings.
#include <gtest/gtest.h>

#include <random>

#include "Tools_Filters.h"

namespace tomery::tools {
namespace {

TEST(CharacterFilters, TurnExtendedCharactersOrPunctuationIntoSpaces) {
    EXPECT_EQ(RemoveExtendedCharacters({"a\x7f\x80\xff b"}), TWorkLines{"a\x7f   b"});
    EXPECT_EQ(RemovePunctuation({"Hi, there!\t(42) \xe9"}), TWorkLines{"Hi  there \t 42   "});
}

TEST(RemoveShortWords, KeepsLongerWordsJoinedBySingleSpaces) {
    const TWorkLines text{
        "  a bb  ccc d\x1f"
        "ee\t",
        ""};
    const std::pair<std::int32_t, TWorkLines> cases[] = {
        {-1, {"a bb ccc d ee", ""}},
        {0, {"a bb ccc d ee", ""}},
        {1, {"bb ccc ee", ""}},
        {2, {"ccc", ""}},
        {5, {"", ""}},
    };
    for (const auto& [length, expected] : cases) {
        EXPECT_EQ(RemoveShortWords(text, length), expected) << length;
    }
}

TEST(RemoveHtmlTags, DropsTagsAcrossLinesAndDecodesEntitiesInOnePass) {
    const std::pair<TWorkLines, TWorkLines> cases[] = {
        {{"<p>"}, {}},
        {{"a <b>bold</b> c"}, {"a bold c"}},
        {{"start <a", "middle", "href=x>end"}, {"start ", "end"}},
        {{"<a", ">b"}, {"b"}},
        {{"", "<br>", ""}, {"", ""}},
        {{"&amp;lt; &copy; &#65; &quot;&gt;&nbsp;x"}, {"&lt; &copy; A \"> x"}},
        {{"Tom & Jerry <i>x</i>", "&#", "&"}, {"Tom & Jerry x", "&#", "&"}},
        {{"&;&#;"}, {std::string("&;\0", 3)}},
        {{"<unclosed"}, {}},
    };
    for (const auto& [html, text] : cases) {
        EXPECT_EQ(RemoveHtmlTags(html), text) << html.front();
    }
}

TEST(ShowAscii, EncodesAndDecodesTheDocumentedSequences) {
    using enum TAsciiCoding;
    const std::tuple<TAsciiCoding, std::string, std::string> cases[] = {
        {LowCoded, "a\tb", "a#09b#10"},
        {LowCoded, "", "#10"},
        {LowCoded, "x\\y#z$", "x\\\\y\\#z\\$#10"},
        {LowCoded, "a\x1f", "a#31"},
        {LowCoded, "a\nb\xe9", "a$010b\xe9#10"},
        {Extended, "caf\xe9 \x7f\t", "caf$233 $127\t"},
        {Extended, "#\\$", "\\#\\\\\\$"},
    };
    for (const auto& [coding, text, coded] : cases) {
        EXPECT_EQ(EncodeAscii({text}, coding), TWorkLines{coded}) << text;
        EXPECT_EQ(DecodeAscii({coded}), TWorkLines{text}) << coded;
    }
    const std::pair<std::string, std::string> decoded[] = {
        {"ab#10cd#10", "abcd"}, {"\\#10", "#10"}, {"#65$065", "AA"}, {"#ab", "\x1c"},
        {"a#6", "a#6"},         {"b$23", "b$23"}, {"c\\", "c\\"},    {"#", "#"},
    };
    for (const auto& [coded, text] : decoded) {
        EXPECT_EQ(DecodeAscii({coded}), TWorkLines{text}) << coded;
    }
}

TEST(ShowAscii, DecodingAnEncodedTextGivesItBackForEveryByte) {
    std::mt19937 random(256);
    for (int round = 0; round < 3000; ++round) {
        std::string line(random() % 30, '\0');
        for (char& c : line) {
            c = static_cast<char>(random() % 256);
        }
        for (const TAsciiCoding coding : {TAsciiCoding::LowCoded, TAsciiCoding::Extended}) {
            ASSERT_EQ(DecodeAscii(EncodeAscii({line}, coding)), TWorkLines{line})
                << ::testing::PrintToString(line);
        }
    }
}

}  // namespace
}  // namespace tomery::tools
