// The Options menu of the main window and what the settings file keeps of it.
#include "EditMain.h"
#include "MainWindowFixture.h"
#include "OvcCmd.h"
#include "OvcEdit.h"
#include "OvcFxFnt.h"
#include "QtModalUi.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

class OptionsMenu : public testing::MainWindowTest {
  protected:
    bool Checked(const char* item) const { return form->Menus().Item(item)->isChecked(); }
    editor::TOvcTextFileEditor& Editor() { return form->Editor(); }
};

TEST_F(OptionsMenu, WordWrapAndAutoIndentFlipAndAreKeptForTheNextRun) {
    form->Click("WordWrap1");  // no document open: the empty editor takes it too
    form->Click("WordWrap1");
    EXPECT_TRUE(ui->boxes.empty());
    OpenText(std::string(200, 'x') + "\r\nsecond\r\n");
    for (const bool wrap : {false, true, false}) {
        Editor().SetCaretPosition(2, 3);
        form->Click("WordWrap1");
        EXPECT_EQ(Editor().WordWrap(), wrap);
        EXPECT_EQ(Checked("WordWrap1"), wrap);
        std::int32_t column = 0;
        EXPECT_EQ(Editor().GetCaretPosition(column), 1);
        EXPECT_EQ(column, 1);
    }
    form->Click("AutoIndentation1");
    EXPECT_TRUE(Editor().AutoIndent() && Checked("AutoIndentation1"));

    Restart();
    TIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadString("Options", "WordWrap", ""), "0");
    EXPECT_EQ(ini.ReadString("Options", "AutoIndent", ""), "1");
    EXPECT_FALSE(Editor().WordWrap() || Checked("WordWrap1"));
    EXPECT_TRUE(Editor().AutoIndent() && Checked("AutoIndentation1"));
}

TEST_F(OptionsMenu, TrimTrailingBlanksDecidesWhetherSavingKeepsThemAndIsKept) {
    const std::string text = "hard break  \r\n\tindented\t\r\nplain\r\n";
    EXPECT_TRUE(Checked("TrimTrailingBlanks1"));  // first run: as loading always trimmed
    for (const bool trim : {true, false}) {
        if (Checked("TrimTrailingBlanks1") != trim) {
            form->Click("TrimTrailingBlanks1");
        }
        OpenText(text);
        Editor().SetModified(true);
        form->Click("Save1");
        EXPECT_EQ(tomery::testing::ReadFile(folder.Path("notes.txt")),
                  trim ? "hard break\r\n\tindented\r\nplain\r\n" : text)
            << trim;
    }
    // Off, Enter keeps the blanks before the break as well.
    Editor().SetCaretPosition(3, 6);
    Editor().ProcessCommand(editor::ccTypeChar, ' ');
    Editor().ProcessCommand(editor::ccNewLine, 0);
    EXPECT_EQ(Editor().GetStringLine(3), "plain ");
    Restart();
    EXPECT_EQ(TIniFile(SettingsFilePath()).ReadString("Options", "TrimTrailingBlanks", ""), "0");
    EXPECT_FALSE(Checked("TrimTrailingBlanks1") || Editor().TrimWhiteSpace());
}

TEST_F(OptionsMenu, TabTypesCarryOneCheckMarkAndAreNotStored) {
    const std::pair<const char*, editor::TTabType> clicks[] = {
        {"Real1", editor::TTabType::ttReal},    {"Smart1", editor::TTabType::ttSmart},
        {"Smart1", editor::TTabType::ttSmart},  // clicking the checked item keeps its mark
        {"Filled1", editor::TTabType::ttFixed}, {"Real1", editor::TTabType::ttReal},
    };
    for (const auto& [item, type] : clicks) {
        form->Click(item);
        EXPECT_EQ(Editor().TabType(), type) << item;
        for (const char* tab : {"Filled1", "Real1", "Smart1"}) {
            EXPECT_EQ(Checked(tab), std::string(tab) == item) << item << " " << tab;
        }
    }
    Restart();
    EXPECT_EQ(Editor().TabType(), editor::TTabType::ttFixed);
    EXPECT_TRUE(Checked("Filled1") && !Checked("Real1"));
}

TEST_F(OptionsMenu, TabSizeTakesWholeNumbersOfOneByteOnly) {
    OpenText("\tx\r\n");
    ui->inputAnswers = {std::string("4")};
    form->Click("Size1");
    EXPECT_EQ(ui->inputPrompts.back(), "Tab Size|Enter Tab Size|8");
    EXPECT_EQ(Editor().TabSize(), 4);
    EXPECT_EQ(form->Status().PanelText(4), "Tab Size 4");
    for (const char* ignored : {"abc", "0", "256", "-2", "3.5", ""}) {
        ui->inputAnswers = {std::string(ignored)};
        form->Click("Size1");
        EXPECT_EQ(Editor().TabSize(), 4) << ignored;
    }
    ui->inputAnswers = {std::nullopt};
    form->Click("Size1");
    EXPECT_EQ(Editor().TabSize(), 4);
    EXPECT_TRUE(ui->boxes.empty());

    Restart();
    EXPECT_EQ(Editor().TabSize(), 4);
}

TEST_F(OptionsMenu, FontDialogChangesTheEditorFontWhichIsKept) {
    const QStringList& fixed = editor::FixedPitchFamilies();
    if (fixed.isEmpty()) {
        GTEST_SKIP() << "no fixed-pitch font installed";
    }
    const std::string family = fixed.back().toStdString();
    ui->fontAnswers = {std::nullopt};
    form->Click("Font1");
    ASSERT_EQ(ui->fontRequests.size(), 1u);
    EXPECT_EQ(ui->fontRequests[0].name, Editor().FixedFont().Name().toStdString());
    EXPECT_EQ(ui->fontRequests[0].pointSize, Editor().FixedFont().Size());

    ui->fontAnswers = {TFontChoice{family, 14, true, true, true, false}};
    form->Click("Font1");
    EXPECT_EQ(Editor().FixedFont().Name().toStdString(), family);
    EXPECT_EQ(Editor().FixedFont().Size(), 14);
    EXPECT_EQ(Editor().FixedFont().Style(),
              editor::fsBold | editor::fsItalic | editor::fsUnderline);

    Restart();
    TIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadString("Font", "Name", ""), family);
    EXPECT_EQ(ini.ReadString("Font", "Size", ""), "14");
    EXPECT_EQ(ini.ReadString("Font", "Bold", ""), "1");
    EXPECT_EQ(ini.ReadString("Font", "Italic", ""), "1");
    EXPECT_EQ(Editor().FixedFont().Name().toStdString(), family);
}

TEST_F(OptionsMenu, AProportionalFontIsRefusedAndTheOldOneStays) {
    QString proportional;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) {
            proportional = family;
            break;
        }
    }
    if (proportional.isEmpty()) {
        GTEST_SKIP() << "no proportional font installed";
    }
    const QString before = Editor().FixedFont().Name();
    ui->fontAnswers = {TFontChoice{proportional.toStdString(), 12}};
    form->Click("Font1");
    EXPECT_EQ(Editor().FixedFont().Name(), before);
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
}

TEST(QtFontDialog, OffersFixedPitchFontsOnlyAndStartsOnTheFontAsItIs) {
    const QStringList& fixed = editor::FixedPitchFamilies();
    if (fixed.isEmpty()) {
        GTEST_SKIP() << "no fixed-pitch font installed";
    }
    TQtModalUi qt(nullptr);
    for (const bool bold : {false, true}) {
        bool monospacedOnly = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr) {
                monospacedOnly = dialog->testOption(QFontDialog::MonospacedFonts);
                dialog->accept();
            }
        });
        const TFontChoice start{fixed.front().toStdString(), 12, bold, false, false, true};
        const std::optional<TFontChoice> chosen = qt.ChooseFont(start);
        EXPECT_TRUE(monospacedOnly);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->name, start.name);
        EXPECT_EQ(chosen->pointSize, 12);
        EXPECT_EQ(chosen->bold, bold);
        EXPECT_FALSE(chosen->italic) << "an upright font comes back upright";
        EXPECT_TRUE(chosen->strikeOut);
    }
}

}  // namespace
}  // namespace tomery::app

namespace tomery::app {
namespace {

TEST(QtInputBox, HoldsAtMost255Characters) {
    TQtModalUi qt(nullptr);
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            box->findChild<QLineEdit*>()->insert(QString(300, u'7'));
            box->accept();
        }
    });
    EXPECT_EQ(qt.InputBox("Sort", "At what column?", ""), std::string(255, '7'));
}

}  // namespace
}  // namespace tomery::app
