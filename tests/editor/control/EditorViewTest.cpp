// The editor's view: caret moves, scrolling, selection, change reports and status order.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "EditorFixture.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;

TEST_F(EditorTest, DownOnTheLastLineChangesNothingAndUpOnTheFirstKeepsTheCaret) {
    SetLines({"abc", "defgh"});
    Editor().SetScrollPastEnd(true);
    Editor().SetCaretPosition(3, 5);  // beyond the end of the empty last line
    Run(ccDown);
    EXPECT_EQ(Caret(), Pos(3, 5));
    Editor().SetCaretPosition(1, 3);
    Run(ccUp);
    EXPECT_EQ(Caret(), Pos(1, 3));
}

TEST_F(EditorTest, VerticalMovesKeepTheScreenColumnReachedLast) {
    SetLines({"a long first line", "short", "another long line"});
    Editor().SetCaretPosition(1, 12);
    Run(ccDown);
    EXPECT_EQ(Caret(), Pos(2, 6));  // the end of the shorter line
    Run(ccDown);
    EXPECT_EQ(Caret(), Pos(3, 6));  // the column reached, not the first one
}

TEST_F(EditorTest, TheScreenColumnCountsTabs) {
    SetLines({"\tx", "abcdefghijk"});
    Editor().SetCaretPosition(1, 2);  // on the x, display column 9
    Run(ccDown);
    EXPECT_EQ(Caret(), Pos(2, 9));
    Run(ccUp);
    EXPECT_EQ(Caret(), Pos(1, 2));
}

TEST_F(EditorTest, LeftAndRightCrossParagraphEnds) {
    SetLines({"ab", "cd"});
    Editor().SetCaretPosition(1, 3);
    Run(ccRight);
    EXPECT_EQ(Caret(), Pos(2, 1));
    Run(ccLeft);
    EXPECT_EQ(Caret(), Pos(1, 3));
    Editor().SetWrapAtLeft(false);
    Editor().SetCaretPosition(2, 1);
    Run(ccLeft);
    EXPECT_EQ(Caret(), Pos(2, 1));
    Editor().SetCaretPosition(3, 1);  // the empty last paragraph
    Run(ccRight);
    EXPECT_EQ(Caret(), Pos(3, 1));
}

TEST_F(EditorTest, WithWordWrapTheEndOfAWrappedLineIsTheStartOfTheNext) {
    SetLines({"abcd efgh ijkl"});
    Editor().SetWordWrap(true);
    Editor().SetWrapColumn(6);
    ASSERT_EQ(Editor().LineCount(), 4);  // "abcd ", "efgh ", "ijkl", ""
    Editor().SetCaretPosition(1, 5);
    Run(ccRight);
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(Editor().CaretParaPos(), 6);
    Run(ccLeft);
    EXPECT_EQ(Caret(), Pos(1, 5));
    Run(ccEnd);
    EXPECT_EQ(Caret(), Pos(1, 6));  // length + 1 of the wrapped line
    EXPECT_EQ(Editor().CaretParaPos(), 6);
    Run(ccDown);
    EXPECT_EQ(Caret(), Pos(2, 6));
}

TEST_F(EditorTest, WordMovesStopAtWordStarts) {
    SetLines({"word, second", "third"});
    Run(ccWordRight);
    EXPECT_EQ(Caret(), Pos(1, 7));
    Run(ccWordLeft);
    EXPECT_EQ(Caret(), Pos(1, 1));
    Editor().SetCaretPosition(1, 13);
    Run(ccWordRight);
    EXPECT_EQ(Caret(), Pos(2, 1));
    Run(ccWordLeft);
    EXPECT_EQ(Caret(), Pos(1, 13));
}

TEST_F(EditorTest, PagingKeepsTheCaretRowAndStopsAtTheEnd) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 100; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    SetLines(lines);
    FitRows(10);
    Editor().SetCaretPosition(3, 1);
    Run(ccNextPage);
    EXPECT_EQ(Caret(), Pos(12, 1));
    EXPECT_EQ(Editor().TopLine(), 10);
    for (int i = 0; i < 20; ++i) {
        Run(ccNextPage);
    }
    EXPECT_EQ(Caret().first, 101);
    EXPECT_EQ(Editor().TopLine(), 101 - 10 + 1);
    Run(ccFirstPage);
    EXPECT_EQ(Caret(), Pos(1, 1));
    EXPECT_EQ(Editor().TopLine(), 1);
    Run(ccBotOfPage);
    EXPECT_EQ(Caret().first, 10);
    Run(ccLastPage);
    EXPECT_EQ(Caret(), Pos(101, 1));
}

TEST_F(EditorTest, ScrollRangesForHundredThousandLinesInThirtyRows) {
    Editor().SetScrollBars(TScrollStyle::ssVertical);
    std::vector<std::string> lines(99999, "x");
    SetLines(lines);
    FitRows(30);
    ASSERT_EQ(Editor().LineCount(), 100000);
    EXPECT_EQ(Editor().VertScroll().Scale, 6);
    EXPECT_EQ(Editor().VertScroll().Range, 16661);
    QScrollBar* bar = Editor().verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 16661);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Editor().TopLine(), 100000 - 30 + 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(Editor().TopLine(), 100000 - 60 + 1);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Editor().TopLine(), 1);
}

TEST_F(EditorTest, SelectionExtendsAndNeverReachesIntoVirtualSpace) {
    SetLines({"abc", "defg"});
    Editor().SetScrollPastEnd(true);
    Editor().SetCaretPosition(1, 2);
    Run(ccExtendRight);
    Run(ccExtendDown);
    std::int32_t l1, c1, l2, c2;
    ASSERT_TRUE(Editor().GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(Pos(l1, c1), Pos(1, 2));
    EXPECT_EQ(Pos(l2, c2), Pos(2, 3));
    Editor().SetCaretPosition(1, 2);
    Editor().MoveCaretTo(1, 10, true);
    EXPECT_EQ(Caret(), Pos(1, 10));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{1, 4}));
    Run(ccExtendLeft);
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{1, 4}));
    Run(ccLeft);
    EXPECT_FALSE(Editor().SelectionAvailable());
}

TEST_F(EditorTest, ExtendingBackwardsSwapsTheEnds) {
    SetLines({"abcdef"});
    Editor().SetCaretPosition(1, 4);
    Run(ccExtendRight);
    Run(ccExtendLeft);
    Run(ccExtendLeft);
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{1, 3}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{1, 4}));
}

TEST_F(EditorTest, SetSelectionClampsAndDoesNothingOnAnEmptyText) {
    SetLines({});
    Editor().SetSelection(1, 1, 5, 5, true);
    EXPECT_FALSE(Editor().SelectionAvailable());
    SetLines({"abc", "de"});
    Editor().SetSelection(0, 0, 9, 9, true);
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{1, 1}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{3, 1}));
    EXPECT_EQ(Caret(), Pos(3, 1));
    Editor().SetSelection(1, 2, 2, 2, false);
    EXPECT_EQ(Caret(), Pos(1, 2));
    Editor().CollapseSelection(true);
    EXPECT_EQ(Caret(), Pos(2, 2));
    EXPECT_FALSE(Editor().SelectionAvailable());
}

TEST_F(EditorTest, AccessorsRejectNumbersOutsideTheText) {
    SetLines({"abc"});
    EXPECT_THROW(Editor().GetPara(0), EInvalidLineOrPara);
    EXPECT_THROW(Editor().GetPara(3), EInvalidLineOrPara);
    EXPECT_THROW(Editor().GetStringLine(3), EInvalidLineOrPara);
    EXPECT_THROW(Editor().SetCaretPosition(1, 0), EInvalidLineOrPara);
    EXPECT_THROW(Editor().SetTopLine(9), EInvalidLineOrPara);
    EXPECT_THROW(Editor().SetMarkerAt(1, 9, 1), EInvalidLineOrCol);
    try {
        Editor().GetPara(0);
    } catch (const EEditorError& error) {
        EXPECT_STREQ(error.what(), "Invalid line or paragraph index");
        EXPECT_EQ(error.ErrorCode(), 0);
    }
}

TEST_F(EditorTest, LinesWithTabsAreExpandedForPrinting) {
    SetLines({"a\tb"});
    EXPECT_EQ(Editor().GetStringLine(1), "a       b");
    char buffer[8];
    EXPECT_EQ(Editor().GetPrintableLine(1, buffer, 4), 4);
    EXPECT_STREQ(buffer, "a   ");
    EXPECT_STREQ(Editor().GetLine(1, buffer, 7), "a\tb");
    EXPECT_EQ(Editor().LineLength(1), 3);
}

TEST_F(EditorTest, InsertStringReplacesTheSelectionAsOneUndoStep) {
    SetLines({"hello world"});
    Editor().SetSelection(1, 7, 1, 12, true);
    ASSERT_EQ(Editor().InsertString("there\r\nfriend"), 0);
    EXPECT_EQ(Editor().GetPara(1), "hello there");
    EXPECT_EQ(Editor().GetPara(2), "friend");
    EXPECT_EQ(Caret(), Pos(2, 7));
    Editor().Undo();
    EXPECT_EQ(Editor().GetPara(1), "hello world");
    EXPECT_EQ(Editor().ParaCount(), 2);
    Editor().Redo();
    EXPECT_EQ(Editor().GetPara(2), "friend");
}

TEST_F(EditorTest, InsertStringOfALongTextInsertsEveryChunk) {
    SetLines({});
    std::string text;
    for (int i = 0; text.size() < 200000; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    ASSERT_EQ(Editor().InsertString(text), 0);
    EXPECT_EQ(Editor().TextLength(), static_cast<std::int64_t>(text.size()));
    const std::int32_t lines = Editor().ParaCount() - 1;
    EXPECT_EQ(Editor().GetPara(lines), "line " + std::to_string(lines - 1));
    EXPECT_EQ(Editor().GetPara(lines / 2), "line " + std::to_string(lines / 2 - 1));
}

TEST_F(EditorTest, ReadOnlyControlsChangeNothing) {
    SetLines({"abc"});
    Editor().SetReadOnly(true);
    EXPECT_EQ(Editor().InsertString("x"), 0);
    Run(ccTypeChar, 'x');
    Editor().SelectAll(true);
    Run(ccCut);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_FALSE(Editor().CanUndo());
}

TEST_F(EditorTest, TypingOverwritesInOverwriteModeAndUndoesInOneStep) {
    SetLines({"abcdef"});
    Editor().SetCaretPosition(1, 2);
    Run(ccIns);
    EXPECT_FALSE(Editor().InsertMode());
    for (const char c : std::string("XYZ")) {
        Run(ccTypeChar, static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(Editor().GetPara(1), "aXYZef");
    Run(ccUndo);
    EXPECT_EQ(Editor().GetPara(1), "abcdef");
    EXPECT_EQ(Caret(), Pos(1, 2));
}

TEST_F(EditorTest, ModifiedAfterASaveComesBackWithUndo) {
    SetLines({"abc"});
    Run(ccTypeChar, 'x');
    EXPECT_TRUE(Editor().Modified());
    Editor().SetModified(false);
    Run(ccUndo);
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_TRUE(Editor().Modified());
    Run(ccRedo);
    EXPECT_TRUE(Editor().Modified());
    Editor().SetCaretPosition(1, 5);
    Run(ccTypeChar, 'y');
    Run(ccUndo);
    EXPECT_EQ(Editor().GetPara(1), "xabc");
}

TEST_F(EditorTest, ResetTextLeavesOneEmptyParagraphWithoutHistory) {
    SetLines({"abc"});
    Run(ccTypeChar, 'x');
    Run(ccSetMarker0 + 3, '3');
    Editor().ResetText(true);
    EXPECT_EQ(Editor().ParaCount(), 1);
    EXPECT_EQ(Editor().TextLength(), 0);
    EXPECT_FALSE(Editor().CanUndo());
    EXPECT_FALSE(Editor().Modified());
    EXPECT_EQ(Editor().ParaList().Marker(3).Para, 0);
}

TEST_F(EditorTest, BookmarksFollowTheirDigitAndIgnoreOtherKeys) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(2, 3);
    EXPECT_TRUE(Run(ccSetMarker3, '3'));
    EXPECT_TRUE(Run(ccSetMarker4, 'A'));
    EXPECT_EQ(Editor().ParaList().Marker(4).Para, 0);
    Editor().SetCaretPosition(1, 1);
    Run(ccGotoMarker3, '3');
    EXPECT_EQ(Caret(), Pos(2, 3));
    Editor().SetCaretPosition(1, 1);
    Run(ccGotoMarker5, '5');
    EXPECT_EQ(Caret(), Pos(1, 1));
    Editor().SetMarkerAt(12, 1, 1);
    Editor().SetMarkerAt(1, 1, 2);
    EXPECT_EQ(Editor().ParaList().Marker(1), (TParaPos{1, 2}));
}

TEST_F(EditorTest, ProcessCommandHandsUserCommandsToTheirEvent) {
    CommandCode received = 0;
    Editor().OnUserCommand = [&](TOvcCustomEditor&, CommandCode command) { received = command; };
    EXPECT_TRUE(Run(300));
    EXPECT_EQ(received, 300);
    EXPECT_FALSE(Run(ccInc));
    EXPECT_FALSE(Run(ccKeyPending));
}

TEST_F(EditorTest, OnChangeFollowsTheChangingCommandsOnly) {
    SetLines({"abc"});
    int changes = 0;
    Editor().OnChange = [&](TOvcCustomEditor&) { ++changes; };
    Run(ccRight);
    Run(ccTypeChar, 'x');
    Run(ccUndo);
    Run(ccRedo);
    EXPECT_EQ(changes, 3);
}

TEST_F(EditorTest, StoreErrorsGoToOnErrorOrAreRaised) {
    SetLines({"abc"});
    Editor().SetParaLengthLimit(3);
    EXPECT_THROW(Run(ccTypeChar, 'x'), EEditorError);
    std::uint16_t code = 0;
    Editor().OnError = [&](TOvcCustomEditor&, std::uint16_t& error) { code = error; };
    Run(ccTypeChar, 'x');
    EXPECT_EQ(code, kErrorParaTooLong);
    EXPECT_EQ(Editor().GetPara(1), "abc");
}

TEST_F(EditorTest, StatusArrivesAfterTheOperationOncePerCaretPositioning) {
    SetLines({"abc", "def"});
    statuses_.clear();
    Editor().SetCaretPosition(2, 2);
    EXPECT_TRUE(statuses_.empty());  // posted, not yet delivered
    Settle();
    EXPECT_EQ(statuses_, (std::vector<Pos>{{2, 2}}));
    statuses_.clear();
    Editor().SetSelection(1, 1, 2, 3, true);  // two positionings
    Settle();
    ASSERT_EQ(statuses_.size(), 2u);
    EXPECT_EQ(statuses_[0], Pos(1, 1));
    EXPECT_EQ(statuses_[1], Pos(2, 3));
}

TEST_F(EditorTest, TheStatusColumnIsTheDisplayColumn) {
    SetLines({"\tab"});
    statuses_.clear();
    Editor().SetCaretPosition(1, 3);
    Settle();
    EXPECT_EQ(statuses_, (std::vector<Pos>{{1, 10}}));
}

TEST_F(EditorTest, ChangesMadeThroughTheStoreKeepCaretAndTopInStep) {
    std::vector<std::string> lines(50, "text");
    SetLines(lines);
    FitRows(10);
    Editor().SetTopLine(20);
    Editor().SetCaretPosition(25, 3);
    Editor().ParaList().DeletePara(1);
    EXPECT_EQ(Editor().TopLine(), 19);
    EXPECT_EQ(Caret(), Pos(24, 3));
    Editor().ParaList().InsertText(24, 1, "ab");
    EXPECT_EQ(Caret(), Pos(24, 5));
    TParaPos at{24, 3};
    Editor().ParaList().InsertLines(at, "x\r\ny");
    EXPECT_EQ(Caret(), Pos(25, 4));
}

TEST_F(EditorTest, WrapToWindowFollowsTheWidth) {
    SetLines({std::string(300, 'a')});
    Editor().SetWordWrap(true);
    Editor().SetWrapToWindow(true);
    const std::int32_t columns = Editor().VisibleColumns();
    EXPECT_EQ(Editor().WrapColumn(), columns - 2);
    Editor().resize(Editor().width() + 10 * Editor().CharWidth(), Editor().height());
    Settle();
    EXPECT_EQ(Editor().WrapColumn(), Editor().VisibleColumns() - 2);
    EXPECT_GT(Editor().VisibleColumns(), columns);
}

TEST_F(EditorTest, PropertySettersIgnoreValuesOutOfRange) {
    Editor().SetLeftMargin(-3);
    EXPECT_EQ(Editor().LeftMargin(), 15);
    Editor().SetTabSize(0);
    EXPECT_EQ(Editor().TabSize(), 8);
    Editor().SetParaLengthLimit(40000);
    EXPECT_EQ(Editor().ParaLengthLimit(), 32767);
    Editor().SetByteLimit(-1);
    EXPECT_EQ(Editor().ByteLimit(), 2147483647);
    Editor().SetScrollBars(TScrollStyle::ssNone);
    Editor().SetScrollBarsAlways(true);
    EXPECT_FALSE(Editor().ScrollBarsAlways());
    Editor().SetWordWrap(true);
    Editor().SetWrapAtLeft(false);
    EXPECT_TRUE(Editor().WrapAtLeft());
    Editor().SetScrollPastEnd(true);
    EXPECT_FALSE(Editor().WordWrap());
    Editor().SetUndoBufferSize(1000);
    EXPECT_EQ(Editor().UndoBufferSize(), 1000);
}

}  // namespace
}  // namespace tomery::editor::testing
