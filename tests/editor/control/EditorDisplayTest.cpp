// What the editor paints, and how keys, the mouse and the clipboard reach it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include "EditorFixture.h"
#include "OvcCharset.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;

class DisplayTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Editor().HighlightColors().SetBackColor(QColor(0, 0, 200));
        Editor().HighlightColors().SetTextColor(QColor(255, 255, 0));
        Editor().SetColor(QColor(255, 255, 255));
        Editor().CaretIns().SetBlinkTime(60000);
    }
    QImage Grab() {
        Settle();
        return Editor().viewport()->grab().toImage();
    }
    /// Whether the cell of (line on screen, display column) holds the colour anywhere.
    bool CellHas(const QImage& image, int row, int column, QColor color) {
        const int x0 = Editor().LeftMargin() + (column - 1) * Editor().CharWidth();
        const int y0 = (row - 1) * Editor().LineHeight();
        for (int y = y0; y < y0 + Editor().LineHeight(); ++y) {
            for (int x = x0 + 1; x < x0 + Editor().CharWidth() - 1; ++x) {
                if (image.pixelColor(x, y) == color) {
                    return true;
                }
            }
        }
        return false;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&Editor(), static_cast<Qt::Key>(key), modifiers);
    }
    const QColor highlight_{0, 0, 200};
    const QColor white_{255, 255, 255};
};

TEST_F(DisplayTest, AMultiLineSelectionHighlightsOnlyCharacters) {
    SetLines({"first line", "second", "third line"});
    Editor().SetSelection(1, 3, 3, 4, true);
    const QImage image = Grab();
    EXPECT_FALSE(CellHas(image, 1, 2, highlight_));
    EXPECT_TRUE(CellHas(image, 1, 3, highlight_));
    EXPECT_TRUE(CellHas(image, 1, 10, highlight_));
    EXPECT_FALSE(CellHas(image, 1, 11, highlight_));  // past the line end
    EXPECT_TRUE(CellHas(image, 2, 6, highlight_));
    EXPECT_FALSE(CellHas(image, 2, 8, highlight_));
    EXPECT_TRUE(CellHas(image, 3, 3, highlight_));
    EXPECT_FALSE(CellHas(image, 3, 4, highlight_));
    EXPECT_TRUE(CellHas(image, 3, 4, white_));
}

TEST_F(DisplayTest, HideSelectionHidesItWithoutTheFocus) {
    SetLines({"some text"});
    Editor().SelectAll(true);
    EXPECT_TRUE(CellHas(Grab(), 1, 1, highlight_));
    Editor().clearFocus();
    EXPECT_FALSE(CellHas(Grab(), 1, 1, highlight_));
    Editor().SetHideSelection(false);
    EXPECT_TRUE(CellHas(Grab(), 1, 1, highlight_));
}

TEST_F(DisplayTest, ADisabledControlShowsNoSelection) {
    SetLines({"some text"});
    Editor().SelectAll(true);
    Editor().setEnabled(false);
    EXPECT_FALSE(CellHas(Grab(), 1, 1, highlight_));
}

TEST_F(DisplayTest, TheCaretIsALineInInsertModeAndABlockInOverwriteMode) {
    SetLines({"abc"});
    Editor().CaretOvr().SetBlinkTime(60000);
    Editor().SetCaretPosition(1, 2);
    QRect rect = Editor().Carets().Rect();
    EXPECT_EQ(rect.width(), 2);
    EXPECT_EQ(rect.height(), Editor().LineHeight());
    Editor().SetInsertMode(false);
    rect = Editor().Carets().Rect();
    EXPECT_EQ(rect.width(), Editor().CharWidth());
    EXPECT_EQ(rect.left(), Editor().LeftMargin() + Editor().CharWidth());
    const QImage image = Grab();
    // The block inverts the white background of the cell.
    EXPECT_TRUE(CellHas(image, 1, 2, QColor(0, 0, 0)));
}

TEST_F(DisplayTest, BookmarkGlyphsNeedRoomInTheMargin) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(2, 1);
    Editor().SetMarker(0);
    Editor().SetCaretPosition(1, 1);
    const auto marginHasInk = [&](const QImage& image, int row) {
        for (int y = (row - 1) * Editor().LineHeight(); y < row * Editor().LineHeight(); ++y) {
            for (int x = 0; x < std::min(12, Editor().LeftMargin()); ++x) {
                if (image.pixelColor(x, y) != white_) {
                    return true;
                }
            }
        }
        return false;
    };
    QImage image = Grab();
    EXPECT_FALSE(marginHasInk(image, 1));
    EXPECT_TRUE(marginHasInk(image, 2));
    Editor().SetLeftMargin(5);
    EXPECT_FALSE(marginHasInk(Grab(), 2));
}

TEST_F(DisplayTest, OnDrawLineCanDrawRowsItself) {
    SetLines({"a\tb"});
    std::vector<std::string> seen;
    Editor().OnDrawLine = [&](TOvcCustomEditor&, TEditorDrawLineArgs& args) {
        seen.emplace_back(args.S, args.Len);
        args.Canvas.fillRect(args.Rect, QColor(0, 200, 0));
        args.WasDrawn = true;
    };
    const QImage image = Grab();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "a       b");
    EXPECT_TRUE(CellHas(image, 1, 1, QColor(0, 200, 0)));
}

TEST_F(DisplayTest, FixedFontAcceptsOnlyFixedPitchFamilies) {
    ASSERT_FALSE(FixedPitchFamilies().isEmpty());
    TOvcFixedFont& font = Editor().FixedFont();
    const QString before = font.Name();
    EXPECT_FALSE(FindFixedPitchFamily(before).isEmpty());
    font.SetName("Fixedsys");
    EXPECT_EQ(font.Name(), before);
    QFont proportional("DejaVu Sans");
    if (FindFixedPitchFamily("DejaVu Sans").isEmpty()) {
        EXPECT_THROW(font.Assign(proportional), EInvalidFixedFont);
    }
    EXPECT_THROW(font.Assign(QVariant(42)), EInvalidFontParam);
    const std::int32_t height = Editor().LineHeight();
    font.SetSize(20);
    EXPECT_GT(Editor().LineHeight(), height);
    try {
        font.Assign(QVariant(42));
    } catch (const EFixedFontError& error) {
        EXPECT_STREQ(error.what(),
                     "Invalid font assignemnt. Font must be a TFont or TOvcFixedFont");
    }
}

TEST_F(DisplayTest, KeysReachTheCommandsThroughTheKeyTable) {
    SetLines({"abc def", "ghi"});
    Key(Qt::Key_End);
    EXPECT_EQ(Caret(), Pos(1, 8));
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), Pos(1, 5));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Editor().SelectionAvailable());
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), Pos(2, 4));
    QTest::keyClicks(&Editor(), "xy");
    EXPECT_EQ(Editor().GetPara(2), "ghixy");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(2), "ghi");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Editor().GetPara(2), "ghixy");
}

TEST_F(DisplayTest, BookmarkKeysUseTheDigitEvenWithShift) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(2, 2);
    Key(Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);  // Ctrl+Shift+3
    Editor().SetCaretPosition(1, 1);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Caret(), Pos(2, 2));
}

TEST_F(DisplayTest, TheCharacterOfAKeySequenceIsNotTyped) {
    SetLines({"abc"});
    Editor().Controller()->EntryCommands().FindTable("WordStar")->SetActive(true);
    Editor().SetCaretPosition(1, 3);
    Key(Qt::Key_Q, Qt::ControlModifier);  // a prefix: the key is swallowed
    QTest::keyClicks(&Editor(), "s");     // completes Ctrl+Q S
    EXPECT_EQ(Caret(), Pos(1, 1));
    EXPECT_EQ(Editor().GetPara(1), "abc");
    QTest::keyClicks(&Editor(), "s");
    EXPECT_EQ(Editor().GetPara(1), "sabc");
}

TEST_F(DisplayTest, WithWantTabTheTabKeyStaysInTheEditor) {
    auto* other = new QWidget(&Form());
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    Editor().setFocus();
    Editor().SetWantTab(true);
    Key(Qt::Key_Tab);
    EXPECT_TRUE(Editor().hasFocus());
    Editor().SetWantTab(false);
    Key(Qt::Key_Tab);
    EXPECT_FALSE(Editor().hasFocus());
}

TEST_F(DisplayTest, ClipboardRoundTripsWindowsCharactersAndLineBreaks) {
    SetLines({"caf\xE9 \x80", "second"});
    Editor().SetSelection(1, 1, 2, 3, true);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("café €\r\nse"));
    Editor().SetCaretPosition(3, 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetPara(3), "caf\xE9 \x80");
    EXPECT_EQ(Editor().GetPara(4), "se");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor().ParaCount(), 3);
}

TEST_F(DisplayTest, CopyingToTheEndOfAParagraphTakesNoLineBreak) {
    SetLines({"abc", "def", "ghi"});
    Editor().SetSelection(1, 2, 1, 4, true);
    Editor().CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "bc");
    Editor().SetSelection(2, 1, 3, 1, true);
    Editor().CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "def\r\n");
}

TEST_F(DisplayTest, EverySetRoundTripsEveryByteThroughScreenTextAndTheClipboard) {
    std::string all;
    std::string line;  // CR and LF end paragraphs
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
        if (byte != '\r' && byte != '\n') {
            line += static_cast<char>(byte);
        }
    }
    for (const charset::TCharacterSet* set : charset::AllCharacterSets()) {
        SCOPED_TRACE(set->Name());
        EXPECT_EQ(TextToBytes(BytesToText(all, *set), *set), all);
        Editor().SetCharacterSet(*set);
        SetLines({line});
        Editor().SelectAll(true);
        Editor().CopyToClipboard();
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdU16String(),
                  set->ToUtf16(line) + u"\r\n");
        Editor().ResetText(true);
        Editor().PasteFromClipboard();
        EXPECT_EQ(Editor().GetPara(1), line);
    }
}

TEST_F(DisplayTest, BytesArePaintedAsTheCharactersOfTheSet) {
    const auto image = [this](const char* set, const std::string& bytes) {
        Editor().SetCharacterSet(*charset::FindCharacterSet(set));
        SetLines({bytes});
        return Grab();
    };
    const QImage cyrillicA = image("windows-1251", "\xC0");
    EXPECT_EQ(image("koi8-r", "\xE1"), cyrillicA);
    EXPECT_NE(image("windows-1252", "\xC0"), cyrillicA);
    Editor().SetCharacterSet(*charset::FindCharacterSet("windows-1251"));
    EXPECT_EQ(Grab(), cyrillicA) << "the same bytes in another set";
    // The soft hyphen shows as a hyphen; KOI8-R has a box-drawing piece at its byte.
    EXPECT_EQ(image("windows-1251", "\xAD"), image("windows-1251", "-"));
    EXPECT_NE(image("koi8-r", "\xAD"), image("koi8-r", "-"));
}

TEST_F(DisplayTest, CutRemovesTheSelectionAndPasteOfForeignTextReplacesWhatHasNoByte) {
    SetLines({"one two"});
    Editor().SetSelection(1, 4, 1, 8, true);
    Editor().CutToClipboard();
    EXPECT_EQ(Editor().GetPara(1), "one");
    QGuiApplication::clipboard()->setText(QString::fromUtf8(" \u4E2D\u2019s\nnext"));
    Editor().PasteFromClipboard();
    EXPECT_EQ(Editor().GetPara(1), "one zhong\x92s");
    EXPECT_EQ(Editor().GetPara(2), "next");
}

TEST_F(DisplayTest, MouseClickPlacesTheCaretAndDragSelects) {
    SetLines({"abcdef", "ghijkl"});
    const auto cell = [&](int row, int column) {
        return QPoint(Editor().LeftMargin() + (column - 1) * Editor().CharWidth() + 1,
                      (row - 1) * Editor().LineHeight() + 2);
    };
    QWidget* view = Editor().viewport();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, cell(2, 3));
    EXPECT_EQ(Caret(), Pos(2, 3));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, cell(1, 2));
    QTest::mouseMove(view, cell(2, 5));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, cell(2, 5));
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{1, 2}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{2, 5}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, cell(1, 4));
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{1, 2}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{1, 4}));
}

TEST_F(DisplayTest, DoubleClickSelectsAWordAndItsBlanks) {
    SetLines({"one two, three"});
    const QPoint onTwo(Editor().LeftMargin() + 5 * Editor().CharWidth() + 1, 2);
    QTest::mouseDClick(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, onTwo);
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{1, 5}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{1, 8}));
}

TEST_F(DisplayTest, TheLeftMarginSelectsWholeLines) {
    SetLines({"abc", "def", "ghi"});
    QWidget* view = Editor().viewport();
    const QPoint margin(2, Editor().LineHeight() + 2);
    QTest::mouseMove(view, margin);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, margin);
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{2, 1}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{3, 1}));
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, margin);
    EXPECT_EQ(Editor().SelBegin(), (TParaPos{2, 1}));
    EXPECT_EQ(Editor().SelEnd(), (TParaPos{2, 4}));
}

TEST_F(DisplayTest, APressInAnEmptyEditorOnlyTakesTheFocus) {
    SetLines({});
    Editor().clearFocus();
    QTest::mouseClick(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    EXPECT_TRUE(Editor().hasFocus());
    EXPECT_EQ(Caret(), Pos(1, 1));
}

}  // namespace
}  // namespace tomery::editor::testing
