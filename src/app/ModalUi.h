// The one seam through which the shell shows message boxes, input boxes, file dialogs and
// its small modal notices, so that tests can answer them without a person.
#pragma once

#include <optional>

#include "ErrorBoxText.h"

class QDialog;
#include <string>
#include <vector>

namespace tomery::app {

enum class TMsgIcon { Information, Warning, Error, Confirmation };
enum class TMsgButton { Ok, Cancel, Yes, No };

/// What a file dialog starts with. `filter` uses the shell's notation of alternating
/// descriptions and patterns: "Doc Files (*.pdb; *.prc)|*.pdb;*.prc|Text Files ...".
/// `filterIndex` is 1-based.
struct TFileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
};

class TModalUi {
  public:
    virtual ~TModalUi() = default;

    /// Shows a modal message box with the given buttons (in this order) and returns the one
    /// pressed; closing the box counts as Cancel when it is offered, else as the last button.
    virtual TMsgButton MessageBox(const std::string& caption, const std::string& text,
                                  TMsgIcon icon, const std::vector<TMsgButton>& buttons) = 0;

    /// An input box with OK and Cancel: the text on OK, nothing on Cancel.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initialText) = 0;

    /// The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFileName(const TFileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const TFileDialogRequest& request) = 0;

    /// Shows one of the shell's own dialogs modally (the about box ...). Returns whether it
    /// was accepted.
    virtual bool ShowDialog(QDialog& dialog) = 0;

    /// The "Save DOC File" notice: the message, an OK button and a check box that asks not to
    /// show the notice again. Returns whether the box was ticked.
    virtual bool SaveDocNotice(const std::string& message) = 0;
};

/// The error box every command's uncaught error ends in: caption "Tomery", the error icon,
/// OK, and the message with a full stop added when its last character's code lies above the
/// full stop's.
using tomery::ErrorBoxText;

}  // namespace tomery::app
