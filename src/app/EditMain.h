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
class QPrinter;

namespace tomery::editor {
class TOvcControllerComponent;
class TOvcTextFileEditor;
struct TSplitLines;
}  // namespace tomery::editor
namespace tomery::viewer {
class TViewBox;
}
namespace tomery::charset {
class TCharacterSet;
class TReplacementLog;
}  // namespace tomery::charset

namespace tomery::app {

class TAboutBox;
class TInstallDlg;
class TEditorDocument;
class TCompareDlg;
class TCompareCommand;
class TStoredBookmarksCommand;
class TViewerCommands;
class TFindDlg;
class TReplDlg;
class THelpWindow;
class TStatistics1;
class TLogErrorBox;
class TUnsavedWorkGuard;

/// The values the whole program shares, set once when it starts.
struct TProgramValues {
    std::string BackupPath;           ///< target of Backup, source of Revert
    std::string ReformatCount = "0";  ///< the Reformat tools offer the last count again
    std::string SortColumn = "1";     ///< the Sort tools offer the last column again
    std::string ChapterPattern = "^(CHAPTER|Chapter)";  ///< Mark Chapters offers the last again
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
    TFindDlg& FindDlg() { return *FindDlg_; }
    TReplDlg& ReplDlg() { return *ReplDlg_; }
    TStatistics1& Statistics() { return *Statistics1; }
    THelpWindow* HelpWindow() { return HelpWindow_; }  ///< none before Help Contents
    bool LogoVisible() const;
    viewer::TViewBox& ViewBox() { return *ViewBox_; }
    TCompareDlg& CompareDlg() { return *CompareDlg_; }
    TViewerCommands& ViewerCommands() { return *viewerCommands_; }
    TUnsavedWorkGuard& WorkGuard() { return *workGuard_; }

    /// Chooses a menu item as a user does: the menus above it open (their handlers run), then
    /// the item runs if it is enabled.
    void Click(const std::string& item);
    /// Opens a file named at start as File > Open opens a chosen one.
    void OpenNamedFile(const std::string& path);
    /// At start: offers the work an earlier session left unsaved, and removes what its
    /// killed saves left.
    void OfferLeftWork();
    /// Opens a dropped file as the drop hook does; only the first of `paths` counts.
    void DropFiles(const std::vector<std::string>& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
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

    // Search menu (EditMain_Search.cpp).
    void Find1Click();
    void FindNext1Click();
    void Replace1Click();
    void GotoLine1Click();
    void ShowNotFound(const QString& searchText);

    // Character sets (EditMain_Charset.cpp).
    void ConnectCharsetCommands();
    void CharacterSet1Click();
    void ReopenWith1Click();
    /// The document's text is shown in `set`, which new and opened documents take too.
    void CharacterSetClick(const charset::TCharacterSet& set);
    std::string EncodingText() const;
    void ShowReplacedNotice(const charset::TReplacementLog& log);
    /// Tells that the document's long lines were cut into several paragraphs for editing.
    void ShowSplitLinesNotice(const editor::TSplitLines& split);

    // Options menu (EditMain_Options.cpp).
    void AutoIndentation1Click();
    void Font1Click();
    /// Shared by the three tab type items; `item` names the one clicked.
    void TabTypeClick(const std::string& item);
    void TabSize1Click();
    void WordWrap1Click();
    /// Whether the lines of files opened from now on, and those the tools, Enter and pasting
    /// end, lose their trailing blanks; a document already open was read as it was set then.
    void TrimTrailingBlanks1Click();
    /// The status bar again, for a change the editor does not report itself.
    void RefreshStatus();
    // Printing, File Information and the help window (EditMain_InfoCommands.cpp).
    void Print1Click();
    void FileInfo1Click();
    void Help2Click();

    // The Tools menu and File > Append (EditMain_Tools.cpp). A handler shared by a family of
    // items tells them apart by the item's name.
    void ConnectToolCommands();
    void Capitalize_Click(const std::string& item);
    void Indent1Click();
    void Reformat_Click(const std::string& item);
    void Remove_Click(const std::string& item);
    void ShowASCII_Click(const std::string& item);
    void Sort_Click(const std::string& item);
    void Space_Click(const std::string& item);
    void Tabulate_Click(const std::string& item);
    void Test1Click();
    void Test2Click();
    void DumpFile1Click();
    void Append1Click();
    // Tools > Mark Chapters (EditMain_Chapters.cpp).
    void MarkChapters1Click();

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
    std::unique_ptr<TUnsavedWorkGuard> workGuard_;
    std::unique_ptr<TIniFile> IniFile;
    TAboutBox* AboutBox_ = nullptr;  ///< created once, kept between showings
    TInstallDlg* InstallDlg_ = nullptr;
    TFindDlg* FindDlg_ = nullptr;  ///< created once; Find next reuses its contents
    TReplDlg* ReplDlg_ = nullptr;  ///< created once, kept between showings
    // The File Information dialog is created once; the printer with the print dialog's
    // choices and the help window at their first use. All are kept between showings.
    TStatistics1* Statistics1 = nullptr;
    std::unique_ptr<QPrinter> PrintDialog1Printer;
    THelpWindow* HelpWindow_ = nullptr;
    std::string BaseCaption;
    std::string LastOpenFile;
    // The folder "Copy to folder..." copied to last and the destination of the last install,
    // kept in the settings.
    std::string InstallFolder;
    std::string InstallTarget;

    /// The viewer and the compare dialog with their commands (EditMain_View.cpp).
    void ConnectViewerAndCompare();
    viewer::TViewBox* ViewBox_ = nullptr;
    TCompareDlg* CompareDlg_ = nullptr;
    std::unique_ptr<TViewerCommands> viewerCommands_;
    std::unique_ptr<TCompareCommand> compareCommand_;
    std::unique_ptr<TStoredBookmarksCommand> storedBookmarks_;
    std::unique_ptr<TLogErrorBox> logErrors_;
};

}  // namespace tomery::app
