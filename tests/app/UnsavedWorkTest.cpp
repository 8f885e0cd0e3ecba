// The document against the world around it: another program changing or deleting its file,
// and a session that ends without saving.
#include "ChildProcess.h"
#include "Conversion.h"
#include "DocBookmarks.h"
#include "EditMain_WorkGuard.h"
#include "FileReplacement.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "ProgramFolder.h"
#include "RecoveryCopies.h"

#include <QTest>

#include <csignal>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace tomery::app::testing {
namespace {

namespace fs = std::filesystem;
using tomery::testing::ReadFile;
using tomery::testing::WriteFile;

class UnsavedWork : public MainWindowTest {
  protected:
    void Type(const char* text) {
        QTest::keyClicks(&form->Editor(), text);
        QApplication::processEvents();
    }

    /// Another program saves `text` as `path` the way most do: a new file renamed over it.
    void OtherProgramSaves(const std::string& path, const std::string& text) {
        WriteFile(path + ".new", text);
        fs::rename(path + ".new", path);
    }

    /// Opens `text` as book.pdb named `docName`, with a stored bookmark "Second" at its second
    /// line.
    void OpenDoc(const std::string& text, const std::string& docName) {
        WriteFile(folder.Path("source.txt"), text);
        ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), book, docName,
                                          {{"Second", text.find('\n') + 1, std::nullopt}}));
        ui->fileAnswers.push_back(book);
        form->Click("Open1");
    }

    std::string Text() {
        std::string text;
        for (std::int32_t line = 1; line <= form->Editor().LineCount(); ++line) {
            text += form->Editor().GetStringLine(line) + "|";
        }
        return text;
    }

    std::vector<std::string> RecoveryCopies() const {
        return StateFiles(StateFolder(), recovery::kPrefix);
    }

    std::string notes = folder.Path("notes.txt");
    std::string book = folder.Path("book.pdb");
};

TEST_F(UnsavedWork, ASaveAsksBeforeWritingOverWhatAnotherProgramWrote) {
    struct Case {
        TMsgButton answer;
        const char* fileAfter;
        const char* textAfter;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {TMsgButton::Cancel, "one\r\ntwo\r\n", "Xone||", true},
        {TMsgButton::Overwrite, "Xone\r\n", "Xone||", false},
        {TMsgButton::Reload, "one\r\ntwo\r\n", "one|two||", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        OpenText("one\r\n");
        Type("X");
        // Appended in place: same file, longer.
        std::ofstream(notes, std::ios::app | std::ios::binary) << "two\r\n";
        ui->boxes.clear();
        ui->buttonAnswers = {c.answer, TMsgButton::Yes};  // Reload: yes, discard the changes
        form->Click("Save1");
        ASSERT_FALSE(ui->boxes.empty());
        EXPECT_EQ(ui->boxes[0].buttons, (std::vector<TMsgButton>{TMsgButton::Overwrite,
                                                                 TMsgButton::Reload,
                                                                 TMsgButton::Cancel}));
        EXPECT_NE(ui->boxes[0].text.find("notes.txt was changed by another program"),
                  std::string::npos);
        EXPECT_EQ(ReadFile(notes), c.fileAfter);
        EXPECT_EQ(Text(), c.textAfter);
        EXPECT_EQ(form->Editor().Modified(), c.modifiedAfter);
        form->Editor().SetModified(false);
    }
}

TEST_F(UnsavedWork, ADocFileChangedOnDiskIsNotOverwrittenWithoutAQuestion) {
    OpenDoc("first\r\n", "Book");
    Type("X");
    WriteFile(folder.Path("other.txt"), std::string("second\r\n"));
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("other.txt"), book, "Other"));
    const std::string written = ReadFile(book);
    ui->buttonAnswers = {TMsgButton::Cancel};
    form->Click("Save1");
    ASSERT_EQ(ui->boxes.size(), 1U);
    EXPECT_EQ(ReadFile(book), written);
    // Unchanged since: saving again asks nothing.
    ui->buttonAnswers = {TMsgButton::Overwrite};
    form->Click("Save1");
    form->Click("Save1");
    EXPECT_EQ(ui->boxes.size(), 2U);
}

TEST_F(UnsavedWork, AChangeThatKeepsSizeAndTimeIsFoundByTheContents) {
    OpenText("abc\r\n");  // written just now: its time cannot tell a change within the second
    struct stat before {};
    ::stat(notes.c_str(), &before);
    WriteFile(notes, std::string("xyz\r\n"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, notes.c_str(), times, 0);
    Type("!");
    ui->buttonAnswers = {TMsgButton::Cancel};
    form->Click("Save1");
    EXPECT_EQ(ui->boxes.size(), 1U);
    EXPECT_EQ(ReadFile(notes), "xyz\r\n");
}

TEST_F(UnsavedWork, ALookAtTheFileReloadsAnUnmodifiedTextAndAsksForAModifiedOne) {
    OpenText("1\r\n2\r\n3\r\n4\r\n");
    form->Editor().MoveCaretToPara(3, 1, false);
    OtherProgramSaves(notes, "one\r\ntwo\r\nthree\r\nfour\r\n");
    form->Workflow().CheckDiskFile();
    EXPECT_TRUE(ui->boxes.empty()) << "an unmodified text is reloaded without a question";
    EXPECT_EQ(Text(), "one|two|three|four||");
    EXPECT_EQ(form->Editor().CaretPara(), 3);

    Type("X");
    OtherProgramSaves(notes, "uno\r\n");
    ui->buttonAnswers = {TMsgButton::Keep};
    form->Workflow().CheckDiskFile();
    ASSERT_EQ(ui->boxes.size(), 1U);
    EXPECT_EQ(ui->boxes[0].buttons, (std::vector<TMsgButton>{TMsgButton::Reload, TMsgButton::Keep}));
    form->Workflow().CheckDiskFile();
    EXPECT_EQ(ui->boxes.size(), 1U) << "kept over this version of the file: no second question";
    EXPECT_EQ(Text(), "one|two|Xthree|four||");

    OtherProgramSaves(notes, "eins\r\n");
    ui->buttonAnswers = {TMsgButton::Reload};
    form->Workflow().CheckDiskFile();
    EXPECT_EQ(ui->boxes.size(), 2U);
    EXPECT_EQ(Text(), "eins||");
    EXPECT_FALSE(form->Editor().Modified());
}

TEST_F(UnsavedWork, ADeletedFileIsReportedOnceAndSaveWritesItAgain) {
    OpenText("keep me\r\n");
    fs::remove(notes);
    form->Workflow().CheckDiskFile();
    form->Workflow().CheckDiskFile();
    ASSERT_EQ(ui->boxes.size(), 1U);
    EXPECT_NE(ui->boxes[0].text.find("deleted or moved"), std::string::npos);
    EXPECT_TRUE(form->Editor().Modified());
    form->Click("Save1");
    EXPECT_EQ(ui->boxes.size(), 1U);
    EXPECT_EQ(ReadFile(notes), "keep me\r\n");
}

TEST_F(UnsavedWork, TheWatchOutlivesARenameSaveOfTheFile) {
    OpenText("a\r\n");
    form->activateWindow();
    OtherProgramSaves(notes, "b\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(Text()), QStringLiteral("b||"), 3000);
    OtherProgramSaves(notes, "c\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(Text()), QStringLiteral("c||"), 3000);
}

TEST_F(UnsavedWork, AnUnsavedTextComesBackAtTheNextStart) {
    OpenDoc("one\r\ntwo\r\n", "My Book");
    Type("new ");
    form->WorkGuard().KeepCopyNow();
    ASSERT_EQ(RecoveryCopies().size(), 1U);
    form.reset();  // the session ends without closing its window: a crash
    Create();
    ui->buttonAnswers = {TMsgButton::Recover};
    form->OfferLeftWork();
    ASSERT_EQ(ui->boxes.size(), 1U);
    EXPECT_EQ(ui->boxes[0].buttons, (std::vector<TMsgButton>{TMsgButton::Recover,
                                                             TMsgButton::Discard,
                                                             TMsgButton::Later}));
    EXPECT_NE(ui->boxes[0].text.find(book), std::string::npos);
    EXPECT_EQ(Text(), "new one|two||");
    EXPECT_TRUE(form->Editor().Modified());
    EXPECT_EQ(form->Workflow().CurrentFile(), book);
    EXPECT_EQ(form->Workflow().DocName(), "My Book");
    ASSERT_EQ(RecoveryCopies().size(), 1U) << "the recovered text is this session's copy now";

    form->Click("Save1");
    form->WorkGuard().KeepCopyNow();
    EXPECT_TRUE(RecoveryCopies().empty());
    std::string docName;
    ASSERT_TRUE(doc::ConvertDocToText(book, folder.Path("back.txt"), docName));
    EXPECT_EQ(ReadFile(folder.Path("back.txt")), "new one\r\ntwo\r\n");
    EXPECT_EQ(docName, "My Book");
    const auto bookmarks = doc::ReadStoredBookmarks(book);
    ASSERT_EQ(bookmarks.size(), 1U);
    EXPECT_EQ(bookmarks[0].Name, "Second");
    EXPECT_EQ(bookmarks[0].Offset, 8U);
}

TEST_F(UnsavedWork, ACopyIsDiscardedLaterOrGoesWithTheChangesItHolds) {
    const std::pair<TMsgButton, std::size_t> answers[] = {{TMsgButton::Later, 1},
                                                          {TMsgButton::Discard, 0}};
    for (const auto& [answer, left] : answers) {
        form->Click("New1");
        Type("never saved");
        form->WorkGuard().KeepCopyNow();
        form.reset();
        Create();
        ui->buttonAnswers = {answer};
        form->OfferLeftWork();
        EXPECT_EQ(Text(), "|");
        EXPECT_EQ(RecoveryCopies().size(), left);
        for (const std::string& copy : RecoveryCopies()) {
            RemoveLeftCopy(copy);
        }
    }
    // Closing without saving, and leaving the program, take the copy with them.
    for (const char* ending : {"Close1", "Exit1"}) {
        form->Click("New1");
        Type("draft");
        form->WorkGuard().KeepCopyNow();
        ASSERT_EQ(RecoveryCopies().size(), 1U);
        ui->buttonAnswers = {TMsgButton::No};
        form->Click(ending);
        if (std::string(ending) == "Close1") {
            form->WorkGuard().KeepCopyNow();  // waits for the removal
        }
        EXPECT_TRUE(RecoveryCopies().empty()) << ending;
        form->show();
    }
}

TEST_F(UnsavedWork, TheOldContentsOfAnInterruptedInPlaceSaveAreOfferedBack) {
    WriteFile(notes, std::string("half new, half o"));
    ASSERT_EQ(WriteStateFile(NewStateFileName(StateFolder(), kInPlaceCopyPrefix),
                             {{kCopyOfField, notes}}, "the old text\r\n"),
              0);
    ui->buttonAnswers = {TMsgButton::Recover};
    form->OfferLeftWork();
    ASSERT_EQ(ui->boxes.size(), 1U);
    EXPECT_NE(ui->boxes[0].text.find("interrupted"), std::string::npos);
    EXPECT_EQ(Text(), "the old text||");
    EXPECT_TRUE(form->Editor().Modified());
    EXPECT_EQ(form->Workflow().CurrentFile(), notes);
    EXPECT_TRUE(StateFiles(StateFolder(), kInPlaceCopyPrefix).empty());
    form->Click("Save1");
    EXPECT_EQ(ReadFile(notes), "the old text\r\n");
}

TEST(RecoveryKeeper, AKillWhileACopyIsWrittenLeavesTheLastWholeCopy) {
    tomery::testing::TempFolder folder;
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const pid_t writer = tomery::testing::StartChildProcess([] {
            auto* keeper = new TRecoveryKeeper;  // never destroyed: the process is killed
            for (int size = 1;; size = size % 4000000 + 100000) {
                keeper->Keep({{recovery::kFile, "f"}}, std::string(size, 'k'));
                keeper->Wait();
            }
            return 0;
        });
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 60000)(random));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        for (const TLeftCopy& copy : LeftCopies()) {
            EXPECT_EQ(copy.Contents.Field(recovery::kFile), "f");
            EXPECT_EQ(copy.Contents.Body, std::string(copy.Contents.Body.size(), 'k'));
            EXPECT_EQ(copy.Contents.Body.size() % 100000, 1U);
            RemoveLeftCopy(copy.Path);
        }
    }
}

}  // namespace
}  // namespace tomery::app::testing
