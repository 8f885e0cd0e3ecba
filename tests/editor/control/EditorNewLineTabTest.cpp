// The new-line command with its indentation and trimming, and the three kinds of tab.
#include "EditingFixture.h"

namespace tomery::editor::testing {
namespace {

class NewLineTabTest : public EditingTest {};

// New line.

TEST_F(NewLineTabTest, NewLineDropsTheBlanksBeforeTheSplitPoint) {
    SetLines({"abc   def"});
    Editor().SetCaretPosition(1, 7);
    EXPECT_TRUE(Run(ccNewLine));
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 1);
}

TEST_F(NewLineTabTest, NewLineAtTheEndOfAParagraphKeepsItsTrailingBlanks) {
    Editor().SetTrimWhiteSpace(false);
    SetLines({"abc   ", "next"});
    Editor().SetCaretPosition(1, 7);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(1), "abc   ");
    EXPECT_EQ(Editor().GetPara(2), "");
    EXPECT_EQ(Editor().GetPara(3), "next");
}

TEST_F(NewLineTabTest, NewLineWhereLoadingCutALongLineEndsTheLineThereWithoutAnEmptyOne) {
    Editor().SetParaLengthLimit(5);
    for (const Pos& at : {Pos(1, 6), Pos(2, 1)}) {
        SetLines({"abcdefgh"});
        changes_ = 0;
        ASSERT_TRUE(Editor().ParaList().ContinuesLine(2));
        Editor().SetCaretPosition(at.first, at.second);
        Run(ccNewLine);
        EXPECT_EQ(Editor().ParaCount(), 3);
        EXPECT_FALSE(Editor().ParaList().ContinuesLine(2));
        EXPECT_EQ(Caret(), Pos(2, 1));
        EXPECT_EQ(changes_, 1);
        EXPECT_TRUE(Editor().Modified());
        Editor().Undo();
        EXPECT_TRUE(Editor().ParaList().ContinuesLine(2));
        EXPECT_FALSE(Editor().Modified());
    }
}

TEST_F(NewLineTabTest, TheSplitIsOneUndoStep) {
    SetLines({"abcdef"});
    Editor().SetCaretPosition(1, 4);
    Run(ccNewLine);
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
    EXPECT_FALSE(Editor().CanUndo());
}

TEST_F(NewLineTabTest, NewLineOverASelectionUndoesInTwoSteps) {
    SetLines({"abcdef"});
    Editor().SetSelection(1, 3, 1, 5, true);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(1), "ab");
    EXPECT_EQ(Editor().GetPara(2), "ef");
    EXPECT_EQ(changes_, 1);
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "abef");
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
}

TEST_F(NewLineTabTest, AutoIndentWithRealTabsUsesTabsThenBlanks) {
    SetLines({"\t  text"});
    Editor().SetAutoIndent(true);
    Editor().SetCaretPosition(1, 8);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(2), "\t  ");
    EXPECT_EQ(Caret(), Pos(2, 4));
}

TEST_F(NewLineTabTest, AutoIndentWithFixedTabsUsesBlanksOnly) {
    SetLines({"\t  text"});
    Editor().SetAutoIndent(true);
    Editor().SetTabType(TTabType::ttFixed);
    Editor().SetCaretPosition(1, 8);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(2), std::string(10, ' '));
    EXPECT_EQ(Caret(), Pos(2, 11));
}

TEST_F(NewLineTabTest, AutoIndentCountsOnlyTheBlanksBeforeTheCaret) {
    SetLines({"    text"});
    Editor().SetAutoIndent(true);
    Editor().SetCaretPosition(1, 3);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(1), "");
    EXPECT_EQ(Editor().GetPara(2), "    text");
}

TEST_F(NewLineTabTest, InOverwriteModeNewLineOnlyMovesTheCaret) {
    SetLines({"abc", "def"});
    Editor().SetInsertMode(false);
    Editor().SetCaretPosition(1, 2);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 0);
}

TEST_F(NewLineTabTest, WithoutSplittingInTheLastParagraphTheCaretGoesToTheEnd) {
    SetLines({"abc"});
    Editor().SetReadOnly(true);
    Editor().SetCaretPosition(1, 2);
    Run(ccNewLine);
    Run(ccNewLine);
    EXPECT_EQ(Editor().ParaCount(), 2);
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 0);
}

TEST_F(NewLineTabTest, ASplitBeyondTheParagraphLimitIsReported) {
    SetLines({"abc"});
    Editor().SetParaLimit(2);
    std::uint16_t error = 0;
    Editor().OnError = [&](TOvcCustomEditor&, std::uint16_t& code) { error = code; };
    Editor().ParaList().InsertText(2, 1, "x");
    Editor().SetCaretPosition(1, 2);
    Run(ccNewLine);
    EXPECT_EQ(error, kErrorTooManyParas);
    EXPECT_EQ(Editor().ParaCount(), 2);
    EXPECT_EQ(changes_, 0);
}

// Tab.

TEST_F(NewLineTabTest, ARealTabInsertsATabCharacter) {
    SetLines({"ab"});
    Editor().SetCaretPosition(1, 2);
    EXPECT_TRUE(Run(ccTab));
    EXPECT_EQ(Editor().GetPara(1), "a\tb");
    EXPECT_EQ(Caret(), Pos(1, 3));
    EXPECT_EQ(changes_, 1);
}

TEST_F(NewLineTabTest, AFixedTabFillsUpToTheNextTabStop) {
    Editor().SetTabType(TTabType::ttFixed);
    for (const auto& [column, blanks] : {Pos(1, 8), Pos(8, 1), Pos(9, 8)}) {
        SetLines({std::string(12, 'x')});
        Editor().SetCaretPosition(1, column);
        Run(ccTab);
        EXPECT_EQ(Editor().GetPara(1).size(), 12u + blanks) << "column " << column;
        EXPECT_EQ(Caret(), Pos(1, column + blanks));
    }
}

TEST_F(NewLineTabTest, AFixedTabMergesWithTheTypingBeforeIt) {
    Editor().SetTabType(TTabType::ttFixed);
    SetLines({""});
    Run(ccTypeChar, 'a');
    Run(ccTab);
    Run(ccTypeChar, 'b');
    EXPECT_EQ(Editor().GetPara(1), "a       b");
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "");
}

TEST_F(NewLineTabTest, ASmartTabAlignsWithTheWordsOfTheLineAbove) {
    Editor().SetTabType(TTabType::ttSmart);
    SetLines({"    abc def", ""});
    Editor().SetCaretPosition(2, 1);
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(2), "    ");
    Run(ccTypeChar, 'x');
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(2), "    x   ");
    EXPECT_EQ(Caret(), Pos(2, 9));
    Run(ccTab);  // to the end of the line above
    EXPECT_EQ(Caret(), Pos(2, 12));
    Run(ccTab);  // past the line above: the next tab stop
    EXPECT_EQ(Caret(), Pos(2, 17));
}

TEST_F(NewLineTabTest, ASmartTabBelowAnEmptyLineLooksAtTheLineBelow) {
    Editor().SetTabType(TTabType::ttSmart);
    SetLines({"", "", "   word"});
    Editor().SetCaretPosition(2, 1);
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(2), "   ");
}

TEST_F(NewLineTabTest, ASmartTabInTheFirstParagraphIsAFixedTab) {
    Editor().SetTabType(TTabType::ttSmart);
    SetLines({"ab"});
    Editor().SetCaretPosition(1, 3);
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(1), "ab      ");
}

TEST_F(NewLineTabTest, ATabInOverwriteModeReplacesCharactersInOneStep) {
    Editor().SetTabType(TTabType::ttFixed);
    Editor().SetTabSize(4);
    SetLines({"abcdefgh"});
    Editor().SetInsertMode(false);
    Editor().SetCaretPosition(1, 2);
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(1), "a   efgh");
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "abcdefgh");
}

TEST_F(NewLineTabTest, ATabOverASelectionDeletesItAsAStepOfItsOwn) {
    SetLines({"abcdef"});
    Editor().SetSelection(1, 2, 1, 4, true);
    Run(ccTab);
    EXPECT_EQ(Editor().GetPara(1), "a\tdef");
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "adef");
}

TEST_F(NewLineTabTest, NewLineAndTabChangeNothingOnAReadOnlyControl) {
    SetLines({"abc", "def"});
    Editor().SetReadOnly(true);
    Editor().SetSelection(1, 1, 1, 3, true);
    Run(ccTab);
    Run(ccNewLine);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
    EXPECT_EQ(Caret(), Pos(2, 1));
}

}  // namespace
}  // namespace tomery::editor::testing
