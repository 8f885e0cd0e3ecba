// The programs the install command runs: pilot-xfer behind a progress dialog that shows what
// it writes and can end it, and Wine's registry tool, waited for while the window lives on.
#pragma once

#include "WinePrefix.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QProcess;
class QPushButton;

namespace tomery::app {

class TPilotXferDlg : public QDialog {
    Q_OBJECT
  public:
    /// Runs `program` with `arguments` once the dialog shows; the dialog closes itself when
    /// the program ends (accepted) and when the user cancels, which ends the program
    /// (rejected).
    TPilotXferDlg(QWidget* parent, std::string program, std::vector<std::string> arguments);
    ~TPilotXferDlg() override;

    /// The program's exit code; -1 when it did not start, crashed or was cancelled.
    int ExitCode() const { return exitCode_; }
    /// Everything the program wrote, its output and error output together.
    std::string Output() const;
    /// Why the program could not be started; "" when it ran.
    const std::string& StartError() const { return startError_; }
    QPushButton& CancelButton() { return *cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void Finish(int exitCode);

    std::string program_;
    std::vector<std::string> arguments_;
    QProcess* process_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int exitCode_ = -1;
    std::string startError_;
    bool started_ = false;
};

/// Runs a program to its end with the extra environment variables, keeping the window alive
/// (and showing the busy cursor) meanwhile.
install::TProgramRun RunProgramAndWait(const std::vector<std::string>& arguments,
                                       const std::vector<std::string>& environment);

}  // namespace tomery::app
