// The viewer window, its bookmark rules and the bookmark list.
#include "Conversion.h"
#include "DocBookmarks.h"
#include "DocFileBuilder.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"
#include "ViewBML.h"
#include "ViewBookmarks.h"
#include "Viewer.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace tomery::viewer {
namespace {

using tomery::testing::TempFolder;
using tomery::testing::WriteFile;
using Lines = std::vector<std::string>;

std::vector<std::pair<int, std::string>> Summary(const std::vector<TBookmark>& bookmarks) {
    std::vector<std::pair<int, std::string>> summary;
    for (const TBookmark& bookmark : bookmarks) {
        summary.emplace_back(bookmark.Para, bookmark.Title);
    }
    return summary;
}

TEST(ViewBookmarks, MarkerLineDeclaresWhichParagraphsAreBookmarks) {
    const struct {
        const char* name;
        Lines paragraphs;
        std::vector<std::pair<int, std::string>> bookmarks;
    } cases[] = {
        {"asterisk marker",
         {"title", "", "*One", "text", "a * inside", "", "", "", "", "*Two", "<*>"},
         {{3, "One"}, {10, "Two"}}},
        {"empty lines after the marker line", {"#A", "#", "<#>", "", ""}, {{1, "A"}, {2, ""}}},
        {"longer marker, text after it on the line, case-sensitive, duplicates",
         {"[b]X", "[B]Y", "[b]X", "<[b]> bookmarks"},
         {{1, "X"}, {3, "X"}}},
        {"the marker line itself is not searched", {"<a", "<<>"}, {{1, "a"}}},
        {"empty marker", {"*a", "<>"}, {}},
        {"no closing sign", {"*a", "<*"}, {}},
        {"marker line without the opening sign", {"*a", "*>"}, {}},
        {"no text", {"", ""}, {}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Summary(FindMarkedBookmarks(c.paragraphs)), c.bookmarks);
    }
}

TEST(ViewBookmarks, ChapterMarksBecomeTheBookmarksTheViewerFinds) {
    const auto isChapter = [](const std::string& para) {
        return para.starts_with("CHAPTER") || para.starts_with("Chapter");
    };
    const struct {
        const char* name;
        Lines paragraphs;
        std::string marker;
        std::vector<std::pair<int, std::string>> bookmarks;
    } cases[] = {
        {"a new marker that starts no line",
         {"CHAPTER I", "* * *", "text", "Chapter 2", ""},
         "#",
         {{1, "CHAPTER I"}, {4, "Chapter 2"}}},
        {"the declared marker, lines marked already kept once",
         {"*CHAPTER I", "CHAPTER II", "<*>", ""},
         "*",
         {{1, "CHAPTER I"}, {2, "CHAPTER II"}}},
        {"every short marker taken", {"*", "#", "@", "~", "^", "Chapter"}, "**", {{6, "Chapter"}}},
        {"no chapter", {"text"}, "*", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TChapterMarks marks = PlanChapterMarks(c.paragraphs, isChapter);
        EXPECT_EQ(marks.Marker, c.marker);
        Lines marked = c.paragraphs;
        for (const std::int32_t para : marks.Paras) {
            marked[para - 1].insert(0, marks.Marker);
        }
        if (marks.Declare) {
            marked.push_back("<" + marks.Marker + ">");
        }
        EXPECT_EQ(Summary(FindMarkedBookmarks(marked)), c.bookmarks);
    }
}

class Viewer : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& text) {
        WriteFile(folder.Path(name), text);
        return folder.Path(name);
    }

    std::string MakeDoc(const std::string& name, const std::string& text) {
        EXPECT_TRUE(doc::ConvertTextToDoc(Write("source.txt", text), folder.Path(name), "My Book"));
        return folder.Path(name);
    }

    /// The first line's and the caret's display line after the bookmark list closed.
    std::pair<int, int> TopAndCaret() {
        std::int32_t column = 0;
        const std::int32_t line = box.TextViewer().GetCaretPosition(column);
        EXPECT_EQ(column, 1);
        return {box.TextViewer().TopLine(), line};
    }

    TempFolder folder;
    app::testing::ScriptedModalUi ui;
    TViewBox box{ui};
};

TEST_F(Viewer, TextDocumentShowsUnderItsFileNameInDocumentModeAtTheTopLeft) {
    box.LoadDocument(Write("notes.txt", "one\r\ntwo\r\n"));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), QStringLiteral("notes.txt"));
    EXPECT_TRUE(box.DocumentMode());
    EXPECT_TRUE(box.TextViewer().WordWrap());
    EXPECT_TRUE(box.TextViewer().ReadOnly());
    EXPECT_EQ(box.size(), QSize(400, 400));
    EXPECT_EQ(box.DocumentPath(), folder.Path("notes.txt"));
    EXPECT_EQ(box.DocumentTitle(), "notes.txt");
    EXPECT_EQ(box.TextViewer().GetPara(2), "two");
}

TEST_F(Viewer, DocFileShowsUnderItsDocumentNameAndKeepsItsOwnPath) {
    const std::string pdb = MakeDoc("book.pdb", "Chapter\nText\n");
    box.LoadDocument(pdb);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("My Book"));
    EXPECT_EQ(box.DocumentPath(), pdb);
    EXPECT_EQ(box.DocumentTitle(), "My Book");
    EXPECT_EQ(box.TextViewer().GetPara(2), "Text");
}

TEST_F(Viewer, FailuresAreReportedAndLeaveTheViewerAsItWas) {
    box.LoadDocument(Write("first.txt", "first"));
    Write("broken.pdb", "not a DOC file at all");
    box.LoadDocument(folder.Path("broken.pdb"));
    box.LoadDocument(folder.Path("missing.txt"));
    box.ShowLog(folder.Path("Conversion.log.none"), "DOC Conversion", false);
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[0].text, "Conversion Error. View Log file.");
    EXPECT_EQ(ui.boxes[0].caption, "Error");
    EXPECT_EQ(ui.boxes[1].text, folder.Path("missing.txt") + " not found");
    EXPECT_EQ(ui.boxes[2].text, folder.Path("Conversion.log.none") + " not found");
    EXPECT_EQ(box.DocumentTitle(), "first.txt");
    EXPECT_EQ(box.TextViewer().GetPara(1), "first");
    EXPECT_TRUE(box.DocumentMode());
}

TEST_F(Viewer, LogModeHasNoBookmarksAndItsOwnSize) {
    const std::string log = Write("Comparison.log", "*a\r\n<*>\r\n");
    ASSERT_TRUE(box.ShowLog(log, "Comparison Log", false));
    EXPECT_EQ(box.size(), QSize(600, 400));
    EXPECT_FALSE(box.TextViewer().WordWrap());
    EXPECT_FALSE(box.DocumentMode());
    QTest::mouseClick(box.TextViewer().viewport(), Qt::RightButton);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Viewer, RightClickWithoutBookmarksWarns) {
    box.LoadDocument(Write("plain.txt", "no\r\n<>\r\n"));
    QTest::mouseClick(box.TextViewer().viewport(), Qt::LeftButton);
    EXPECT_TRUE(ui.boxes.empty());
    QTest::mouseClick(box.TextViewer().viewport(), Qt::RightButton);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Warning");
    EXPECT_EQ(ui.boxes[0].text, "No bookmarks found");
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(Viewer, ChosenBookmarkIsRememberedAndItsFirstDisplayLineGoesToTheTop) {
    std::string text;
    for (int i = 1; i <= 60; ++i) {
        text += i == 30 ? "*Second " + std::string(200, 'w') : i == 5 ? "*First" : "line";
        text += "\r\n";
    }
    box.LoadDocument(Write("book.txt", text + "<*>\r\n"));
    QApplication::processEvents();
    std::vector<std::string> listed;
    ui.dialogAnswer = [&](QDialog&) {
        QListWidget& list = box.BookmarkList().ListBox();
        for (int row = 0; row < list.count(); ++row) {
            listed.push_back(list.item(row)->text().toStdString());
        }
        list.setCurrentRow(1);
        box.BookmarkList().ListBox1Click(list.currentRow());
        return true;
    };
    box.OpenBookmarkList();
    EXPECT_EQ(listed, (Lines{"First", "Second " + std::string(200, 'w')}));
    ASSERT_TRUE(box.TextViewer().WordWrap());
    std::int32_t line = 30, column = 1;
    box.TextViewer().ParaToLine(line, column);
    EXPECT_EQ(TopAndCaret(), std::make_pair(line, line));
    EXPECT_EQ(box.BookmarkList().RememberedIndex(), 1);

    // Closing the list without a choice jumps to the remembered bookmark again.
    box.TextViewer().SetTopLine(1);
    ui.dialogAnswer = [](QDialog&) { return false; };
    box.OpenBookmarkList();
    EXPECT_EQ(TopAndCaret(), std::make_pair(line, line));
    EXPECT_EQ(box.BookmarkList().ListBox().currentRow(), 1);

    // A new load forgets it: closing the list goes to the first bookmark.
    box.LoadDocument(folder.Path("book.txt"));
    box.OpenBookmarkList();
    EXPECT_EQ(TopAndCaret(), std::make_pair(5, 5));
}

TEST_F(Viewer, StoredDocBookmarksFollowTheMarkerOnesAtTheirOffsetInTheDocsOwnText) {
    // CR LF line ends and blanks the shown lines lose: offsets count the DOC's own bytes.
    const std::string text = "#Intro  \r\nabc   \r\ndefgh\r\n<#>\r\n";
    doc::testing::DocFileBuilder builder;
    builder.name = "Stored";
    builder.compression = doc::kCompressionPlain;
    builder.textRecords = {doc::testing::BytesOf(text)};
    const std::pair<char, std::uint32_t> marks[] = {{'F', 20}, {'B', 14}};  // "f", a blank
    for (const auto& [name, offset] : marks) {
        doc::Bytes mark(doc::kBookmarkNameSize, 0);
        mark[0] = static_cast<std::uint8_t>(name);
        doc::AppendUInt32(mark, offset);
        builder.extraRecords.push_back(mark);
    }
    doc::Bytes file = builder.Build();
    doc::WriteUInt32(file, doc::RecordOffset(file, 0) + doc::kTextLengthOffset,
                     static_cast<std::uint32_t>(text.size()));
    WriteFile(folder.Path("stored.pdb"), file);

    box.LoadDocument(folder.Path("stored.pdb"));
    ASSERT_EQ(box.windowTitle(), QStringLiteral("Stored"));
    const auto bookmarks = box.Bookmarks();
    ASSERT_EQ(Summary(bookmarks), (std::vector<std::pair<int, std::string>>{
                                      {1, "Intro"}, {3, "F"}, {2, "B"}}));
    EXPECT_EQ(bookmarks[1].Pos, 3);
    EXPECT_EQ(bookmarks[2].Pos, 4);  // the trimmed blanks stand at the line's end
    box.GoToBookmark(bookmarks[1]);
    std::int32_t column = 0;
    EXPECT_EQ(box.TextViewer().GetCaretPosition(column), 3);
    EXPECT_EQ(column, 3);
}

TEST_F(Viewer, ClosingOnlyHidesAndReports) {
    int closed = 0;
    box.OnClose = [&] { ++closed; };
    box.LoadDocument(Write("a.txt", "a"));
    box.close();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(box.DocumentTitle(), "a.txt");
}

}  // namespace
}  // namespace tomery::viewer
