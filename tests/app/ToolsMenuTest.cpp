// The Tools menu and File > Append in the main window, driven through the modal seam.
#include "Conversion.h"
#include "EditMain.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"
#include "ToolWork.h"
#include "ToolsFramework.h"
#include "ViewBookmarks.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;
using tools::TWorkLines;

class ToolsMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        auto scripted = std::make_unique<testing::ScriptedModalUi>();
        ui = scripted.get();
        form = std::make_unique<TEditForm>(std::move(scripted));
    }

    void OpenText(const std::string& text) {
        WriteFile(folder.Path("notes.txt"), text);
        ui->fileAnswers.push_back(folder.Path("notes.txt"));
        form->Click("Open1");
    }

    TWorkLines Lines() {
        TWorkLines lines;
        tools::ReadLines(form->Editor(), lines);
        return lines;
    }

    /// Runs a tool item answering its prompt (nothing: Cancel).
    void Run(const char* item, std::optional<std::string> entry = std::nullopt) {
        ui->inputAnswers.push_back(std::move(entry));
        form->Click(item);
        ui->inputAnswers.clear();
    }

    bool RevertEnabled() const { return form->Menus().Item("Revert1")->isEnabled(); }

    TempFolder folder;
    testing::ScriptedModalUi* ui = nullptr;
    std::unique_ptr<TEditForm> form;
};

TEST_F(ToolsMenu, AllUpperThenSortWithTheDefaultColumnSavesTheSortedText) {
    OpenText("pear\r\n\tbanana\r\napple\r\n");
    form->Click("AllUpper1");
    Run("Ascending1", "1");
    EXPECT_EQ(ui->inputPrompts, (std::vector<std::string>{"Sort|At what column?|1"}));
    EXPECT_TRUE(form->Editor().Modified());
    EXPECT_EQ(form->Editor().ParaCount(), 4) << "one empty paragraph after the lines";
    form->Click("Save1");
    EXPECT_EQ(ReadFile(folder.Path("notes.txt")), "        BANANA\r\nAPPLE\r\nPEAR\r\n");
}

TEST_F(ToolsMenu, SortsWithoutRegardToCaseAndDescendingIsTheExactReverse) {
    OpenText("b x\r\nA y\r\na x\r\nB y\r\n");
    Run("Ascending1", "2");
    const TWorkLines ascending = Lines();
    EXPECT_EQ(ascending, (TWorkLines{"a x", "b x", "A y", "B y"}));
    Run("Descending1", "2");
    EXPECT_EQ(Lines(), TWorkLines(ascending.rbegin(), ascending.rend()));
    EXPECT_EQ(ui->inputPrompts.back(), "Sort|At what column?|2");
}

TEST_F(ToolsMenu, AWordAtTheSortPromptIsShownAndOfferedAgainWhileTheTextStays) {
    OpenText("b\r\na\r\n");
    Run("Ascending1", "two");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_EQ(ui->boxes[0].text, "'two' is not a valid integer value.");
    EXPECT_EQ(Lines(), (TWorkLines{"b", "a"}));
    EXPECT_FALSE(form->Editor().Modified());
    EXPECT_FALSE(RevertEnabled()) << "the prompt comes before the backup";
    Run("Ascending1");
    EXPECT_EQ(ui->inputPrompts.back(), "Sort|At what column?|two");
    EXPECT_EQ(form->ProgramValues().SortColumn, "two");
}

TEST_F(ToolsMenu, ACancelledPromptEndsTheCommandBeforeOrAfterTheBackup) {
    OpenText("a bb\r\n");
    Run("Indent1");
    EXPECT_EQ(ui->inputPrompts.back(), "Indent|At what column?|0");
    EXPECT_FALSE(RevertEnabled());
    Run("FixedWordwrap1");
    EXPECT_EQ(ui->inputPrompts.back(), "Reformat|Enter a character count|0");
    EXPECT_FALSE(RevertEnabled());
    Run("ShortWords1");
    EXPECT_EQ(ui->inputPrompts.back(), "Remove short words|Enter word length:|1");
    EXPECT_TRUE(RevertEnabled()) << "short words prompts after the backup";
    EXPECT_EQ(Lines(), TWorkLines{"a bb"});
    EXPECT_FALSE(form->Editor().Modified());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ToolsMenu, AnEmptyTextRunsNothing) {
    form->Click("New1");
    for (const char* item :
         {"AllLower1", "Indent1", "SmartWordwrap1", "Duplicates1", "ShortWords1", "Normal1",
          "Descending1", "Triple1", "ReplaceWithTabs1", "TestTool11", "TestTool21"}) {
        form->Click(item);
        EXPECT_EQ(form->Editor().TextLength(), 0) << item;
    }
    EXPECT_TRUE(ui->inputPrompts.empty());
    EXPECT_FALSE(RevertEnabled());
    EXPECT_FALSE(form->Editor().Modified());
}

TEST_F(ToolsMenu, RevertBringsBackTheTextAndItsModifiedStateWhileUndoHasNothing) {
    OpenText("one\r\ntwo\r\n");
    form->Click("Double1");
    EXPECT_EQ(Lines(), (TWorkLines{"one", "", "two", ""}));
    EXPECT_FALSE(form->Editor().CanUndo());
    EXPECT_TRUE(RevertEnabled());
    form->Click("Revert1");
    EXPECT_EQ(Lines(), (TWorkLines{"one", "two"}));
    EXPECT_FALSE(form->Editor().Modified());
}

TEST_F(ToolsMenu, ReformatRemembersTheCountForTheRun) {
    OpenText("one two\r\nthree\r\n\r\n  kept  as is\r\n");
    Run("SmartWordwrap1", "0");
    EXPECT_EQ(Lines(), (TWorkLines{"one two three", "", "  kept  as is"}));
    Run("FixedWordwrap1", "5");
    EXPECT_EQ(Lines(), (TWorkLines{"one", "two", "three", "", "  kept", "as is"}));
    Run("FixedWordwrap1");
    EXPECT_EQ(ui->inputPrompts.back(), "Reformat|Enter a character count|5");
}

TEST_F(ToolsMenu, IndentKeepsTheCaretAndWorksOnTheSelectedParagraphs) {
    OpenText("  a\r\n  b\r\n  c\r\n");
    form->Editor().SetSelection(2, 2, 3, 1, true);
    Run("Indent1", "-2");
    EXPECT_EQ(Lines(), (TWorkLines{"  a", " b", " c"}));
    int column = 0;
    EXPECT_EQ(form->Editor().GetCaretPosition(column), 3);
    EXPECT_EQ(column, 1);

    Run("Indent1", "2000000000");
    EXPECT_EQ(Lines().back(), std::string(32767, ' ') + " c")
        << "as wide as a paragraph may be: the store cuts the line, which stays one line";
    EXPECT_TRUE(ui->boxes.empty());

    form->Editor().SetByteLimit(1000);
    Run("Indent1", "400");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_TRUE(RevertEnabled()) << "the backup came before the tool failed";
}

TEST_F(ToolsMenu, ShowAsciiKeepsTabsAndNormalTurnsTheCodesBack) {
    OpenText("a\tb\r\n");
    form->Click("LowCoded1");
    EXPECT_EQ(Lines(), TWorkLines{"a#09b#10"});
    form->Click("Normal1");
    EXPECT_EQ(std::string(form->Editor().GetPara(1)), "a\tb");
    form->Click("Extended1");
    EXPECT_EQ(std::string(form->Editor().GetPara(1)), "a\tb");
}

TEST_F(ToolsMenu, RemoveAndTabulateFamiliesReachTheirTools) {
    OpenText("x, y\r\nx, y\r\n\xe9t\xe9 <b>\r\n                z\r\n");
    form->Menus().Item("HTMLTags1")->setVisible(true);  // hidden, so disabled, for the user
    for (const char* item :
         {"Duplicates1", "ExtCharacters1", "HTMLTags1", "Punctuations1", "ReplaceWithTabs1"}) {
        form->Click(item);
    }
    EXPECT_EQ(Lines(), (TWorkLines{"x  y", " t", "                z"}));
    EXPECT_EQ(form->Editor().GetPara(3), "\t\tz");
    form->Click("FillInWithSpaces1");
    EXPECT_EQ(form->Editor().GetPara(3), "                z");
}

TEST_F(ToolsMenu, DumpsAFileEvenIntoAnEmptyTextAndKeepsItReadOnly) {
    form->Click("New1");
    WriteFile(folder.Path("data.bin"), std::string("ABCDEFGHIJKLMNOPQRST"));
    std::filesystem::permissions(folder.Path("data.bin"), std::filesystem::perms::owner_read);
    ui->fileAnswers.push_back(folder.Path("data.bin"));
    Run("DumpFile1", "16");
    EXPECT_EQ(ui->fileRequests.back().title, "Dump a file");
    EXPECT_EQ(ui->fileRequests.back().filter, "All Files (*.*)|*.*");
    EXPECT_EQ(ui->inputPrompts.back(), "Dump File|How many bytes per line?|16");
    const TWorkLines lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Dump File - " + folder.Path("data.bin"));
    EXPECT_EQ(lines[3].substr(0, 22), "      16  51 52 53 54 ");
    EXPECT_TRUE(form->Editor().Modified());
    EXPECT_EQ(std::filesystem::status(folder.Path("data.bin")).permissions(),
              std::filesystem::perms::owner_read);

    ui->fileAnswers.push_back(folder.Path("missing.bin"));
    Run("DumpFile1", "16");
    EXPECT_EQ(ui->boxes.back().text, "File not found.");
    EXPECT_EQ(Lines(), lines);
}

TEST_F(ToolsMenu, TestToolsReportSizesAndListTheCharacters) {
    OpenText("app @12\r\nother @700\r\n");
    form->Menus().Item("TestTool11")->setVisible(true);  // hidden, so disabled, for the user
    form->Menus().Item("TestTool21")->setVisible(true);
    form->Click("TestTool11");
    EXPECT_EQ(Lines().back(), "  Number of CD's required: 1.1");
    int column = 0;
    EXPECT_EQ(form->Editor().GetCaretPosition(column), form->Editor().LineCount());
    form->Click("TestTool21");
    EXPECT_EQ(Lines().size(), 9u + 257u);
}

TEST_F(ToolsMenu, AppendsADocFileAndTakesItsDocumentName) {
    OpenText("first\r\n\r\n");
    WriteFile(folder.Path("more.txt"), std::string("second\r\nthird"));
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("more.txt"), folder.Path("more.pdb"), "More"));
    ui->fileAnswers.push_back(folder.Path("more.pdb"));
    form->Click("Append1");
    EXPECT_EQ(ui->fileRequests.back().filterIndex, 2) << "the last file was a text file";
    EXPECT_EQ(Lines(), (TWorkLines{"first", "", "second", "third"}));
    EXPECT_EQ(form->Workflow().DocName(), "More");
    EXPECT_EQ(form->windowTitle().toStdString(), "Tomery [notes.txt -- More]");
    EXPECT_TRUE(form->Editor().Modified());
    EXPECT_TRUE(ui->boxes.empty());

    WriteFile(folder.Path("bad.pdb"), std::string("not a database"));
    ui->fileAnswers.push_back(folder.Path("bad.pdb"));
    form->Click("Append1");
    EXPECT_EQ(ui->fileRequests.back().filterIndex, 1);
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "Conversion Error. View Log file.");
    EXPECT_EQ(form->Workflow().DocName(), "More");
}

TEST_F(ToolsMenu, MarkChaptersMakesTheViewersBookmarksInOneUndoableStep) {
    const std::string text = "CHAPTER I\r\n* * *\r\nChapter 2\r\nThe end";
    OpenText(text);
    const auto paragraphs = [&] {
        const TWorkLines lines = Lines();
        return std::vector<std::string>(lines.begin(), lines.end());
    };
    const std::vector<std::string> before = paragraphs();
    // A bad pattern and one that matches nothing are told and change nothing.
    const std::pair<const char*, const char*> refused[] = {
        {"(CHAPTER", "'(CHAPTER' is not a valid regular expression: "},
        {"^Part", "No line matches '^Part'."},
    };
    for (const auto& [pattern, message] : refused) {
        Run("MarkChapters1", pattern);
        ASSERT_FALSE(ui->boxes.empty());
        EXPECT_EQ(ui->boxes.back().text.substr(0, std::string(message).size()), message);
        EXPECT_EQ(paragraphs(), before);
        EXPECT_FALSE(form->Editor().Modified());
    }
    ui->inputPrompts.clear();
    Run("MarkChapters1", "^(CHAPTER|Chapter)");
    EXPECT_EQ(ui->inputPrompts.at(0),
              "Mark Chapters|Regular expression of the chapter lines:|^Part");
    // "*" starts a line, so the marker is "#".
    EXPECT_EQ(paragraphs(),
              (std::vector<std::string>{"#CHAPTER I", "* * *", "#Chapter 2", "The end", "<#>"}));
    const std::vector<viewer::TBookmark> found = viewer::FindMarkedBookmarks(paragraphs());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Para, 1);
    EXPECT_EQ(found[1].Title, "Chapter 2");
    form->Click("Undo1");
    EXPECT_EQ(paragraphs(), before);

    // More marks than the undo buffer holds as one step are not made at all.
    std::string book;
    for (int i = 0; i < 3000; ++i) {
        book += "Chapter " + std::to_string(i) + "\r\n";
    }
    OpenText(book);
    const std::vector<std::string> whole = paragraphs();
    Run("MarkChapters1", "^Chapter");
    EXPECT_EQ(
        ui->boxes.back().text,
        "3000 lines match '^Chapter': too many to take back in one step. Nothing was marked.");
    EXPECT_EQ(paragraphs(), whole);
}

TEST_F(ToolsMenu, ASlowToolKeepsTheOldTextPaintedAndCancelByKeysLeavesEverythingAsItWas) {
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        text += "Line <b>" + std::to_string(i) + "</b>, with\twords @1\r\n";
    }
    WriteFile(folder.Path("more.txt"), std::string("more\r\n"));
    form->show();
    OpenText(text);
    editor::TOvcTextFileEditor& editor = form->Editor();
    editor.SetCaretPosition(3, 5);
    ASSERT_EQ(editor.InsertString("typed "), editor::kErrorNone);
    const TWorkLines before = Lines();
    form->Menus().Item("TestTool11")->setVisible(true);  // hidden, so disabled, for the user
    testing::TPaintCount painted;
    editor.viewport()->installEventFilter(&painted);
    bool cancelled = false;
    int keys = 0;
    // Each report comes late, as on a big text; once the dialog shows, the user cancels it,
    // with Esc and Alt+C in turn.
    const struct TUnhook {
        ~TUnhook() { TLongWork::SetReportHook({}); }
    } unhook;
    TLongWork::SetReportHook([&](TLongWork&) {
        QThread::msleep(40);
        editor.viewport()->update();
        EXPECT_EQ(Lines(), before) << "the editor shows the old text while the tool works";
        auto* dialog = form->findChild<QProgressDialog*>();
        if (!cancelled && dialog != nullptr && dialog->isVisible()) {
            cancelled = true;
            if (keys++ % 2 == 0) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
            }
        }
    });
    const std::pair<const char*, std::optional<std::string>> tools[] = {
        {"AllUpper1", {}},   {"Indent1", "4"},     {"ShortWords1", "2"},
        {"LowCoded1", {}},   {"Descending1", "1"}, {"TestTool11", {}},
        {"DumpFile1", "16"}, {"Append1", {}},      {"MarkChapters1", "^Line"},
    };
    for (const auto& [item, entry] : tools) {
        cancelled = false;
        painted.paints = 0;
        ui->fileAnswers.push_back(folder.Path("more.txt"));  // for Dump File and Append
        Run(item, entry);
        ui->fileAnswers.clear();
        EXPECT_TRUE(cancelled) << item;
        EXPECT_GT(painted.paints, 0) << item;
        EXPECT_EQ(Lines(), before) << item;
        EXPECT_TRUE(editor.CanUndo()) << item;
        EXPECT_TRUE(editor.Modified()) << item;
        int column = 0;
        EXPECT_EQ(editor.GetCaretPosition(column), 3) << item;
        EXPECT_EQ(column, 11) << item;
        EXPECT_FALSE(RevertEnabled()) << item << ": no backup was made";
        EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr) << item;
    }
    EXPECT_TRUE(ui->boxes.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->Click("Undo1");
    EXPECT_EQ(Lines()[2].substr(0, 8), "Line <b>") << "the undo history is whole";
}

}  // namespace
}  // namespace tomery::app
