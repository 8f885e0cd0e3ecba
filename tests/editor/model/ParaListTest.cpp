#include "OvcEditP.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreChecker.h"

namespace tomery::editor {
namespace {

using testing::CheckStore;
using testing::DisplayLines;
using testing::Load;
using testing::Paragraphs;
using testing::TRecordingClient;
using Strings = std::vector<std::string>;

class ParaList : public ::testing::Test {
  protected:
    void LoadText(const Strings& paragraphs) {
        Load(list, paragraphs);
        client.Reports.clear();
    }
    std::string Text(std::int32_t para) { return std::string(list.GetPara(para)->Text()); }
    void ExpectSound() { EXPECT_EQ(CheckStore(list), ""); }

    TRecordingClient client;
    TParaList list{&client, false, 8192};
};

TEST_F(ParaList, ANewStoreHoldsOneEmptyParagraph) {
    EXPECT_EQ(list.ParaCount(), 1);
    EXPECT_EQ(list.LineCount(), 1);
    EXPECT_EQ(list.ByteCount(), 0);
    EXPECT_FALSE(list.Modified());
    const TLineText line = list.GetLine(1);
    EXPECT_NE(line.Para, nullptr);
    EXPECT_EQ(line.Text, "");
    EXPECT_EQ(list.GetLine(0).Para, nullptr);
    EXPECT_EQ(list.GetLine(2).Para, nullptr);
    EXPECT_EQ(list.GetPara(2), nullptr);
    EXPECT_EQ(list.GetParaLength(5), 0);
    ExpectSound();
}

TEST_F(ParaList, LoadingLinesAddsAnEmptyLastParagraphAndCountsTrimmedBytes) {
    for (const char* line : {"one  ", "two\t", "", "three"}) {
        ASSERT_EQ(list.AppendLine(line, TTrimBlanks::Yes), kErrorNone);
    }
    EXPECT_EQ(Paragraphs(list), (Strings{"one", "two", "", "three", ""}));
    EXPECT_EQ(list.ByteCount(), 3 + 3 + 0 + 5 + 2 * 4);
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 0);
    EXPECT_TRUE(client.Reports.empty());
    ExpectSound();
}

TEST_F(ParaList, ALoadedLineLongerThanTheLimitIsCutAfterItsLastBlankIntoParagraphsThatContinueIt) {
    list.SetParaLengthLimit(10);
    // Trimming takes the line's own trailing blanks, never those at a cut.
    ASSERT_EQ(list.AppendLine("abc defgh ijklmnop \t", TTrimBlanks::Yes), kErrorNone);
    ASSERT_EQ(list.AppendLine("abcdefghijklmnopqrstuvw", TTrimBlanks::No), kErrorNone);
    ASSERT_EQ(list.AppendLine("short", TTrimBlanks::No), kErrorNone);
    EXPECT_EQ(Paragraphs(list),
              (Strings{"abc defgh ", "ijklmnop", "abcdefghij", "klmnopqrst", "uvw", "short", ""}));
    std::string continues;
    for (std::int32_t p = 1; p <= list.ParaCount(); ++p) {
        continues += list.ContinuesLine(p) ? '+' : '-';
    }
    EXPECT_EQ(continues, "-+-++--");
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 0);
    ExpectSound();
}

TEST_F(ParaList, ParagraphLimitAllowsOneMoreWhenTheLastParagraphIsEmpty) {
    LoadText({"a", "b", ""});
    list.SetParaLimit(3);
    EXPECT_EQ(list.CheckLimits(0, 1, 3), kErrorNone);
    ASSERT_EQ(list.InsertParaBefore(1, "x"), kErrorNone);
    EXPECT_EQ(list.InsertParaBefore(1, "y"), kErrorTooManyParas);

    TParaList full(nullptr, false, 8192);
    Load(full, {"a", "b", "c"});
    full.SetParaLimit(3);
    EXPECT_EQ(full.CheckLimits(0, 1, 3), kErrorTooManyParas);
}

TEST_F(ParaList, LimitChecksReportTextAndParagraphSize) {
    LoadText({"abc", "de"});
    list.SetByteLimit(10);
    EXPECT_EQ(list.CheckLimits(1, 0, 2), kErrorNone);
    EXPECT_EQ(list.CheckLimits(1, 0, 4), kErrorTextTooLarge);
    EXPECT_EQ(list.InsertText(1, 1, "xxxx"), kErrorTextTooLarge);
    list.SetByteLimit(kMaxInt32);
    list.SetParaLengthLimit(5);
    EXPECT_EQ(list.CheckLimits(1, 0, 2), kErrorNone);
    EXPECT_EQ(list.CheckLimits(1, 0, 3), kErrorParaTooLong);
    EXPECT_EQ(list.InsertText(1, 2, "xyz"), kErrorParaTooLong);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc", "de"}));
    EXPECT_FALSE(list.Modified());
}

TEST_F(ParaList, GrowingReplacementsAndLongNewParagraphsAreLimited) {
    LoadText({"abcd"});
    list.SetParaLengthLimit(5);
    EXPECT_EQ(list.ReplaceText(1, 2, 1, "xyz"), kErrorParaTooLong);
    EXPECT_EQ(list.InsertParaBefore(1, "1234567"), kErrorParaTooLong);
    EXPECT_EQ(list.ReplaceText(1, 2, 1, "xy"), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"axycd"}));
}

TEST_F(ParaList, PaddingNeverPassesWhatAParagraphCanHold) {
    LoadText({"abc"});
    EXPECT_EQ(list.InsertText(1, 70000, "x"), kErrorParaTooLong);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc"}));
    EXPECT_FALSE(list.Modified());
}

TEST_F(ParaList, UndoIsNotStoppedByLimitsLoweredSinceTheChange) {
    LoadText({"abcdef"});
    list.DeleteText(1, 1, 4);
    list.SetParaLengthLimit(3);
    list.SetByteLimit(2);
    TParaPos caret;
    list.UndoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"abcdef"}));
}

TEST_F(ParaList, SettingsOutsideTheirRangesAreIgnored) {
    list.SetByteLimit(-1);
    list.SetParaLimit(0);
    list.SetParaLengthLimit(0);
    list.SetParaLengthLimit(32768);
    list.SetWrapColumn(0);
    list.SetTabSize(0);
    EXPECT_EQ(list.ByteLimit(), kMaxInt32);
    EXPECT_EQ(list.ParaLimit(), kMaxInt32);
    EXPECT_EQ(list.ParaLengthLimit(), 32767);
    EXPECT_EQ(list.WrapColumn(), 80);
    EXPECT_EQ(list.TabSize(), 8);
}

TEST(EditorErrors, CodesHaveTheirMessages) {
    EXPECT_STREQ(EditorErrorMessage(263), "insufficient memory for requested operation");
    EXPECT_STREQ(EditorErrorMessage(264), "Region is too large (> 64K)");
    EXPECT_STREQ(EditorErrorMessage(265),
                 "Current operation will exceed the maximum number of allowed paragraphs");
    EXPECT_STREQ(EditorErrorMessage(266),
                 "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size");
    EXPECT_STREQ(EditorErrorMessage(267),
                 "Current operation will exceed the maximum editor text size");
    EXPECT_STREQ(EditorErrorMessage(268),
                 "Current operation will exceed the maximum paragraph size");
    EXPECT_STREQ(EditorErrorMessage(1), "Unknown Error condition");
    const EEditorError error(266);
    EXPECT_EQ(error.ErrorCode(), 266);
    EXPECT_STREQ(error.what(), EditorErrorMessage(266));
    EXPECT_STREQ(EInvalidLineOrPara().what(), "Invalid line or paragraph index");
    EXPECT_STREQ(EInvalidLineOrCol().what(), "Invalid line or column");
    EXPECT_EQ(EInvalidLineOrCol().ErrorCode(), 0);
}

TEST_F(ParaList, InsertingPastTheEndPadsAndOneUndoRemovesBoth) {
    LoadText({"abc"});
    ASSERT_EQ(list.InsertText(1, 10, "xy"), kErrorNone);
    EXPECT_EQ(Text(1), "abc      xy");
    EXPECT_EQ(list.ByteCount(), 11);
    EXPECT_EQ(client.Reports, (Strings{"ins 1 10 2"}));
    TParaPos caret;
    EXPECT_FALSE(list.UndoReplay(caret));
    EXPECT_EQ(Text(1), "abc");
    EXPECT_EQ(caret, (TParaPos{1, 4}));
    ExpectSound();
}

TEST_F(ParaList, ReplacingReportsByTheChangeOfLength) {
    LoadText({"abcdef"});
    list.ReplaceText(1, 2, 2, "XY");
    list.ReplaceText(1, 2, 1, "123");
    list.ReplaceText(1, 1, 4, "-");
    EXPECT_EQ(Text(1), "-Ydef");
    EXPECT_EQ(client.Reports, (Strings{"ins 1 2 0", "ins 1 3 2", "del 1 2 3"}));
    ExpectSound();
}

TEST_F(ParaList, SplittingAtTheStartInsertsAnEmptyParagraphAndIgnoresTheIndent) {
    LoadText({"abc"});
    std::int32_t indent = 10;
    ASSERT_EQ(list.SplitPara(1, 1, TTrimBlanks::No, indent, 8), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"", "abc"}));
    EXPECT_EQ(indent, 0);
    EXPECT_EQ(client.Reports, (Strings{"split 1 1 0"}));
}

TEST_F(ParaList, SplittingIndentsWithTabsThenSpacesAndReportsOnce) {
    LoadText({"abc   def"});
    std::int32_t indent = 10;
    ASSERT_EQ(list.SplitPara(1, 7, TTrimBlanks::Yes, indent, 8), kErrorNone);
    EXPECT_EQ(indent, 3);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc", "\t  def"}));
    EXPECT_EQ(client.Reports, (Strings{"split 1 7 3"}));
    EXPECT_EQ(list.ByteCount(), 3 + 2 + 6);
    TParaPos caret;
    list.UndoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc   def"}));
    EXPECT_EQ(caret, (TParaPos{1, 7}));
    list.RedoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc", "\t  def"}));
    EXPECT_EQ(caret, (TParaPos{2, 4}));
    ExpectSound();
}

TEST_F(ParaList, SplittingAtTheEndKeepsTrailingBlanks) {
    LoadText({"abc  "});
    std::int32_t indent = 0;
    list.SplitPara(1, 6, TTrimBlanks::Yes, indent, 8);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc  ", ""}));
}

TEST_F(ParaList, JoiningPastTheLimitFailsAndChangesNothing) {
    LoadText({"abcd", "efgh"});
    list.SetParaLengthLimit(7);
    EXPECT_EQ(list.JoinParas(1, 5), kErrorJoinTooLong);
    EXPECT_EQ(Paragraphs(list), (Strings{"abcd", "efgh"}));
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 0);
}

TEST_F(ParaList, JoiningPadsToThePositionAndReportsOnce) {
    LoadText({"ab", "cd", "e"});
    ASSERT_EQ(list.JoinParas(1, 5), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"ab  cd", "e"}));
    EXPECT_EQ(client.Reports, (Strings{"join 1 5"}));
    TParaPos caret;
    list.UndoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"ab", "cd", "e"}));
    EXPECT_EQ(caret, (TParaPos{1, 3}));
    ExpectSound();
}

TEST_F(ParaList, JoiningAnEmptyParagraphRemovesIt) {
    LoadText({"", "cd"});
    ASSERT_EQ(list.JoinParas(1, 1), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"cd"}));
    EXPECT_EQ(client.Reports, (Strings{"join 1 1"}));
}

TEST_F(ParaList, DeletingARangeFromLineStartsRemovesWholeParagraphs) {
    LoadText({"1", "2", "3", "4", "5", "6"});
    list.DeleteRange({2, 1}, {5, 1});
    EXPECT_EQ(Paragraphs(list), (Strings{"1", "5", "6"}));
    TParaPos caret;
    list.UndoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"1", "2", "3", "4", "5", "6"}));
    EXPECT_FALSE(list.Modified());
    ExpectSound();
}

TEST_F(ParaList, DeletingARangeJoinsItsEnds) {
    LoadText({"abcd", "efgh", "ijkl", "mnop"});
    list.DeleteRange({1, 3}, {3, 2});
    EXPECT_EQ(Paragraphs(list), (Strings{"abjkl", "mnop"}));
    list.DeleteRange({1, 2}, {1, 4});
    EXPECT_EQ(Paragraphs(list), (Strings{"akl", "mnop"}));
    ExpectSound();
}

TEST_F(ParaList, TheOnlyParagraphIsNeverDeleted) {
    LoadText({"abc"});
    list.DeletePara(1);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc"}));
    EXPECT_TRUE(client.Reports.empty());
}

TEST_F(ParaList, InsertingLinesSplitsAndEndsAfterTheText) {
    LoadText({"xyz"});
    TParaPos at{1, 2};
    ASSERT_EQ(list.InsertLines(at, "ab\r\ncd\nef"), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"xab", "cd", "efyz"}));
    EXPECT_EQ(at, (TParaPos{3, 3}));
    EXPECT_EQ(list.FirstChangedLine(), 1);
    EXPECT_EQ(list.LastChangedLine(), kMaxInt32);
    TParaPos start{1, 1};
    ASSERT_EQ(list.InsertLines(start, "top\r\n"), kErrorNone);
    EXPECT_EQ(Paragraphs(list), (Strings{"top", "xab", "cd", "efyz"}));
    EXPECT_EQ(start, (TParaPos{2, 1}));
    TParaPos caret;
    list.UndoReplay(caret);
    list.UndoReplay(caret);
    EXPECT_EQ(Paragraphs(list), (Strings{"xyz"}));
    EXPECT_FALSE(list.Modified());
    ExpectSound();
}

TEST_F(ParaList, InsertingTextWithoutLineBreaksIsOneInsertion) {
    LoadText({"xyz"});
    TParaPos at{1, 4};
    ASSERT_EQ(list.InsertLines(at, "a\rb"), kErrorNone);
    EXPECT_EQ(Text(1), "xyza\rb");
    EXPECT_EQ(at, (TParaPos{1, 7}));
}

TEST_F(ParaList, BookmarksFollowDeletionsAndSplits) {
    LoadText({"abcdefgh", "ijkl"});
    list.SetMarker(0, 1, 3);
    list.SetMarker(1, 1, 7);
    list.SetMarker(2, 2, 2);
    list.SetMarker(10, 1, 1);
    list.DeleteText(1, 2, 3);
    EXPECT_EQ(list.Marker(0), TParaPos{});
    EXPECT_EQ(list.Marker(1), (TParaPos{1, 4}));
    std::int32_t indent = 2;
    list.SplitPara(1, 3, TTrimBlanks::No, indent, 8);
    EXPECT_EQ(list.Marker(1), (TParaPos{2, 4}));
    EXPECT_EQ(list.Marker(2), (TParaPos{3, 2}));
    list.JoinParas(2, 6);
    EXPECT_EQ(list.Marker(2), (TParaPos{2, 7}));
    list.DeletePara(2);
    EXPECT_EQ(list.Marker(1), TParaPos{});
    EXPECT_EQ(list.Marker(10), TParaPos{});
}

TEST(PositionRules, CaretsFollowDeletionsDifferentlyFromBookmarks) {
    TParaPos caret{3, 5};
    AdjustCaretForParaDeleted(caret, 3, 2);
    EXPECT_EQ(caret, (TParaPos{2, 1}));
    caret = {4, 5};
    AdjustCaretForParaDeleted(caret, 3, 5);
    EXPECT_EQ(caret, (TParaPos{3, 5}));
    caret = {1, 6};
    AdjustCaretForTextDeleted(caret, 1, 4, 5);
    EXPECT_EQ(caret, (TParaPos{1, 4}));
    caret = {1, 12};
    AdjustCaretForTextDeleted(caret, 1, 4, 5);
    EXPECT_EQ(caret, (TParaPos{1, 7}));
    TParaPos unset;
    AdjustMarkerForParaSplit(unset, 0, 0, 0);
    AdjustMarkerForTextInserted(unset, 0, 0, 4);
    EXPECT_EQ(unset, TParaPos{});
}

TEST_F(ParaList, WrappedLinesAreFoundByNumberAndPosition) {
    LoadText({"abcd efgh ijkl", "mn", "opqr stuv"});
    list.SetWrapColumn(6);
    list.SetWordWrap(true);
    EXPECT_EQ(client.Reports, (Strings{"reposition"}));
    EXPECT_EQ(list.LineCount(), 6);
    EXPECT_EQ(DisplayLines(list), (Strings{"abcd ", "efgh ", "ijkl", "mn", "opqr ", "stuv"}));
    EXPECT_EQ(list.GetLine(5).Text, "opqr ");
    EXPECT_EQ(list.GetLine(2).Text, "efgh ");
    EXPECT_EQ(list.GetLineLength(3), 4);
    const TLineAndColumn where = list.ParaToLine(3, 7);
    EXPECT_EQ(where.Line, 6);
    EXPECT_EQ(where.Column, 2);
    EXPECT_EQ(list.ParaToLine(9, 1).Line, 5);
    const TLineStart start = list.LineToPara(6);
    EXPECT_EQ(start.Para, 3);
    EXPECT_EQ(start.Offset, 5);
    list.SetMarkerAtLine(4, 2, 3);
    EXPECT_EQ(list.Marker(4), (TParaPos{1, 8}));
    ExpectSound();
}

TEST_F(ParaList, LinesWithoutWordWrapAreParagraphs) {
    LoadText({"a\tb", "cd"});
    EXPECT_EQ(list.GetLineWidth(1), 9);
    EXPECT_EQ(list.LineToPara(2).Para, 2);
    EXPECT_EQ(list.LineToPara(2).Offset, 0);
}

TEST_F(ParaList, TypingReportsOnlyTheChangedLines) {
    LoadText({"one", "abcd efgh ijkl mnop", "two"});
    list.SetWrapColumn(6);
    list.SetWordWrap(true);
    // "ijkl " is display line 4; the line before it keeps its end.
    ASSERT_EQ(list.InsertText(2, 12, "x"), kErrorNone);
    EXPECT_EQ(list.FirstChangedLine(), 4);
    EXPECT_LE(list.LastChangedLine(), 5);
    ASSERT_EQ(list.InsertText(2, 1, "zzzzzz "), kErrorNone);
    EXPECT_EQ(list.LastChangedLine(), kMaxInt32);
    ExpectSound();
}

TEST_F(ParaList, LongRewrapsShowTheBusyCursor) {
    LoadText({std::string(10001, 'a')});
    list.SetWordWrap(true);
    EXPECT_EQ(client.Reports, (Strings{"busy", "idle", "reposition"}));
    EXPECT_EQ(list.LineCount(), 126);
}

TEST_F(ParaList, UndoingEverythingRestoresTheTextAndClearsModified) {
    LoadText({"alpha", "beta"});
    list.InsertText(1, 6, "!");
    list.DeleteText(2, 1, 2);
    std::int32_t indent = 0;
    list.SplitPara(1, 3, TTrimBlanks::No, indent, 8);
    list.InsertParaAfter(3, "new");
    list.ReplaceText(1, 1, 1, "A");
    list.JoinParas(2, 5);
    ASSERT_TRUE(list.Modified());
    TParaPos caret;
    while (list.UndoBuffer().UndoCount() > 0) {
        list.UndoReplay(caret);
    }
    EXPECT_EQ(Paragraphs(list), (Strings{"alpha", "beta"}));
    EXPECT_FALSE(list.Modified());
    while (list.UndoBuffer().RedoCount() > 0) {
        list.RedoReplay(caret);
    }
    EXPECT_EQ(Paragraphs(list), (Strings{"Al", "pha!ta", "new"}));
    EXPECT_TRUE(list.Modified());
    ExpectSound();
}

TEST_F(ParaList, AfterASaveUndoAndRedoCountAsModified) {
    LoadText({"abc"});
    list.InsertText(1, 4, "d");
    list.InsertText(1, 1, "z");
    list.SetModified(false);
    TParaPos caret;
    EXPECT_TRUE(list.UndoReplay(caret));
    EXPECT_TRUE(list.Modified());
    list.RedoReplay(caret);
    EXPECT_TRUE(list.Modified());
}

TEST_F(ParaList, WithoutUndoBufferNothingCanBeUndone) {
    LoadText({"abc", "def"});
    list.SetUndoBufferSize(0);
    list.InsertText(1, 1, "x");
    list.DeletePara(2);
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 0);
    TParaPos caret{7, 7};
    EXPECT_TRUE(list.UndoReplay(caret));
    EXPECT_EQ(caret, (TParaPos{7, 7}));
    EXPECT_EQ(Paragraphs(list), (Strings{"xabc"}));
}

TEST_F(ParaList, DeletingMoreThanTheBufferHoldsEmptiesTheHistory) {
    LoadText({std::string(10000, 'q'), "tail"});
    list.InsertText(2, 1, "a");
    list.DeleteRange({1, 1}, {1, 10001});
    EXPECT_EQ(Paragraphs(list), (Strings{"", "atail"}));
    EXPECT_EQ(list.UndoBuffer().UndoCount(), 0);
}

}  // namespace
}  // namespace tomery::editor
