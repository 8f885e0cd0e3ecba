// The main window with the real editor control, driven through the modal seam.
#include "Conversion.h"
#include "EditAbout.h"
#include "EditMain.h"
#include "EditMain_Status.h"
#include "OvcEdit.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class EditForm : public ::testing::Test {
  protected:
    void SetUp() override { Create(); }

    void Create() {
        auto scripted = std::make_unique<testing::ScriptedModalUi>();
        ui = scripted.get();
        form = std::make_unique<TEditForm>(std::move(scripted));
        form->show();
        QApplication::setActiveWindow(form.get());
        QApplication::processEvents();
    }

    std::string MakeDoc(const std::string& name, const std::string& text,
                        const std::string& docName) {
        WriteFile(folder.Path("source.txt"), text);
        EXPECT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), folder.Path(name), docName));
        return folder.Path(name);
    }

    std::string DecodedText(const std::string& pdb) {
        std::string name;
        EXPECT_TRUE(doc::ConvertDocToText(pdb, folder.Path("decoded.txt"), name));
        return ReadFile(folder.Path("decoded.txt"));
    }

    void Open(const std::string& path) {
        ui->fileAnswers.push_back(path);
        form->Click("Open1");
        QApplication::processEvents();
    }

    void Type(const char* text) {
        QTest::keyClicks(&form->Editor(), text);
        QApplication::processEvents();
    }

    /// Hands an event to the window itself, as the drag and drop machinery does.
    void Deliver(QEvent& event) { static_cast<QObject*>(form.get())->event(&event); }

    std::string Caption() const { return form->windowTitle().toStdString(); }
    bool Enabled(const char* item) const { return form->Menus().Item(item)->isEnabled(); }
    void OpenMenu(const char* menu) { emit form->Menus().Menu(menu)->aboutToShow(); }

    TempFolder folder;
    testing::ScriptedModalUi* ui = nullptr;
    std::unique_ptr<TEditForm> form;
};

TEST_F(EditForm, StartsWithTheLogoAndTheFirstRunSettings) {
    EXPECT_TRUE(form->LogoVisible());
    EXPECT_EQ(Caption(), "Tomery");
    EXPECT_EQ(form->size(), QSize(600, 400));
    EXPECT_EQ(form->Status().PanelText(2), "Line 0");
    EXPECT_EQ(form->Status().PanelText(4), "Tab Size 8");
    EXPECT_EQ(form->Status().PanelText(5), "Insert");
    EXPECT_FALSE(Enabled("Edit1") || Enabled("Search1") || Enabled("Tools1"));
    EXPECT_TRUE(form->Menus().Item("WordWrap1")->isChecked());
    for (const char* hidden : {"HTMLTags1", "N9", "TestTool11", "TestTool21"}) {
        EXPECT_FALSE(form->Menus().Item(hidden)->isVisible()) << hidden;
    }
    EXPECT_TRUE(form->Editor().WordWrap());
    EXPECT_EQ(form->Editor().TabType(), editor::TTabType::ttFixed);
    EXPECT_TRUE(form->Editor().WantTab());
    EXPECT_EQ(form->Editor().LeftMargin(), 5);
}

TEST_F(EditForm, OpensADocFileEditsItSavesAndFindsTheEditAgain) {
    const std::string book = MakeDoc("book.pdb", "Chapter One\r\nIt was dark.\r\n", "My Book");
    Open(book);
    EXPECT_FALSE(form->LogoVisible());
    EXPECT_EQ(Caption(), "Tomery [book.pdb -- My Book]");
    EXPECT_TRUE(Enabled("Edit1") && Enabled("Search1") && Enabled("Tools1"));
    Type("Hello ");
    EXPECT_EQ(form->Status().PanelText(1), "Modified");
    form->Click("Save1");
    EXPECT_FALSE(form->Editor().Modified());
    EXPECT_EQ(DecodedText(book), "Hello Chapter One\r\nIt was dark.\r\n");
    ASSERT_EQ(ui->notices.size(), 1u);

    form->Click("Close1");
    EXPECT_TRUE(form->LogoVisible());
    EXPECT_EQ(Caption(), "Tomery");
    form->Menus().Menu("Reopen1")->actions()[0]->trigger();
    EXPECT_EQ(form->Editor().GetStringLine(1), "Hello Chapter One");
}

TEST_F(EditForm, SavesAsAPlainTextFileWithCrLfLines) {
    Open(MakeDoc("book.pdb", "one\r\ntwo", "Book"));
    ui->fileAnswers.push_back(folder.Path("copy.txt"));
    form->Click("SaveAs1");
    EXPECT_EQ(ReadFile(folder.Path("copy.txt")), "one\r\ntwo\r\n");
    EXPECT_EQ(Caption(), "Tomery [copy.txt -- Book]");
}

TEST_F(EditForm, AnLfTextSavedAsDocGoesThroughACrLfConversionTextAndKeepsItsLf) {
    WriteFile(folder.Path("unix.txt"), "one\ntwo\n");
    Open(folder.Path("unix.txt"));
    ui->fileAnswers.push_back(folder.Path("book.pdb"));
    ui->inputAnswers.push_back("Book");
    form->Click("SaveAs1");
    EXPECT_EQ(ReadFile(folder.Path("Conversion.txt")), "one\r\ntwo\r\n");
    EXPECT_EQ(DecodedText(folder.Path("book.pdb")), "one\r\ntwo\r\n");
    ui->fileAnswers.push_back(folder.Path("back.txt"));
    form->Click("SaveAs1");
    EXPECT_EQ(ReadFile(folder.Path("back.txt")), "one\ntwo\n");
}

TEST_F(EditForm, ALineTooLongForAParagraphIsNoticedAndStaysOneLineThroughADocFile) {
    std::string line;
    while (line.size() < 200000) {
        line += "word ";
    }
    line.resize(200000);
    line.back() = 's';
    const std::string text = "title\r\n" + line + "\r\n";
    WriteFile(folder.Path("long.txt"), text);
    Open(folder.Path("long.txt"));
    EXPECT_EQ(form->Status().PanelText(TStatusPanels::kNoticePanel), "Line 2 split for editing");
    ui->fileAnswers.push_back(folder.Path("long.pdb"));
    ui->inputAnswers.push_back("Long");
    form->Click("SaveAs1");
    EXPECT_EQ(DecodedText(folder.Path("long.pdb")), text);
    Open(folder.Path("long.pdb"));
    ui->fileAnswers.push_back(folder.Path("back.txt"));
    form->Click("SaveAs1");
    EXPECT_EQ(ReadFile(folder.Path("back.txt")), text);
    EXPECT_TRUE(ui->boxes.empty());
}

TEST_F(EditForm, AMenuCommandGivesTheKeysBackToTheEditorWhenTheMenuBarKeptThem) {
    Open(MakeDoc("book.pdb", "one\r\ntwo", "Book"));
    form->menuBar()->setFocus();
    emit form->menuBar()->triggered(form->Menus().Item("Backup1"));
    QApplication::processEvents();
    EXPECT_TRUE(form->Editor().hasFocus());
}

TEST_F(EditForm, CloseEmptiesTheEditorAfterASaveAsOrANewDocument) {
    // Save As and New give the editor a new file name, which leaves it no longer "open".
    Open(MakeDoc("book.pdb", "one\r\ntwo", "Book"));
    ui->fileAnswers.push_back(folder.Path("copy.txt"));
    form->Click("SaveAs1");
    form->Click("Close1");
    EXPECT_EQ(form->Editor().TextLength(), 0);
    OpenMenu("File1");
    EXPECT_FALSE(Enabled("SaveAs1") || Enabled("Print1") || Enabled("FileInfo1"));

    form->Click("New1");
    Type("draft");
    ui->buttonAnswers = {TMsgButton::No};
    form->Click("Close1");
    EXPECT_EQ(form->Editor().TextLength(), 0);
}

TEST_F(EditForm, ShortcutsGoThroughTheMenuAndNeverAlsoToTheEditor) {
    WriteFile(folder.Path("notes.txt"), std::string("text\r\n"));
    Open(folder.Path("notes.txt"));
    Type("abc");
    QTest::keyClick(&form->Editor(), Qt::Key_Home);
    Type("x");
    EXPECT_EQ(form->Editor().GetStringLine(1), "xabctext");
    QTest::keyClick(&form->Editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->Editor().GetStringLine(1), "abctext") << "exactly one undo step";
    QTest::keyClick(&form->Editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->Editor().GetStringLine(1), "xabctext");
}

TEST_F(EditForm, EditMenuFollowsSelectionAndUndoState) {
    WriteFile(folder.Path("notes.txt"), std::string("some text\r\n"));
    Open(folder.Path("notes.txt"));
    OpenMenu("Edit1");
    EXPECT_FALSE(Enabled("Cut1") || Enabled("Copy1") || Enabled("Cut2") || Enabled("Undo1"));
    EXPECT_TRUE(Enabled("SelectAll1"));
    form->Click("SelectAll1");
    OpenMenu("PopupMenu1");
    EXPECT_TRUE(Enabled("Cut1") && Enabled("Copy2"));
    form->Click("Copy1");
    OpenMenu("Edit1");
    EXPECT_TRUE(Enabled("Paste1") && Enabled("Paste2"));
}

TEST_F(EditForm, ClearAllAsksFirst) {
    WriteFile(folder.Path("notes.txt"), std::string("keep me\r\n"));
    Open(folder.Path("notes.txt"));
    ui->buttonAnswers = {TMsgButton::No};
    form->Click("ClearAll1");
    EXPECT_EQ(form->Editor().GetStringLine(1), "keep me");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Warning");
    EXPECT_EQ(ui->boxes[0].text, "Are you sure to delete the entire text?");
    ui->buttonAnswers = {TMsgButton::Yes};
    form->Click("ClearAll1");
    EXPECT_EQ(form->Editor().TextLength(), 0);
    form->Click("Undo1");
    EXPECT_EQ(form->Editor().GetStringLine(1), "keep me");
}

TEST_F(EditForm, ClosingTheWindowAsksAboutChanges) {
    WriteFile(folder.Path("notes.txt"), std::string("text\r\n"));
    Open(folder.Path("notes.txt"));
    Type("more ");
    ui->buttonAnswers = {TMsgButton::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ui->buttonAnswers = {TMsgButton::No};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ReadFile(folder.Path("notes.txt")), "text\r\n");
}

TEST_F(EditForm, OpensOnlyTheFirstDroppedFile) {
    WriteFile(folder.Path("a.txt"), std::string("first\r\n"));
    WriteFile(folder.Path("b.txt"), std::string("second\r\n"));
    form->DropFiles({folder.Path("a.txt"), folder.Path("b.txt")});
    EXPECT_EQ(Caption(), "Tomery [a.txt]");
    EXPECT_EQ(form->Editor().GetStringLine(1), "first");
}

TEST_F(EditForm, ShowsAFailedOpenAsTheTomeryErrorBox) {
    WriteFile(folder.Path("a.txt"), std::string("kept\r\n"));
    Open(folder.Path("a.txt"));
    Open(folder.Path("vanished.txt"));
    ASSERT_FALSE(ui->boxes.empty());
    EXPECT_EQ(ui->boxes.back().caption, "Tomery");
    EXPECT_EQ(ui->boxes.back().icon, TMsgIcon::Error);
    EXPECT_EQ(form->Editor().GetStringLine(1), "kept");
    EXPECT_EQ(Caption(), "Tomery [a.txt]");
}

TEST_F(EditForm, ALogThatCannotBeCreatedIsShownBeforeTheConversionError) {
    const std::string book = MakeDoc("book.pdb", "text", "Book");
    std::filesystem::remove(folder.Path("Conversion.log"));
    std::filesystem::create_directory(folder.Path("Conversion.log"));  // refuses even root
    Open(book);
    ASSERT_EQ(ui->boxes.size(), 2u);
    EXPECT_EQ(ui->boxes[0].caption, "Error");
    EXPECT_EQ(ui->boxes[0].text, "Error creating log file: " + folder.Path("Conversion.log"));
    EXPECT_EQ(ui->boxes[1].text, "Conversion Error. View Log file.");
    EXPECT_FALSE(form->Editor().isVisible());
}

TEST_F(EditForm, WritesTheSettingsWhenDestroyedAndReadsThemBack) {
    WriteFile(folder.Path("a.txt"), std::string("x\r\n"));
    Open(folder.Path("a.txt"));
    form->Editor().SetTabSize(4);
    form->Editor().SetAutoIndent(true);
    form->resize(700, 500);
    form->Click("Close1");
    form.reset();
    Create();
    EXPECT_EQ(form->size(), QSize(700, 500));
    EXPECT_EQ(form->Editor().TabSize(), 4);
    EXPECT_TRUE(form->Editor().AutoIndent());
    EXPECT_TRUE(form->Menus().Item("AutoIndentation1")->isChecked());
}

TEST_F(EditForm, TheReopenListAndTheDesktopsRecentFilesOutliveTheRun) {
    const std::string list = folder.DataHome() + "/recently-used.xbel";
    for (const char* name : {"a.txt", "b & c.txt"}) {
        WriteFile(folder.Path(name), std::string("x\r\n"));
        Open(folder.Path(name));
    }
    const std::string written = ReadFile(list);
    for (const char* name : {"a.txt", "b%20&amp;%20c.txt"}) {
        EXPECT_NE(written.find("file://" + folder.Root() + "/" + name), std::string::npos) << name;
    }
    EXPECT_NE(written.find("name=\"Tomery\""), std::string::npos);
    form.reset();
    Create();
    // The document open at exit was left last.
    QMenu* reopen = form->Menus().Menu("Reopen1");
    ASSERT_EQ(reopen->actions().size(), 2);
    EXPECT_TRUE(form->Menus().Item("Reopen1")->isEnabled());
    EXPECT_EQ(reopen->actions()[1]->text().toStdString(), "&1 " + folder.Root() + "/b && c.txt");
    // A listed file that is gone is reported when chosen; a damaged desktop list stays as it is.
    std::filesystem::remove(folder.Path("a.txt"));
    reopen->actions()[0]->trigger();
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_FALSE(form->Editor().isVisible());
    WriteFile(list, std::string("<xbel><bookmark"));
    reopen->actions()[1]->trigger();
    EXPECT_EQ(Caption(), "Tomery [b & c.txt]");
    EXPECT_EQ(ReadFile(list), "<xbel><bookmark");
}

TEST_F(EditForm, NeverRemembersAnUntitledDocumentOrAMaximisedSize) {
    form->Click("New1");
    EXPECT_EQ(Caption(), "Tomery [Untitled]");
    form->showMaximized();
    QApplication::processEvents();
    form.reset();
    TIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadString("LastOpen", "FileName", "missing"), "missing");
    EXPECT_EQ(ini.ReadString("FormSize", "Width", "missing"), "missing");
    EXPECT_EQ(ini.ReadString("Options", "TabSize", "missing"), "8");
}

TEST_F(EditForm, AboutShowsTheVersionInTheAboutBox) {
    form->Click("AboutTomery1");
    ASSERT_EQ(ui->dialogs.size(), 1u);
    EXPECT_EQ(ui->dialogs[0], &form->AboutBox());
    EXPECT_EQ(form->AboutBox().windowTitle(), "About");
    EXPECT_EQ(form->AboutBox().Version(), "Version 0.5.1");
}

TEST_F(EditForm, TheFirstOpenWrapsAtTheColumnTheWindowShows) {
    std::string text;
    for (int line = 0; line < 200; ++line) {
        text += std::string(300, 'w') + " and more words to wrap\r\n";
    }
    WriteFile(folder.Path("long.txt"), text);
    Open(folder.Path("missing.txt"));
    EXPECT_TRUE(form->Editor().WordWrap()) << "a failed open keeps word wrap";
    Open(folder.Path("long.txt"));
    editor::TOvcTextFileEditor& editor = form->Editor();
    EXPECT_TRUE(editor.WordWrap());
    EXPECT_EQ(editor.WrapColumn(), editor.VisibleColumns() - 2);
    const std::int32_t lines = editor.LineCount();
    EXPECT_GT(lines, 200 * (300 / editor.WrapColumn()));
    form->Click("Close1");
    form->resize(form->width() - 100, form->height());
    Open(folder.Path("long.txt"));
    EXPECT_EQ(editor.WrapColumn(), editor.VisibleColumns() - 2) << "after a resize while closed";
    EXPECT_GT(editor.LineCount(), lines);
}

TEST_F(EditForm, KeepsSettingsSizesWithinTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* width;
        const char* height;
        QSize expected;
    } cases[] = {
        {"0", "-5", {320, 200}},
        {"100000", "100000", area.size()},
        {"640", "0", {640, 200}},
    };
    for (const auto& c : cases) {
        form.reset();
        {
            TIniFile ini(SettingsFilePath());
            ini.WriteString("FormSize", "Width", c.width);
            ini.WriteString("FormSize", "Height", c.height);
        }
        Create();
        EXPECT_EQ(form->size(), c.expected) << c.width << " x " << c.height;
        EXPECT_TRUE(area.contains(form->frameGeometry().topLeft())) << c.width << " x " << c.height;
    }
}

TEST_F(EditForm, StatusBarShowsLineAndColumnZeroAfterCloseAndTheCaretAfterRevert) {
    WriteFile(folder.Path("notes.txt"), std::string("some text\r\n"));
    Open(folder.Path("notes.txt"));
    form->Click("Backup1");
    QTest::keyClick(&form->Editor(), Qt::Key_End);
    Type("!");
    EXPECT_EQ(form->Status().PanelText(3), "Col 11");
    form->Click("Revert1");
    QApplication::processEvents();
    EXPECT_EQ(form->Status().PanelText(2), "Line 1");
    EXPECT_EQ(form->Status().PanelText(3), "Col 1");
    EXPECT_EQ(form->Status().PanelText(1), "");

    Type("x");
    ui->buttonAnswers = {TMsgButton::No};
    form->Click("Close1");
    QApplication::processEvents();
    EXPECT_EQ(form->Status().PanelText(1), "");
    EXPECT_EQ(form->Status().PanelText(2), "Line 0");
    EXPECT_EQ(form->Status().PanelText(3), "Col 0");
}

TEST_F(EditForm, TakesDroppedFilesOnlyAsCopiesOrLinks) {
    WriteFile(folder.Path("a.txt"), std::string("dropped\r\n"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.Path("a.txt")))});
    const auto drag = [&](Qt::DropActions offered, Qt::DropAction proposed) {
        QDragEnterEvent enter(QPoint(10, 10), offered, &files, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        Deliver(enter);
        return enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
    };
    EXPECT_EQ(drag(Qt::MoveAction, Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(drag(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction), Qt::CopyAction);

    QDropEvent moveOnly(QPointF(10, 10), Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
    Deliver(moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    EXPECT_TRUE(form->LogoVisible()) << "a move is not taken";
    QDropEvent copy(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                    Qt::NoModifier);
    Deliver(copy);
    EXPECT_EQ(copy.dropAction(), Qt::CopyAction);
    EXPECT_EQ(Caption(), "Tomery [a.txt]");
}

TEST_F(EditForm, CommonShortcutsRunTheirItemsAndGiveWayToTheEditorsKeys) {
    EXPECT_EQ(form->Menus().Item("SaveAs1")->text(),
              "Save &as...\t" + QKeySequence("Ctrl+Shift+S").toString(QKeySequence::NativeText));
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Caption(), "Tomery [Untitled]");
    Type("abc");
    QTest::keyClick(&form->Editor(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(form->Editor().SelectionAvailable());
    ui->fileAnswers.push_back(folder.Path("abc.txt"));
    QTest::keyClick(&form->Editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(folder.Path("abc.txt")), "abc\r\n");
    // Ctrl+G goes to a line as well as the designed F4 does.
    ui->inputAnswers = {std::nullopt};
    QTest::keyClick(&form->Editor(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(ui->inputPrompts.size(), 1U);

    // With the WordStar keys active, Ctrl+S moves the caret left and saves nothing.
    form->Editor().Controller()->EntryCommands().FindTable("WordStar")->SetActive(true);
    QTest::keyClick(&form->Editor(), Qt::Key_End);
    Type("d");
    QTest::keyClick(&form->Editor(), Qt::Key_S, Qt::ControlModifier);
    Type("e");
    EXPECT_EQ(form->Editor().GetStringLine(1), "abced");
    EXPECT_EQ(ReadFile(folder.Path("abc.txt")), "abc\r\n");

    ui->buttonAnswers = {TMsgButton::No};
    QTest::keyClick(&form->Editor(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(form->LogoVisible()) << "Ctrl+W scrolls in the WordStar keys";
    form->Editor().Controller()->EntryCommands().FindTable("WordStar")->SetActive(false);
    QTest::keyClick(&form->Editor(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(form->LogoVisible());
}

}  // namespace
}  // namespace tomery::app
