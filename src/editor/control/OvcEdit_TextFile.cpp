// The text file editor: loading and saving plain text files, the backup copy, the file name.
#include <strings.h>
#include <sys/stat.h>
#include <cstdio>

#include "OvcEdit.h"
#include "OvcEdit_BusyCursor.h"
#include "OvcTextFile.h"

namespace tomery::editor {

namespace {

/// A limit reached while loading: the three limits keep their codes, anything else is
/// memory.
TEditorErrorCode LoadErrorCode(TEditorErrorCode code) {
    switch (code) {
        case kErrorTooManyParas:
        case kErrorTextTooLarge:
        case kErrorParaTooLong:
            return code;
        default:
            return kErrorOutOfMemory;
    }
}

bool FileExists(const std::string& name) {
    struct stat info;
    return ::stat(name.c_str(), &info) == 0;
}

}  // namespace

void TOvcCustomTextFileEditor::SetBackupExt(std::string extension) {
    extension.resize(std::min<std::size_t>(extension.size(), 3));
    backupExt_ = std::move(extension);
}

void TOvcCustomTextFileEditor::SetFileName(const std::string& name) {
    if (::strcasecmp(name.c_str(), fileName_.c_str()) == 0) {
        return;
    }
    isOpen_ = false;
    fileName_ = NormalizeFileName(name);
}

void TOvcCustomTextFileEditor::SetIsOpen(bool open) {
    if (open == isOpen_ || fileName_.empty()) {
        return;
    }
    if (open) {
        LoadFromFile(fileName_);
    } else {
        isOpen_ = false;
        ResetText(true);
        RefreshAll(true);
    }
}

void TOvcCustomTextFileEditor::LoadFromFile(const std::string& name) {
    LoadWithProgress(name, std::nullopt, {});
}

void TOvcCustomTextFileEditor::LoadFromFileAs(const std::string& name,
                                              charset::TFileEncoding encoding) {
    LoadWithProgress(name, encoding, {});
}

void TOvcCustomTextFileEditor::LoadFromMemory(const std::string& name, std::string_view bytes) {
    const TBusyCursor busy;
    TTextFileReader reader(TInMemoryText{bytes}, CharacterSet(), charset::TFileEncoding::Bytes);
    loadFrom(reader, NormalizeFileName(name));
}

void TOvcCustomTextFileEditor::LoadWithProgress(const std::string& name,
                                                std::optional<charset::TFileEncoding> forced,
                                                const TWorkProgress& progress) {
    const std::string normalized = NormalizeFileName(name);
    const TBusyCursor busy;
    TTextFileReader reader(normalized, CharacterSet(), forced, progress);
    loadFrom(reader, normalized);
}

void TOvcCustomTextFileEditor::LoadFromStream(const std::string& name, TTextStream& stream,
                                              const TWorkProgress& progress) {
    const TBusyCursor busy;
    TTextFileReader reader(stream, CharacterSet(), progress);
    loadFrom(reader, NormalizeFileName(name));
}

void TOvcCustomTextFileEditor::loadFrom(TTextFileReader& reader, const std::string& name) {
    // The text is read into a store of its own, which replaces the text only when all of it
    // was read: a failed load keeps the text, and the name it belongs to, as they were, so
    // that saving afterwards can never write the old text over the file that failed.
    std::unique_ptr<TParaList> list = NewParaList();
    TSplitLines split;
    const TTrimBlanks trim = trimBlanks();
    std::string line;
    for (std::int64_t number = 1; reader.ReadLine(line); ++number) {
        const std::int32_t parasBefore = list->ParaCount();
        if (const TEditorErrorCode code = list->AppendLine(line, trim)) {
            throw EEditorError(LoadErrorCode(code));
        }
        if (list->ParaCount() - parasBefore > 1 && split.Count++ == 0) {
            split.FirstLine = number;
        }
    }
    SwapParaList(std::move(list));
    fileName_ = name;
    lineBreak_ = reader.LineBreak();
    fileEncoding_ = reader.Encoding();
    loadReplacements_ = reader.Replacements();
    loadSplitLines_ = split;
    isOpen_ = true;
    RefreshAll(true);
}

void TOvcCustomTextFileEditor::SaveToFile(const std::string& name) {
    SaveWithProgress(name, {});
}

void TOvcCustomTextFileEditor::SaveWithProgress(const std::string& name,
                                                const TWorkProgress& progress) {
    if (name.empty()) {
        return;
    }
    const TBusyCursor busy;
    std::string backup;
    if (makeBackup_ && FileExists(name)) {
        backup = BackupFileName(name, backupExt_);
        if (backup != name) {
            std::remove(backup.c_str());
            std::rename(name.c_str(), backup.c_str());
        }
    }
    try {
        TTextFileWriter writer(name, CharacterSet(), fileEncoding_);
        writeText(writer, progress);
    } catch (const EWorkCancelled&) {
        // The file the backup was made of is the file the user kept.
        if (!backup.empty() && backup != name) {
            std::rename(backup.c_str(), name.c_str());
        }
        throw;
    }
    SetModified(false);
}

std::string TOvcCustomTextFileEditor::FileBytes() {
    std::string bytes;
    TTextFileWriter writer(bytes, CharacterSet(), fileEncoding_);
    writeText(writer);
    return bytes;
}

void TOvcCustomTextFileEditor::writeText(TTextFileWriter& writer, const TWorkProgress& progress) {
    const auto total = static_cast<std::uint64_t>(TextLength());
    std::uint64_t written = 0;
    TProgressStep step(TTextFileReader::kProgressStep);
    for (const TParaNode* para = ParaList().Head(); para != nullptr; para = para->Next) {
        if (para->Next == nullptr && para->Length() == 0) {
            break;
        }
        written += static_cast<std::uint64_t>(para->Length()) + 2;
        if (progress && step.Due(written)) {
            ReportProgress(progress, written, total);
        }
        writer.Write(para->Text());
        if (LineEndFollows(*para)) {
            writer.Write(LineBreakBytes(lineBreak_));
        }
    }
    writer.Close();
}

void TOvcCustomTextFileEditor::NewFile(const std::string& name) {
    ResetText(true);
    RefreshAll(true);
    SetFileName(name);
    lineBreak_ = TLineBreak::CrLf;
    fileEncoding_ = charset::TFileEncoding::Bytes;
    loadReplacements_.Clear();
    loadSplitLines_ = {};
}

}  // namespace tomery::editor
