// A file whose name is not UTF-8 ("caf\xE9.txt", as a Latin-1 system names it) opens and saves
// by every road a path takes into the program, and no file named with U+FFFD ever appears.
#include "CommandLine.h"
#include "EditComp.h"
#include "EditStat.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "QtModalUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::WriteFile;

class ByteFileNames : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteFile(path, std::string("old\r\n"));
    }

    /// Types at the start of the open document and saves it with File, Save.
    void EditAndSave() {
        form->Editor().InsertString("new ");
        form->Click("Save1");
    }

    /// The document is the file and holds `text`; its name shows readable; no file named
    /// with the replacement character was made beside it.
    void ExpectSavedUnderItsOwnName(const std::string& text) {
        EXPECT_EQ(form->Workflow().CurrentFile(), path);
        EXPECT_EQ(ReadFile(path), text);
        EXPECT_EQ(form->windowTitle(), QString::fromUtf16(u"Tomery [caf\uFFFD.txt]"));
        for (const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
            EXPECT_EQ(entry.path().filename().string().find("\xEF\xBF\xBD"), std::string::npos)
                << entry.path();
        }
        EXPECT_TRUE(ui->boxes.empty()) << ui->boxes.front().text;
    }

    const std::string path = folder.Path("caf\xE9.txt");
};

TEST_F(ByteFileNames, OpenFromTheCommandLine) {
    const char* argv[] = {"tomery", path.c_str()};
    const TCommandLineRequest request = ParseCommandLine(ArgumentsOf(2, argv), true);
    ASSERT_EQ(request.fileToOpen, path);
    form->OpenNamedFile(request.fileToOpen);
    EditAndSave();
    ExpectSavedUnderItsOwnName("new old\r\n");
    const TFileInformation information = CollectFileInformation(path, "", form->Editor());
    EXPECT_EQ(information.FileName, QString::fromUtf16(u"caf\uFFFD.txt"));
}

TEST_F(ByteFileNames, OpenAndSaveAsThroughTheDialogs) {
    ui->fileAnswers.push_back(path);
    form->Click("Open1");
    EditAndSave();
    ui->fileAnswers.push_back(path);
    form->Click("SaveAs1");
    EXPECT_EQ(ui->fileRequests.back().fileName, path) << "Save As starts with the exact name";
    ExpectSavedUnderItsOwnName("new old\r\n");
}

TEST_F(ByteFileNames, DropOnTheWindow) {
    QMimeData files;
    files.setData(QStringLiteral("text/uri-list"),
                  "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(form.get())->event(&drop);
    EditAndSave();
    ExpectSavedUnderItsOwnName("new old\r\n");
}

TEST_F(ByteFileNames, TheSettingsFileRemembersTheFileForTheNextRun) {
    form->OpenNamedFile(path);
    Restart();
    ui->fileAnswers.push_back(std::nullopt);
    form->Click("Open1");
    ASSERT_EQ(ui->fileRequests.size(), 1u);
    EXPECT_EQ(ui->fileRequests[0].fileName, path);
    EXPECT_EQ(ui->fileRequests[0].initialDir, folder.Root() + "/");
    ui->fileAnswers.push_back(ui->fileRequests[0].fileName);
    form->Click("Open1");
    EditAndSave();
    ExpectSavedUnderItsOwnName("new old\r\n");
}

TEST_F(ByteFileNames, CompareBrowsesToTheFile) {
    TCompareDlg compare(*ui);
    ui->fileAnswers.push_back(path);
    compare.Browse1Click();
    EXPECT_EQ(compare.FileName(), path);
}

/// Runs `answer` on the file dialog once it is up.
void WhenTheDialogShows(const std::function<void(QFileDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answer(*dialog);
        }
    });
}

QAbstractButton* AcceptButton(QFileDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            return button;
        }
    }
    return nullptr;
}

TEST_F(ByteFileNames, QtsFileDialogsTakeTheNameTheyStartWith) {
    TQtModalUi qt(nullptr);
    TFileDialogRequest open;
    open.initialDir = folder.Root();
    open.fileName = path;
    open.pathMustExist = open.fileMustExist = true;
    bool openEnabled = false;
    WhenTheDialogShows([&](QFileDialog& dialog) {
        openEnabled = AcceptButton(dialog)->isEnabled();
        if (openEnabled) {
            AcceptButton(dialog)->click();
        } else {
            dialog.reject();
        }
    });
    EXPECT_EQ(qt.OpenFileName(open), path);
    EXPECT_TRUE(openEnabled) << "Qt itself cannot find the file";

    TFileDialogRequest save = open;
    save.fileMustExist = false;
    save.overwritePrompt = true;
    QString question;
    WhenTheDialogShows([&](QFileDialog& dialog) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        AcceptButton(dialog)->click();
    });
    EXPECT_EQ(qt.SaveFileName(save), path);
    EXPECT_TRUE(question.startsWith(QString::fromUtf16(u"caf\uFFFD.txt already exists")))
        << question.toStdString();
}

}  // namespace
}  // namespace tomery::app
