// Tools, "Compare...": the edited text ({new}) against an older file ({old}), written to
// "Comparison.log" and shown in the viewer.
#pragma once

#include "DiffComp.h"
#include "ModalUi.h"
#include "WorkProgress.h"

#include <functional>
#include <string>
#include <vector>

namespace tomery::editor {
class TOvcCustomEditor;
}

namespace tomery::app {

class TCompareDlg;

class TCompareCommand {
  public:
    /// `currentFile` names the edited document ({new}); `showComparisonLog` shows the log in
    /// the viewer. The references are kept and must outlive the command.
    TCompareCommand(TModalUi& ui, editor::TOvcCustomEditor& editor, TCompareDlg& dialog,
                    std::function<std::string()> currentFile,
                    std::function<void()> showComparisonLog);

    /// The dialog (again while the named file is missing), the DOC conversion of {old}, its
    /// lines, the comparison, and the log in the viewer.
    void Compare1Click();

    /// Compares the editor's text with `oldLines` and writes the log to `logPath`, warning
    /// when a file passes the line limit or the log cannot be written. Returns whether the
    /// log was written.
    bool CompareWithFile(editor::TOvcCustomEditor& editor, const std::vector<std::string>& oldLines,
                         const std::string& newName, const std::string& oldName,
                         const std::string& logPath, bool ignoreCase, bool ignoreBlanks);

  private:
    void Warn(const std::string& text);
    /// The lines of {old} that are compared, decoded first when it is a DOC file; nothing,
    /// and the message for the user in `error`, when it cannot be converted or read.
    std::vector<std::string> ReadOldLines(const std::string& oldName, const TWorkProgress& progress,
                                          std::string& error);

    TModalUi& ui_;
    editor::TOvcCustomEditor& editor_;
    TCompareDlg& dialog_;
    std::function<std::string()> currentFile_;
    std::function<void()> showComparisonLog_;
    compare::TDiffComp tables_;  ///< allocated once for the whole run
};

}  // namespace tomery::app
