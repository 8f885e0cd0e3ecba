// File Info, Print and Help Contents of the main window, driven through the modal seam.
// Printing goes to PDF files that pdftotext reads back.
#include "Conversion.h"
#include "DocFileRule.h"
#include "EditHelp.h"
#include "EditMain.h"
#include "MainWindowFixture.h"
#include "EditMain_Menus.h"
#include "EditPrint.h"
#include "EditStat.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

/// Pages of a PDF as pdftotext lays them out, each a list of lines without trailing blanks.
std::vector<std::vector<std::string>> PdfPages(const std::string& pdf) {
    const std::string command = "pdftotext -layout '" + pdf + "' -";
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        ::pclose(pipe);
    }
    std::vector<std::vector<std::string>> pages(1);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        for (std::size_t feed; (feed = line.find('\f')) != std::string::npos;) {
            pages.emplace_back();
            line.erase(0, feed + 1);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        pages.back().push_back(line);
    }
    for (auto& page : pages) {
        while (!page.empty() && page.back().empty()) {
            page.pop_back();
        }
    }
    while (!pages.empty() && pages.back().empty()) {
        pages.pop_back();
    }
    return pages;
}

class InfoCommands : public testing::MainWindowTest {
  protected:
    std::string Open(const std::string& name, const std::string& bytes) {
        WriteFile(folder.Path(name), bytes);
        ui->fileAnswers.push_back(folder.Path(name));
        form->Click("Open1");
        return folder.Path(name);
    }

    /// Wraps the text at a fixed column, whatever the window's width.
    void WrapAt(std::int32_t column) {
        form->Editor().SetWrapToWindow(false);
        form->Editor().SetWrapColumn(column);
    }

    TFileInformation FileInfo() {
        ui->dialogs.clear();
        form->Click("FileInfo1");
        EXPECT_EQ(ui->dialogs.size(), 1u);
        return form->Statistics().Shown();
    }

    std::vector<std::vector<std::string>> Print(bool selection) {
        const std::string pdf = folder.Path("printout.pdf");
        ui->printAnswers.push_back(testing::ScriptedModalUi::PrintAnswer{pdf, selection});
        form->Click("Print1");
        return PdfPages(pdf);
    }

    std::vector<std::string> DisplayLines() {
        std::vector<std::string> lines;
        for (std::int32_t line = 1; line <= form->Editor().LineCount(); ++line) {
            std::string text = form->Editor().GetStringLine(line);
            lines.push_back(text.erase(text.find_last_not_of(' ') + 1));
        }
        while (!lines.empty() && lines.back().empty()) {
            lines.pop_back();
        }
        return lines;
    }
};

TEST_F(InfoCommands, FileInfoOfATextFileShowsEveryFact) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::string bytes;
    for (int line = 0; line < 30; ++line) {
        bytes += std::string(98, static_cast<char>('a' + line % 26)) + "\r\n";
    }
    const std::string path = Open("notes.txt", bytes);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)),
                     QFileDevice::FileModificationTime);
    file.close();
    form->Editor().SelectAll(false);
    form->Editor().InsertString(std::string(2000, 'x') + " " + std::string(499, 'y'));
    ASSERT_EQ(form->Editor().TextLength(), 2500);

    const TFileInformation shown = FileInfo();
    QLocale::setDefault(QLocale::system());
    EXPECT_EQ(shown.FileName, "notes.txt");
    EXPECT_EQ(shown.FilePath, QString::fromStdString(folder.Root() + "/"));
    EXPECT_EQ(shown.DocTitle, "");
    EXPECT_TRUE(shown.LastModified.startsWith("3/5/24 2:07:08"))
        << shown.LastModified.toStdString();
    EXPECT_EQ(shown.FileSize, " 3 KB");
    EXPECT_EQ(shown.TextSize, " 3 KB");
    EXPECT_EQ(shown.WordCount, "  2");
    EXPECT_EQ(shown.LineCount, QStringLiteral("  %1").arg(form->Editor().LineCount()));
}

TEST_F(InfoCommands, FileInfoOfADocShowsItsTitleAndItsSizeOnDisk) {
    WriteFile(folder.Path("source.txt"), std::string(5000, 'w') + "\r\nlast words\r\n");
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), folder.Path("book.pdb"),
                                      "Caf\xe9 Stories"));
    ui->fileAnswers.push_back(folder.Path("book.pdb"));
    form->Click("Open1");
    const TFileInformation shown = FileInfo();
    EXPECT_EQ(shown.FileName, "book.pdb");
    EXPECT_EQ(shown.DocTitle, QString::fromUtf8("Caf\u00e9 Stories"));
    EXPECT_EQ(shown.FileSize, QStringLiteral(" %1 KB").arg(FileSizeKB(folder.Path("book.pdb"))));
    EXPECT_EQ(shown.TextSize, " 5 KB");
    EXPECT_EQ(shown.WordCount, "  3");
}

TEST_F(InfoCommands, FileInfoCountsWrappedLinesAndParagraphWords) {
    Open("wrapped.txt", "one  two\tthree\r\n     \r\n");
    WrapAt(30);
    form->Editor().SetCaretPosition(2, 1);
    for (const char letter : {'a', 'b', 'c', 'd'}) {
        form->Editor().InsertString(std::string(29, letter) + " ");
    }
    ASSERT_EQ(form->Editor().LineCount(), 1 + 4 + 1);
    form->Editor().SetCaretPosition(4, 7);
    EXPECT_EQ(FileInfo().LineCount, "  6");
    EXPECT_EQ(FileInfo().WordCount, "  7");
    // The count reads with word wrap off; the view finds everything as it was.
    EXPECT_TRUE(form->Editor().WordWrap());
    EXPECT_EQ(form->Editor().LineCount(), 6);
    std::int32_t column = 0;
    EXPECT_EQ(form->Editor().GetCaretPosition(column), 4);
    EXPECT_EQ(column, 7);
}

TEST_F(InfoCommands, AnEmptyDocumentHasOneKilobyteAndNoWords) {
    const std::string path = Open("empty.txt", "");
    const TFileInformation shown = CollectFileInformation(path, "", form->Editor());
    EXPECT_EQ(shown.TextSize, " 1 KB");
    EXPECT_EQ(shown.FileSize, " 1 KB");
    EXPECT_EQ(shown.WordCount, "  0");
}

TEST_F(InfoCommands, FileInfoOfAMissingOrUnreadableFileIsAnErrorAndNoDialog) {
    const std::string path = Open("gone.txt", "some words\r\n");
    std::filesystem::remove(path);
    form->Click("FileInfo1");
    EXPECT_TRUE(ui->dialogs.empty());
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_EQ(ui->boxes[0].text, "The file " + path + " does not exist.");
    EXPECT_EQ(ui->boxes[0].icon, TMsgIcon::Error);

    if (::geteuid() != 0) {  // the superuser reads every file
        WriteFile(path, "back again\r\n");
        std::filesystem::permissions(path, std::filesystem::perms::none);
        form->Click("FileInfo1");
        EXPECT_TRUE(ui->dialogs.empty());
        ASSERT_EQ(ui->boxes.size(), 2u);
        EXPECT_EQ(ui->boxes[1].text, "The file " + path + " cannot be read.");
    }

    // An untitled document has no file, even beside a file of that name.
    WriteFile(folder.Path("Untitled"), "not the document\r\n");
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.Root()));
    EXPECT_THROW(CollectFileInformation("Untitled", "", form->Editor()), std::runtime_error);
    QDir::setCurrent(workingFolder);
}

TEST_F(InfoCommands, PrintGivesOnePrintedLinePerDisplayLine) {
    Open("poem.txt",
         "First line of the text\r\n\tindented by a tab\r\n\r\nA paragraph long enough to wrap "
         "into several display lines at column twenty\r\nlast\r\n");
    WrapAt(20);
    const auto pages = Print(false);
    EXPECT_EQ(ui->printRequests, std::vector<bool>{false});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], DisplayLines());
    EXPECT_EQ(pages[0][2], "        indented by");
}

TEST_F(InfoCommands, PrintOfASelectionKeepsItsColumnsAndEndsBeforeItsEnd) {
    Open("table.txt", "line one\r\nline two\r\nabcdefghijklmn\r\nABCDEFGHIJKLMN\r\nline five\r\n");
    form->Editor().SetSelection(3, 5, 4, 10, true);
    const auto selected = Print(true);
    EXPECT_EQ(ui->printRequests, std::vector<bool>{true});
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0], (std::vector<std::string>{"    efghijklmn", "ABCDEFGHI"}));

    form->Editor().SetSelection(3, 5, 4, 10, true);  // the whole text when asked for it
    EXPECT_EQ(Print(false)[0], DisplayLines());

    form->Editor().SelectAll(false);
    EXPECT_EQ(Print(true)[0], DisplayLines());
}

TEST_F(InfoCommands, SelectedLinesCountColumnsAfterTabExpansion) {
    Open("tabs.txt", "line one\r\n\tab\tcd\r\n");
    const auto selectedLines = [this] {
        std::vector<std::string> lines;
        ForEachLineToPrint(form->Editor(), true,
                           [&lines](const std::string& line) { lines.push_back(line); });
        return lines;
    };
    form->Editor().SetSelection(1, 3, 1, 7, true);  // one line: both rules
    EXPECT_EQ(selectedLines(), std::vector<std::string>{"  ne o"});
    form->Editor().SetSelection(2, 3, 2, 5, true);  // "b" and the tab after it
    EXPECT_EQ(selectedLines(), std::vector<std::string>{"         b      "});
}

TEST_F(InfoCommands, PrintBreaksPagesAndLongLinesAsALinePrinter) {
    std::string text;
    for (int line = 1; line <= 150; ++line) {
        text += "Line " + std::to_string(line) + "\r\n";
    }
    const std::string longLine(400, 'L');
    text += longLine + "\r\n";
    Open("long.txt", text);
    form->Editor().SetWordWrap(false);
    const auto pages = Print(false);
    ASSERT_GE(pages.size(), 2u);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const int lineHeight = QFontMetrics(form->Editor().FixedFont().Font(), &printer).height() + 2;
    const std::size_t linesPerPage = (printer.height() - 2 * lineHeight) / lineHeight + 1;
    std::vector<std::string> printed;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page + 1 < pages.size()) {
            EXPECT_EQ(pages[page].size(), linesPerPage) << page;
        }
        printed.insert(printed.end(), pages[page].begin(), pages[page].end());
    }
    ASSERT_GT(printed.size(), 151u);  // the long line went on over several printed lines
    std::string continued;
    for (std::size_t line = 0; line < printed.size(); ++line) {
        if (line < 150) {
            EXPECT_EQ(printed[line], "Line " + std::to_string(line + 1));
        } else {
            continued += printed[line];
        }
    }
    EXPECT_EQ(continued, longLine);
}

TEST_F(InfoCommands, CancelledOrFailedPrintingLeavesNoJob) {
    Open("short.txt", "words\r\n");
    form->Click("Print1");  // no answer: the dialog is cancelled
    EXPECT_EQ(ui->printRequests.size(), 1u);
    EXPECT_TRUE(ui->boxes.empty());

    const std::string pdf = folder.Path("no/such/folder/out.pdf");
    ui->printAnswers.push_back(testing::ScriptedModalUi::PrintAnswer{pdf, false});
    form->Click("Print1");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_EQ(ui->boxes[0].text, "The print job could not be started on " + pdf + ".");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(Print(false)[0], std::vector<std::string>{"words"});  // the next job works
}

TEST_F(InfoCommands, HelpContentsShowsTheHelpFileWithFind) {
    // TOMERY_HOME names an empty program folder: the help beside the program is found.
    form->Click("HelpContents1");
    EXPECT_TRUE(ui->boxes.empty());
    ASSERT_NE(form->HelpWindow(), nullptr);
    EXPECT_TRUE(form->HelpWindow()->isVisible());
    const QString help = form->HelpWindow()->PlainText();
    for (const TMenuItemSpec& item : MainMenuSpecs()) {
        const QString caption = QString::fromUtf8(item.caption).remove('&');
        if (caption != "-" && form->Menus().Item(item.name)->isVisible()) {
            EXPECT_TRUE(help.contains(caption)) << item.name;
        }
    }
    for (const char* key : {"Ctrl+Shift+0 to Ctrl+Shift+9", "Ctrl+PgUp", "Shift+Ins", "Ins"}) {
        EXPECT_TRUE(help.contains(QString::fromLatin1(key))) << key;
    }

    EXPECT_TRUE(form->HelpWindow()->FindNext("wordwrap"));
    EXPECT_EQ(form->HelpWindow()->SelectedText().toLower(), "wordwrap");
    for (int i = 0; i < 20; ++i) {  // goes on from the top after the last one
        EXPECT_TRUE(form->HelpWindow()->FindNext("wordwrap"));
    }
    EXPECT_FALSE(form->HelpWindow()->FindNext("no such words here"));

    // A copy in the program folder comes first.
    WriteFile(folder.Path("TOMERY.HLP"), std::string("<p>Notes of my own</p>"));
    form->Click("HelpContents1");
    EXPECT_EQ(form->HelpWindow()->PlainText(), QStringLiteral("Notes of my own"));
    EXPECT_TRUE(ui->boxes.empty());
}

TEST(HelpFile, TheBuildPutsItBesideTheProgram) {
    const QString installed = QCoreApplication::applicationDirPath() + "/TOMERY.HLP";
    ASSERT_TRUE(QFileInfo::exists(installed));
    EXPECT_EQ(ReadFile(installed.toStdString()), ReadFile(TOMERY_HELP_SOURCE));
}

}  // namespace
}  // namespace tomery::app
