// The editing commands reached through real key presses on the control.
#include "EditingFixture.h"

namespace tomery::editor::testing {
namespace {

class KeysTest : public EditingTest {};

TEST_F(KeysTest, EnterSplitsTheParagraphAndDropsTheBlanksBeforeTheCaret) {
    SetLines({"abc   def"});
    Editor().SetCaretPosition(1, 7);
    Key(Qt::Key_Return);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 1);
}

TEST_F(KeysTest, CtrlEnterIsTheNewLineCommandOfTheKeyTable) {
    SetLines({"abcdef"});
    Editor().SetWantEnter(false);
    Editor().SetCaretPosition(1, 4);
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
}

TEST_F(KeysTest, WithoutWantEnterEnterChangesNothing) {
    SetLines({"abcdef"});
    Editor().SetWantEnter(false);
    Editor().SetCaretPosition(1, 4);
    Key(Qt::Key_Return);
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
    EXPECT_EQ(Caret(), Pos(1, 4));
}

TEST_F(KeysTest, BackspaceAtAParagraphStartJoinsItToThePreviousOne) {
    SetLines({"one", "two", "three", "four", "five"});
    Editor().SetCaretPosition(5, 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Editor().GetPara(4), "fourfive");
    EXPECT_EQ(Caret(), Pos(4, 5));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Editor().GetPara(4), "foufive");
    EXPECT_EQ(changes_, 2);
}

TEST_F(KeysTest, AnUnboundBackspaceTypesNothing) {
    SetLines({"abc"});
    Editor().Controller()->EntryCommands().FindTable("Default")->SetActive(false);
    Editor().SetCaretPosition(1, 2);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    QTest::keyClicks(&Editor(), "x");
    EXPECT_EQ(Editor().GetPara(1), "axbc");
}

TEST_F(KeysTest, TabWithWantTabAlignsASmartTab) {
    SetLines({"    abc def", ""});
    Editor().SetWantTab(true);
    Editor().SetTabType(TTabType::ttSmart);
    Editor().SetCaretPosition(2, 1);
    Key(Qt::Key_Tab);
    QTest::keyClicks(&Editor(), "x");
    Key(Qt::Key_Tab);
    QTest::keyClicks(&Editor(), "y");
    EXPECT_EQ(Editor().GetPara(2), "    x   y");
    EXPECT_TRUE(Editor().hasFocus());
}

TEST_F(KeysTest, AnUnboundTabWithWantTabRunsTheTabActionWithoutOnChange) {
    SetLines({"ab"});
    Editor().Controller()->EntryCommands().FindTable("Default")->SetActive(false);
    Editor().SetWantTab(true);
    Editor().SetCaretPosition(1, 2);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Editor().GetPara(1), "a\tb");
    EXPECT_EQ(changes_, 0);
}

TEST_F(KeysTest, EnterOnAReadOnlyControlOnlyMovesToTheNextParagraph) {
    SetLines({"abc", "def"});
    Editor().SetReadOnly(true);
    Editor().SetCaretPosition(1, 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(changes_, 0);
}

TEST_F(KeysTest, AltBackspaceIsTheUnhandledRestoreCommand) {
    SetLines({"abc"});
    Editor().SetCaretPosition(1, 3);
    EXPECT_FALSE(Run(ccRestore));
    Key(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(changes_, 0);
}

TEST_F(KeysTest, WordStarKeysDeleteTheLineAndTheWord) {
    SetLines({"alpha beta", "second"});
    Editor().Controller()->EntryCommands().FindTable("WordStar")->SetActive(true);
    Key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(1), "beta");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(1), "second");
    EXPECT_EQ(changes_, 2);
}

TEST_F(KeysTest, TypingOverwritesInOverwriteModeAndUndoesInOneStep) {
    SetLines({"abcdef"});
    Key(Qt::Key_Insert);
    EXPECT_FALSE(Editor().InsertMode());
    QTest::keyClicks(&Editor(), "xyz");
    EXPECT_EQ(Editor().GetPara(1), "xyzdef");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
}

}  // namespace
}  // namespace tomery::editor::testing
