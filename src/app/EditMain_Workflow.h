// The life of the main window's one document: new, open, save, save as, close, backup,
// revert, the Reopen list, the question before unsaved changes are lost, and the DOC road
// through "Conversion.txt".
#pragma once

#include "CharacterSet.h"
#include "Conversion.h"
#include "EditMain_Reopen.h"
#include "FileEncoding.h"
#include "FileIdentity.h"
#include "ModalUi.h"
#include "OvcTextFile.h"
#include "StateFile.h"
#include "WorkProgress.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tomery::app {

class TMainMenus;

/// How a file is read into the document: the 8-bit set it is held in, and the encoding it is
/// read as (told by its bytes when none is given).
struct TReading {
    const charset::TCharacterSet* Set = &charset::DefaultCharacterSet();
    std::optional<charset::TFileEncoding> Encoding;
};

/// What the workflow asks of the editor control. Load and save errors are raised as
/// exceptions; a failed load leaves the text that was there untouched, a successful one
/// makes the loaded file the editor's file name. Loads and saves tell `progress` how far
/// they got; its cancel raises EWorkCancelled, as a failure would.
class TDocumentEditor {
  public:
    virtual ~TDocumentEditor() = default;
    virtual void SetFileName(const std::string& path) = 0;
    virtual bool Modified() const = 0;
    /// Differs from an earlier reading when the text changed since.
    virtual std::uint64_t ChangeCount() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual std::int64_t TextLength() const = 0;  ///< bytes, a paragraph break counting two
    /// Empties the text and names it `name`; the text is held in `set`.
    virtual void NewFile(const std::string& name, const charset::TCharacterSet& set) = 0;
    /// A failed load leaves the text and its set as they were.
    virtual void LoadFromFile(const std::string& path, const TReading& reading,
                              const TWorkProgress& progress) = 0;
    /// LoadFromFile of the file `path` whose bytes of `reading`'s set `stream` makes as they
    /// are read: a DOC file's text being decoded.
    virtual void LoadFromStream(const std::string& path, editor::TTextStream& stream,
                                const TReading& reading, const TWorkProgress& progress) = 0;
    /// The set and encoding of the text as it was last read or saved.
    virtual TReading CurrentReading() const = 0;
    /// What the last load could not keep exactly: characters of a Unicode file the set lacks.
    virtual const charset::TReplacementLog& LoadReplacements() const = 0;
    /// Clears Modified.
    virtual void SaveToFile(const std::string& path, const TWorkProgress& progress) = 0;
    /// Saves as SaveToFile does, but as the set's bytes with CR LF line breaks whatever file
    /// the text came from: the DOC writer's intermediate text.
    virtual void SaveConversionText(const std::string& path, const TWorkProgress& progress) = 0;
    /// What SaveToFile (or, for `conversionText`, SaveConversionText) would write.
    virtual std::string TextBytes(bool conversionText) = 0;
    virtual std::int32_t CaretParagraph() const = 0;
    /// Puts the caret at the start of paragraph `para`, or of the last one when there are
    /// fewer.
    virtual void MoveCaretToParagraph(std::int32_t para) = 0;
    /// The bookmarks a DOC file stores, placed in the text just loaded; an editor that keeps
    /// none ignores them.
    virtual void SetStoredBookmarks(const std::vector<doc::TBookmarkPlace>& places) {
        static_cast<void>(places);
    }
    /// The stored bookmarks' lines and columns now.
    virtual std::vector<doc::TBookmarkPlace> StoredBookmarkPlaces() { return {}; }
    /// The stored bookmarks where they now stand in the text SaveConversionText writes.
    virtual std::vector<doc::TBookmarkToStore> StoredBookmarksToSave() { return {}; }
    virtual void Close() = 0;  ///< empties the editor
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
    /// Loads a text or DOC file as the document, held in the default set; a DOC file's text
    /// is its bytes, whatever they look like. Returns false when the DOC conversion failed
    /// (after saying so); load errors are raised. Either way a failed open changes nothing.
    bool OpenDocument(const std::string& path) { return OpenDocument(path, {defaultSet_, {}}); }
    bool OpenDocument(const std::string& path, TReading reading);
    /// File > Reopen with Character Set: the document's file read again as `reading` says,
    /// after the question about unsaved changes.
    void ReopenWith(const TReading& reading);
    /// Opens and saves over `window` show their progress when they take long.
    void SetWorkWindow(QWidget& window) { workWindow_ = &window; }
    /// The set new and opened documents are held in.
    const charset::TCharacterSet& DefaultSet() const { return *defaultSet_; }
    void SetDefaultSet(const charset::TCharacterSet& set) { defaultSet_ = &set; }
    /// The current document's file could not be held exactly; its next save asks first.
    bool SavingLosesCharacters() const { return lossy_; }
    /// Opens `path` as Open, Reopen and a drop do: the document left enters the Reopen list
    /// once the open succeeded.
    void OpenInsteadOfCurrent(const std::string& path);
    void AddToReopen() { AddToReopen(currentFile_); }
    /// Lists `path` in the Reopen menu (a file the last run left).
    void AddToReopen(const std::string& path);
    /// Runs with the path of every document opened.
    void SetOnOpened(std::function<void(const std::string&)> onOpened) {
        onOpened_ = std::move(onOpened);
    }
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

    /// Looks whether another program changed, replaced or deleted the document's file since
    /// it was opened or saved: an unmodified document is read again quietly, keeping the
    /// caret's paragraph; a modified one asks whether to reload it; a deleted file is reported
    /// once and its text counts as modified. Run when the window regains the focus and when
    /// the file or its folder changes.
    void CheckDiskFile();
    /// The document's file, for the watcher: "" while the document has no file of its own.
    std::string DiskFile() const;
    /// Called whenever the document's text may have reached its file or been let go: after
    /// saves, opens, New, Close, and when its file disappeared.
    void SetOnSettled(std::function<void()> onSettled) { onSettled_ = std::move(onSettled); }

    /// The fields a recovery copy of the document keeps beside its text: its file, document
    /// name, set, encoding and stored bookmarks.
    std::map<std::string, std::string> RecoveryFields();
    /// The text a recovery copy keeps: what saving the document would write.
    std::string RecoveryText();
    /// Opens a copy left behind as the document, modified, under its file's name: a recovery
    /// copy's text, or an interrupted in-place save's old contents (`inPlace`). Asks about
    /// unsaved changes first; false when the document stayed.
    bool OpenLeftCopy(const TStateFile& copy, bool inPlace);

    /// The Open dialog's remembered folder and file name, which Append and Dump File share.
    const std::string& OpenFolder() const { return openFolder_; }
    const std::string& OpenFileName() const { return openFileName_; }
    void SetOpenDialogStart(const std::string& folder, const std::string& fileName);
    /// The document takes another document name (an appended DOC file's); the caption follows.
    void SetDocName(const std::string& docName);

  private:
    /// Tells what a load replaced; from then on saving the file asks first.
    void ReportLoadReplacements();
    /// The question before a save writes replaced characters into their file: true to save.
    bool ConfirmLossySave(bool& saveAsInstead);
    /// The typed document name in the document's set, cut to what the DOC file holds; says
    /// what was replaced or cut.
    std::string DocNameFromInput(const std::string& typed);
    void EnableDocumentMenus(bool enabled);
    std::string ConversionTextPath() const;
    /// Loads the DOC file `path`'s text, decoded into "Conversion.txt" as it is read; false
    /// when the conversion failed (before or after the load), after which nothing changed.
    bool LoadDocText(const std::string& path, const TReading& reading,
                     const TWorkProgress& progress, std::string& docName,
                     doc::DocTextFindings& findings);
    /// Writes the document to `target` (through "Conversion.txt" for a DOC file named
    /// `docName`); false when the DOC conversion failed. Raises what the save raised.
    bool WriteDocument(const std::string& target, const std::string& docName,
                       const TWorkProgress& progress);
    /// The document's file is as it is on disk now: later changes by others are noticed.
    void RememberDiskFile();
    void Settled();
    /// Before a save writes over the document's own file: when another program changed it,
    /// asks whether to overwrite it, reload it or cancel. True to go on saving.
    bool MayOverwriteDiskFile();
    /// Reads the document's file again, after asking about unsaved changes, keeping the
    /// caret's paragraph.
    void ReloadFromDisk(bool askAboutChanges);

    TModalUi& ui_;
    TDocumentEditor& editor_;
    QWidget* workWindow_ = nullptr;
    TMainMenus& menus_;
    std::string baseCaption_;
    std::string backupPath_;
    std::function<void(const std::string&)> setCaption_;
    std::function<void()> showClosedStatus_;

    std::string currentFile_;  ///< "Untitled" for a new document; empty before the first
    std::string docName_;
    bool savedModified_ = false;
    bool saveDocCard_ = true;
    bool lossy_ = false;
    bool documentOpen_ = false;  ///< a document shows, between New or Open and Close
    TFileIdentity disk_;         ///< the document's file when it was last read or written
    /// The file as it was when the user chose to keep the window's text over it.
    std::optional<TFileIdentity> keptOver_;
    bool deletionReported_ = false;
    bool checkingDisk_ = false;
    std::function<void()> onSettled_;
    std::function<void(const std::string&)> onOpened_;
    const charset::TCharacterSet* defaultSet_ = &charset::DefaultCharacterSet();
    TReopenList reopen_;
    std::string openFolder_;  ///< Open dialog: initial folder and file name
    std::string openFileName_;
    std::string saveFolder_;  ///< Save dialog: initial folder
};

}  // namespace tomery::app
