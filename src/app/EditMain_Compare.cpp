#include "EditMain_Compare.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "EditComp.h"
#include "EditMain_Document.h"
#include "OvcEdit.h"
#include "ProgramFolder.h"
#include "TextConversion.h"
#include "TextLines.h"
#include "ToolWork.h"
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
    // Decoding and reading a big older file is long work; the comparison itself reads no more
    // lines than it compares.
    std::string error;
    const std::optional<std::vector<std::string>> oldLines = RunToolWork(
        *editor_.window(), QStringLiteral("Reading the older file"),
        [&](const TWorkProgress& progress) { return ReadOldLines(oldName, progress, error); });
    if (!oldLines) {
        return;
    }
    if (!error.empty()) {
        ui_.MessageBox("Error", error, TMsgIcon::Error, {TMsgButton::Ok});
        return;
    }
    CompareWithFile(editor_, *oldLines, currentFile_(), oldName, ProgramFilePath("Comparison.log"),
                    dialog_.IgnoreCase(), dialog_.IgnoreBlanks());
    showComparisonLog_();
}

std::vector<std::string> TCompareCommand::ReadOldLines(const std::string& oldName,
                                                       const TWorkProgress& progress,
                                                       std::string& error) {
    const bool doc = IsDocFile(oldName);
    std::string oldPath = oldName;
    if (doc) {
        oldPath = ProgramFilePath("Conversion.txt");
        std::string scratchName;
        doc::ConversionOptions options = doc::BuiltInConversionOptions();
        options.progress = tools::PassProgress(progress, 0, 2);
        if (!doc::ConvertDocToText(oldName, oldPath, scratchName, options)) {
            error = kConversionErrorText;
            return {};
        }
    }
    std::string oldText;
    std::string readError;
    if (!ReadTextFile(oldPath, oldText, readError)) {
        error = "Error loading " + oldName + ": " + readError;
        return {};
    }
    ReportProgress(progress, 3, 4);
    // The older file is read as the document was: a UTF-8 text is compared in the document's
    // set, so that it equals the same text in the editor; a DOC file's text is its bytes.
    const std::optional<charset::TFileEncoding> encoding =
        doc ? std::optional(charset::TFileEncoding::Bytes) : std::nullopt;
    return SplitTextLines(charset::DecodeText(oldText, editor_.CharacterSet(), encoding).Bytes,
                          compare::kMaxLines + 1);
}

bool TCompareCommand::CompareWithFile(editor::TOvcCustomEditor& editor,
                                      const std::vector<std::string>& oldLines,
                                      const std::string& newName, const std::string& oldName,
                                      const std::string& logPath, bool ignoreCase,
                                      bool ignoreBlanks) {
    // One line past the limit tells that the limit was passed.
    tools::TWorkLines newLines;
    tools::ReadLines(editor, newLines, {}, compare::kMaxLines + 1);
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
