// The Delete command (ccDel), which the main window's Delete and Clear All items send.
#include "EditorFixture.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;  // display line, column

TEST_F(EditorTest, DeleteRemovesTheCharacterAtTheCaret) {
    SetLines({"abc"});
    Editor().SetCaretPosition(1, 2);
    ASSERT_TRUE(Editor().ProcessCommand(ccDel, 0));
    EXPECT_EQ(Editor().GetPara(1), "ac");
    EXPECT_EQ(Caret(), Pos(1, 2));
}

TEST_F(EditorTest, DeleteAtTheEndJoinsTheNextParagraph) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(1, 4);
    Editor().ProcessCommand(ccDel, 0);
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
    EXPECT_EQ(Editor().ParaCount(), 2);  // the loaded text ends with an empty paragraph
    EXPECT_EQ(Caret(), Pos(1, 4));
}

TEST_F(EditorTest, DeleteInAnEmptyParagraphRemovesIt) {
    SetLines({"abc", "", "def"});
    Editor().SetCaretPosition(2, 1);
    Editor().ProcessCommand(ccDel, 0);
    EXPECT_EQ(Editor().GetPara(2), "def");
}

TEST_F(EditorTest, DeleteAtTheEndOfTheLastParagraphDoesNothing) {
    SetLines({"abc"});
    const std::int32_t last = Editor().ParaCount();
    Editor().MoveCaretToPara(last, 1, false);
    Editor().ProcessCommand(ccDel, 0);
    EXPECT_EQ(Editor().ParaCount(), last);
    EXPECT_EQ(Editor().GetPara(1), "abc");
}

TEST_F(EditorTest, DeleteOfASelectionAcrossParagraphsUndoesInOneStep) {
    SetLines({"one", "two", "three"});
    Editor().SelectAll(false);
    Editor().ProcessCommand(ccDel, 0);
    EXPECT_EQ(Editor().TextLength(), 0);
    EXPECT_EQ(Caret(), Pos(1, 1));
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "one");
    EXPECT_EQ(Editor().GetPara(3), "three");
}

TEST_F(EditorTest, DeleteChangesNothingOnAReadOnlyControl) {
    SetLines({"abc"});
    Editor().SetReadOnly(true);
    Editor().ProcessCommand(ccDel, 0);
    EXPECT_EQ(Editor().GetPara(1), "abc");
}

}  // namespace
}  // namespace tomery::editor::testing
