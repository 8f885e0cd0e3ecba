// The View menu with the viewer and its Reload list, and Tools, "Compare...".
#include "Conversion.h"
#include "EditComp.h"
#include "EditMain.h"
#include "EditMain_View.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "SampleTexts.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"
#include "ToolWork.h"
#include "Viewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace tomery::app {
namespace {

using tomery::testing::ReadCrLfLines;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;
using Lines = std::vector<std::string>;

class ViewCompare : public testing::MainWindowTest {
  protected:
    std::string Write(const std::string& name, const std::string& text) {
        WriteFile(folder.Path(name), text);
        return folder.Path(name);
    }

    void Open(const std::string& path) {
        ui->fileAnswers.push_back(path);
        form->Click("Open1");
    }

    void View(const std::string& path) {
        ui->fileAnswers.push_back(path);
        form->Click("LoadDocument1");
    }

    /// Answers the compare dialog with `names` in turn, then with Cancel.
    void Compare(Lines names, bool ignoreCase = false, bool ignoreBlanks = false) {
        ui->dialogAnswer = [this, names, ignoreCase, ignoreBlanks](QDialog&) mutable {
            if (names.empty()) {
                return false;
            }
            form->CompareDlg().Edit().setText(QString::fromStdString(names.front()));
            form->CompareDlg().CaseBox().setChecked(ignoreCase);
            form->CompareDlg().BlanksBox().setChecked(ignoreBlanks);
            names.erase(names.begin());
            return true;
        };
        form->Click("Compare1");
    }

    Lines Log() { return ReadCrLfLines(folder.Path("Comparison.log")); }

    Lines ReloadCaptions() {
        Lines captions;
        for (QAction* action : form->Menus().Menu("Reload1")->actions()) {
            captions.push_back(action->text().toStdString());
        }
        return captions;
    }
};

TEST_F(ViewCompare, LoadDocumentOffersDocFilesAfterADocFileAndShowsTheDocument) {
    View(Write("notes.txt", "hello\r\n"));
    ASSERT_EQ(ui->fileRequests.size(), 1u);
    EXPECT_EQ(ui->fileRequests[0].title, "Load a document");
    EXPECT_EQ(ui->fileRequests[0].filterIndex, 2);
    EXPECT_EQ(form->ViewBox().windowTitle(), QStringLiteral("notes.txt"));
    EXPECT_TRUE(form->ViewBox().isVisible());
    EXPECT_EQ(form->Workflow().CurrentFile(), "") << "the edited document is untouched";

    WriteFile(folder.Path("source.txt"), std::string("text\r\n"));
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), folder.Path("b.prc"), "Bee"));
    View(folder.Path("b.prc"));
    EXPECT_EQ(form->ViewBox().windowTitle(), QStringLiteral("Bee"));
    ui->fileAnswers.push_back(std::nullopt);
    form->Click("LoadDocument1");
    EXPECT_EQ(ui->fileRequests[2].filterIndex, 1);
    EXPECT_EQ(ui->fileRequests[2].initialDir, folder.Root() + "/");
}

TEST_F(ViewCompare, LogCommandsShowTheLogsOrSayTheyAreMissing) {
    form->Click("ConversionLog1");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, folder.Path("Conversion.log") + " not found");
    Write("Conversion.log", "log\r\n");
    form->Click("ConversionLog1");
    EXPECT_EQ(form->ViewBox().windowTitle(), QStringLiteral("DOC Conversion"));
    EXPECT_FALSE(form->ViewBox().DocumentMode());
    // File names are written as UTF-8 among lines of the document's bytes.
    Write("Comparison.log", "Compared /caf\xC3\xA9 d\xC3\xAFr/a.txt as {new}\r\n{old} \xE9t\xE9\r\n");
    form->Click("ComparisonLog1");
    EXPECT_EQ(form->ViewBox().windowTitle(), QStringLiteral("Comparison Log"));
    const editor::TParaList& shown = form->ViewBox().TextViewer().ParaList();
    ASSERT_GE(shown.ParaCount(), 2);
    EXPECT_EQ(shown.Head()->Text(), "Compared /caf\xE9 d\xEFr/a.txt as {new}");
    EXPECT_EQ(shown.Head()->Next->Text(), "{old} \xE9t\xE9");
}

TEST_F(ViewCompare, ClosingTheViewerFillsTheReloadListOncePerTitleUpToTen) {
    EXPECT_FALSE(form->Menus().Item("Reload1")->isEnabled());
    form->ViewBox().close();
    EXPECT_TRUE(ReloadCaptions().empty()) << "nothing viewed yet";
    View(Write("a.txt", "a"));
    form->ViewBox().close();
    View(Write("A.TXT", "another file: names differ by case"));
    form->ViewBox().close();
    std::filesystem::create_directory(folder.Path("sub"));
    View(Write("sub/a.txt", "same title"));
    form->ViewBox().close();
    View(Write("b&c.txt", "b"));
    form->ViewBox().close();
    EXPECT_EQ(ReloadCaptions(), (Lines{"&0 a.txt", "&1 A.TXT", "&2 b&&c.txt"}));
    EXPECT_TRUE(form->Menus().Item("Reload1")->isEnabled());
    EXPECT_EQ(form->ViewerCommands().ReloadCount(), 2);

    // An entry first adds what is in view, then loads its own document.
    View(Write("c.txt", "c"));
    form->Menus().Menu("Reload1")->actions()[0]->trigger();
    EXPECT_EQ(form->ViewBox().DocumentPath(), folder.Path("a.txt"));
    EXPECT_EQ(ReloadCaptions().back(), "&3 c.txt");
    EXPECT_EQ(form->ProgramValues().ReloadPaths.back(), folder.Path("c.txt"));

    for (int i = 3; i < 12; ++i) {
        View(Write("f" + std::to_string(i) + ".txt", "x"));
        form->ViewBox().close();
    }
    EXPECT_EQ(ReloadCaptions().size(), 10u);
    EXPECT_EQ(ReloadCaptions().back(), "&9 f8.txt");
}

TEST_F(ViewCompare, CompareWritesTheLogAndShowsItInTheViewer) {
    Open(Write("new.txt", "one\r\ntwo\r\ninserted\r\nthree\r\n"));
    const std::string old = Write("old.txt", "one\ntwo\rthree");
    Compare({old});
    EXPECT_EQ(Log(), (Lines{"Compared " + folder.Path("new.txt") + " as {new}",
                            "With     " + old + " as {old}", "", "      one", "      two",
                            "{new} inserted", "      three"}));
    EXPECT_EQ(form->ViewBox().windowTitle(), QStringLiteral("Comparison Log"));
    EXPECT_FALSE(form->ViewBox().DocumentMode());
    EXPECT_FALSE(form->ViewBox().TextViewer().WordWrap());
    EXPECT_TRUE(ui->boxes.empty());
}

TEST_F(ViewCompare, ComparingWithTheFileJustSavedFindsThemIdentical) {
    Open(Write("doc.txt", "alpha\r\nbeta\r\n"));
    Compare({folder.Path("doc.txt")});
    const Lines log = Log();
    EXPECT_EQ(Lines(log.begin() + 2, log.end()),
              (Lines{"", "  **** Both files are identical. ****", ""}));
}

TEST_F(ViewCompare, MissingFileAsksAgainAndCancelEndsWithoutALog) {
    Open(Write("doc.txt", "a\r\n"));
    Compare({folder.Path("nope.txt")});
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Warning");
    EXPECT_EQ(ui->boxes[0].text,
              folder.Path("nope.txt") +
                  "\nThis file cannot be found.\nMake sure that the correct path and filename are "
                  "given");
    EXPECT_EQ(ui->dialogs.size(), 2u) << "shown again, then cancelled";
    EXPECT_FALSE(std::filesystem::exists(folder.Path("Comparison.log")));

    Compare({folder.Path("nope.txt"), folder.Path("doc.txt")});
    EXPECT_TRUE(std::filesystem::exists(folder.Path("Comparison.log")));
}

TEST_F(ViewCompare, AUtf8FileComparesAndShowsAsTheSameTextInTheDocumentsSet) {
    Open(Write("doc.txt", "caf\xE9 \x93q\x94\r\n"));
    const std::string utf8 = Write("old.txt",
                                   "\xEF\xBB\xBF"
                                   "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D\n");
    Compare({utf8});
    EXPECT_EQ(Log().at(3), "  **** Both files are identical. ****");
    View(utf8);
    EXPECT_EQ(form->ViewBox().TextViewer().GetPara(1), "caf\xE9 \x93q\x94");
}

TEST_F(ViewCompare, OldDocFileIsDecodedFirstAndOptionsReachTheComparison) {
    Open(Write("doc.txt", "Hello  World\r\nend\r\n"));
    WriteFile(folder.Path("source.txt"), std::string("HELLO WORLD\nend\n"));
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), folder.Path("old.pdb"), "Old"));
    Compare({folder.Path("old.pdb")}, true, true);
    EXPECT_EQ(Log().at(3), "  **** Both files are identical. ****");
    Compare({folder.Path("old.pdb")});
    EXPECT_EQ(Log().at(3), "{old} HELLO WORLD");

    Write("bad.pdb", "not a DOC");
    Compare({folder.Path("bad.pdb")});
    EXPECT_EQ(ui->boxes.back().text, "Conversion Error. View Log file.");
}

TEST_F(ViewCompare, DecodingABigOldDocKeepsTheWindowDrawnAndCancelLeavesTheLogsAsTheyWere) {
    Open(Write("doc.txt", "a\r\n"));
    Compare({folder.Path("doc.txt")});
    const Lines log = Log();
    WriteFile(folder.Path("big.txt"), tomery::testing::GenerateProse(3 << 20));
    ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("big.txt"), folder.Path("old.pdb"), "Old"));
    form->ViewBox().hide();

    // Every report comes late, as on a slow disk; once the dialog shows, the user cancels it.
    const struct TUnhook {
        ~TUnhook() { TLongWork::SetReportHook({}); }
    } unhook;
    form->show();
    testing::TPaintCount painted;
    form->Editor().viewport()->installEventFilter(&painted);
    TLongWork::SetReportHook([&](TLongWork&) {
        QThread::msleep(60);
        form->Editor().viewport()->update();
        if (auto* dialog = form->findChild<QProgressDialog*>(); dialog && dialog->isVisible()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    Compare({folder.Path("old.pdb")});
    EXPECT_GT(painted.paints, 5) << "the window was drawn while the DOC file was decoded";
    EXPECT_EQ(Log(), log);
    EXPECT_FALSE(form->ViewBox().isVisible());
    EXPECT_TRUE(ui->boxes.empty());
}

TEST_F(ViewCompare, UnreadableOldFileAndUnwritableLogAreReported) {
    Open(Write("doc.txt", "a\r\n"));
    std::filesystem::create_directory(folder.Path("folder"));
    Compare({folder.Path("folder")});
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "Error loading " + folder.Path("folder") + ": Is a directory");

    std::filesystem::create_directory(folder.Path("Comparison.log"));
    Compare({folder.Path("doc.txt")});
    ASSERT_GE(ui->boxes.size(), 2u);
    EXPECT_EQ(ui->boxes[1].text, "Unable to create log file");
    EXPECT_EQ(ui->boxes[1].caption, "Warning");
}

TEST_F(ViewCompare, LongDocumentWarnsOnceAndComparesItsFirst4000Lines) {
    std::string text;
    for (int i = 1; i <= 4500; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    Open(Write("long.txt", text));
    Compare({Write("old.txt", "line 1\r\n")});
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "New file exceeds 4000 lines max.");
    const Lines log = Log();
    EXPECT_EQ(log.size(), 3u + 4000u);
    EXPECT_EQ(log.back(), "{new} line 4000");
}

TEST_F(ViewCompare, CompareDialogFocusesTheNameAndEnterMeansOk) {
    TCompareDlg& dialog = form->CompareDlg();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Compare Files"));
    EXPECT_TRUE(dialog.OKButton().isDefault());
    bool focused = false;
    QTimer::singleShot(0, &dialog, [&] {
        focused = dialog.focusWidget() == &dialog.Edit();
        QTest::keyClick(&dialog.Edit(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(focused);

    ui->fileAnswers.push_back(folder.Path("old.txt"));
    dialog.Browse1Click();
    EXPECT_EQ(dialog.FileName(), folder.Path("old.txt"));
    EXPECT_EQ(ui->fileRequests.back().title, "Browse old file");
    dialog.Browse1Click();
    EXPECT_EQ(ui->fileRequests.back().initialDir, folder.Root() + "/");
    EXPECT_EQ(dialog.FileName(), folder.Path("old.txt")) << "cancel keeps the name";
}

}  // namespace
}  // namespace tomery::app
