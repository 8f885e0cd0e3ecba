// Search and FindText on the control: where the search starts, what it selects, replacing,
// the result values and errors.
#include <array>

#include "EditorFixture.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;  // display line, column

class FindTest : public EditorTest {
  protected:
    /// The selection as (begin line, begin column, end line, end column), or all 0.
    using Sel = std::array<std::int32_t, 4>;
    Sel Selection() {
        Sel s{};
        Editor().GetSelection(s[0], s[1], s[2], s[3]);
        return s;
    }
};

TEST_F(FindTest, AForwardFindSelectsTheOccurrenceWithTheCaretAtItsEnd) {
    SetLines({"one two", "three two"});
    EXPECT_TRUE(Editor().FindText("two", 0));
    EXPECT_EQ(Selection(), (Sel{1, 5, 1, 8}));
    EXPECT_EQ(Caret(), Pos(1, 8));
    EXPECT_TRUE(Editor().FindText("two", 0));
    EXPECT_EQ(Selection(), (Sel{2, 7, 2, 10}));
    EXPECT_FALSE(Editor().FindText("two", 0));
    EXPECT_EQ(Selection(), (Sel{2, 7, 2, 10}));  // nothing found: the selection stays
}

TEST_F(FindTest, WithoutMatchCaseLettersFoldByTheTextsOwnSet) {
    // Windows-1252's table is the one the search always had.
    const charset::TCharacterSet& western = charset::DefaultCharacterSet();
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(western.UpperCase()[byte], UpperCase1252(static_cast<unsigned char>(byte)))
            << byte;
    }
    // я and Я (0xFF and 0xDF in Windows-1251), ж and Ж (0xD6 and 0xF6 in KOI8-R).
    const std::pair<const char*, std::string> cases[] = {{"windows-1251", "\xDF"},
                                                         {"koi8-r", "\xF6"}};
    for (const auto& [name, capital] : cases) {
        Editor().SetCharacterSet(*charset::FindCharacterSet(name));
        SetLines({std::string("x") + (name[0] == 'w' ? "\xFF" : "\xD6")});
        EXPECT_TRUE(Editor().FindText(capital, seGlobal)) << name;
        EXPECT_FALSE(Editor().FindText(capital, seGlobal | seMatchCase)) << name;
    }
}

TEST_F(FindTest, ABackwardFindPutsTheCaretAtTheStartSoThatRepeatedFindsMoveOn) {
    SetLines({"ab ab ab"});
    Editor().SetCaretPosition(1, 8);  // inside the last occurrence
    EXPECT_EQ(Editor().Search("ab", std::nullopt, seBackward), 0);
    EXPECT_EQ(Selection(), (Sel{1, 4, 1, 6}));
    EXPECT_EQ(Caret(), Pos(1, 4));
    EXPECT_TRUE(Editor().FindText("ab", seBackward));
    EXPECT_EQ(Caret(), Pos(1, 1));
    EXPECT_EQ(Editor().Search("ab", std::nullopt, seBackward), -1);
}

TEST_F(FindTest, AForwardFindFromInsideAnOccurrenceSkipsIt) {
    SetLines({"abc abc"});
    Editor().SetCaretPosition(1, 2);
    EXPECT_TRUE(Editor().FindText("abc", 0));
    EXPECT_EQ(Selection(), (Sel{1, 5, 1, 8}));
    EXPECT_TRUE(Editor().FindText("ABC", seGlobal));
    EXPECT_EQ(Selection(), (Sel{1, 1, 1, 4}));
    EXPECT_FALSE(Editor().FindText("ABC", seGlobal | seMatchCase));
}

TEST_F(FindTest, WholeWordsRejectAMatchFollowedByAnUnderscoreOrADigit) {
    SetLines({"cat_x cat1 cat, cat-y"});
    EXPECT_TRUE(Editor().FindText("cat", seWholeWord));
    EXPECT_EQ(Selection(), (Sel{1, 12, 1, 15}));
    EXPECT_TRUE(Editor().FindText("cat", seWholeWord));
    EXPECT_EQ(Selection(), (Sel{1, 17, 1, 20}));
}

TEST_F(FindTest, AnOccurrenceAcrossALineBreakIsNeverFound) {
    SetLines({"ab", "cd"});
    EXPECT_FALSE(Editor().FindText("bc", seGlobal));
    EXPECT_FALSE(Editor().FindText("b\r\nc", seGlobal));
}

TEST_F(FindTest, AnEmptySearchStringChangesNothingAndCountsAsFound) {
    SetLines({"abc"});
    Editor().SetCaretPosition(1, 2);
    EXPECT_EQ(Editor().Search("", "x", seReplaceAll | seGlobal), 0);
    EXPECT_TRUE(Editor().FindText("", 0));
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Caret(), Pos(1, 2));
}

TEST_F(FindTest, AReplaceModeWithoutAReplacementDoesNothing) {
    SetLines({"abc"});
    EXPECT_EQ(Editor().Search("b", std::nullopt, seReplaceAll | seGlobal), 0);
    EXPECT_EQ(Editor().GetPara(1), "abc");
}

TEST_F(FindTest, ASearchStringOf300CharactersIsSearchedAsItsFirst255) {
    const std::string text(255, 'a');
    SetLines({"x" + text + "y"});
    EXPECT_TRUE(Editor().FindText(text + std::string(45, 'b'), 0));
    EXPECT_EQ(Selection(), (Sel{1, 2, 1, 257}));
}

TEST_F(FindTest, ReplaceReplacesTheMatchingSelectionAndSelectsTheNextOccurrence) {
    SetLines({"Cat cat cat"});
    Editor().SetSelection(1, 1, 1, 4, true);
    EXPECT_EQ(Editor().Search("cat", "dog", seReplace), 1);
    EXPECT_EQ(Editor().GetPara(1), "dog cat cat");
    EXPECT_EQ(Selection(), (Sel{1, 5, 1, 8}));
    Editor().CollapseSelection(true);
    EXPECT_TRUE(Editor().FindText("cat", 0));
    EXPECT_EQ(Editor().Search("cat", "dog", seReplace), 1);
    EXPECT_EQ(Editor().GetPara(1), "dog cat dog");
    EXPECT_FALSE(Editor().SelectionAvailable());
    EXPECT_EQ(Caret(), Pos(1, 12));  // after the replacement
}

TEST_F(FindTest, ReplaceWithASelectionThatDiffersOnlyFindsTheNextOccurrence) {
    SetLines({"Cat cat"});
    Editor().SetSelection(1, 1, 1, 4, true);
    EXPECT_EQ(Editor().Search("cat", "dog", seReplace | seMatchCase), 0);
    EXPECT_EQ(Editor().GetPara(1), "Cat cat");
    EXPECT_EQ(Selection(), (Sel{1, 5, 1, 8}));
}

TEST_F(FindTest, ReplaceAllNeverReplacesTheInsertedText) {
    SetLines({"a a", "aa"});
    EXPECT_EQ(Editor().Search("a", "aXa", seReplaceAll | seGlobal), 4);
    EXPECT_EQ(Editor().GetPara(1), "aXa aXa");
    EXPECT_EQ(Editor().GetPara(2), "aXaaXa");
    EXPECT_FALSE(Editor().SelectionAvailable());
}

TEST_F(FindTest, ReplaceAllKeepsTheCaretOnTheSameCharacter) {
    SetLines({"x x x", "x"});
    Editor().SetCaretPosition(1, 5);
    EXPECT_EQ(Editor().Search("x", "yy", seReplaceAll | seGlobal), 4);
    EXPECT_EQ(Editor().GetPara(1), "yy yy yy");
    EXPECT_EQ(Caret(), Pos(1, 7));
}

TEST_F(FindTest, ReplaceAllUnderWordWrapKeepsTheFirstVisibleTextOnTop) {
    Editor().SetWordWrap(true);
    Editor().SetWrapColumn(10);
    SetLines(std::vector<std::string>(40, "aaaa bbbb cccc"));  // two lines each
    Editor().SetTopLine(21);                                   // paragraph 11, line 1
    EXPECT_EQ(Editor().Search("bbbb ", "", seReplaceAll | seGlobal), 40);
    EXPECT_EQ(Editor().GetPara(11), "aaaa cccc");
    EXPECT_EQ(Editor().LineCount(), 41);
    EXPECT_EQ(Editor().TopLine(), 11);
}

TEST_F(FindTest, ReplaceAllBackwardFromTheCaretReplacesOnlyBeforeIt) {
    SetLines({"x x x x"});
    Editor().SetCaretPosition(1, 4);
    EXPECT_EQ(Editor().Search("x", "yy", seReplaceAll | seBackward), 2);
    EXPECT_EQ(Editor().GetPara(1), "yy yy x x");
}

TEST_F(FindTest, ReplaceAllInTheSelectionSelectsTheShiftedRangeAgain) {
    SetLines({"ab ab ab ab"});
    Editor().SetSelection(1, 4, 1, 9, true);
    EXPECT_EQ(Editor().Search("ab", "long", seReplaceAll | seSelOnly), 2);
    EXPECT_EQ(Editor().GetPara(1), "ab long long ab");
    EXPECT_EQ(Selection(), (Sel{1, 4, 1, 13}));
    EXPECT_EQ(Caret(), Pos(1, 13));
}

TEST_F(FindTest, ReplaceAllOfFiftyOccurrencesReturnsFiftyAndUndoesBackToTheStart) {
    std::vector<std::string> lines(50, "one word here");
    SetLines(lines);
    EXPECT_EQ(Editor().Search("word", "term", seReplaceAll | seGlobal), 50);
    EXPECT_EQ(Editor().GetPara(50), "one term here");
    while (Editor().CanUndo()) {
        Editor().Undo();
    }
    EXPECT_EQ(Editor().GetPara(1), "one word here");
    EXPECT_EQ(Editor().GetPara(50), "one word here");
}

TEST_F(FindTest, AFailedReplacementStopsTheSearchAndGoesToOnError) {
    SetLines({"a", "a", "a"});
    Editor().SetParaLengthLimit(3);
    std::uint16_t error = 0;
    Editor().OnError = [&](TOvcCustomEditor&, std::uint16_t& code) { error = code; };
    Editor().ParaList().InsertText(2, 1, "bb");  // paragraph 2 is "bba"
    EXPECT_EQ(Editor().Search("a", "cc", seReplaceAll | seGlobal), kErrorParaTooLong);
    EXPECT_EQ(error, kErrorParaTooLong);
    EXPECT_EQ(Editor().GetPara(1), "cc");
    EXPECT_EQ(Editor().GetPara(2), "bba");
    EXPECT_EQ(Editor().GetPara(3), "a");
}

TEST_F(FindTest, AFailedReplacementWithoutOnErrorIsRaised) {
    SetLines({"abc"});
    Editor().SetParaLengthLimit(3);
    EXPECT_THROW(Editor().Search("b", "xx", seReplaceAll | seGlobal), EEditorError);
}

TEST_F(FindTest, AReadOnlyControlFindsButRefusesToReplace) {
    SetLines({"abc abc"});
    Editor().SetReadOnly(true);
    EXPECT_EQ(Editor().Search("abc", "x", seReplaceAll | seGlobal), -1);
    EXPECT_EQ(Editor().GetPara(1), "abc abc");
    EXPECT_TRUE(Editor().FindText("abc", seGlobal));
    EXPECT_EQ(Editor().Search("abc", "x", seReplace), -1);
    EXPECT_EQ(Editor().GetPara(1), "abc abc");
}

TEST_F(FindTest, TheHourglassIsGoneAfterTheSearch) {
    SetLines({"abc"});
    Editor().FindText("b", 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tomery::editor::testing
