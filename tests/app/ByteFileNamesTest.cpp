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
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
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

    /// The document is the file and holds the edit; its name shows readable.
    void ExpectSavedUnderItsOwnName() {
        EXPECT_EQ(form->Workflow().CurrentFile(), path);
        EXPECT_EQ(ReadFile(path), "new old\r\n");
        EXPECT_EQ(form->windowTitle(), QString::fromUtf16(u"Tomery [caf\uFFFD.txt]"));
        ExpectNoNameWithTheReplacementCharacter();
        EXPECT_TRUE(ui->boxes.empty()) << ui->boxes.front().text;
    }

    /// A name that lost its byte on the way through Qt would name a new file.
    void ExpectNoNameWithTheReplacementCharacter() {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Root())) {
            EXPECT_EQ(entry.path().string().find("\xEF\xBF\xBD"), std::string::npos)
                << entry.path();
        }
    }

    const std::string path = folder.Path("caf\xE9.txt");
};

TEST_F(ByteFileNames, OpenFromTheCommandLine) {
    const char* argv[] = {"tomery", path.c_str()};
    const TCommandLineRequest request = ParseCommandLine(ArgumentsOf(2, argv), true);
    ASSERT_EQ(request.fileToOpen, path);
    form->OpenNamedFile(request.fileToOpen);
    EditAndSave();
    ExpectSavedUnderItsOwnName();
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
    ExpectSavedUnderItsOwnName();
}

TEST_F(ByteFileNames, DropOnTheWindow) {
    QMimeData files;
    files.setData(QStringLiteral("text/uri-list"),
                  "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(form.get())->event(&drop);
    EditAndSave();
    ExpectSavedUnderItsOwnName();
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
    ExpectSavedUnderItsOwnName();
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
    const std::string inByteFolder = folder.Path("caf\xE9/caf\xE9.txt");
    std::filesystem::create_directory(folder.Path("caf\xE9"));
    WriteFile(inByteFolder, std::string("old\r\n"));
    TQtModalUi qt(nullptr);
    for (const std::string& start : {path, inByteFolder}) {
        TFileDialogRequest open;
        open.initialDir = std::filesystem::path(start).parent_path().string();
        open.fileName = start;
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
        EXPECT_EQ(qt.OpenFileName(open), start);
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
        EXPECT_EQ(qt.SaveFileName(save), start);
        EXPECT_TRUE(question.startsWith(QString::fromUtf16(u"caf\uFFFD.txt already exists")))
            << question.toStdString();
    }
    ExpectNoNameWithTheReplacementCharacter();
}

TEST(FileDialogs, OpenListsAReadOnlyFileAndRefusesItWhenChosen) {
    TempFolder folder;
    const std::string locked = folder.Path("locked.txt");
    WriteFile(locked, std::string("x"));
    std::filesystem::permissions(locked, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    TFileDialogRequest open;
    open.initialDir = folder.Root();
    open.fileName = locked;
    open.pathMustExist = open.fileMustExist = open.noReadOnlyReturn = true;
    bool listed = false;
    QString refusal;
    WhenTheDialogShows([&](QFileDialog& dialog) {
        auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        listed = QTest::qWaitFor([view] {
            const QAbstractItemModel* model = view->model();
            for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
                if (model->index(row, 0, view->rootIndex()).data() == "locked.txt") {
                    return true;
                }
            }
            return false;
        });
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                refusal = box->text();
                box->accept();
            }
        });
        AcceptButton(dialog)->click();
        dialog.reject();
    });
    TQtModalUi qt(nullptr);
    EXPECT_FALSE(qt.OpenFileName(open));
    EXPECT_TRUE(listed);
    EXPECT_EQ(refusal.toStdString(),
              locked + "\nThis file is set to read-only.\nTry again with a different file name.");
}

}  // namespace
}  // namespace tomery::app
