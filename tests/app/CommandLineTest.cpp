// The editor's command line: a file named at start opens as File > Open opens it; help,
// version and usage errors end the program before it starts.
#include "CommandLine.h"
#include "Conversion.h"
#include "EditMain.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>


namespace tomery::app {
namespace {

using tomery::testing::WriteFile;

TCommandLineRequest Parse(QStringList arguments, bool full = true) {
    arguments.prepend(QStringLiteral("tomery"));
    return ParseCommandLine(arguments, full);
}

TEST(CommandLine, AnswersHelpAndVersionOrRefusesBadUsage) {
    struct Case {
        QStringList arguments;
        bool full;
        bool exitNow;
        int exitCode;
        const char* messageStart;
    };
    const Case cases[] = {
        {{"--help"}, false, true, 0, "Usage: tomery [options] [FILE]"},
        {{"-platform", "offscreen", "-h"}, false, true, 0, "Usage: tomery"},
        {{"--version"}, false, true, 0, "tomery 0.5.1\n"},
        {{"-platform", "offscreen"}, false, false, 0, ""},  // for the application to take
        {{"a.pdb", "b.pdb"}, true, true, 2, "tomery: only one file can be opened\nUsage:"},
        {{"--bogus"}, true, true, 2, "tomery: Unknown option 'bogus'.\nUsage:"},
        {{}, true, false, 0, ""},
    };
    for (const Case& c : cases) {
        const TCommandLineRequest request = Parse(c.arguments, c.full);
        const std::string context = c.arguments.join(' ').toStdString();
        EXPECT_EQ(request.exitNow, c.exitNow) << context;
        EXPECT_EQ(request.exitCode, c.exitCode) << context;
        EXPECT_EQ(request.message.rfind(c.messageStart, 0), 0u) << context << request.message;
        EXPECT_TRUE(request.fileToOpen.empty()) << context;
    }
}

TEST(CommandLine, NamesTheFileToOpenByItsAbsolutePath) {
    EXPECT_EQ(Parse({"/books/a.pdb"}).fileToOpen, "/books/a.pdb");
    EXPECT_EQ(Parse({"--", "-odd.txt"}).fileToOpen,
              QDir::current().absoluteFilePath("-odd.txt").toStdString());
}

using CommandLineFile = testing::MainWindowTest;

TEST_F(CommandLineFile, OpensADocFileAsFileOpenDoes) {
    WriteFile(folder.Path("book.txt"), "Chapter One\r\nIt was night.\r\n");
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "A Book"));
    form->OpenNamedFile(folder.Path("book.pdb"));
    EXPECT_TRUE(ui->boxes.empty());
    EXPECT_EQ(form->Workflow().CurrentFile(), folder.Path("book.pdb"));
    EXPECT_EQ(form->Workflow().DocName(), "A Book");
    EXPECT_EQ(form->Editor().GetStringLine(2), "It was night.");
    EXPECT_FALSE(form->LogoVisible());
    // The Open dialog starts where the file came from.
    ui->fileAnswers.push_back(std::nullopt);
    form->Click("Open1");
    ASSERT_EQ(ui->fileRequests.size(), 1u);
    EXPECT_EQ(ui->fileRequests[0].fileName, folder.Path("book.pdb"));
}

TEST_F(CommandLineFile, LeavesTheEmptyWindowAndSaysSoWhenTheFileIsMissing) {
    form->OpenNamedFile(folder.Path("missing.txt"));
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_EQ(ui->boxes[0].text, "File not found.");
    EXPECT_TRUE(form->LogoVisible());
    EXPECT_EQ(form->windowTitle().toStdString(), "Tomery");
}

}  // namespace
}  // namespace tomery::app
