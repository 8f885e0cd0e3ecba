// The File Information dialog and the facts it shows: names, time stamp, sizes, words, lines.
#pragma once

#include "ToolsFramework.h"

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <string>

class QLineEdit;

namespace tomery::editor {
class TOvcCustomEditor;
}

namespace tomery::app {

/// The texts of the dialog's boxes, in the order they are shown.
struct TFileInformation {
    QString FileName;
    QString FilePath;
    QString DocTitle;
    QString LastModified;
    QString FileSize;
    QString TextSize;
    QString WordCount;
    QString LineCount;
};

/// " 3 KB": a size in kilobytes as the dialog shows it.
QString KiloBytesText(std::int64_t kiloBytes);
/// "  1,234,567": two blanks, then the count with the locale's thousands separator.
QString CountText(std::int64_t count, const QLocale& locale);
/// The locale's short date and long time (without a time zone) of `stamp`, to the two
/// seconds that file time stamps keep; the time is left out at exactly midnight.
QString TimeStampText(const QDateTime& stamp, const QLocale& locale);

/// Words are the maximal runs of characters other than blank, tab, line feed and the unit
/// separator (31); a character 0 ends a line's text.
std::int64_t CountWords(const tools::TWorkLines& lines);
/// The words of the editor's whole text, paragraph by paragraph whatever the word wrap.
std::int64_t CountWords(editor::TOvcCustomEditor& editor);

/// Everything the dialog shows about `currentFile` and the editor's text. Raises a
/// std::runtime_error when the file does not exist or cannot be read.
TFileInformation CollectFileInformation(const std::string& currentFile, const std::string& docName,
                                        editor::TOvcCustomEditor& editor);

/// "File Information": read-only boxes beside their labels and an OK button. Created once,
/// filled before each showing.
class TStatistics1 : public QDialog {
    Q_OBJECT
  public:
    explicit TStatistics1(QWidget* parent = nullptr);

    void Fill(const TFileInformation& information);
    TFileInformation Shown() const;

  private:
    QLineEdit* Filename1 = nullptr;
    QLineEdit* Filepath1 = nullptr;
    QLineEdit* DocTitle1 = nullptr;
    QLineEdit* LastModified1 = nullptr;
    QLineEdit* FileSize1 = nullptr;
    QLineEdit* TextSize1 = nullptr;
    QLineEdit* WordCount1 = nullptr;
    QLineEdit* LineCount1 = nullptr;
};

}  // namespace tomery::app
