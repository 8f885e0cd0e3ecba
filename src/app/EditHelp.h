// The program's help window: the help file shown read-only, with a find bar.
#pragma once

#include <QString>
#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace tomery::app {

/// The help file "TOMERY.HLP", wherever the program runs from (see ResourceFilePath).
std::string HelpFilePath();

/// A window of its own beside the main window; created on first use and kept.
class THelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit THelpWindow(QWidget* parent = nullptr);

    /// Shows the help text of `path`, HTML or plain text. Raises a std::runtime_error naming
    /// the path when the file is missing or cannot be read; the text shown stays then.
    void LoadFile(const std::string& path);
    /// Selects the next occurrence of `text` (case ignored) after the current one, going on
    /// from the top after the end. False, with a note in the find bar, when there is none.
    bool FindNext(const QString& text);

    QString PlainText() const;
    QString SelectedText() const;

  private:
    QTextBrowser* text_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    QLabel* findNote_ = nullptr;
};

}  // namespace tomery::app
