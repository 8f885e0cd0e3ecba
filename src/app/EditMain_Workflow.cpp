#include "EditMain_Workflow.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "DocFormat.h"
#include "DocTextStream.h"
#include "EditMain_Document.h"
#include "EditMain_Menus.h"
#include "ErrorHandler.h"
#include "LongWork.h"
#include "PathText.h"
#include "ProgramFolder.h"

#include <QAction>

namespace tomery::app {

namespace {

/// A DOC file's text as the editor reads it while it is decoded; the progress is that of the
/// decoding, in bytes of the DOC file.
class TDocTextSource final : public editor::TTextStream {
  public:
    explicit TDocTextSource(doc::DocTextStream& stream) : stream_(stream) {}

    std::size_t Read(char* dest, std::size_t capacity) override {
        return stream_.Read(dest, capacity);
    }
    std::uint64_t WorkDone() const override { return stream_.SourceDone(); }
    std::uint64_t WorkTotal() const override { return stream_.SourceSize(); }

  private:
    doc::DocTextStream& stream_;
};

/// Runs `work` with the progress of long work over `window` told "`action` `path`"; without a
/// window, with no progress.
template <typename Work>
auto WithProgress(QWidget* window, const char* action, const std::string& path, Work work) {
    if (window == nullptr) {
        return work(TWorkProgress{});
    }
    TLongWork longWork(*window, QObject::tr(action).arg(PathForDisplay(FileNamePart(path))));
    return work(longWork.Progress());
}

}  // namespace

TDocumentWorkflow::TDocumentWorkflow(TModalUi& ui, TDocumentEditor& editor, TMainMenus& menus,
                                     std::string baseCaption, std::string backupPath,
                                     std::function<void(const std::string&)> setCaption,
                                     std::function<void()> showClosedStatus)
    : ui_(ui),
      editor_(editor),
      menus_(menus),
      baseCaption_(std::move(baseCaption)),
      backupPath_(std::move(backupPath)),
      setCaption_(std::move(setCaption)),
      showClosedStatus_(std::move(showClosedStatus)) {}

std::string TDocumentWorkflow::ConversionTextPath() const {
    return ProgramFilePath("Conversion.txt");
}

void TDocumentWorkflow::SetDialogStart(const std::string& folder, const std::string& fileName) {
    openFolder_ = folder;
    saveFolder_ = folder;
    openFileName_ = fileName;
}

void TDocumentWorkflow::SetOpenDialogStart(const std::string& folder, const std::string& fileName) {
    openFolder_ = folder;
    openFileName_ = fileName;
}

void TDocumentWorkflow::SetDocName(const std::string& docName) {
    docName_ = docName;
    UpdateCaption();
}

void TDocumentWorkflow::UpdateCaption() {
    setCaption_(CaptionFor(baseCaption_, currentFile_,
                           DocNameAsText(docName_, *editor_.CurrentReading().Set)));
}

void TDocumentWorkflow::EnableDocumentMenus(bool enabled) {
    for (const char* item : {"Append1", "Edit1", "Search1", "Tools1"}) {
        menus_.Item(item)->setEnabled(enabled);
    }
}

bool TDocumentWorkflow::SavePrompt() {
    if (!editor_.Modified() || editor_.TextLength() == 0) {
        return true;
    }
    switch (ui_.MessageBox("Confirm", SavePromptText(currentFile_), TMsgIcon::Confirmation,
                           {TMsgButton::Yes, TMsgButton::No, TMsgButton::Cancel})) {
        case TMsgButton::Yes:
            return Save1Click();
        case TMsgButton::No:
            return true;
        default:
            return false;
    }
}

bool TDocumentWorkflow::OpenDocument(const std::string& path, TReading reading) {
    // The reader empties the name it is given when a file fails late, so it converts into a
    // name of its own: a failed open must leave the current document's name as it was.
    std::string docName;
    doc::DocTextFindings findings;
    const bool isDoc = IsDocFile(path);
    if (isDoc) {
        // The DOC file holds bytes and records no set: whatever they look like, they stay.
        reading.Encoding = charset::TFileEncoding::Bytes;
    }
    // Loading replaces the text only when it succeeds, so a failed or cancelled open leaves
    // the document, the caption and the menus as they were.
    try {
        const bool loaded =
            WithProgress(workWindow_, "Opening %1", path, [&](const TWorkProgress& progress) {
                if (isDoc) {
                    return LoadDocText(path, reading, progress, docName, findings);
                }
                editor_.LoadFromFile(path, reading, progress);
                return true;
            });
        if (!loaded) {
            ui_.MessageBox("Error", kConversionErrorText, TMsgIcon::Error, {TMsgButton::Ok});
            return false;
        }
    } catch (const EWorkCancelled&) {
        return false;
    }
    editor_.SetStoredBookmarks(findings.bookmarks);
    currentFile_ = path;
    docName_ = std::move(docName);
    UpdateCaption();
    editor_.ShowAndFocus();
    EnableDocumentMenus(true);
    menus_.Item("InstallPDA1")->setEnabled(false);
    // The backup belongs to the document that was left.
    menus_.Item("Revert1")->setEnabled(false);
    documentOpen_ = true;
    RememberDiskFile();
    Settled();
    if (onOpened_) {
        onOpened_(path);
    }
    ReportLoadReplacements();
    if (findings.cutShort) {
        ui_.MessageBox("Warning", CutShortText(path), TMsgIcon::Warning, {TMsgButton::Ok});
    }
    return true;
}

bool TDocumentWorkflow::LoadDocText(const std::string& path, const TReading& reading,
                                    const TWorkProgress& progress, std::string& docName,
                                    doc::DocTextFindings& findings) {
    doc::ConversionOptions options = doc::BuiltInConversionOptions();
    if (options.binaryMode) {
        // Without the conversion of line ends, whether the text's lines end with LF is known
        // only once all of it is decoded: the text is read back from its file.
        options.progress = StepProgress(progress, 0, 500);
        if (!doc::ConvertDocToText(path, ConversionTextPath(), docName, options, &findings)) {
            return false;
        }
        editor_.LoadFromFile(ConversionTextPath(), reading, StepProgress(progress, 500, 1000));
        return true;
    }
    doc::DocTextStream decoded(path, ConversionTextPath(), options);
    TDocTextSource source(decoded);
    try {
        editor_.LoadFromStream(ConversionTextPath(), source, reading, progress);
    } catch (const EWorkCancelled&) {
        throw;
    } catch (...) {
        // A damaged file is told as a failed conversion, whatever stopped the load first; a
        // load that fails on a whole text (one too large) fails once "Conversion.txt" holds it.
        if (!decoded.Finish()) {
            return false;
        }
        throw;
    }
    decoded.Finish();
    docName = decoded.DocName();
    findings = decoded.Findings();
    return true;
}

void TDocumentWorkflow::ReportLoadReplacements() {
    const charset::TReplacementLog& replaced = editor_.LoadReplacements();
    lossy_ = !replaced.Empty();
    if (!lossy_) {
        return;
    }
    ui_.MessageBox("Information",
                   ReplacedOnReadingText(currentFile_, *editor_.CurrentReading().Set, replaced),
                   TMsgIcon::Information, {TMsgButton::Ok});
}

void TDocumentWorkflow::ReopenWith(const TReading& reading) {
    if (currentFile_.empty() || currentFile_ == kUntitled || !SavePrompt()) {
        return;
    }
    OpenDocument(currentFile_, reading);
}

void TDocumentWorkflow::OpenInsteadOfCurrent(const std::string& path) {
    const std::string left = currentFile_;
    if (OpenDocument(path)) {
        AddToReopen(left);
    }
}

void TDocumentWorkflow::AddToReopen(const std::string& path) {
    if (!reopen_.Add(path)) {
        return;
    }
    const std::size_t entry = reopen_.Count() - 1;
    // A listed file may be gone by the time it is chosen: its open error is shown, not fatal.
    menus_.AppendItem("Reopen1", reopen_.Caption(entry),
                      [this, entry] { RunGuarded(ui_, [&] { Reopen1Handler(entry); }); });
    menus_.Item("Reopen1")->setEnabled(true);
}

void TDocumentWorkflow::ShowSaveDocNotice() {
    if (!saveDocCard_ || !IsDocFile(currentFile_)) {
        return;
    }
    if (ui_.SaveDocNotice(SaveDocNoticeText(currentFile_, FileSizeKB(currentFile_)))) {
        saveDocCard_ = false;
    }
}

void TDocumentWorkflow::New1Click() {
    if (!SavePrompt()) {
        return;
    }
    editor_.NewFile(kUntitled, *defaultSet_);
    currentFile_ = kUntitled;
    docName_.clear();
    lossy_ = false;
    documentOpen_ = true;
    RememberDiskFile();
    Settled();
    UpdateCaption();
    editor_.ShowAndFocus();
    EnableDocumentMenus(true);
    // An untitled document is no DOC file, whatever was open before.
    menus_.Item("InstallPDA1")->setEnabled(false);
    menus_.Item("Revert1")->setEnabled(false);
}

void TDocumentWorkflow::Open1Click() {
    if (!SavePrompt()) {
        return;
    }
    TFileDialogRequest request{"Open a file", kDocFilter,    FilterIndexFor(openFileName_),
                               openFolder_,   openFileName_, ""};
    request.pathMustExist = true;
    request.fileMustExist = true;
    request.noReadOnlyReturn = true;
    const auto chosen = ui_.OpenFileName(request);
    if (chosen) {
        OpenNamedFile(*chosen);
    }
}

void TDocumentWorkflow::OpenNamedFile(const std::string& path) {
    openFolder_ = FolderPart(path);
    openFileName_ = path;
    OpenInsteadOfCurrent(path);
}

bool TDocumentWorkflow::Save1Click(bool saveAs) {
    std::string target = currentFile_;
    std::string docName = docName_;
    if (currentFile_ == kUntitled || saveAs) {
        TFileDialogRequest request{SaveDialogTitle(currentFile_),
                                   kDocFilter,
                                   FilterIndexFor(currentFile_),
                                   saveFolder_,
                                   currentFile_,
                                   ""};
        request.pathMustExist = true;
        request.overwritePrompt = true;
        const auto chosen = ui_.SaveFileName(request);
        if (!chosen) {
            return false;
        }
        saveFolder_ = FolderPart(*chosen);
        target = *chosen;
        if (IsDocFile(target)) {
            const auto typed =
                ui_.InputBox("Document Name",
                             "Enter name:", DocNameAsText(docName_, *editor_.CurrentReading().Set));
            if (typed) {
                docName = DocNameFromInput(*typed);
            }
        }
    } else if (lossy_ && !IsDocFile(target)) {
        bool saveAsInstead = false;
        if (!ConfirmLossySave(saveAsInstead)) {
            return saveAsInstead && Save1Click(true);
        }
    }
    if (target == currentFile_ && !MayOverwriteDiskFile()) {
        return false;
    }
    // The document takes the new name only once its text reached the file: a save that does
    // not save renames nothing and leaves the modified flag as it was.
    const bool wasModified = editor_.Modified();
    bool written = false;
    try {
        written =
            WithProgress(workWindow_, "Saving %1", target, [&](const TWorkProgress& progress) {
                return WriteDocument(target, docName, progress);
            });
    } catch (const EWorkCancelled&) {
        editor_.SetModified(wasModified);
        return false;
    } catch (...) {
        editor_.SetModified(wasModified);
        throw;
    }
    if (!written) {
        // The text reached only the intermediate file, not the DOC file.
        editor_.SetModified(wasModified);
        ui_.MessageBox("Error", kConversionErrorText, TMsgIcon::Error, {TMsgButton::Ok});
        return false;
    }
    // The file now holds the text as the document does: nothing more to lose by saving.
    lossy_ = false;
    if (target != currentFile_) {
        AddToReopen();
        currentFile_ = target;
        editor_.SetFileName(currentFile_);
    }
    docName_ = docName;
    // The file no longer holds the backed-up text, so bringing that text back is a change.
    savedModified_ = true;
    RememberDiskFile();
    Settled();
    UpdateCaption();
    ShowSaveDocNotice();
    return true;
}

bool TDocumentWorkflow::WriteDocument(const std::string& target, const std::string& docName,
                                      const TWorkProgress& progress) {
    if (!IsDocFile(target)) {
        editor_.SaveToFile(target, progress);
        return true;
    }
    // Writing the text takes about a quarter of the time its encoding takes.
    editor_.SaveConversionText(ConversionTextPath(), StepProgress(progress, 0, 250));
    doc::ConversionOptions options = doc::BuiltInConversionOptions();
    options.progress = StepProgress(progress, 250, 1000);
    return doc::ConvertTextToDoc(ConversionTextPath(), target, docName, options,
                                 editor_.StoredBookmarksToSave());
}

bool TDocumentWorkflow::ConfirmLossySave(bool& saveAsInstead) {
    const TReading reading = editor_.CurrentReading();
    const TMsgButton answer = ui_.MessageBox(
        "Warning",
        FileNamePart(currentFile_) + " had characters that " + reading.Set->ShortName() +
            " does not have; they were replaced when it was opened. Saving writes the "
            "replacements into the file.",
        TMsgIcon::Warning, {TMsgButton::Save, TMsgButton::SaveAs, TMsgButton::Cancel});
    saveAsInstead = answer == TMsgButton::SaveAs;
    return answer == TMsgButton::Save;
}

std::string TDocumentWorkflow::DocNameFromInput(const std::string& typed) {
    charset::TReplacementLog replaced;
    const std::string name = DocNameFromText(typed, *editor_.CurrentReading().Set, &replaced);
    // The document keeps the name its file will hold, not a longer one. A byte is a
    // character of the set, so the cut never splits one.
    const std::string stored = doc::StoredDocName(name);
    std::string notice;
    if (!replaced.Empty()) {
        notice += replaced.Details() + "\n";
    }
    if (stored.size() < name.size()) {
        notice += "A document name holds at most " + std::to_string(stored.size()) +
                  " characters: it was cut to \"" +
                  DocNameAsText(stored, *editor_.CurrentReading().Set) + "\".";
    }
    if (!notice.empty()) {
        ui_.MessageBox("Information", notice, TMsgIcon::Information, {TMsgButton::Ok});
    }
    return stored;
}

void TDocumentWorkflow::Close1Click() {
    if (!SavePrompt()) {
        return;
    }
    if (!currentFile_.empty()) {
        AddToReopen();
    }
    editor_.Hide();
    editor_.SetModified(false);
    editor_.Close();
    lossy_ = false;
    documentOpen_ = false;
    RememberDiskFile();
    Settled();
    setCaption_(baseCaption_);
    EnableDocumentMenus(false);
    menus_.Item("InstallPDA1")->setEnabled(false);
    menus_.Item("Revert1")->setEnabled(false);
    showClosedStatus_();
}

void TDocumentWorkflow::Backup1Click() {
    if (editor_.TextLength() == 0) {
        return;
    }
    savedModified_ = editor_.Modified();
    editor_.SaveToFile(backupPath_, {});
    editor_.SetModified(savedModified_);
    menus_.Item("Revert1")->setEnabled(true);
}

void TDocumentWorkflow::Revert1Click() {
    // The backup was written in the document's own encoding, which it keeps, and it is this
    // document's text: the stored bookmarks stay at their lines and columns.
    const std::vector<doc::TBookmarkPlace> bookmarks = editor_.StoredBookmarkPlaces();
    editor_.LoadFromFile(backupPath_, editor_.CurrentReading(), {});
    editor_.SetStoredBookmarks(bookmarks);
    editor_.SetModified(savedModified_);
    menus_.Item("Revert1")->setEnabled(false);
}

void TDocumentWorkflow::Reopen1Handler(std::size_t entry) {
    if (!SavePrompt()) {
        return;
    }
    OpenInsteadOfCurrent(reopen_.Path(entry));
}

}  // namespace tomery::app
