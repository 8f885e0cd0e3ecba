#include "EditMain_Compare.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "EditComp.h"
#include "EditMain_Document.h"
#include "OvcEdit.h"
#include "ProgramFolder.h"
#include "TextConversion.h"
#include "TextLines.h"
#include "ToolsFramework.h"

#include <filesystem>
#include <optional>

namespace tomery::app {

TCompareCommand::TCompareCommand(TModalUi& ui, editor::TOvcCustomEditor& editor,
                                 TCompareDlg& dialog, std::function<std::string()> currentFile,
                                 std::function<void()> showComparisonLog)
    : ui_(ui),
      editor_(editor),
      dialog_(dialog),
      currentFile_(std::move(currentFile)),
      showComparisonLog_(std::move(showComparisonLog)) {}

void TCompareCommand::Warn(const std::string& text) {
    ui_.MessageBox("Warning", text, TMsgIcon::Warning, {TMsgButton::Ok});
}

void TCompareCommand::Compare1Click() {
    std::string oldName;
    for (;;) {
        if (!ui_.ShowDialog(dialog_)) {
            return;
        }
        oldName = dialog_.FileName();
        std::error_code error;
        if (std::filesystem::exists(oldName, error)) {
            break;
        }
        Warn(oldName + "\nThis file cannot be found." +
             "\nMake sure that the correct path and filename are given");
    }
    std::string oldPath = oldName;
    if (IsDocFile(oldName)) {
        oldPath = ProgramFilePath("Conversion.txt");
        std::string scratchName;
        if (!doc::ConvertDocToText(oldName, oldPath, scratchName)) {
            ui_.MessageBox("Error", kConversionErrorText, TMsgIcon::Error, {TMsgButton::Ok});
            return;
        }
    }
    std::string oldText;
    std::string error;
    if (!ReadTextFile(oldPath, oldText, error)) {
        ui_.MessageBox("Error", "Error loading " + oldName + ": " + error, TMsgIcon::Error,
                       {TMsgButton::Ok});
        return;
    }
    // The older file is read as the document was: a UTF-8 text is compared in the document's
    // set, so that it equals the same text in the editor; a DOC file's text is its bytes.
    const std::optional<charset::TFileEncoding> encoding =
        IsDocFile(oldName) ? std::optional(charset::TFileEncoding::Bytes) : std::nullopt;
    const std::vector<std::string> oldLines =
        SplitTextLines(charset::DecodeText(oldText, editor_.CharacterSet(), encoding).Bytes);
    CompareWithFile(editor_, oldLines, currentFile_(), oldName, ProgramFilePath("Comparison.log"),
                    dialog_.IgnoreCase(), dialog_.IgnoreBlanks());
    showComparisonLog_();
}

bool TCompareCommand::CompareWithFile(editor::TOvcCustomEditor& editor,
                                      const std::vector<std::string>& oldLines,
                                      const std::string& newName, const std::string& oldName,
                                      const std::string& logPath, bool ignoreCase,
                                      bool ignoreBlanks) {
    tools::TWorkLines newLines;
    tools::ReadLines(editor, newLines);
    tables_.Reset({ignoreCase, ignoreBlanks});
    const std::string limit = std::to_string(compare::kMaxLines);
    if (!tables_.ReadNew(newLines)) {
        Warn("New file exceeds " + limit + " lines max.");
    }
    if (!tables_.ReadOld(oldLines)) {
        Warn("Old file exceeds " + limit + " lines max.");
    }
    tables_.Match();
    if (!compare::WriteComparisonLog(logPath, tables_.LogLines(newName, oldName))) {
        Warn("Unable to create log file");
        return false;
    }
    return true;
}

}  // namespace tomery::app
