// The character sets in the main window: the Options menu, Reopen with Character Set, the
// status bar, the settings file, and the notice of replaced characters.
#include "EditMain.h"
#include "EditMain_Status.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tomery::app {
namespace {

class CharacterSets : public testing::MainWindowTest {
  protected:
    /// The caption as the menu shows it, without its mnemonic mark.
    static QString Shown(const QAction* item) { return QString(item->text()).remove('&'); }
    /// Chooses the item of `menu` whose caption starts with `caption`.
    void Choose(const char* menu, const std::string& caption) {
        form->Menus().Menu(menu)->aboutToShow();
        for (QAction* item : form->Menus().Menu(menu)->actions()) {
            if (Shown(item).toStdString().rfind(caption, 0) == 0) {
                item->trigger();
                QApplication::processEvents();
                return;
            }
        }
        FAIL() << "no item " << caption;
    }
    std::string EncodingPanel() const {
        QApplication::processEvents();  // the status follows the caret's report
        return form->Status().PanelText(TStatusPanels::kEncodingPanel);
    }
    editor::TOvcTextFileEditor& Editor() { return form->Editor(); }
};

TEST_F(CharacterSets, AChosenSetShowsTheSameBytesAndIsKeptForNewDocumentsAndTheNextRun) {
    OpenText("\xC6\xF3\xEA\r\n");
    EXPECT_EQ(EncodingPanel(), "Windows-1252 \u00B7 CR LF");
    Choose("CharacterSet1", "Cyrillic (Windows-1251)");
    EXPECT_EQ(Editor().CharacterSet().Name(), "windows-1251");
    EXPECT_EQ(Editor().GetPara(1), "\xC6\xF3\xEA");
    EXPECT_EQ(EncodingPanel(), "Windows-1251 \u00B7 CR LF");
    EXPECT_FALSE(Editor().Modified());

    Restart();
    form->Click("New1");
    EXPECT_EQ(Editor().CharacterSet().Name(), "windows-1251");
    form->Menus().Menu("CharacterSet1")->aboutToShow();
    int checked = 0;
    for (QAction* item : form->Menus().Menu("CharacterSet1")->actions()) {
        checked += item->isChecked() ? 1 : 0;
        EXPECT_EQ(item->isChecked(), Shown(item).startsWith("Cyrillic (Windows-1251)"));
    }
    EXPECT_EQ(checked, 1);
}

TEST_F(CharacterSets, AUtf8FileIsReadIntoTheSetAndReadAgainAsAnotherSetOrAsBytes) {
    OpenText("\xD0\x96\xD1\x83\xD0\xBA\n");  // "Жук" in UTF-8
    EXPECT_EQ(Editor().GetPara(1), "Zhuk");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(EncodingPanel(), "UTF-8 \u2192 Windows-1252 \u00B7 LF");

    // An unchanged UTF-8 file is read again into the new set: its characters stay.
    Choose("CharacterSet1", "Cyrillic (Windows-1251)");
    EXPECT_EQ(Editor().GetPara(1), "\xC6\xF3\xEA");
    EXPECT_EQ(EncodingPanel(), "UTF-8 \u2192 Windows-1251 \u00B7 LF");
    EXPECT_EQ(ui->boxes.size(), 1u);

    form->Menus().Menu("File1")->aboutToShow();
    EXPECT_TRUE(form->Menus().Item("ReopenWith1")->isEnabled());
    Choose("ReopenWith1", "Western (Windows-1252)");
    EXPECT_EQ(Editor().GetPara(1), "\xD0\x96\xD1\x83\xD0\xBA");
    EXPECT_EQ(EncodingPanel(), "Windows-1252 \u00B7 LF");
    Choose("ReopenWith1", "UTF-8");
    EXPECT_EQ(Editor().GetPara(1), "Zhuk");
}

TEST_F(CharacterSets, APastedCharacterTheSetLacksIsTransliteratedAndTold) {
    form->Click("New1");
    QApplication::clipboard()->setText(QString::fromUtf8("a\u0159b"));
    form->Click("Paste1");
    EXPECT_EQ(Editor().GetPara(1), "arb");
    EXPECT_EQ(form->Status().PanelText(TStatusPanels::kNoticePanel), "Replaced: \u0159 \u2192 r");
}

TEST_F(CharacterSets, AGutenbergUtf8TextSavedAsDocReachesTheHandheldInWindows1252) {
    // A UTF-8 e-book with a mark, curly quotes, a dash, accents and a letter 1252 lacks.
    OpenText(
        "\xEF\xBB\xBF\xE2\x80\x9CYou\xE2\x80\x99re late,\xE2\x80\x9D said "
        "Ren\xC3\xA9"
        "e \xE2\x80\x94 in Plze\xC5\x88.\r\n");
    ui->fileAnswers.push_back(folder.Path("book.pdb"));
    ui->inputAnswers.push_back("Late");
    form->Click("SaveAs1");
    ASSERT_TRUE(std::filesystem::exists(folder.Path("book.pdb")));
    const std::string expected =
        "\x93You\x92re late,\x94 said Ren\xE9"
        "e \x97 in Plzen.\n";
    if (std::system("command -v txt2pdbdoc > /dev/null") != 0) {
        GTEST_SKIP() << "txt2pdbdoc is not installed";
    }
    const std::string decoded = folder.Path("decoded.txt");
    ASSERT_EQ(
        std::system(("txt2pdbdoc -d '" + folder.Path("book.pdb") + "' '" + decoded + "'").c_str()),
        0);
    EXPECT_EQ(tomery::testing::ReadFile(decoded), expected);
}

}  // namespace
}  // namespace tomery::app
