// The one seam through which the shell shows message boxes, input boxes, file dialogs and
// its small modal notices, so that tests can answer them without a person.
#pragma once

#include <optional>

#include "ErrorBoxText.h"

class QDialog;
class QPrinter;
#include <string>
#include <vector>

namespace tomery::app {

enum class TMsgIcon { Information, Warning, Error, Confirmation };
/// Save and SaveAs read "Save Anyway" and "Save As...": for the question before a save
/// that would change the file's characters.
enum class TMsgButton {
    Ok,
    Cancel,
    Yes,
    No,
    Save,
    SaveAs,
    Overwrite,  ///< write over a file another program changed
    Reload,     ///< read the file again from disk
    Keep,       ///< keep the text as it is in the window
    Recover,    ///< open a recovery copy
    Discard,    ///< remove a recovery copy
    Later,      ///< leave a recovery copy for the next start
};

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
    // What the dialog refuses, asking again, before it returns a choice.
    bool pathMustExist = false;     ///< a file in a folder that does not exist
    bool fileMustExist = false;     ///< a file that does not exist
    bool noReadOnlyReturn = false;  ///< a read-only file (listed all the same, to be found)
    bool overwritePrompt = false;   ///< an existing file, unless the user confirms replacing it
};

/// A font as the font dialog offers and returns it; the size is in points.
struct TFontChoice {
    std::string name;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
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
    /// A folder dialog starting in `initialDir`: the chosen folder, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& initialDir) = 0;

    /// Shows one of the shell's own dialogs modally (the about box ...). Returns whether it
    /// was accepted.
    virtual bool ShowDialog(QDialog& dialog) = 0;

    /// The "Save DOC File" notice: the message, an OK button and a check box that asks not to
    /// show the notice again. Returns whether the box was ticked.
    virtual bool SaveDocNotice(const std::string& message) = 0;

    /// The font dialog, offering fixed-pitch fonts only and starting at `initial`: the font
    /// chosen, or nothing when the dialog was cancelled.
    virtual std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) = 0;
    /// The print dialog for `printer`, offering the selection as print range when
    /// `offerSelection` (never a page range). Returns whether the user chose to print; the
    /// choices, the range among them, are in `printer`.
    virtual bool PrintDialog(QPrinter& printer, bool offerSelection) = 0;
};

/// The error box every command's uncaught error ends in: caption "Tomery", the error icon,
/// OK, and the message with a full stop added when its last character's code lies above the
/// full stop's.
using tomery::ErrorBoxText;

}  // namespace tomery::app
