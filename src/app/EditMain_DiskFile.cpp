// The document and its file on disk: changes other programs make to the file while it is
// open, and the copies left behind by sessions that ended without saving.
#include "EditMain_Workflow.h"

#include "DocFileRule.h"
#include "EditMain_Document.h"
#include "FileReplacement.h"
#include "ProgramFolder.h"
#include "RecoveryCopies.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace tomery::app {

namespace {

std::optional<charset::TFileEncoding> EncodingNamed(const std::string& name) {
    using charset::TFileEncoding;
    for (const TFileEncoding encoding : {TFileEncoding::Bytes, TFileEncoding::Utf8,
                                         TFileEncoding::Utf8Bom, TFileEncoding::Utf16Le,
                                         TFileEncoding::Utf16Be}) {
        if (charset::EncodingName(encoding) == name) {
            return encoding;
        }
    }
    return std::nullopt;
}

constexpr char kBookmarkField[] = "bookmark-";

/// A stored bookmark as a field of its own, in order: "LINE,COLUMN,NAME".
void AddBookmarkFields(const std::vector<doc::TBookmarkPlace>& places,
                       std::map<std::string, std::string>& fields) {
    for (std::size_t i = 0; i < places.size(); ++i) {
        char index[24];
        std::snprintf(index, sizeof index, "%05zu", i);
        fields[kBookmarkField + std::string(index)] = std::to_string(places[i].Line) + "," +
                                                      std::to_string(places[i].Column) + "," +
                                                      places[i].Name;
    }
}

std::vector<doc::TBookmarkPlace> BookmarkFields(const TStateFile& copy) {
    std::vector<doc::TBookmarkPlace> places;
    for (const auto& [name, value] : copy.Fields) {
        unsigned long line = 0;
        unsigned long column = 0;
        int used = 0;
        if (name.rfind(kBookmarkField, 0) == 0 &&
            std::sscanf(value.c_str(), "%lu,%lu,%n", &line, &column, &used) == 2 && used > 0) {
            places.push_back({value.substr(static_cast<std::size_t>(used)),
                              static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(column)});
        }
    }
    return places;
}

std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string TDocumentWorkflow::DiskFile() const {
    return documentOpen_ && currentFile_ != kUntitled ? currentFile_ : std::string();
}

void TDocumentWorkflow::RememberDiskFile() {
    disk_ = DiskFile().empty() ? TFileIdentity{} : IdentifyFile(currentFile_);
    keptOver_.reset();
    deletionReported_ = false;
}

void TDocumentWorkflow::Settled() {
    if (onSettled_) {
        onSettled_();
    }
}

bool TDocumentWorkflow::MayOverwriteDiskFile() {
    if (DiskFile().empty() || CheckFileOnDisk(disk_, currentFile_) != TDiskChange::Changed) {
        return true;
    }
    const TMsgButton answer = ui_.MessageBox(
        "Warning",
        FileNamePart(currentFile_) +
            " was changed by another program since it was opened or saved here.\n\n"
            "Overwrite it with the text in this window, reload it from disk, or cancel?",
        TMsgIcon::Warning, {TMsgButton::Overwrite, TMsgButton::Reload, TMsgButton::Cancel});
    if (answer == TMsgButton::Reload) {
        ReloadFromDisk(true);
    }
    return answer == TMsgButton::Overwrite;
}

void TDocumentWorkflow::ReloadFromDisk(bool askAboutChanges) {
    if (askAboutChanges && editor_.Modified() &&
        ui_.MessageBox("Confirm",
                       "Reloading " + FileNamePart(currentFile_) +
                           " from disk discards the changes made in this window. Reload?",
                       TMsgIcon::Confirmation, {TMsgButton::Yes, TMsgButton::No}) != TMsgButton::Yes) {
        return;
    }
    const std::int32_t paragraph = editor_.CaretParagraph();
    // Whatever the reload makes of the file, it is the file as it is now.
    RememberDiskFile();
    if (OpenDocument(currentFile_, editor_.CurrentReading())) {
        editor_.MoveCaretToParagraph(paragraph);
    }
}

void TDocumentWorkflow::CheckDiskFile() {
    if (checkingDisk_ || DiskFile().empty()) {
        return;
    }
    // A question shown here takes the focus away and gives it back: that is no new look.
    checkingDisk_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{checkingDisk_};
    switch (CheckFileOnDisk(disk_, currentFile_)) {
        case TDiskChange::None:
            return;
        case TDiskChange::Deleted:
            if (!deletionReported_) {
                deletionReported_ = true;
                // The text now exists only in this window.
                editor_.SetModified(true);
                Settled();
                ui_.MessageBox("Information",
                               FileNamePart(currentFile_) +
                                   " was deleted or moved by another program. Save writes it "
                                   "again.",
                               TMsgIcon::Information, {TMsgButton::Ok});
            }
            return;
        case TDiskChange::Changed:
            break;
    }
    if (!editor_.Modified()) {
        ReloadFromDisk(false);
        return;
    }
    if (keptOver_ && CheckFileOnDisk(*keptOver_, currentFile_) == TDiskChange::None) {
        return;  // already answered for the file as it is
    }
    const TMsgButton answer = ui_.MessageBox(
        "Warning",
        FileNamePart(currentFile_) +
            " was changed by another program, and the text in this window has changes of "
            "its own.\n\nReload the file from disk (the changes here are lost), or keep the "
            "text in this window?",
        TMsgIcon::Warning, {TMsgButton::Reload, TMsgButton::Keep});
    if (answer == TMsgButton::Reload) {
        ReloadFromDisk(false);
    } else {
        keptOver_ = IdentifyFile(currentFile_);
    }
}

std::map<std::string, std::string> TDocumentWorkflow::RecoveryFields() {
    const TReading reading = editor_.CurrentReading();
    const bool isDoc = IsDocFile(currentFile_);
    std::map<std::string, std::string> fields{{recovery::kFile, currentFile_},
            {recovery::kDocName, docName_},
            {recovery::kSet, reading.Set->Name()},
            {recovery::kEncoding,
             std::string(charset::EncodingName(isDoc ? charset::TFileEncoding::Bytes
                                                     : reading.Encoding.value_or(
                                                           charset::TFileEncoding::Bytes)))},
            {recovery::kKeptAt, LocalTimeNow()}};
    AddBookmarkFields(editor_.StoredBookmarkPlaces(), fields);
    return fields;
}

std::string TDocumentWorkflow::RecoveryText() {
    return editor_.TextBytes(IsDocFile(currentFile_));
}

bool TDocumentWorkflow::OpenLeftCopy(const TStateFile& copy, bool inPlace) {
    if (!SavePrompt()) {
        return false;
    }
    const std::string file = copy.Field(inPlace ? kCopyOfField : recovery::kFile);
    // The copy is read as its file would be: an in-place copy holds the file's own bytes, a
    // recovery copy the text saving would have written (a DOC document's conversion text).
    const std::string extension =
        inPlace ? std::filesystem::path(file).extension().string() : std::string(".txt");
    const std::string textPath = StateFolder() + "recovered" + extension;
    std::ofstream(textPath, std::ios::binary | std::ios::trunc) << copy.Body;
    TReading reading{defaultSet_, {}};
    if (!inPlace) {
        if (const charset::TCharacterSet* set =
                charset::FindCharacterSet(copy.Field(recovery::kSet))) {
            reading.Set = set;
        }
        reading.Encoding = EncodingNamed(copy.Field(recovery::kEncoding));
    }
    bool opened = false;
    try {
        opened = OpenDocument(textPath, reading);
    } catch (...) {
        std::filesystem::remove(textPath);
        throw;
    }
    std::filesystem::remove(textPath);
    if (opened) {
        if (!inPlace) {
            docName_ = copy.Field(recovery::kDocName);
            editor_.SetStoredBookmarks(BookmarkFields(copy));
        }
        currentFile_ = file.empty() ? std::string(kUntitled) : file;
        editor_.SetFileName(currentFile_);
        editor_.SetModified(true);
        RememberDiskFile();
        UpdateCaption();
        Settled();
    }
    return opened;
}

}  // namespace tomery::app
