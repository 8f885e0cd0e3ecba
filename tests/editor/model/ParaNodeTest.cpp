#include "OvcEditN.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tomery::editor {
namespace {

std::vector<std::string> Lines(const TParaNode& node) {
    std::vector<std::string> lines;
    for (std::int32_t k = 1; k <= node.LineCount(); ++k) {
        lines.emplace_back(node.LineText(k));
    }
    return lines;
}

using Strings = std::vector<std::string>;

struct WrapCase {
    const char* name;
    std::string text;
    std::int32_t wrapColumn;
    std::uint8_t tabSize;
    Strings lines;
};

class ParaNodeWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(ParaNodeWrap, BreaksIntoTheExpectedLines) {
    const WrapCase& c = GetParam();
    const TParaNode node(c.text, c.wrapColumn, c.tabSize);
    EXPECT_EQ(Lines(node), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParaNodeWrap,
    ::testing::Values(
        WrapCase{"BlankBreakKeepsTheSpaceOnTheFirstLine", "abcd efgh", 6, 8, {"abcd ", "efgh"}},
        WrapCase{"HyphenStaysOnTheFirstLine", "abcd-efgh", 6, 8, {"abcd-", "efgh"}},
        WrapCase{"WordWithoutBreakIsCutHard", "abcdefghij", 4, 8, {"abcd", "efgh", "ij"}},
        WrapCase{"TrailingBlanksNeverFormALine", "abcd        ", 6, 8, {"abcd        "}},
        WrapCase{"BlankRunStaysAtTheLineEnd", "ab   cd", 3, 8, {"ab   ", "cd"}},
        WrapCase{"HyphenAtTheFirstCharacterThatDoesNotFit", "abc-def", 3, 8, {"abc-", "def"}},
        WrapCase{"BlanksAfterAHyphenAreSkipped", "ab-  cdef", 4, 8, {"ab-  ", "cdef"}},
        WrapCase{"LaterBlankWinsOverEarlierHyphen", "a-b cdefg", 5, 8, {"a-b ", "cdefg"}},
        WrapCase{"ExactFitKeepsOneLine", "abcdef", 6, 8, {"abcdef"}},
        WrapCase{"TabNearTheColumnStaysOnItsLine", "abcde\tfg", 6, 8, {"abcde\t", "fg"}},
        WrapCase{"TabStopsRestartOnEachLine", "ab cd\tef", 4, 4, {"ab ", "cd\t", "ef"}},
        WrapCase{"NoWrapColumnGivesOneLine",
                 std::string(100, 'x'),
                 kNoWrapColumn,
                 8,
                 {std::string(100, 'x')}},
        WrapCase{"WrapColumnZeroGivesOneLine", "abc def", 0, 8, {"abc def"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParaNode, CreatedEmptyHasNoBufferAndOneLine) {
    const TParaNode node("", 10, 8);
    EXPECT_FALSE(node.HasBuffer());
    EXPECT_EQ(node.BufferSize(), 0);
    EXPECT_EQ(node.LineCount(), 1);
    EXPECT_STREQ(node.Buffer(), "");
}

TEST(ParaNode, InsertingIntoAnEmptyParagraphFirstGivesItABuffer) {
    TParaNode node("", 10, 8);
    ASSERT_TRUE(node.Reserve(4));
    EXPECT_TRUE(node.HasBuffer());
    EXPECT_EQ(node.BufferSize(), 16);
    EXPECT_STREQ(node.Buffer(), "");
    node.InsertAt(0, "abc");
    EXPECT_EQ(node.Text(), "abc");
}

TEST(ParaNode, BufferSizesFollowTheGrowthRules) {
    EXPECT_EQ(TParaNode("a", 80, 8).BufferSize(), 8);
    EXPECT_EQ(TParaNode("abcdefg", 80, 8).BufferSize(), 8);
    EXPECT_EQ(TParaNode("abcdefgh", 80, 8).BufferSize(), 16);
    TParaNode node("abcdefg", 80, 8);
    ASSERT_TRUE(node.Reserve(8));
    EXPECT_EQ(node.BufferSize(), 8);
    ASSERT_TRUE(node.Reserve(9));
    EXPECT_EQ(node.BufferSize(), 16);
    ASSERT_TRUE(node.Reserve(33));
    EXPECT_EQ(node.BufferSize(), 48);
    ASSERT_TRUE(node.Reserve(20));
    EXPECT_EQ(node.BufferSize(), 48);
    EXPECT_EQ(node.Text(), "abcdefg");
}

TEST(ParaNode, LineTableSizesFollowTheEstimate) {
    EXPECT_EQ(TParaNode(std::string(500, 'a'), kNoWrapColumn, 8).LineStartsSize(), 1);
    EXPECT_EQ(TParaNode(std::string(500, 'a'), 0, 8).LineStartsSize(), 1);
    EXPECT_EQ(TParaNode("", 10, 8).LineStartsSize(), 4);
    // 500 div 10 = 50, plus a fifth is 60, rounded up to 64.
    EXPECT_EQ(TParaNode(std::string(500, 'a'), 10, 8).LineStartsSize(), 64);
    // Lines of 7 characters at column 10 outgrow the estimate of 88 entries for 700
    // characters: the table grows to the 100 needed, rounded up to 104.
    std::string words;
    for (int i = 0; i < 100; ++i) {
        words += "aaaaaa ";
    }
    const TParaNode grown(words, 10, 8);
    EXPECT_EQ(grown.LineCount(), 100);
    EXPECT_EQ(grown.LineStartsSize(), 104);
}

TEST(ParaNode, AWiderWrapGivesBackWhatANarrowerOneTook) {
    std::string words;
    for (int i = 0; i < 400; ++i) {
        words += "word ";
    }
    for (const std::int32_t wider : {96, 40, kNoWrapColumn}) {
        TParaNode node(words, 9, 8);
        ASSERT_GT(node.LineStartsSize(), 200);
        node.Wrap(wider, 8);
        const TParaNode fresh(words, wider, 8);
        EXPECT_EQ(node.LineStartsSize(), fresh.LineStartsSize()) << wider;
        EXPECT_EQ(node.LineCount(), fresh.LineCount()) << wider;
        for (std::int32_t line = 0; line < fresh.LineCount(); ++line) {
            EXPECT_EQ(node.LineStart(line), fresh.LineStart(line));
        }
    }
    TParaNode nearlySame(words, 40, 8);
    const std::uint16_t before = nearlySame.LineStartsSize();
    nearlySame.Wrap(41, 8);
    EXPECT_EQ(nearlySame.LineStartsSize(), before) << "a column more keeps the table";
}

TEST(ParaNode, LineOfPositionMapsTheBreakToTheNextLine) {
    const TParaNode node("abcd efgh ijkl", 6, 8);
    ASSERT_EQ(node.LineCount(), 3);
    EXPECT_EQ(node.LineOfPos(1).Line, 1);
    EXPECT_EQ(node.LineOfPos(5).Column, 5);
    EXPECT_EQ(node.LineOfPos(6).Line, 2);
    EXPECT_EQ(node.LineOfPos(6).Column, 1);
    EXPECT_EQ(node.LineOfPos(15).Line, 3);
    EXPECT_EQ(node.LineOfPos(15).Column, 5);
    EXPECT_EQ(node.LineOfPos(40).Column, 30);
}

TEST(ParaNode, OneLineParagraphAnswersLineOneForAnyPosition) {
    const TParaNode node("abc", kNoWrapColumn, 8);
    EXPECT_EQ(node.LineOfPos(77).Line, 1);
    EXPECT_EQ(node.LineOfPos(77).Column, 77);
}

TEST(ColumnArithmetic, TextWidthExpandsTabsToTheNextStop) {
    EXPECT_EQ(TextWidth("abc", 3, 8), 3);
    EXPECT_EQ(TextWidth("a\tb", 3, 8), 9);
    EXPECT_EQ(TextWidth("\t\t", 2, 4), 8);
    EXPECT_EQ(TextWidth("ab\tc", 2, 8), 2);
    EXPECT_EQ(TextWidth("a\t\0bb", 5, 8), 8);
}

TEST(ColumnArithmetic, PositionToColumnCountsVirtualSpace) {
    EXPECT_EQ(PosToColumn("a\tb", 3, 0, 8), 1);
    EXPECT_EQ(PosToColumn("a\tb", 3, 1, 8), 1);
    EXPECT_EQ(PosToColumn("a\tb", 3, 2, 8), 2);
    EXPECT_EQ(PosToColumn("a\tb", 3, 3, 8), 9);
    EXPECT_EQ(PosToColumn("a\tb", 3, 4, 8), 10);
    EXPECT_EQ(PosToColumn("a\tb", 3, 6, 8), 12);
    EXPECT_EQ(PosToColumn("", 0, 5, 8), 5);
}

TEST(ColumnArithmetic, ColumnToPositionFindsTheCharacterCoveringTheColumn) {
    EXPECT_EQ(ColumnToPos("a\tb", 3, 1, 8), 1);
    EXPECT_EQ(ColumnToPos("a\tb", 3, 2, 8), 2);
    EXPECT_EQ(ColumnToPos("a\tb", 3, 5, 8), 2);
    EXPECT_EQ(ColumnToPos("a\tb", 3, 8, 8), 2);
    EXPECT_EQ(ColumnToPos("a\tb", 3, 9, 8), 3);
    EXPECT_EQ(ColumnToPos("a\tb", 3, 12, 8), 6);
    EXPECT_EQ(ColumnToPos("abc", 3, 2, 8), 2);
    EXPECT_EQ(ColumnToPos("abc", 3, 7, 8), 7);
    EXPECT_EQ(ColumnToPos("", 0, 7, 8), 7);
}

TEST(ColumnArithmetic, ColumnAndPositionRoundTripOnCharacterStarts) {
    const std::string text = "ab\tc\t\tdef\tg";
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t pos = 1; pos <= length + 3; ++pos) {
        const std::int32_t column = PosToColumn(text.c_str(), length, pos, 4);
        EXPECT_EQ(ColumnToPos(text.c_str(), length, column, 4), pos) << "position " << pos;
    }
}

// The partial re-wrap must always give the table of a complete wrap; texts full of blanks,
// hyphens and tabs at small columns make every early-stop and look-back case happen.
TEST(ParaNode, PartialRewrapAlwaysEqualsACompleteWrap) {
    std::mt19937 random(12345);
    const std::string alphabet = "abcde  --\t\t";
    auto randomText = [&](std::size_t maxLength) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), 'x');
        for (char& c : text) {
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::int32_t wrapColumn = std::uniform_int_distribution<std::int32_t>(1, 12)(random);
        const auto tabSize =
            static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 6)(random));
        std::string text = randomText(60);
        TParaNode node(text, wrapColumn, tabSize);
        const std::vector<std::string> before = Lines(node);
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
        const std::size_t removed = std::uniform_int_distribution<std::size_t>(
            0, std::min<std::size_t>(text.size() - at, 8))(random);
        const std::string added = randomText(8);
        const std::string after = text.substr(0, at) + added + text.substr(at + removed);
        ASSERT_TRUE(node.Reserve(after.size() + 1));
        node.EraseAt(static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(removed));
        node.InsertAt(static_cast<std::uint16_t>(at), added);
        ASSERT_EQ(node.Text(), after);
        const TChangedLines changed = node.RewrapAfterChange(
            wrapColumn, tabSize, static_cast<std::uint16_t>(at),
            static_cast<std::uint16_t>(removed), static_cast<std::uint16_t>(added.size()));
        const TParaNode fresh(after, wrapColumn, tabSize);
        ASSERT_EQ(Lines(node), Lines(fresh))
            << "text '" << text << "' at " << at << " -" << removed << " +'" << added << "' W "
            << wrapColumn << " T " << int(tabSize);
        const std::vector<std::string> now = Lines(node);
        if (now.size() == before.size()) {
            for (std::size_t k = 0; k < now.size(); ++k) {
                if (now[k] != before[k]) {
                    ASSERT_GE(static_cast<std::int32_t>(k) + 1, changed.First) << "line " << k + 1;
                    ASSERT_LE(static_cast<std::int32_t>(k) + 1, changed.Last) << "line " << k + 1;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tomery::editor
