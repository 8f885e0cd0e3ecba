// The control's helpers without a window: scroll ranges, insertion chunks,
// word characters, tab expansion, selected text, file names and caret geometry.
#include <gtest/gtest.h>

#include <string>

#include "OvcCaret.h"
#include "OvcEditCalc.h"
#include "OvcTextFile.h"

namespace tomery::editor {
namespace {

TEST(VertScroll, HundredThousandLinesInThirtyRowsScaleBySix) {
    const TVertScroll scroll = ComputeVertScroll(100000, 30, true, false);
    EXPECT_EQ(scroll.Scale, 6);
    EXPECT_EQ(scroll.Range, 16661);
    EXPECT_EQ(scroll.Min, 1);
    EXPECT_EQ(scroll.Max, 16661);
    EXPECT_EQ(TopLineForThumb(16661, scroll, 100000, 30), 100000 - 30 + 1);
    EXPECT_EQ(TopLineForThumb(1, scroll, 100000, 30), 1);
    EXPECT_EQ(TopLineForThumb(100, scroll, 100000, 30), 600);
}

TEST(VertScroll, TextThatFitsHasNothingToScrollUnlessTheBarIsAlwaysShown) {
    TVertScroll scroll = ComputeVertScroll(10, 30, true, false);
    EXPECT_EQ(scroll.Min, 1);
    EXPECT_EQ(scroll.Max, 1);
    scroll = ComputeVertScroll(10, 30, true, true);
    EXPECT_EQ(scroll.Range, 2);
    EXPECT_EQ(scroll.Max, 2);
    scroll = ComputeVertScroll(1000, 30, false, true);
    EXPECT_EQ(scroll.Max, 0);
    EXPECT_EQ(ComputeVertScroll(32767 + 29, 30, true, false).Scale, 1);
    EXPECT_EQ(ComputeVertScroll(32768 + 29, 30, true, false).Scale, 2);
}

TEST(HorzScroll, RangeFollowsTheWrapColumnOrTheParagraphLimitUpTo512) {
    EXPECT_EQ(ComputeHorzRange(false, 80, 32767, false), 512);
    EXPECT_EQ(ComputeHorzRange(true, 80, 32767, false), 80);
    EXPECT_EQ(HorzBarMax(true, 100, 80, false), 0);
    EXPECT_EQ(HorzBarMax(true, 100, 80, true), 80);
    EXPECT_EQ(HorzBarMax(false, 10, 80, true), 0);
    EXPECT_EQ(HorzBarMax(true, 10, 80, false), 80);
}

TEST(InsertChunks, AtMost61440CharactersGoInOnePiece) {
    EXPECT_EQ(InsertChunkLength(std::string(61440, 'a')), 61440u);
    EXPECT_EQ(InsertChunkLength(std::string(61441, 'a')), 61440u);
}

TEST(InsertChunks, ALineBreakAtTheCutStaysInTheFirstChunk) {
    std::string text(70000, 'a');
    text[61439] = '\r';
    text[61440] = '\n';
    EXPECT_EQ(InsertChunkLength(text), 61441u);
    std::string breaks(70000, '\n');
    EXPECT_EQ(InsertChunkLength(breaks), 65520u);
}

TEST(WordDelimiters, AreTheThirtyFivePunctuationAndBlankCharacters) {
    int count = 0;
    for (int c = 0; c < 256; ++c) {
        count += IsWordDelimiter(static_cast<unsigned char>(c)) ? 1 : 0;
    }
    EXPECT_EQ(count, 35);
    EXPECT_FALSE(IsWordDelimiter('_'));
    EXPECT_FALSE(IsWordDelimiter(0xE9));
    EXPECT_TRUE(IsWordDelimiter('\''));
}

TEST(ExpandTabs, FillsToTheNextTabStop) {
    EXPECT_EQ(ExpandTabs("a\tb", 4), "a   b");
    EXPECT_EQ(ExpandTabs("\t\t", 3), "      ");
    EXPECT_EQ(ExpandTabs("abcd\t", 4), "abcd    ");
}

TEST(SelectedText, JoinsParagraphsWithCrLf) {
    TParaList list(nullptr, false, 8192);
    for (const char* line : {"one", "two", "three"}) {
        list.AppendLine(line, TTrimBlanks::Yes);
    }
    EXPECT_EQ(SelectedText(list, {1, 2}, {1, 4}), "ne");
    EXPECT_EQ(SelectedText(list, {2, 1}, {3, 1}), "two\r\n");
    EXPECT_EQ(SelectedText(list, {1, 4}, {3, 3}), "\r\ntwo\r\nth");
    EXPECT_EQ(SelectedText(list, {2, 1}, {2, 9}), "two");
}

TEST(SelectedText, KeepsALineCutIntoParagraphsOneLine) {
    TParaList list(nullptr, false, 8192);
    list.SetParaLengthLimit(4);
    list.AppendLine("abcdefg", TTrimBlanks::Yes);
    list.AppendLine("next", TTrimBlanks::Yes);
    EXPECT_EQ(SelectedText(list, {1, 3}, {3, 3}), "cdefg\r\nne");
}

TEST(FileNames, OneTrailingFullStopIsDropped) {
    EXPECT_EQ(NormalizeFileName("notes.txt."), "notes.txt");
    EXPECT_EQ(NormalizeFileName("."), ".");
    EXPECT_EQ(NormalizeFileName("a.."), "a.");
}

TEST(FileNames, TheBackupReplacesTheExtension) {
    EXPECT_EQ(BackupFileName("/tmp/notes.txt", "BAK"), "/tmp/notes.BAK");
    EXPECT_EQ(BackupFileName("/tmp.d/notes", "BAK"), "/tmp.d/notes.BAK");
    EXPECT_EQ(BackupFileName("notes.BAK", "BAK"), "notes.BAK");
}

TEST(InOutErrors, CarryTheUsersMessages) {
    EXPECT_STREQ(EInOutError(ENOENT).what(), "File not found");
    EXPECT_STREQ(EInOutError(EACCES).what(), "File access denied");
    EXPECT_STREQ(EInOutError(ENOSPC).what(), "Disk full");
    EXPECT_STREQ(EInOutError(EMFILE).what(), "Too many open files");
    EXPECT_STREQ(EInOutError(ENAMETOOLONG).what(), "Invalid filename");
    EXPECT_STREQ(EInOutError(EIO).what(), "I/O error 5");
}

TEST(CaretGeometry, ShapesFitTheCellAsTheirAlignmentSays) {
    TOvcCaret caret;
    TCaretGeometry g = FitCaretToCell(caret, 8, 16);  // vertical line, 2 wide
    EXPECT_EQ(g.Width, 2);
    EXPECT_EQ(g.Height, 16);
    EXPECT_EQ(g.OffsetX, -1);  // between two characters
    caret.SetShape(TOvcCaretShape::csBlock);
    g = FitCaretToCell(caret, 8, 16);
    EXPECT_EQ(g.Width, 8);
    EXPECT_EQ(g.Height, 16);
    EXPECT_EQ(g.OffsetX, 0);
    caret.SetShape(TOvcCaretShape::csHalfBlock);
    g = FitCaretToCell(caret, 8, 16);
    EXPECT_EQ(g.Height, 8);
    EXPECT_EQ(g.OffsetY, 8);
    caret.SetShape(TOvcCaretShape::csHorzLine);
    g = FitCaretToCell(caret, 8, 16);
    EXPECT_EQ(g.Height, 2);
    EXPECT_EQ(g.Width, 8);
    EXPECT_EQ(g.OffsetY, 14);
    caret.SetShape(TOvcCaretShape::csCustom);
    caret.SetCaretWidth(4);
    caret.SetCaretHeight(6);
    caret.SetCaretWidth(0);
    caret.SetAlign(TOvcCaretAlign::caCenter);
    g = FitCaretToCell(caret, 8, 16);
    EXPECT_EQ(g.Width, 4);
    EXPECT_EQ(g.OffsetX, 2 - 1);
    EXPECT_EQ(g.OffsetY, 5);
}

}  // namespace
}  // namespace tomery::editor
