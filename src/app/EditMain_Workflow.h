// The life of the main window's one document: new, open, save, save as, close, backup,
// revert, the Reopen list, the question before unsaved changes are lost, and the DOC road
// through "Conversion.txt".
#pragma once

#include "EditMain_Reopen.h"
#include "ModalUi.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tomery::app {

class TMainMenus;

/// What the workflow asks of the editor control. Load and save errors are raised as
/// exceptions; a failed load leaves the text that was there untouched, a successful one
/// makes the loaded file the editor's file name.
class TDocumentEditor {
  public:
    virtual ~TDocumentEditor() = default;
    virtual void SetFileName(const std::string& path) = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual std::int64_t TextLength() const = 0;  ///< bytes, a paragraph break counting two
    virtual void NewFile(const std::string& name) = 0;
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual void SaveToFile(const std::string& path) = 0;  ///< clears Modified
    /// Saves as SaveToFile does, but with CR LF line breaks whatever file the text came from:
    /// the DOC writer's intermediate text.
    virtual void SaveConversionText(const std::string& path) = 0;
    virtual void Close() = 0;                              ///< empties the editor
    virtual void ShowAndFocus() = 0;
    virtual void Hide() = 0;
};

class TDocumentWorkflow {
  public:
    /// `setCaption` sets the window caption; `showClosedStatus` shows the status bar as for
    /// line 0, column 0. `backupPath` is the target of Backup and the source of Revert.
    TDocumentWorkflow(TModalUi& ui, TDocumentEditor& editor, TMainMenus& menus,
                      std::string baseCaption, std::string backupPath,
                      std::function<void(const std::string&)> setCaption,
                      std::function<void()> showClosedStatus);

    const std::string& CurrentFile() const { return currentFile_; }
    const std::string& DocName() const { return docName_; }
    bool SaveDocCard() const { return saveDocCard_; }
    void SetSaveDocCard(bool show) { saveDocCard_ = show; }
    const TReopenList& ReopenList() const { return reopen_; }

    /// True when an action that would discard the document may go ahead. After Yes, only a
    /// save that took place lets it go ahead.
    bool SavePrompt();
    /// Loads a text or DOC file as the document. Returns false when the DOC conversion failed
    /// (after saying so); load errors are raised. Either way a failed open changes nothing.
    bool OpenDocument(const std::string& path);
    /// Opens `path` as Open, Reopen and a drop do: the document left enters the Reopen list
    /// once the open succeeded.
    void OpenInsteadOfCurrent(const std::string& path);
    void AddToReopen() { AddToReopen(currentFile_); }
    void ShowSaveDocNotice();
    void UpdateCaption();

    void New1Click();
    void Open1Click();
    /// The end of Open once a file is chosen: the Reopen list, the dialog's start, the open.
    void OpenNamedFile(const std::string& path);
    /// Saves; `saveAs` asks for a name first. Returns whether the text reached its file (and,
    /// for a DOC file, the DOC conversion succeeded); only then does the document take a new
    /// name.
    bool Save1Click(bool saveAs = false);
    void SaveAs1Click() { Save1Click(true); }
    void Close1Click();
    void Backup1Click();
    void Revert1Click();
    void Reopen1Handler(std::size_t entry);

    /// The Open and Save dialogs' remembered folder and file name.
    void SetDialogStart(const std::string& folder, const std::string& fileName);

    /// The Open dialog's remembered folder and file name, which Append and Dump File share.
    const std::string& OpenFolder() const { return openFolder_; }
    const std::string& OpenFileName() const { return openFileName_; }
    void SetOpenDialogStart(const std::string& folder, const std::string& fileName);
    /// The document takes another document name (an appended DOC file's); the caption follows.
    void SetDocName(const std::string& docName);

  private:
    void AddToReopen(const std::string& path);
    void EnableDocumentMenus(bool enabled);
    std::string ConversionTextPath() const;

    TModalUi& ui_;
    TDocumentEditor& editor_;
    TMainMenus& menus_;
    std::string baseCaption_;
    std::string backupPath_;
    std::function<void(const std::string&)> setCaption_;
    std::function<void()> showClosedStatus_;

    std::string currentFile_;  ///< "Untitled" for a new document; empty before the first
    std::string docName_;
    bool savedModified_ = false;
    bool saveDocCard_ = true;
    TReopenList reopen_;
    std::string openFolder_;  ///< Open dialog: initial folder and file name
    std::string openFileName_;
    std::string saveFolder_;  ///< Save dialog: initial folder
};

}  // namespace tomery::app
