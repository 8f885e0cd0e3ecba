#include "Conversion.h"
#include "EditMain_Menus.h"
#include "EditMain_Workflow.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"
#include "TextConversion.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

/// An editor that keeps its text in a string and loads and saves real files.
class FakeEditor : public TDocumentEditor {
  public:
    std::string text;
    std::string fileName;
    bool modified = false;
    bool visible = false;
    TReading reading{&charset::DefaultCharacterSet(), charset::TFileEncoding::Bytes};
    charset::TReplacementLog replaced;
    std::int32_t caretParagraph = 1;

    void SetFileName(const std::string& path) override { fileName = path; }
    bool Modified() const override { return modified; }
    std::uint64_t ChangeCount() const override { return std::hash<std::string>{}(text); }
    void SetModified(bool value) override { modified = value; }
    std::int64_t TextLength() const override { return static_cast<std::int64_t>(text.size()); }
    void NewFile(const std::string& name, const charset::TCharacterSet& set) override {
        text.clear();
        fileName = name;
        modified = false;
        reading = {&set, charset::TFileEncoding::Bytes};
    }
    void LoadFromFile(const std::string& path, const TReading& how, const TWorkProgress&) override {
        if (!std::filesystem::exists(path)) {
            throw std::runtime_error("Cannot open file " + path);
        }
        charset::TDecodedText decoded = charset::DecodeText(ReadFile(path), *how.Set, how.Encoding);
        text = decoded.Bytes;
        replaced = decoded.Replacements;
        reading = {how.Set, decoded.Encoding};
        fileName = path;
        modified = false;
    }
    TReading CurrentReading() const override { return reading; }
    const charset::TReplacementLog& LoadReplacements() const override { return replaced; }
    void LoadFromStream(const std::string& path, editor::TTextStream& stream, const TReading& how,
                        const TWorkProgress&) override {
        std::string bytes;
        char piece[4096];
        while (const std::size_t got = stream.Read(piece, sizeof piece)) {
            bytes.append(piece, got);
        }
        text = charset::DecodeText(bytes, *how.Set, how.Encoding).Bytes;
        reading = {how.Set, charset::TFileEncoding::Bytes};
        fileName = path;
        modified = false;
    }
    void SaveToFile(const std::string& path, const TWorkProgress&) override {
        if (!std::filesystem::is_directory(std::filesystem::path(path).parent_path())) {
            throw std::runtime_error("File not found.");
        }
        WriteFile(path, charset::EncodeText(text, *reading.Set, *reading.Encoding));
        modified = false;
    }
    void SaveConversionText(const std::string& path, const TWorkProgress&) override {
        WriteFile(path, text);
        modified = false;
    }
    std::string TextBytes(bool conversionText) override {
        return conversionText ? text : charset::EncodeText(text, *reading.Set, *reading.Encoding);
    }
    std::int32_t CaretParagraph() const override { return caretParagraph; }
    void MoveCaretToParagraph(std::int32_t para) override { caretParagraph = para; }
    void Close() override { text.clear(); }
    void ShowAndFocus() override { visible = true; }
    void Hide() override { visible = false; }

    void Type(const std::string& more) {
        text += more;
        modified = true;
    }
};

class Workflow : public ::testing::Test {
  protected:
    void SetUp() override {
        menus = std::make_unique<TMainMenus>(&window, window.menuBar(), new QMenu(&window));
        workflow = std::make_unique<TDocumentWorkflow>(
            ui, editor, *menus, "Tomery", folder.Path("Backup.txt"),
            [this](const std::string& text) { caption = text; }, [this] { ++closedStatus; });
    }

    std::string MakeDoc(const std::string& name, const std::string& text,
                        const std::string& docName) {
        WriteFile(folder.Path("source.txt"), text);
        EXPECT_TRUE(doc::ConvertTextToDoc(folder.Path("source.txt"), folder.Path(name), docName));
        return folder.Path(name);
    }

    bool Enabled(const char* item) const { return menus->Item(item)->isEnabled(); }

    TempFolder folder;
    QMainWindow window;
    testing::ScriptedModalUi ui;
    FakeEditor editor;
    std::unique_ptr<TMainMenus> menus;
    std::unique_ptr<TDocumentWorkflow> workflow;
    std::string caption = "Tomery";
    int closedStatus = 0;
};

TEST_F(Workflow, OpensADocFileEditsSavesAndFindsTheEditAfterReopening) {
    const std::string book = MakeDoc("book.pdb", "Chapter One\r\nIt was dark.\r\n", "My Book");
    ui.fileAnswers.push_back(book);
    workflow->Open1Click();
    EXPECT_EQ(editor.text, "Chapter One\r\nIt was dark.\r\n");
    EXPECT_EQ(workflow->CurrentFile(), book);
    EXPECT_EQ(workflow->DocName(), "My Book");
    EXPECT_EQ(caption, "Tomery [book.pdb -- My Book]");
    EXPECT_TRUE(editor.visible);
    EXPECT_TRUE(Enabled("Edit1") && Enabled("Search1") && Enabled("Tools1") && Enabled("Append1"));
    EXPECT_FALSE(Enabled("InstallPDA1"));

    editor.Type("The end.\r\n");
    ASSERT_TRUE(workflow->Save1Click());
    EXPECT_EQ(ReadFile(folder.Path("Conversion.txt")), editor.text);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0],
              "book.pdb saved in " + folder.Root() + "/ folder as a DOC file. File size is 1 KB.");

    editor.NewFile("other", charset::DefaultCharacterSet());
    workflow->OpenDocument(book);
    EXPECT_EQ(editor.text, "Chapter One\r\nIt was dark.\r\nThe end.\r\n");
}

TEST_F(Workflow, AUtf8FileWithCharactersTheSetLacksIsReportedAndItsSaveAsksFirst) {
    const std::string notes = folder.Path("notes.txt");
    const std::string original = "\xEF\xBB\xBFOne \xE2\x80\x9Cquote\xE2\x80\x9D\nTwo \xC5\x99\n";
    WriteFile(notes, original);
    workflow->OpenDocument(notes);
    EXPECT_EQ(editor.text, "One \x93quote\x94\nTwo r\n");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "notes.txt has characters that Windows-1252 does not have. 1 character was "
              "replaced:\nline 2: \u0159 \u2192 r");
    editor.Type("Three\n");

    // Cancel keeps the file; Save As saves elsewhere; Save Anyway writes and asks no more.
    ui.buttonAnswers = {TMsgButton::Cancel};
    EXPECT_FALSE(workflow->Save1Click());
    EXPECT_EQ(ReadFile(notes), original);
    EXPECT_EQ(ui.boxes.back().buttons,
              (std::vector<TMsgButton>{TMsgButton::Save, TMsgButton::SaveAs, TMsgButton::Cancel}));
    ui.buttonAnswers = {TMsgButton::SaveAs};
    ui.fileAnswers.push_back(folder.Path("copy.txt"));
    EXPECT_TRUE(workflow->Save1Click());
    EXPECT_EQ(ReadFile(notes), original);
    EXPECT_EQ(ReadFile(folder.Path("copy.txt")),
              "\xEF\xBB\xBFOne \xE2\x80\x9Cquote\xE2\x80\x9D\nTwo r\nThree\n");
    EXPECT_FALSE(workflow->SavingLosesCharacters());

    workflow->OpenDocument(notes);
    editor.Type("!");
    ui.buttonAnswers = {TMsgButton::Save};
    const std::size_t asked = ui.boxes.size();
    EXPECT_TRUE(workflow->Save1Click());
    EXPECT_EQ(ReadFile(notes).substr(0, 3), "\xEF\xBB\xBF");
    editor.Type("?");
    EXPECT_TRUE(workflow->Save1Click());
    EXPECT_EQ(ui.boxes.size(), asked + 1);
}

TEST_F(Workflow, ADocFileIsItsBytesAndATypedNameIsConvertedAndCutWithANotice) {
    const std::string book = MakeDoc("book.pdb", "caf\xC3\xA9\r\n", "Book");
    workflow->OpenDocument(book);
    EXPECT_EQ(editor.text, "caf\xC3\xA9\r\n");
    EXPECT_TRUE(ui.boxes.empty());

    ui.fileAnswers.push_back(folder.Path("named.pdb"));
    ui.inputAnswers.push_back("Anton\u00edn Dvo\u0159\u00e1k: Symphony No. 9 in E minor");
    ASSERT_TRUE(workflow->Save1Click(true));
    EXPECT_EQ(workflow->DocName(), "Anton\xEDn Dvor\xE1k: Symphony No. 9 ");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "1 character was replaced:\n\u0159 \u2192 r\nA document name holds at most 31 "
              "characters: it was cut to \"Anton\u00edn Dvor\u00e1k: Symphony No. 9 \".");
}

TEST_F(Workflow, AsksBeforeDiscardingChangesAndFollowsTheAnswer) {
    WriteFile(folder.Path("notes.txt"), std::string("old"));
    workflow->OpenDocument(folder.Path("notes.txt"));
    editor.Type(" and new");

    ui.buttonAnswers = {TMsgButton::Cancel};
    workflow->Close1Click();
    EXPECT_TRUE(editor.visible);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Confirm");
    EXPECT_EQ(ui.boxes[0].text, "notes.txt has changed. Save?");
    EXPECT_EQ(ui.boxes[0].buttons,
              (std::vector<TMsgButton>{TMsgButton::Yes, TMsgButton::No, TMsgButton::Cancel}));

    ui.buttonAnswers = {TMsgButton::No};
    workflow->Close1Click();
    EXPECT_FALSE(editor.visible);
    EXPECT_EQ(ReadFile(folder.Path("notes.txt")), "old");
    EXPECT_EQ(caption, "Tomery");
    EXPECT_FALSE(Enabled("Edit1"));
    EXPECT_EQ(closedStatus, 1);

    workflow->OpenDocument(folder.Path("notes.txt"));
    editor.Type("!");
    ui.buttonAnswers = {TMsgButton::Yes};
    workflow->Close1Click();
    EXPECT_EQ(ReadFile(folder.Path("notes.txt")), "old!");
}

TEST_F(Workflow, NewLeavesInstallPdaDisabledAfterADocFile) {
    workflow->OpenDocument(MakeDoc("book.pdb", "text", "Book"));
    menus->Item("InstallPDA1")->setEnabled(true);  // as the File menu does for a DOC file
    workflow->New1Click();
    EXPECT_FALSE(Enabled("InstallPDA1"));
}

TEST_F(Workflow, DiscardsAModifiedButEmptyTextWithoutAsking) {
    workflow->New1Click();
    editor.modified = true;
    workflow->Close1Click();
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Workflow, StopsThePendingActionWhenYesLeadsToNoSave) {
    workflow->New1Click();
    editor.Type("precious");
    ui.buttonAnswers = {TMsgButton::Yes};  // then the Save dialog is cancelled
    workflow->Close1Click();
    EXPECT_TRUE(editor.visible);
    EXPECT_EQ(editor.text, "precious");
    EXPECT_EQ(ui.fileRequests.size(), 1u);
}

TEST_F(Workflow, SavesAnUntitledDocumentThroughTheDialogAndAsksForTheDocName) {
    workflow->New1Click();
    EXPECT_EQ(caption, "Tomery [Untitled]");
    editor.Type("Once upon a time\r\n");
    ui.fileAnswers.push_back(folder.Path("tale.pdb"));
    ui.inputAnswers.push_back("A Tale");
    ASSERT_TRUE(workflow->Save1Click());
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Untitled As");
    EXPECT_EQ(ui.fileRequests[0].filterIndex, 2);
    EXPECT_EQ(ui.inputPrompts, std::vector<std::string>{"Document Name|Enter name:|"});
    EXPECT_EQ(workflow->DocName(), "A Tale");
    EXPECT_EQ(caption, "Tomery [tale.pdb -- A Tale]");
    std::string name;
    ASSERT_TRUE(doc::ConvertDocToText(folder.Path("tale.pdb"), folder.Path("back.txt"), name));
    EXPECT_EQ(name, "A Tale");
    EXPECT_EQ(ReadFile(folder.Path("back.txt")), "Once upon a time\r\n");
    EXPECT_EQ(workflow->ReopenList().Count(), 0u) << "Untitled is never listed";
}

TEST_F(Workflow, KeepsEverythingWhenADocFileFailsToOpen) {
    WriteFile(folder.Path("notes.txt"), std::string("kept"));
    workflow->OpenDocument(folder.Path("notes.txt"));
    WriteFile(folder.Path("broken.pdb"), std::string("not a DOC file at all"));
    workflow->OpenDocument(folder.Path("broken.pdb"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Error");
    EXPECT_EQ(ui.boxes[0].text, "Conversion Error. View Log file.");
    EXPECT_EQ(editor.text, "kept");
    EXPECT_EQ(workflow->CurrentFile(), folder.Path("notes.txt"));
    EXPECT_EQ(caption, "Tomery [notes.txt]");
}

TEST_F(Workflow, KeepsEverythingWhenATextFileFailsToLoad) {
    WriteFile(folder.Path("notes.txt"), std::string("kept"));
    workflow->OpenDocument(folder.Path("notes.txt"));
    EXPECT_THROW(workflow->OpenDocument(folder.Path("gone.txt")), std::runtime_error);
    EXPECT_EQ(editor.text, "kept");
    EXPECT_EQ(workflow->CurrentFile(), folder.Path("notes.txt"));
}

TEST_F(Workflow, MarksTheTextModifiedAgainWhenTheDocConversionFails) {
    const std::string book = MakeDoc("book.pdb", "text", "Book");
    workflow->OpenDocument(book);
    editor.Type(" more");
    std::filesystem::remove(book);
    std::filesystem::create_directory(book);  // the DOC file can no longer be written
    EXPECT_FALSE(workflow->Save1Click());
    EXPECT_TRUE(editor.modified);
    EXPECT_EQ(ui.boxes.back().text, "Conversion Error. View Log file.");
}

TEST_F(Workflow, ListsLeftDocumentsInTheReopenMenu) {
    for (const char* name : {"a.txt", "b.txt"}) {
        WriteFile(folder.Path(name), std::string(name));
    }
    ui.fileAnswers = {folder.Path("a.txt"), folder.Path("b.txt")};
    workflow->Open1Click();
    EXPECT_FALSE(Enabled("Reopen1"));
    workflow->Open1Click();
    EXPECT_TRUE(Enabled("Reopen1"));
    ASSERT_EQ(menus->Menu("Reopen1")->actions().size(), 1);
    EXPECT_EQ(menus->Menu("Reopen1")->actions()[0]->text().toStdString(),
              "&0 " + folder.Path("a.txt"));
    EXPECT_EQ(ui.fileRequests[1].filterIndex, 2);

    menus->Menu("Reopen1")->actions()[0]->trigger();
    EXPECT_EQ(editor.text, "a.txt");
    EXPECT_EQ(menus->Menu("Reopen1")->actions().size(), 2);
    menus->Menu("Reopen1")->actions()[1]->trigger();
    EXPECT_EQ(editor.text, "b.txt");
    EXPECT_EQ(menus->Menu("Reopen1")->actions().size(), 2) << "a.txt is listed already";
}

TEST_F(Workflow, BackupAndRevertKeepTheModifiedState) {
    WriteFile(folder.Path("notes.txt"), std::string("first"));
    workflow->OpenDocument(folder.Path("notes.txt"));
    editor.Type(" draft");
    workflow->Backup1Click();
    EXPECT_TRUE(editor.modified);
    EXPECT_TRUE(Enabled("Revert1"));
    EXPECT_EQ(ReadFile(folder.Path("Backup.txt")), "first draft");
    editor.text = "ruined";
    editor.modified = false;
    workflow->Revert1Click();
    EXPECT_EQ(editor.text, "first draft");
    EXPECT_TRUE(editor.modified);
    EXPECT_FALSE(Enabled("Revert1"));
}

TEST_F(Workflow, RevertAfterASaveLeavesTheDocumentModified) {
    // The file now holds the saved text, not the backed-up one.
    WriteFile(folder.Path("notes.txt"), std::string("first"));
    workflow->OpenDocument(folder.Path("notes.txt"));
    workflow->Backup1Click();
    editor.Type(" draft");
    ASSERT_TRUE(workflow->Save1Click());
    workflow->Revert1Click();
    EXPECT_EQ(editor.text, "first");
    EXPECT_TRUE(editor.modified);
}

TEST_F(Workflow, StopsTheSaveNoticeOnceItsBoxIsTicked) {
    const std::string book = MakeDoc("book.pdb", "text", "Book");
    workflow->OpenDocument(book);
    ui.noticeAnswers = {true};
    workflow->Save1Click();
    workflow->Save1Click();
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_FALSE(workflow->SaveDocCard());
}

TEST_F(Workflow, AFailedOpenLeavesNameReopenListAndCaptionAsTheyWere) {
    const std::string book = MakeDoc("book.pdb", "kept", "My Book");
    // A DOC file that passes the format check and fails later: the reader empties the name
    // it is given then.
    const std::string big = MakeDoc("big.pdb", std::string(9000, 'x'), "Big");
    WriteFile(folder.Path("damaged.pdb"), ReadFile(big).substr(0, 100));
    workflow->OpenDocument(book);
    ui.fileAnswers = {folder.Path("damaged.pdb"), folder.Path("missing.txt")};
    workflow->Open1Click();
    EXPECT_EQ(ui.boxes.back().text, "Conversion Error. View Log file.");
    EXPECT_THROW(workflow->Open1Click(), std::runtime_error);
    EXPECT_EQ(workflow->DocName(), "My Book");
    EXPECT_EQ(workflow->CurrentFile(), book);
    EXPECT_EQ(caption, "Tomery [book.pdb -- My Book]");
    EXPECT_EQ(workflow->ReopenList().Count(), 0u);
    EXPECT_EQ(editor.text, "kept");
    EXPECT_TRUE(ui.fileRequests[0].pathMustExist && ui.fileRequests[0].fileMustExist &&
                ui.fileRequests[0].noReadOnlyReturn);
}

TEST_F(Workflow, ASaveAsThatDoesNotSaveRenamesNothing) {
    const std::string book = MakeDoc("book.pdb", "text", "My Book");
    workflow->OpenDocument(book);
    ui.fileAnswers = {folder.Path("missing/copy.txt"), folder.Path("missing/copy.pdb")};
    ui.inputAnswers = {"Other Name"};
    EXPECT_THROW(workflow->SaveAs1Click(), std::runtime_error);
    workflow->SaveAs1Click();
    EXPECT_EQ(ui.boxes.back().text, "Conversion Error. View Log file.");
    EXPECT_EQ(workflow->CurrentFile(), book);
    EXPECT_EQ(workflow->DocName(), "My Book");
    EXPECT_EQ(caption, "Tomery [book.pdb -- My Book]");
    EXPECT_EQ(workflow->ReopenList().Count(), 0u);
    EXPECT_FALSE(editor.modified) << "the document was saved before and still is";
    EXPECT_TRUE(ui.fileRequests[0].pathMustExist && ui.fileRequests[0].overwritePrompt);

    ui.fileAnswers = {folder.Path("copy.pdb")};
    ui.inputAnswers = {"Other Name"};
    workflow->SaveAs1Click();
    EXPECT_EQ(workflow->CurrentFile(), folder.Path("copy.pdb"));
    EXPECT_EQ(caption, "Tomery [copy.pdb -- Other Name]");
    EXPECT_EQ(workflow->ReopenList().Count(), 1u);
}

TEST_F(Workflow, RevertOnlyEverRestoresTheCurrentDocumentsBackup) {
    WriteFile(folder.Path("a.txt"), std::string("text of a"));
    WriteFile(folder.Path("b.txt"), std::string("text of b"));
    const std::function<void()> leaving[] = {
        [&] { workflow->OpenDocument(folder.Path("b.txt")); },
        [&] { workflow->New1Click(); },
        [&] { workflow->Close1Click(); },
    };
    for (const auto& leave : leaving) {
        workflow->OpenDocument(folder.Path("a.txt"));
        workflow->Backup1Click();
        ASSERT_TRUE(Enabled("Revert1"));
        leave();
        EXPECT_FALSE(Enabled("Revert1"));
        EXPECT_EQ(ReadFile(folder.Path("Backup.txt")), "text of a") << "the backup stays";
    }
}

TEST_F(Workflow, DocNamesAreShownAndStoredAsWindows1252) {
    workflow->OpenDocument(MakeDoc("cafe.pdb", "text", "Caf\xE9 Cr\xE8me"));
    EXPECT_EQ(workflow->DocName(), "Caf\xE9 Cr\xE8me");
    EXPECT_EQ(caption, "Tomery [cafe.pdb -- Café Crème]");
    ui.fileAnswers = {folder.Path("tart.pdb")};
    ui.inputAnswers = {"Crème brûlée"};
    workflow->SaveAs1Click();
    EXPECT_EQ(ui.inputPrompts.back(), "Document Name|Enter name:|Café Crème");
    EXPECT_EQ(workflow->DocName(),
              "Cr\xE8me br\xFBl\xE9"
              "e");
    EXPECT_EQ(caption, "Tomery [tart.pdb -- Crème brûlée]");
    std::string stored;
    ASSERT_TRUE(doc::ConvertDocToText(folder.Path("tart.pdb"), folder.Path("t.txt"), stored));
    EXPECT_EQ(stored,
              "Cr\xE8me br\xFBl\xE9"
              "e");
}

TEST_F(Workflow, ATypedDocNameIsKeptAsTheFileHoldsIt) {
    workflow->OpenDocument(MakeDoc("a.pdb", "text", "A"));
    ui.fileAnswers = {folder.Path("long.pdb")};
    ui.inputAnswers = {"A document name longer than the file can hold"};
    workflow->SaveAs1Click();
    std::string stored;
    ASSERT_TRUE(doc::ConvertDocToText(folder.Path("long.pdb"), folder.Path("t.txt"), stored));
    EXPECT_EQ(stored, "A document name longer than the");
    EXPECT_EQ(workflow->DocName(), stored);
    EXPECT_EQ(caption, "Tomery [long.pdb -- A document name longer than the]");
}

}  // namespace
}  // namespace tomery::app
