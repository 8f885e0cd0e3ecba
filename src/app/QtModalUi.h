// The seam's Qt side: real message boxes, input boxes and file dialogs.
#pragma once

#include "ModalUi.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tomery::app {

/// The shell's filter notation ("Text Files (*.txt; *.log)|*.txt;*.log|...") as Qt name
/// filters ("Text Files (*.txt *.log)").
std::vector<std::string> QtNameFilters(const std::string& filter);

/// Why a file dialog refuses `path` under the request's options (the text of its warning),
/// or nothing when it accepts it (a folder is accepted: the dialog browses into it).
std::optional<std::string> FileChoiceRefusal(const TFileDialogRequest& request,
                                             const std::string& path);

class TQtModalUi : public TModalUi {
  public:
    explicit TQtModalUi(QWidget* parent) : parent_(parent) {}

    TMsgButton MessageBox(const std::string& caption, const std::string& text, TMsgIcon icon,
                          const std::vector<TMsgButton>& buttons) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialDir) override;
    bool ShowDialog(QDialog& dialog) override;
    bool SaveDocNotice(const std::string& message) override;
    std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) override;
    bool PrintDialog(QPrinter& printer, bool offerSelection) override;

  private:
    QWidget* parent_;  ///< not owned: the window the boxes belong to
};

}  // namespace tomery::app
