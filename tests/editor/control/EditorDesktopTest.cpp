// The control among the habits of a Linux desktop: keys on any layout, composed input, the
// primary selection, touchpad and sideways wheels, and errors raised by keys.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWheelEvent>

#include "EditorFixture.h"
#include "GuardedApplication.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;

/// XKB keycodes of the keys used below (the US layout's names).
constexpr quint32 kKey2 = 11, kKey3 = 12, kKey5 = 14, kKeyQ = 24, kKeyC = 54;

class DesktopTest : public EditorTest {
  protected:
    /// A key press as X11 delivers it: the layout's symbol, the key's place and its text.
    bool Press(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
        QApplication::sendEvent(&Editor(), &press);
        return press.isAccepted();
    }
    void Wheel(QPoint angleDelta) {
        QWheelEvent wheel(QPointF(50, 20), QPointF(50, 20), QPoint(), angleDelta, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Editor().viewport(), &wheel);
    }
    QPoint CellCentre(int row, int column) {
        return QPoint(Editor().LeftMargin() + (column - 1) * Editor().CharWidth() + 2,
                      (row - 1) * Editor().LineHeight() + 2);
    }
};

TEST_F(DesktopTest, BindingsFollowTheKeyWhateverTheLayout) {
    SetLines({"abc", "def"});
    Editor().SetCaretPosition(2, 2);
    Press(0xA7, Qt::ControlModifier | Qt::ShiftModifier, kKey3, "\u00A7");  // German Ctrl+Shift+3
    Editor().SetCaretPosition(1, 3);
    Press(Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier, kKey2, "2");  // French Ctrl+Shift+2
    Editor().SetCaretPosition(1, 1);
    Press(Qt::Key_3, Qt::ControlModifier, kKey3, "3");
    EXPECT_EQ(Caret(), Pos(2, 2));
    Press(Qt::Key_Eacute, Qt::ControlModifier, kKey2, "\u00E9");  // French Ctrl+2
    EXPECT_EQ(Caret(), Pos(1, 3));

    Editor().SelectAll(true);
    QGuiApplication::clipboard()->clear();
    Press(0x421, Qt::ControlModifier, kKeyC, "\u0421");  // Cyrillic Ctrl+C
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "abc\r\ndef\r\n");
    EXPECT_EQ(Editor().GetPara(1), "abc");
    EXPECT_EQ(Editor().GetPara(2), "def");
}

TEST_F(DesktopTest, CtrlTypesNoCharactersButLayoutSymbolsAreTyped) {
    SetLines({""});
    for (const auto& [key, text] :
         std::vector<std::pair<int, const char*>>{{Qt::Key_Semicolon, ";"},
                                                  {Qt::Key_Period, "."},
                                                  {Qt::Key_Minus, "-"},
                                                  {Qt::Key_Equal, "="},
                                                  {Qt::Key_Comma, ","}}) {
        Press(key, Qt::ControlModifier, 0, text);
    }
    EXPECT_EQ(Editor().GetPara(1), "");
    Press(Qt::Key_At, Qt::NoModifier, kKeyQ, "@");           // AltGr+Q, German
    Press(0xA7, Qt::ShiftModifier, kKey3, "\u00A7");         // Shift+3, German
    Press(Qt::Key_Eacute, Qt::NoModifier, kKey2, "\u00E9");  // 2, French
    Press(0x421, Qt::ShiftModifier, kKeyC, "\u0421");        // a Cyrillic letter
    EXPECT_EQ(Editor().GetPara(1), "@\xA7\xE9S");
}

TEST_F(DesktopTest, ComposedInputIsTypedInOneUndoStepWithTheTypingAroundIt) {
    EXPECT_TRUE(Editor().testAttribute(Qt::WA_InputMethodEnabled));
    SetLines({"abxd"});
    Editor().SetSelection(1, 3, 1, 4, true);
    QInputMethodEvent compose;
    compose.setCommitString(QString::fromUtf16(u"\u00E9\u20AC\u0142c"));  // l-stroke has no byte
    QApplication::sendEvent(&Editor(), &compose);
    EXPECT_EQ(Editor().GetPara(1),
              "ab\xE9\x80"
              "lcd");
    EXPECT_EQ(Caret(), Pos(1, 7));
    Run(ccUndo);
    EXPECT_EQ(Editor().GetPara(1), "abxd");

    // A dead key's character between typed keys: one Ctrl+Z takes the whole run.
    SetLines({""});
    Press(Qt::Key_C, Qt::NoModifier, kKeyC, "c");
    QInputMethodEvent deadKey;
    deadKey.setCommitString(QString::fromUtf16(u"\u00E9"));
    QApplication::sendEvent(&Editor(), &deadKey);
    Press(Qt::Key_T, Qt::NoModifier, 0, "t");
    EXPECT_EQ(Editor().GetPara(1), "c\xE9t");
    Run(ccUndo);
    EXPECT_EQ(Editor().GetPara(1), "");

    Editor().SetCaretPosition(1, 3);
    Settle();
    const QRect rect = Editor().inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(rect.topLeft(),
              Editor().viewport()->mapTo(&Editor(), Editor().Carets().CellPosition()));
    EXPECT_EQ(rect.height(), Editor().LineHeight());
}

class FakePrimarySelection : public TPrimarySelection {
  public:
    bool Available() const override { return true; }
    QString Text() const override { return text; }
    void SetText(const QString& selected) override { text = selected; }
    QString text;
};

TEST_F(DesktopTest, ASelectionIsOfferedAndAMiddleClickPastesItAtTheClick) {
    auto primary = std::make_shared<FakePrimarySelection>();
    Editor().SetPrimarySelection(primary);
    SetLines({"hello world", "xyz"});
    int changes = 0;
    Editor().OnChange = [&](TOvcCustomEditor&) { ++changes; };
    QTest::mousePress(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 7));
    QTest::mouseMove(Editor().viewport(), CellCentre(1, 12));
    QTest::mouseRelease(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 12));
    Settle();
    EXPECT_EQ(primary->text, "world");
    QTest::mouseClick(Editor().viewport(), Qt::MiddleButton, Qt::NoModifier, CellCentre(2, 2));
    EXPECT_EQ(Editor().GetPara(1), "hello world");
    EXPECT_EQ(Editor().GetPara(2), "xworldyz");
    EXPECT_EQ(changes, 1);
    primary->text = QString::fromUtf16(u"a\0b", 3);
    QTest::mouseClick(Editor().viewport(), Qt::MiddleButton, Qt::NoModifier, CellCentre(2, 1));
    EXPECT_EQ(Editor().GetPara(2), std::string("a\0bxworldyz", 11));

    Editor().SetReadOnly(true);
    QTest::mouseClick(Editor().viewport(), Qt::MiddleButton, Qt::NoModifier, CellCentre(2, 1));
    EXPECT_EQ(Editor().GetPara(2), std::string("a\0bxworldyz", 11));
}

TEST_F(DesktopTest, EnteredCharactersTheSetLacksAreReplacedAndReportedOncePerOperation) {
    using namespace std::string_view_literals;
    enum class TWay { Key, Paste, Compose };
    struct Case {
        const char* set;
        TWay way;
        std::u16string_view text;
        std::string para;
        std::vector<std::size_t> reports;  ///< the replaced characters of each report
    };
    const Case cases[] = {
        {"windows-1252", TWay::Key, u"\u0159", "r", {1}},  // ř on a Czech keyboard's 5 key
        {"windows-1252", TWay::Paste, u"\u0416\u0443\u043A\0\u0416"sv, {"Zhuk\0Zh", 7}, {4}},
        {"windows-1252", TWay::Compose, u"\u0159\u20AC\u0416\u0443\u043A", "r\x80Zhuk", {4}},
        {"windows-1250", TWay::Key, u"\u0159", "\xF8", {}},
        {"windows-1250", TWay::Paste, u"\u0159", "\xF8", {}},
    };
    std::vector<std::size_t> reports;
    Editor().OnCharactersReplaced = [&reports](TOvcCustomEditor&,
                                               const charset::TReplacementLog& log) {
        reports.push_back(log.Count());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.set) + " " + std::to_string(static_cast<int>(c.way)));
        Editor().SetCharacterSet(*charset::FindCharacterSet(c.set));
        SetLines({""});
        reports.clear();
        const QString text =
            QString::fromUtf16(c.text.data(), static_cast<qsizetype>(c.text.size()));
        if (c.way == TWay::Key) {
            Press(0x158, Qt::NoModifier, kKey5, text);
        } else if (c.way == TWay::Paste) {
            QGuiApplication::clipboard()->setText(text);
            Run(ccPaste);
        } else {
            QInputMethodEvent compose;
            compose.setCommitString(text);
            QApplication::sendEvent(&Editor(), &compose);
        }
        EXPECT_EQ(Editor().GetPara(1), c.para);
        EXPECT_EQ(reports, c.reports);
    }
}

TEST_F(DesktopTest, SmallWheelDeltasAddUpAndTheSidewaysWheelScrollsColumns) {
    SetLines(std::vector<std::string>(60, std::string(200, 'w')));
    FitRows(10);
    const int perNotch = QApplication::wheelScrollLines();
    Wheel(QPoint(0, -40));
    Wheel(QPoint(0, -40));
    EXPECT_EQ(Editor().TopLine(), 1);
    Wheel(QPoint(0, -40));
    EXPECT_EQ(Editor().TopLine(), 1 + perNotch);
    Wheel(QPoint(-60, 0));
    Wheel(QPoint(-60, 0));
    EXPECT_EQ(Editor().HorzOffset(), perNotch);
    for (int i = 0; i < 4; ++i) {
        Wheel(QPoint(120, 0));
    }
    EXPECT_EQ(Editor().HorzOffset(), 0);
}

TEST_F(DesktopTest, AnEditorErrorRaisedByAKeyEndsInTheErrorBox) {
    SetLines({std::string(32767, 'a')});
    Run(ccEnd);
    std::vector<std::string> boxes;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    auto& application = *static_cast<QApplication*>(QCoreApplication::instance());
    EXPECT_TRUE(NotifyGuarded(application, &Editor(), &key,
                              [&](const std::string& text) { boxes.push_back(text); }));
    EXPECT_EQ(
        boxes,
        (std::vector<std::string>{"Current operation will exceed the maximum paragraph size."}));
    EXPECT_EQ(Editor().GetPara(1).size(), 32767u);
}

}  // namespace
}  // namespace tomery::editor::testing
