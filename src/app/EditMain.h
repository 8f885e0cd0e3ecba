// The main window: one editor control, the logo while no document is open, the menus, the
// status bar, the settings file, dropped files, and the life of the edited document.
#pragma once

#include "EditMain_Menus.h"
#include "EditMain_Settings.h"
#include "EditMain_Status.h"
#include "EditMain_Workflow.h"
#include "ModalUi.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMenu;

namespace tomery::editor {
class TOvcControllerComponent;
class TOvcTextFileEditor;
}  // namespace tomery::editor
namespace tomery::viewer {
class TViewBox;
}

namespace tomery::app {

class TAboutBox;
class TInstallDlg;
class TEditorDocument;
class TCompareDlg;
class TCompareCommand;
class TViewerCommands;

/// The values the whole program shares, set once when it starts.
struct TProgramValues {
    std::string BackupPath;                ///< target of Backup, source of Revert
    std::string ReformatCount = "0";       ///< the Reformat tools offer the last count again
    std::string SortColumn = "1";          ///< the Sort tools offer the last column again
    std::vector<std::string> ReloadPaths;  ///< the viewer's Reload list; the Reopen list is
                                           ///< the workflow's TReopenList
};

class TEditForm : public QMainWindow {
    Q_OBJECT
  public:
    /// `ui` answers every modal question of the window; without one the window asks the user
    /// through Qt's dialogs. Creating the window reads the settings (FormCreate).
    explicit TEditForm(std::unique_ptr<TModalUi> ui = nullptr, QWidget* parent = nullptr);
    /// Writes the settings (FormDestroy).
    ~TEditForm() override;

    editor::TOvcTextFileEditor& Editor() { return *Editor1; }
    TMainMenus& Menus() { return *menus_; }
    TDocumentWorkflow& Workflow() { return *workflow_; }
    const TStatusPanels& Status() const { return *status_; }
    TModalUi& Ui() { return *ui_; }
    const TProgramValues& ProgramValues() const { return programValues_; }
    TAboutBox& AboutBox() { return *AboutBox_; }
    TInstallDlg& InstallDialog() { return *InstallDlg_; }
    bool LogoVisible() const;
    viewer::TViewBox& ViewBox() { return *ViewBox_; }
    TCompareDlg& CompareDlg() { return *CompareDlg_; }
    TViewerCommands& ViewerCommands() { return *viewerCommands_; }

    /// Chooses a menu item as a user does: the menus above it open (their handlers run), then
    /// the item runs if it is enabled.
    void Click(const std::string& item);
    /// Opens a file named at start as File > Open opens a chosen one.
    void OpenNamedFile(const std::string& path);
    /// Opens a dropped file as the drop hook does; only the first of `paths` counts.
    void DropFiles(const std::vector<std::string>& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void CenterLogo();
    void ShowStatus(std::int32_t line, std::int32_t column);
    void ConnectCommands();
    /// `command` run inside the application's error handler.
    std::function<void()> Guarded(std::function<void()> command);
    TEditorFacts EditorFacts() const;

    void File1Click();
    void Edit1Click();
    void Search1Click();
    void PopupMenu1Popup() { Edit1Click(); }
    void UndoClick();
    void RedoClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void Delete1Click();
    void SelectAll1Click();
    void ClearAll1Click();
    void Exit1Click() { close(); }
    void About1Click();
    void InstallPDA1Click();

    TProgramValues programValues_;
    std::unique_ptr<TModalUi> ui_;
    QWidget* client_ = nullptr;  ///< the area above the status bar
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    editor::TOvcControllerComponent* DefaultController = nullptr;
    editor::TOvcTextFileEditor* Editor1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    std::unique_ptr<TMainMenus> menus_;
    std::unique_ptr<TStatusPanels> status_;
    std::unique_ptr<TEditorDocument> document_;
    std::unique_ptr<TDocumentWorkflow> workflow_;
    std::unique_ptr<TIniFile> IniFile;
    TAboutBox* AboutBox_ = nullptr;  ///< created once, kept between showings
    TInstallDlg* InstallDlg_ = nullptr;
    std::string BaseCaption;
    std::string LastOpenFile;

    /// The viewer and the compare dialog with their commands (EditMain_View.cpp).
    void ConnectViewerAndCompare();
    viewer::TViewBox* ViewBox_ = nullptr;
    TCompareDlg* CompareDlg_ = nullptr;
    std::unique_ptr<TViewerCommands> viewerCommands_;
    std::unique_ptr<TCompareCommand> compareCommand_;
};

}  // namespace tomery::app
