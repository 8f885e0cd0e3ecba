// Backspace and the commands that delete to the line start or end, the line and the word.
#include "EditingFixture.h"

namespace tomery::editor::testing {
namespace {

class DeletingTest : public EditingTest {};

// Backspace.

TEST_F(DeletingTest, BackspaceDeletesTheCharacterBeforeTheCaret) {
    SetLines({"abc"});
    Editor().SetCaretPosition(1, 3);
    EXPECT_TRUE(Run(ccBack));
    EXPECT_EQ(Editor().GetPara(1), "ac");
    EXPECT_EQ(Caret(), Pos(1, 2));
    EXPECT_EQ(changes_, 1);
}

TEST_F(DeletingTest, BackspaceAtTheStartOfTheTextDoesNothingButStillReportsAChange) {
    SetLines({"abc"});
    Run(ccBack);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Caret(), Pos(1, 1));
    EXPECT_EQ(changes_, 1);
}

TEST_F(DeletingTest, BackspaceAtAParagraphStartJoinsItToThePreviousOne) {
    SetLines({"one", "two", "three", "four", "five", "six"});
    Editor().SetCaretPosition(5, 1);
    Run(ccBack);
    EXPECT_EQ(Editor().GetPara(4), "fourfive");
    EXPECT_EQ(Editor().GetPara(5), "six");
    EXPECT_EQ(Caret(), Pos(4, 5));
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(4), "four");
    EXPECT_EQ(Editor().GetPara(5), "five");
}

TEST_F(DeletingTest, BackspaceAtAParagraphStartWithoutWrapAtLeftDoesNothing) {
    SetLines({"one", "two"});
    Editor().SetWrapAtLeft(false);
    Editor().SetCaretPosition(2, 1);
    Run(ccBack);
    EXPECT_EQ(Editor().GetPara(1), "one");
    EXPECT_EQ(Caret(), Pos(2, 1));
}

TEST_F(DeletingTest, BackspaceOverASelectionDeletesOnlyTheSelection) {
    SetLines({"abcdef"});
    Editor().SetSelection(1, 3, 1, 5, true);
    Run(ccBack);
    EXPECT_EQ(Editor().GetPara(1), "abef");
    EXPECT_EQ(Caret(), Pos(1, 3));
}

TEST_F(DeletingTest, RepeatedBackspacesUndoInOneStep) {
    SetLines({"abcdef"});
    Editor().SetCaretPosition(1, 6);
    Run(ccBack);
    Run(ccBack);
    Run(ccBack);
    EXPECT_EQ(Editor().GetPara(1), "abf");
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
    EXPECT_FALSE(Editor().CanUndo());
}

TEST_F(DeletingTest, BackspaceOnAReadOnlyControlOnlyMovesLeft) {
    SetLines({"abc", "def"});
    Editor().SetReadOnly(true);
    Editor().SetCaretPosition(2, 1);
    Run(ccBack);
    EXPECT_EQ(Caret(), Pos(1, 4));
    Run(ccBack);
    EXPECT_EQ(Caret(), Pos(1, 3));
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
}

// To the line start and end.

TEST_F(DeletingTest, DeleteToLineStartRemovesTheCharactersBeforeTheCaret) {
    SetLines({"abcdef"});
    Editor().SetCaretPosition(1, 4);
    EXPECT_TRUE(Run(ccDelBol));
    EXPECT_EQ(Editor().GetPara(1), "def");
    EXPECT_EQ(Caret(), Pos(1, 1));
    EXPECT_EQ(changes_, 1);
}

TEST_F(DeletingTest, DeleteToLineStartAtColumnOneDoesNothing) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(2, 1);
    Run(ccDelBol);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
}

TEST_F(DeletingTest, DeleteToLineEndKeepsTheLineBreak) {
    SetLines({"abcdef", "ghi"});
    Editor().SetCaretPosition(1, 3);
    Run(ccDelEol);
    EXPECT_EQ(Editor().GetPara(1), "ab");
    EXPECT_EQ(Caret(), Pos(1, 3));
    Run(ccDelEol);
    EXPECT_EQ(Editor().GetPara(1), "ab");
    EXPECT_EQ(Editor().GetPara(2), "ghi");
}

TEST_F(DeletingTest, DeleteToLineEndWorksOnTheDisplayLineOfAWrappedParagraph) {
    Editor().SetWordWrap(true);
    Editor().SetWrapColumn(10);
    SetLines({"aaaa bbbb cccc dddd"});
    ASSERT_EQ(Editor().GetStringLine(1), "aaaa bbbb ");
    Editor().SetCaretPosition(1, 6);
    Run(ccDelEol);
    EXPECT_EQ(Editor().GetPara(1), "aaaa cccc dddd");
}

// The line.

TEST_F(DeletingTest, DeleteLineRemovesTheLineAndItsBreakInOneUndoStep) {
    SetLines({"one", "two", "three"});
    Editor().SetCaretPosition(2, 2);
    EXPECT_TRUE(Run(ccDelLine));
    EXPECT_EQ(Editor().GetPara(1), "one");
    EXPECT_EQ(Editor().GetPara(2), "three");
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 1);
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(2), "two");
    EXPECT_EQ(Editor().GetPara(3), "three");
}

TEST_F(DeletingTest, DeleteLineOnTheLastLineEmptiesItAndThenDoesNothing) {
    SetLines({"one"});
    Editor().ParaList().InsertText(2, 1, "last");
    Editor().SetCaretPosition(2, 3);
    Run(ccDelLine);
    EXPECT_EQ(Editor().ParaCount(), 2);
    EXPECT_EQ(Editor().GetPara(2), "");
    EXPECT_EQ(Caret(), Pos(2, 1));
    Run(ccDelLine);
    EXPECT_EQ(Editor().ParaCount(), 2);
    EXPECT_EQ(Editor().GetPara(1), "one");
}

TEST_F(DeletingTest, DeleteLineOfAWrappedLineLeavesTheRestOfItsParagraph) {
    Editor().SetWordWrap(true);
    Editor().SetWrapColumn(10);
    SetLines({"aaaa bbbb cccc", "next"});
    Editor().SetCaretPosition(1, 3);
    Run(ccDelLine);
    EXPECT_EQ(Editor().GetPara(1), "cccc");
    EXPECT_EQ(Editor().GetPara(2), "next");
}

// The word.

TEST_F(DeletingTest, DeleteWordTakesTheRestOfTheWordAndTheBlanksAfterIt) {
    SetLines({"alpha  beta"});
    Editor().SetCaretPosition(1, 3);
    EXPECT_TRUE(Run(ccDelWord));
    EXPECT_EQ(Editor().GetPara(1), "albeta");
    EXPECT_EQ(Caret(), Pos(1, 3));
    EXPECT_EQ(changes_, 1);
}

TEST_F(DeletingTest, DeleteWordOnBlanksTakesTheRunOfBlanks) {
    SetLines({"ab \t cd"});
    Editor().SetCaretPosition(1, 3);
    Run(ccDelWord);
    EXPECT_EQ(Editor().GetPara(1), "abcd");
}

TEST_F(DeletingTest, DeleteWordOnPunctuationTakesOneCharacter) {
    SetLines({"a,,b"});
    Editor().SetCaretPosition(1, 2);
    Run(ccDelWord);
    EXPECT_EQ(Editor().GetPara(1), "a,b");
}

TEST_F(DeletingTest, DeleteWordAtTheParagraphEndJoinsTheNextParagraph) {
    SetLines({"ab", "cd"});
    Editor().SetCaretPosition(1, 3);
    Run(ccDelWord);
    EXPECT_EQ(Editor().GetPara(1), "abcd");
}

TEST_F(DeletingTest, TheDeletingCommandsChangeNothingOnAReadOnlyControl) {
    SetLines({"alpha beta", "gamma"});
    Editor().SetReadOnly(true);
    Editor().SetCaretPosition(1, 3);
    for (const CommandCode command : {ccDelBol, ccDelEol, ccDelLine, ccDelWord}) {
        EXPECT_TRUE(Run(command));
    }
    EXPECT_EQ(Editor().GetPara(1), "alpha beta");
    EXPECT_EQ(Editor().GetPara(2), "gamma");
    EXPECT_EQ(Caret(), Pos(1, 3));
}

}  // namespace
}  // namespace tomery::editor::testing
