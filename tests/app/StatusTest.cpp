#include "EditMain_Menus.h"
#include "EditMain_Status.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <memory>

namespace tomery::app {
namespace {

TEST(StatusPanels, ShowTheEditorsStateFromPanelOne) {
    QMainWindow window;
    TStatusPanels panels(window.statusBar());
    panels.ShowStatus({});
    EXPECT_EQ(panels.PanelText(0), "");
    EXPECT_EQ(panels.PanelText(1), "");
    EXPECT_EQ(panels.PanelText(2), "Line 0");
    EXPECT_EQ(panels.PanelText(3), "Col 0");
    EXPECT_EQ(panels.PanelText(4), "Tab Size 8");
    EXPECT_EQ(panels.PanelText(5), "Insert");
    panels.ShowStatus({true, 12, 40, 4, false, EncodingStatusText("Windows-1251", "UTF-8", true)});
    EXPECT_EQ(panels.PanelText(1), "Modified");
    EXPECT_EQ(panels.PanelText(2), "Line 12");
    EXPECT_EQ(panels.PanelText(3), "Col 40");
    EXPECT_EQ(panels.PanelText(4), "Tab Size 4");
    EXPECT_EQ(panels.PanelText(5), "Overwrite");
    EXPECT_EQ(panels.PanelText(TStatusPanels::kEncodingPanel),
              "UTF-8 \u2192 Windows-1251 \u00B7 LF");
    EXPECT_EQ(EncodingStatusText("Windows-1252", "", false), "Windows-1252 \u00B7 CR LF");
}

TEST(StatusPanels, TheSetPanelNeverSqueezesTheOthersInTheFirstRunsWindow) {
    QMainWindow window;
    TStatusPanels panels(window.statusBar());
    panels.ShowStatus(
        {false, 1, 1, 8, true, EncodingStatusText("Windows-1252", "UTF-8 BOM", false)});
    window.resize(600, 400);
    window.show();
    QApplication::processEvents();
    int right = 0;
    for (QLabel* panel : window.statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!panel->isVisible()) {
            continue;
        }
        EXPECT_GE(panel->x(), right) << panel->text().toStdString();
        right = panel->x() + panel->width();
    }
}

TEST(StatusPanels, TheLongestValuesFitTheirPanels) {
    QMainWindow window;
    TStatusPanels panels(window.statusBar());
    panels.ShowStatus({true, 12345678, 32767, 255, false, ""});
    window.show();
    QApplication::processEvents();
    for (QLabel* panel : window.statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (panel->isVisible() && !panel->text().isEmpty() &&
            panel->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored) {
            EXPECT_GE(panel->contentsRect().width(),
                      panel->fontMetrics().horizontalAdvance(panel->text()))
                << panel->text().toStdString();
        }
    }
}

class MenuRules : public ::testing::Test {
  protected:
    bool On(const char* item) const { return menus.Item(item)->isEnabled(); }

    QMainWindow window;
    TMainMenus menus{&window, window.menuBar(), new QMenu(&window)};
};

TEST_F(MenuRules, FileMenuFollowsTheTextAndTheFile) {
    ApplyFileMenuRules(menus, {0, false}, "/a/notes.txt");
    EXPECT_FALSE(On("Print1") || On("Save1") || On("SaveAs1") || On("FileInfo1"));
    ApplyFileMenuRules(menus, {10, true}, "/a/notes.txt");
    EXPECT_TRUE(On("Print1") && On("Save1") && On("SaveAs1") && On("FileInfo1"));
    EXPECT_FALSE(On("InstallPDA1"));
    ApplyFileMenuRules(menus, {10, false}, "/a/book.PDB");
    EXPECT_TRUE(On("InstallPDA1"));
    EXPECT_FALSE(On("Save1"));
    ApplyFileMenuRules(menus, {10, false}, "Untitled");
    EXPECT_FALSE(On("FileInfo1"));
}

TEST_F(MenuRules, EditAndPopupMenusAgreeOnTheClipboardCommands) {
    ApplyEditMenuRules(menus, {5, false, false, true, false}, true);
    EXPECT_FALSE(On("Cut1") || On("Copy1") || On("Cut2") || On("Copy2"));
    EXPECT_TRUE(On("Paste1") && On("Paste2"));
    EXPECT_TRUE(On("Undo1"));
    EXPECT_FALSE(On("Redo1"));
    EXPECT_TRUE(On("SelectAll1") && On("ClearAll1"));
    ApplyEditMenuRules(menus, {0, false, true, false, true}, false);
    EXPECT_TRUE(On("Cut1") && On("Copy2"));
    EXPECT_FALSE(On("Paste1") || On("Paste2") || On("SelectAll1") || On("ClearAll1"));
    EXPECT_TRUE(On("Delete1")) << "Delete is never disabled";
}

TEST_F(MenuRules, FindNextWaitsForASearchText) {
    ApplySearchMenuRules(menus, 100, "");
    EXPECT_TRUE(On("Find1") && On("Replace1") && On("GoToLine1"));
    EXPECT_FALSE(On("FindNext1"));
    ApplySearchMenuRules(menus, 100, "dark");
    EXPECT_TRUE(On("FindNext1"));
    ApplySearchMenuRules(menus, 0, "dark");
    EXPECT_FALSE(On("Find1") || On("FindNext1") || On("GoToLine1"));
}

}  // namespace
}  // namespace tomery::app
