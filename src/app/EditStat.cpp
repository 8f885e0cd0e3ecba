#include "EditStat.h"

#include "DocFileRule.h"
#include "EditMain_Document.h"
#include "EditMain_Reopen.h"
#include "OvcCharset.h"
#include "OvcEdit.h"
#include "PathText.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include <sys/stat.h>

namespace tomery::app {

namespace {

/// Blank, tab, line feed and the unit separator; a table keeps the 50 MB count fast.
constexpr auto kWordSeparators = [] {
    std::array<bool, 256> separators{};
    for (const unsigned char c : {' ', '\t', '\n', '\x1f'}) {
        separators[c] = true;
    }
    return separators;
}();

std::int64_t CountWordsInLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    std::int64_t words = 0;
    bool afterSeparator = true;
    for (const char c : line) {
        const bool separator = kWordSeparators[static_cast<unsigned char>(c)];
        words += afterSeparator && !separator ? 1 : 0;
        afterSeparator = separator;
    }
    return words;
}

/// The locale's long time format less its time zone, which a file's local time stamp does
/// not need: "h:mm:ss AP t" becomes "h:mm:ss AP".
QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (quoted || c != QLatin1Char('t')) {
            kept += c;
        }
    }
    return kept.simplified();
}

}  // namespace

QString KiloBytesText(std::int64_t kiloBytes) {
    return QStringLiteral(" %1 KB").arg(kiloBytes);
}

QString CountText(std::int64_t count, const QLocale& locale) {
    const QString digits = QString::number(count);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += locale.groupSeparator();
        }
        grouped += digits[i];
    }
    return QStringLiteral("  ") + grouped;
}

QString TimeStampText(const QDateTime& stamp, const QLocale& locale) {
    QTime time = stamp.time();
    time = QTime(time.hour(), time.minute(), time.second() - time.second() % 2);
    const QString date = locale.toString(stamp.date(), QLocale::ShortFormat);
    if (time == QTime(0, 0)) {
        return date;
    }
    return date + QLatin1Char(' ') + locale.toString(time, LongTimeFormat(locale));
}

std::int64_t CountWords(const tools::TWorkLines& lines) {
    std::int64_t words = 0;
    for (const std::string& line : lines) {
        words += CountWordsInLine(line);
    }
    return words;
}

std::int64_t CountWords(editor::TOvcCustomEditor& editor) {
    tools::TWorkLines lines;
    tools::ReadLines(editor, lines);
    return CountWords(lines);
}

TFileInformation CollectFileInformation(const std::string& currentFile, const std::string& docName,
                                        editor::TOvcCustomEditor& editor) {
    TFileInformation information;
    information.FileName = PathForDisplay(FileNamePart(currentFile));
    information.FilePath = PathForDisplay(FolderPart(currentFile));
    if (IsDocFile(currentFile)) {
        // Document names are the handheld's 8-bit characters, in the document's set.
        information.DocTitle = editor::BytesToText(docName, editor.CharacterSet());
    }
    // The file is asked for by its bytes: Qt's file functions miss a name that is not UTF-8.
    struct stat file {};
    // An untitled document has no file, whatever may be called "Untitled" in the folder.
    if (currentFile == kUntitled || ::stat(currentFile.c_str(), &file) != 0 ||
        !S_ISREG(file.st_mode)) {
        throw std::runtime_error("The file " + currentFile + " does not exist");
    }
    const QLocale locale;
    information.LastModified =
        TimeStampText(QDateTime::fromMSecsSinceEpoch(std::int64_t{file.st_mtim.tv_sec} * 1000 +
                                                     file.st_mtim.tv_nsec / 1'000'000),
                      locale);
    if (!std::ifstream(currentFile, std::ios::binary).is_open()) {
        throw std::runtime_error("The file " + currentFile + " cannot be read");
    }
    information.FileSize = KiloBytesText(FileSizeKB(currentFile));
    information.TextSize = KiloBytesText(editor.TextLength() / 1024 + 1);
    information.WordCount = CountText(CountWords(editor), locale);
    information.LineCount = CountText(editor.LineCount(), locale);
    return information;
}

TStatistics1::TStatistics1(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("File Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    auto* fields = new QFormLayout;
    const auto addField = [&](const char* label) {
        auto* box = new QLineEdit(this);
        box->setReadOnly(true);
        box->setMinimumWidth(220);
        fields->addRow(QString::fromLatin1(label), box);
        return box;
    };
    Filename1 = addField("File Name:");
    Filepath1 = addField("File Path:");
    DocTitle1 = addField("Document Title:");
    LastModified1 = addField("Last Modified:");
    FileSize1 = addField("File Size:");
    TextSize1 = addField("Text Size:");
    WordCount1 = addField("Word Count:");
    LineCount1 = addField("Line Count:");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Horizontal, this);
    buttons->setCenterButtons(true);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();  // the size is known before the first showing centres the dialog
}

void TStatistics1::Fill(const TFileInformation& information) {
    Filename1->setText(information.FileName);
    Filepath1->setText(information.FilePath);
    DocTitle1->setText(information.DocTitle);
    LastModified1->setText(information.LastModified);
    FileSize1->setText(information.FileSize);
    TextSize1->setText(information.TextSize);
    WordCount1->setText(information.WordCount);
    LineCount1->setText(information.LineCount);
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->setCursorPosition(0);  // long paths show their beginning
    }
}

TFileInformation TStatistics1::Shown() const {
    return {Filename1->text(), Filepath1->text(), DocTitle1->text(),  LastModified1->text(),
            FileSize1->text(), TextSize1->text(), WordCount1->text(), LineCount1->text()};
}

}  // namespace tomery::app
