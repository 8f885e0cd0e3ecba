// An application object under which an error raised while handling an event (an editor error
// raised by a key, say) is shown in the error box instead of ending the program.
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace tomery {

/// Receives the text of the error box (ErrorBoxText of the error's message).
using TErrorReporter = std::function<void(const std::string& boxText)>;

/// Delivers `event` to `receiver` through `application`'s own delivery. An exception derived
/// from std::exception goes to `report` and the event counts as handled: the command it
/// started has stopped and the program goes on.
bool NotifyGuarded(QApplication& application, QObject* receiver, QEvent* event,
                   const TErrorReporter& report);

/// Shows the error box (caption "Tomery", the error icon, OK) as a plain message box, for
/// programs without a modal seam of their own.
void ShowErrorBox(const std::string& boxText);

/// Writes the error box's text to standard error, for a program that shows no window yet.
void ReportToStandardError(const std::string& boxText);

class TGuardedApplication : public QApplication {
  public:
    /// Errors go to standard error until a reporter is set.
    TGuardedApplication(int& argc, char** argv);

    void SetErrorReporter(TErrorReporter reporter) { report_ = std::move(reporter); }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    TErrorReporter report_;
};

}  // namespace tomery
