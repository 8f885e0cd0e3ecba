// Find, Find next, Replace and Go to line in the main window, answered through the modal seam.
#include "EditFind.h"
#include "EditMain.h"
#include "EditRepl.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

class SearchCommands : public testing::MainWindowTest {
  protected:
    std::string Line(int line) { return form->Editor().GetStringLine(line); }
    std::string Selected() {
        std::int32_t l1, c1, l2, c2;
        if (!form->Editor().GetSelection(l1, c1, l2, c2) || l1 != l2) {
            return {};
        }
        return Line(l1).substr(c1 - 1, c2 - c1);
    }
    std::int32_t CaretLine() {
        std::int32_t column = 0;
        return form->Editor().GetCaretPosition(column);
    }
    std::int32_t CaretColumn() {
        std::int32_t column = 0;
        form->Editor().GetCaretPosition(column);
        return column;
    }
    void CaretTo(int line, int column) { form->Editor().SetCaretPosition(line, column); }

    /// Fills the Find dialog and closes it with OK (or Cancel).
    void Find(const char* text, bool backward, bool matchCase, bool global, bool ok = true) {
        ui->dialogAnswers.push_back([=](QDialog& dialog) {
            auto& find = dynamic_cast<TFindDlg&>(dialog);
            find.Edit1->setText(text);
            (backward ? find.RadioButton2 : find.RadioButton1)->setChecked(true);
            find.CheckBox1->setChecked(matchCase);
            find.CheckBox2->setChecked(global);
            return ok;
        });
        form->Click("Find1");
    }

    /// Fills the Replace dialog and presses one of its buttons.
    void Replace(const char* find, const char* with, QPushButton* TReplDlg::*button,
                 editor::TSearchOptions options = 0) {
        ui->dialogAnswers.push_back([=](QDialog& dialog) {
            auto& repl = dynamic_cast<TReplDlg&>(dialog);
            repl.Edit1->setText(find);
            repl.Edit2->setText(with);
            repl.CheckBox1->setChecked((options & editor::seMatchCase) != 0);
            repl.CheckBox2->setChecked((options & editor::seWholeWord) != 0);
            repl.CheckBox3->setChecked((options & editor::seGlobal) != 0);
            ((options & editor::seBackward) != 0 ? repl.RadioButton2 : repl.RadioButton1)
                ->setChecked(true);
            (repl.*button)->click();
            return repl.result() == QDialog::Accepted;
        });
        form->Click("Replace1");
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const testing::AskedBox& box : ui->boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }
};

const std::string kNotFound = "Search string 'cat' not found";
const std::string kQuestion = "Replace this occurrence?";

TEST_F(SearchCommands, FindFollowsTheMatchCaseOption) {
    OpenText("xx ABC yy\r\n");
    Find("abc", false, false, false);
    EXPECT_EQ(Selected(), "ABC");
    EXPECT_TRUE(ui->boxes.empty());

    CaretTo(1, 1);
    Find("abc", false, true, false);
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Information");
    EXPECT_EQ(ui->boxes[0].text, "Search string 'abc' not found");
    EXPECT_EQ(ui->boxes[0].buttons, std::vector<TMsgButton>{TMsgButton::Ok});
}

TEST_F(SearchCommands, GlobalFindStartsAtTheTopAndFindNextGoesOnFromThere) {
    OpenText("cat one\r\ncat two\r\ncat three\r\n");
    CaretTo(4, 1);
    Find("cat", false, false, true);
    EXPECT_EQ(CaretLine(), 1);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(CaretLine(), 2) << "F3 is never global";
    EXPECT_EQ(Selected(), "cat");
}

TEST_F(SearchCommands, FindNextTakesTheDirectionFromTheDialogEvenWhenCancelled) {
    OpenText("cat cat cat\r\n");
    Find("cat", false, false, false);
    EXPECT_EQ(CaretColumn(), 4);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(CaretColumn(), 8);
    Find("cat", true, false, false, false);  // backward chosen, then Cancel
    EXPECT_EQ(Selected(), "cat") << "a cancelled dialog searches nothing";
    form->Editor().CollapseSelection(false);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(CaretColumn(), 1);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotFound});
}

TEST_F(SearchCommands, FindNextWaitsForASearchText) {
    OpenText("cat\r\n");
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_FALSE(form->Menus().Item("FindNext1")->isEnabled());
    EXPECT_TRUE(ui->boxes.empty());
    Find("dog", false, false, false);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_TRUE(form->Menus().Item("FindNext1")->isEnabled());
    EXPECT_EQ(ui->boxes.size(), 2u);
}

struct ReplaceCase {
    const char* name;
    editor::TSearchOptions options;
    std::vector<TMsgButton> answers;
    std::string expected;
    std::vector<std::string> boxes;
};

class ReplaceOneByOne : public SearchCommands, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceOneByOne, AsksAtEveryOccurrence) {
    const ReplaceCase& test = GetParam();
    OpenText("a cat, a cat.\r\n");
    CaretTo(1, (test.options & editor::seBackward) != 0 ? 14 : 1);
    ui->buttonAnswers.assign(test.answers.begin(), test.answers.end());
    Replace("cat", "dog", &TReplDlg::Button1, test.options);
    EXPECT_EQ(Line(1), test.expected);
    EXPECT_EQ(BoxTexts(), test.boxes);
    EXPECT_TRUE(ui->buttonAnswers.empty()) << "asked fewer questions than expected";
}

using enum TMsgButton;
INSTANTIATE_TEST_SUITE_P(
    Answers, ReplaceOneByOne,
    ::testing::Values(
        ReplaceCase{"YesYes", 0, {Yes, Yes}, "a dog, a dog.", {kQuestion, kQuestion}},
        ReplaceCase{"NoToEvery", 0, {No, No}, "a cat, a cat.", {kQuestion, kQuestion, kNotFound}},
        ReplaceCase{"YesCancel", 0, {Yes, Cancel}, "a dog, a cat.", {kQuestion, kQuestion}},
        ReplaceCase{"BackwardNoYes",
                    editor::seBackward,
                    {No, Yes},
                    "a dog, a cat.",
                    {kQuestion, kQuestion}},
        // Global starts at the top once; an occurrence answered No is not asked about again.
        ReplaceCase{"GlobalNoNo",
                    editor::seGlobal,
                    {No, No},
                    "a cat, a cat.",
                    {kQuestion, kQuestion, kNotFound}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchCommands, ReplaceAllAsksNothingAndReportsOnlyWhenNothingIsLeft) {
    OpenText("cat\r\nCat and cat\r\n");
    Replace("cat", "dog", &TReplDlg::Button2);
    EXPECT_EQ(Line(1), "dog");
    EXPECT_EQ(Line(2), "dog and dog");
    EXPECT_TRUE(ui->boxes.empty());
    Replace("cat", "dog", &TReplDlg::Button2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotFound});
}

TEST_F(SearchCommands, AReplacementBeyondTheEditorsLimitsEndsWithItsErrorKeepingTheOthers) {
    OpenText("aaaa\r\n");
    form->Editor().SetParaLengthLimit(10);
    Replace("a", "xxx", &TReplDlg::Button2);
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Tomery");
    EXPECT_EQ(Line(1).substr(0, 6), "xxxxxx");
    EXPECT_LE(Line(1).size(), 10u);
}

TEST_F(SearchCommands, ReplaceCancelledOrWithoutTextChangesNothing) {
    OpenText("cat\r\n");
    Replace("cat", "dog", &TReplDlg::Button3);
    Replace("", "dog", &TReplDlg::Button1);
    Replace("", "dog", &TReplDlg::Button2);
    EXPECT_EQ(Line(1), "cat");
    EXPECT_TRUE(ui->boxes.empty());
}

TEST_F(SearchCommands, GoToLineMovesCaretAndViewAndIgnoresBadInput) {
    std::string text;
    for (int i = 1; i <= 100; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    OpenText(text);
    CaretTo(5, 3);
    for (const char* bad : {"0", "102", "-3", "abc", "7x", ""}) {
        ui->inputAnswers.push_back(std::string(bad));
        QTest::keyClick(form.get(), Qt::Key_F4);
        EXPECT_EQ(CaretColumn(), 3) << bad;
    }
    ui->inputAnswers.push_back(std::nullopt);
    QTest::keyClick(form.get(), Qt::Key_F4);
    EXPECT_TRUE(ui->boxes.empty());
    EXPECT_EQ(ui->inputPrompts.front(), "Go to Line Number|Enter Line Number (1 to 101)|1");

    ui->inputAnswers.push_back(std::string(" 50"));
    QTest::keyClick(form.get(), Qt::Key_F4);
    EXPECT_EQ(CaretLine(), 50);
    EXPECT_EQ(CaretColumn(), 1);
    EXPECT_EQ(form->Editor().TopLine(), 50);
}

/// Shows a dialog as the modal loop would and gives it the keyboard.
void ShowActive(QDialog& dialog) {
    dialog.setResult(-1);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
}

/// A key to a dialog; a mnemonic presses its button a moment later, as a click would show.
void PressKey(QDialog& dialog, Qt::Key key, Qt::KeyboardModifier modifier = Qt::NoModifier) {
    QTest::keyClick(dialog.focusWidget(), key, modifier);
    if (modifier == Qt::AltModifier) {
        QTest::qWait(150);
    }
}

TEST(SearchDialogs, FindHasNoEnterOrEscButtonAndFocusesTheSearchText) {
    TFindDlg find;
    EXPECT_EQ(find.windowTitle(), "Find");
    EXPECT_TRUE(find.RadioButton1->isChecked());
    EXPECT_EQ(find.Options(), 0);
    ShowActive(find);
    EXPECT_EQ(find.focusWidget(), find.Edit1);
    QTest::keyClicks(find.Edit1, "cat");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(find.Edit1, key);
        EXPECT_TRUE(find.isVisible()) << key;
    }
    for (const Qt::Key mnemonic : {Qt::Key_B, Qt::Key_M, Qt::Key_G}) {
        PressKey(find, mnemonic, Qt::AltModifier);
    }
    EXPECT_EQ(find.Options(), editor::seBackward | editor::seMatchCase | editor::seGlobal);
    find.Button1->setFocus();
    PressKey(find, Qt::Key_Return);
    EXPECT_EQ(find.result(), QDialog::Accepted) << "Enter presses the focused button";

    ShowActive(find);
    EXPECT_EQ(find.focusWidget(), find.Edit1) << "again at every opening";
    EXPECT_EQ(find.SearchText(), "cat") << "the text is kept";
    find.Button2->click();
    EXPECT_EQ(find.result(), QDialog::Rejected);
}

TEST(SearchDialogs, ReplaceAnswersEnterEscAndItsMnemonics) {
    TReplDlg repl;
    EXPECT_EQ(repl.windowTitle(), "Replace Text");
    EXPECT_EQ(repl.size(), QSize(345, 269));
    const std::pair<Qt::Key, Qt::KeyboardModifier> keys[] = {{Qt::Key_Return, Qt::NoModifier},
                                                             {Qt::Key_Escape, Qt::NoModifier},
                                                             {Qt::Key_A, Qt::AltModifier},
                                                             {Qt::Key_O, Qt::AltModifier},
                                                             {Qt::Key_C, Qt::AltModifier}};
    const int results[] = {TReplDlg::OneByOne, TReplDlg::Cancelled, TReplDlg::ReplaceAll,
                           TReplDlg::OneByOne, TReplDlg::Cancelled};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        ShowActive(repl);
        EXPECT_EQ(repl.focusWidget(), repl.Edit1);
        PressKey(repl, keys[i].first, keys[i].second);
        EXPECT_FALSE(repl.isVisible()) << i;
        EXPECT_EQ(repl.result(), results[i]) << i;
    }
}

}  // namespace
}  // namespace tomery::app
