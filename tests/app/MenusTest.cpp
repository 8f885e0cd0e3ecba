#include "EditMain_Menus.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tomery::app {
namespace {

/// A window with the menus and a focused child that counts the keys reaching it.
class MenuWindow : public ::testing::Test {
  protected:
    class KeyCounter : public QWidget {
      public:
        int keys = 0;

      protected:
        void keyPressEvent(QKeyEvent* event) override {
            const int key = event->key();
            if (key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt) {
                ++keys;
            }
        }
    };

    void SetUp() override {
        window = std::make_unique<QMainWindow>();
        popup = new QMenu(window.get());
        menus = std::make_unique<TMainMenus>(window.get(), window->menuBar(), popup);
        editor = new KeyCounter;
        editor->setFocusPolicy(Qt::StrongFocus);
        window->setCentralWidget(editor);
        window->show();
        QApplication::setActiveWindow(window.get());
        editor->setFocus();
        QApplication::processEvents();
    }

    QString Caption(const std::string& name) const {
        return menus->Item(name)->text().section('\t', 0, 0);
    }

    std::unique_ptr<QMainWindow> window;
    QMenu* popup = nullptr;
    KeyCounter* editor = nullptr;
    std::unique_ptr<TMainMenus> menus;
};

TEST_F(MenuWindow, HoldsTheDesignedMenusInOrder) {
    QStringList top;
    for (QAction* action : window->menuBar()->actions()) {
        top << action->text();
    }
    EXPECT_EQ(top,
              (QStringList{"&File", "&Edit", "&Search", "&Tools", "&View", "&Options", "&Help"}));
    QStringList help;
    for (QAction* action : menus->Menu("Help1")->actions()) {
        help << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(help, (QStringList{"&Help Contents", "-", "&About Tomery"}));
    QStringList popupItems;
    for (QAction* action : popup->actions()) {
        popupItems << action->text();
    }
    EXPECT_EQ(popupItems, (QStringList{"Cu&t", "&Copy", "&Paste"}));
}

TEST_F(MenuWindow, StartsWithTheDesignedStates) {
    for (const char* off : {"Append1", "Reopen1", "Save1", "SaveAs1", "FileInfo1", "Print1",
                            "InstallPDA1", "Edit1", "Search1", "Tools1", "Find1", "Replace1",
                            "FindNext1", "GoToLine1", "Revert1", "Reload1"}) {
        EXPECT_FALSE(menus->Item(off)->isEnabled()) << off;
    }
    for (const char* on : {"New1", "Open1", "Close1", "Exit1", "Undo1", "Delete1", "Backup1",
                           "View1", "Options1", "Help1"}) {
        EXPECT_TRUE(menus->Item(on)->isEnabled()) << on;
    }
    EXPECT_TRUE(menus->Item("Filled1")->isChecked());
    EXPECT_FALSE(menus->Item("Real1")->isChecked());
    EXPECT_TRUE(menus->Item("WordWrap1")->isChecked());
    EXPECT_FALSE(menus->Item("AutoIndentation1")->isChecked());
    EXPECT_EQ(Caption("SaveAs1"), "Save &as...");
    EXPECT_EQ(menus->Item("Redo1")->text().section('\t', 1),
              QKeySequence("Shift+Ctrl+Z").toString(QKeySequence::NativeText));
}

TEST_F(MenuWindow, AShortcutRunsTheOpenHandlersFirstAndTakesTheKey) {
    menus->Item("Edit1")->setEnabled(true);
    std::vector<std::string> calls;
    menus->SetOpenHandler("Edit1", [&] { calls.push_back("Edit1Click"); });
    menus->SetCommand("Undo1", [&] { calls.push_back("UndoClick"); });
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(calls, (std::vector<std::string>{"Edit1Click", "UndoClick"}));
    EXPECT_EQ(editor->keys, 0);
}

TEST_F(MenuWindow, AShortcutOfAnItemDisabledByTheOpenHandlerDoesNothing) {
    menus->Item("Edit1")->setEnabled(true);
    bool undone = false;
    menus->SetOpenHandler("Edit1", [&] { menus->Item("Undo1")->setEnabled(false); });
    menus->SetCommand("Undo1", [&] { undone = true; });
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(undone);
    EXPECT_EQ(editor->keys, 0) << "the key never reaches the editor";
}

TEST_F(MenuWindow, AShortcutUnderADisabledMenuRunsNothing) {
    bool opened = false;
    bool found = false;
    menus->SetOpenHandler("Search1", [&] { opened = true; });
    menus->SetCommand("FindNext1", [&] { found = true; });
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(found);
    EXPECT_EQ(editor->keys, 0);
}

TEST_F(MenuWindow, PlainKeysStillReachTheEditor) {
    QTest::keyClick(editor, Qt::Key_A);
    EXPECT_EQ(editor->keys, 1);
}

}  // namespace
}  // namespace tomery::app
