// The bookmarks a DOC file stores, in the main window: kept through edits and saves, listed in
// Search > Bookmarks; and the warning for a DOC file cut short.
#include "Conversion.h"
#include "DocBookmarks.h"
#include "DocFileBuilder.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "ViewBML.h"
#include "Viewer.h"

#include <QAction>
#include <QListWidget>
#include <QTest>

namespace tomery::app {
namespace {

using doc::testing::BytesOf;
using doc::testing::DocFileBuilder;
using tomery::testing::ReadFile;
using tomery::testing::WriteFile;

constexpr int kChapters = 20;

std::string ChapterTitle(int k) {
    return "Chapter " + std::to_string(k);
}

class StoredBookmarks : public testing::MainWindowTest {
  protected:
    /// book.pdb as another converter writes it: 20 chapters of three lines, a bookmark named
    /// after each at the start of its title line, the text's own length declared.
    std::string MakeBook(std::uint32_t declaredExtra = 0) {
        std::string text;
        std::vector<std::uint32_t> offsets;
        for (int k = 1; k <= kChapters; ++k) {
            offsets.push_back(static_cast<std::uint32_t>(text.size()));
            text += ChapterTitle(k) + "\nIt was a line of " + std::to_string(k) +
                    ".\nAnd another one.\n";
        }
        DocFileBuilder builder;
        builder.compression = doc::kCompressionPlain;
        builder.date = 0xC1A2B3C4;  // not this program's fixed date
        for (std::size_t at = 0; at < text.size(); at += doc::kTextRecordSize) {
            builder.textRecords.push_back(BytesOf(text.substr(at, doc::kTextRecordSize)));
        }
        for (int k = 1; k <= kChapters; ++k) {
            builder.extraRecords.push_back(doc::BuildBookmarkRecord(
                {ChapterTitle(k), offsets[static_cast<std::size_t>(k - 1)]}));
        }
        doc::Bytes file = builder.Build();
        doc::WriteUInt32(file, doc::RecordOffset(file, 0) + doc::kTextLengthOffset,
                         static_cast<std::uint32_t>(text.size()) + declaredExtra);
        WriteFile(folder.Path("book.pdb"), file);
        return folder.Path("book.pdb");
    }

    void Open(const std::string& path) {
        ui->fileAnswers.push_back(path);
        form->Click("Open1");
        QApplication::processEvents();
    }

    /// Saves under `path` through Save As (a DOC name keeps the one offered).
    void SaveAs(const std::string& path) {
        ui->fileAnswers.push_back(path);
        form->Click("SaveAs1");
    }

    void TypeAt(std::int32_t line, std::int32_t column, const char* keys) {
        form->Editor().SetCaretPosition(line, column);
        QTest::keyClicks(&form->Editor(), keys);
    }

    void Press(std::int32_t line, std::int32_t column, Qt::Key key, int times = 1) {
        form->Editor().SetCaretPosition(line, column);
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(&form->Editor(), key);
        }
    }

    /// The stored bookmarks of a DOC file as name and offset.
    static std::vector<std::pair<std::string, std::uint32_t>> StoredIn(const std::string& path) {
        std::vector<std::pair<std::string, std::uint32_t>> stored;
        for (const doc::TStoredBookmark& bookmark : doc::ReadStoredBookmarks(path)) {
            stored.emplace_back(bookmark.Name, bookmark.Offset);
        }
        return stored;
    }

    /// The saved DOC file's text (LF line ends) and its stored bookmarks.
    static std::pair<std::string, std::vector<doc::TStoredBookmark>> Saved(
        const std::string& path) {
        const std::string file = ReadFile(path);
        const doc::DocImageText image = doc::DecodeDocImage(file, {true, true, false});
        return {image.text, doc::ReadStoredBookmarks(BytesOf(file))};
    }
};

TEST_F(StoredBookmarks, EditsBeforeAndBetweenThemSaveThemAtTheirPlaces) {
    Open(MakeBook());
    form->Editor().SetWordWrap(false);  // display lines are paragraphs
    const std::size_t lines = static_cast<std::size_t>(form->Editor().LineCount());
    TypeAt(1, 1, "A foreword.");  // before all of them
    QTest::keyClick(&form->Editor(), Qt::Key_Return);
    QTest::keyClick(&form->Editor(), Qt::Key_Return);
    TypeAt(10, 5, "ZZZ");                    // inside chapter 3
    Press(20, 1, Qt::Key_Return, 3);         // blank lines in chapter 6
    form->Editor().SetCaretPosition(24, 1);  // the line "Chapter 7", deleted whole
    QTest::keyClick(&form->Editor(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&form->Editor(), Qt::Key_Delete);
    Press(40, 3, Qt::Key_Backspace, 2);  // within chapter 13
    ASSERT_EQ(static_cast<std::size_t>(form->Editor().LineCount()), lines + 2 + 3 - 1);

    SaveAs(folder.Path("edited.pdb"));
    const auto [text, bookmarks] = Saved(folder.Path("edited.pdb"));
    ASSERT_EQ(bookmarks.size(), static_cast<std::size_t>(kChapters));
    for (int k = 1; k <= kChapters; ++k) {
        const doc::TStoredBookmark& bookmark = bookmarks[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(bookmark.Name, ChapterTitle(k));
        // Chapter 7's title was deleted: its bookmark stands where the deletion was.
        const std::string expected = k == 7 ? "It was a line of 7." : ChapterTitle(k) + "\n";
        EXPECT_EQ(text.substr(bookmark.Offset, expected.size()), expected) << bookmark.Name;
    }

    // The viewer lists the saved file's bookmarks at the places the editor holds them.
    form->ViewBox().LoadDocument(folder.Path("edited.pdb"));
    const std::vector<viewer::TBookmark> listed = form->ViewBox().Bookmarks();
    const auto& held = form->Editor().ParaList().StoredBookmarks();
    ASSERT_EQ(listed.size(), held.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        EXPECT_EQ(listed[i].Title, held[i].Name);
        EXPECT_EQ((editor::TParaPos{listed[i].Para, listed[i].Pos}), held[i].Place);
    }
}

TEST_F(StoredBookmarks, ALineLongerThanAParagraphKeepsTheOffsetsInAndAfterIt) {
    std::string line;
    while (line.size() < 100000) {
        line += "word ";
    }
    line += "end";
    WriteFile(folder.Path("long.txt"), line + "\r\nAfter\r\n");
    const std::uint32_t after = static_cast<std::uint32_t>(line.size()) + 1;
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("long.txt"), folder.Path("long.pdb"), "Long",
                                      {{"Mid", 50002, std::nullopt},
                                       {"After", line.size() + 2, std::nullopt}}));
    const std::vector<std::pair<std::string, std::uint32_t>> stored{{"Mid", 50002},
                                                                    {"After", after}};
    ASSERT_EQ(StoredIn(folder.Path("long.pdb")), stored);
    Open(folder.Path("long.pdb"));
    ASSERT_GT(form->Editor().ParaCount(), 4) << "the line is cut into paragraphs";
    form->Editor().SetModified(true);
    form->Click("Save1");
    EXPECT_EQ(StoredIn(folder.Path("long.pdb")), stored);
}

TEST_F(StoredBookmarks, ToolsRevertAndSavingAsTextKeepThemForTheNextDocSave) {
    Open(MakeBook());
    const std::vector<editor::TStoredBookmark> before = form->Editor().ParaList().StoredBookmarks();
    form->Click("AllUpper1");  // a tool writes the whole text anew
    EXPECT_EQ(form->Editor().GetPara(13), "CHAPTER 5");
    EXPECT_EQ(form->Editor().ParaList().StoredBookmarks(), before);
    form->Click("Revert1");
    EXPECT_EQ(form->Editor().ParaList().StoredBookmarks(), before);
    SaveAs(folder.Path("book.txt"));
    EXPECT_TRUE(ReadFile(folder.Path("book.txt")).starts_with("Chapter 1\r\nIt was a line"));
    EXPECT_EQ(form->Editor().ParaList().StoredBookmarks().size(),
              static_cast<std::size_t>(kChapters));
    SaveAs(folder.Path("again.pdb"));
    EXPECT_EQ(StoredIn(folder.Path("again.pdb")), StoredIn(folder.Path("book.pdb")));
}

TEST_F(StoredBookmarks, TheBookmarksListJumpsToTheOneChosenAndIsOffWithoutAny) {
    QApplication::setActiveWindow(form.get());
    OpenText("no bookmarks here\n");
    form->Click("Bookmarks1");  // opens the Search menu first, which sets the item's state
    EXPECT_FALSE(form->Menus().Item("Bookmarks1")->isEnabled());
    EXPECT_TRUE(ui->dialogs.empty());

    Open(MakeBook());
    ui->dialogAnswers.push_back([](QDialog& dialog) {
        auto& list = static_cast<viewer::TBMLBox&>(dialog);
        EXPECT_EQ(list.ListBox().count(), kChapters);
        list.ListBox1Click(4);
        return true;
    });
    form->Click("Bookmarks1");
    QApplication::processEvents();
    EXPECT_EQ(form->Editor().CaretPara(), 13);  // "Chapter 5"
    EXPECT_EQ(form->Editor().CaretParaPos(), 1);
    EXPECT_TRUE(form->Editor().hasFocus());

    // Closing the list without a choice goes nowhere.
    form->Editor().SetCaretPosition(2, 3);
    ui->dialogAnswers.push_back([](QDialog&) { return false; });
    form->Click("Bookmarks1");
    EXPECT_EQ(form->Editor().CaretPara(), 2);
}

TEST_F(StoredBookmarks, ADocFileCutShortOpensWithAWarning) {
    Open(MakeBook(100));
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Warning");
    EXPECT_EQ(ui->boxes[0].text,
              "book.pdb looks cut short: its text ends before the length the file declares. The "
              "text it holds was opened; the rest is missing (see the conversion log).");
    EXPECT_EQ(form->Editor().GetPara(1), ChapterTitle(1));

    Open(MakeBook());  // a whole file: no word
    EXPECT_EQ(ui->boxes.size(), 1u);
}

}  // namespace
}  // namespace tomery::app
