#include "EditMain_Compare.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "EditComp.h"
#include "EditMain_Document.h"
#include "ProgramFolder.h"
#include "TextLines.h"
#include "ToolsFramework.h"

#include <filesystem>

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
    std::vector<std::string> oldLines;
    std::string error;
    if (!ReadTextFileLines(oldPath, oldLines, error)) {
        ui_.MessageBox("Error", "Error loading " + oldName + ": " + error, TMsgIcon::Error,
                       {TMsgButton::Ok});
        return;
    }
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
