#include "QtModalUi.h"

#include "EditMain_Document.h"
#include "PathText.h"

#include <algorithm>
#include <filesystem>

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

namespace tomery::app {

namespace {

/// Every prompt asks for a short value; its field holds at most this many characters.
constexpr int kInputBoxLimit = 255;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

/// How a button shows in a message box: the standard button that stands for it (its role
/// decides Enter and Escape) and the caption it takes instead of the standard one, if any.
struct TButtonLook {
    TMsgButton button;
    QMessageBox::StandardButton standard;
    const char* caption;
};

constexpr TButtonLook kButtonLooks[] = {
    {TMsgButton::Ok, QMessageBox::Ok, nullptr},
    {TMsgButton::Cancel, QMessageBox::Cancel, nullptr},
    {TMsgButton::Yes, QMessageBox::Yes, nullptr},
    {TMsgButton::No, QMessageBox::No, nullptr},
    {TMsgButton::Save, QMessageBox::Save, "&Save Anyway"},
    {TMsgButton::SaveAs, QMessageBox::SaveAll, "Save &As..."},
    {TMsgButton::Overwrite, QMessageBox::YesToAll, "&Overwrite"},
    {TMsgButton::Reload, QMessageBox::Retry, "&Reload"},
    {TMsgButton::Keep, QMessageBox::Abort, "&Keep My Text"},
    {TMsgButton::Recover, QMessageBox::Open, "&Recover"},
    {TMsgButton::Discard, QMessageBox::Discard, "&Discard"},
    {TMsgButton::Later, QMessageBox::Close, "Decide &Later"},
};

const TButtonLook& LookOf(TMsgButton button) {
    for (const TButtonLook& look : kButtonLooks) {
        if (look.button == button) {
            return look;
        }
    }
    return kButtonLooks[0];
}

QMessageBox::Icon IconOf(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::Information:
            return QMessageBox::Information;
        case TMsgIcon::Warning:
            return QMessageBox::Warning;
        case TMsgIcon::Error:
            return QMessageBox::Critical;
        case TMsgIcon::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

/// Whether Qt's own file functions reach the file: they know names in UTF-8 only, so a name
/// of other bytes is neither listed nor found by them, though the dialog can still return it.
bool QtReaches(const std::string& path) {
    return PathFromQt(PathForDisplay(path)) == path;
}

/// A file dialog that keeps asking while the chosen file breaks the request's options.
class TCheckedFileDialog : public QFileDialog {
  public:
    TCheckedFileDialog(QWidget* parent, const TFileDialogRequest& request)
        : QFileDialog(parent), request_(request) {
        // The checks need the dialog's own accept, which a native dialog would bypass.
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
        // The dialog disables its accept button for a name it cannot find itself; a file
        // whose name is not UTF-8 (the document's own, given as the start) may still be taken.
        if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            connect(name, &QLineEdit::textChanged, this, [this] { EnableForBytesOnlyName(); });
        }
    }

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty()) {
            return;
        }
        const std::string path = PathFromQt(files.first());
        if (const auto refusal = FileChoiceRefusal(request_, path)) {
            QMessageBox::warning(this, windowTitle(), PathForDisplay(*refusal));
            return;
        }
        std::error_code error;
        if (QtReaches(path)) {
            QFileDialog::accept();
        } else if (!std::filesystem::is_directory(path, error) && !ReplacementRefused(path)) {
            QDialog::accept();  // Qt's own checks would not find the file
        }
    }

  private:
    void EnableForBytesOnlyName() {
        const QStringList files = selectedFiles();
        auto* buttons = findChild<QDialogButtonBox*>();
        if (files.isEmpty() || buttons == nullptr) {
            return;
        }
        const std::string path = PathFromQt(files.first());
        std::error_code error;
        if (!QtReaches(path) && std::filesystem::is_regular_file(path, error)) {
            for (QAbstractButton* button : buttons->buttons()) {
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                    button->setEnabled(true);
                }
            }
        }
    }

    /// Asks before an existing file is replaced, as the dialog itself does for names it finds.
    bool ReplacementRefused(const std::string& path) {
        std::error_code error;
        if (!request_.overwritePrompt || acceptMode() != AcceptSave ||
            !std::filesystem::exists(path, error)) {
            return false;
        }
        const QString question = QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                     .arg(PathForDisplay(FileNamePart(path)));
        return QMessageBox::warning(this, windowTitle(), question,
                                    QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) != QMessageBox::Yes;
    }

    TFileDialogRequest request_;
};

/// Prepares a file dialog from the request; the caller runs it.
void Prepare(QFileDialog& dialog, const TFileDialogRequest& request) {
    dialog.setWindowTitle(Q(request.title));
    QStringList filters;
    for (const std::string& filter : QtNameFilters(request.filter)) {
        filters << Q(filter);
    }
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    if (!request.initialDir.empty()) {
        dialog.setDirectory(PathToQt(request.initialDir));
    }
    if (!request.fileName.empty()) {
        dialog.selectFile(PathToQt(request.fileName));
    }
    dialog.setDefaultSuffix(Q(request.defaultExt));
}

/// The face of the font's family with its weight and slant. The font dialog starts on the
/// face of that name; without one it would start on the family's first face, italic or not.
QString FaceOf(const QFont& font) {
    const QString family = font.family();
    for (const QString& face : QFontDatabase::styles(family)) {
        // An oblique face is as slanted as an italic one.
        const QFont faceFont = QFontDatabase::font(family, face, font.pointSize());
        if (faceFont.bold() == font.bold() &&
            (faceFont.style() != QFont::StyleNormal) == font.italic()) {
            return face;
        }
    }
    return {};
}

std::optional<std::string> Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return PathFromQt(dialog.selectedFiles().first());
}

}  // namespace

std::optional<std::string> FileChoiceRefusal(const TFileDialogRequest& request,
                                             const std::string& path) {
    // The checks read the path's bytes: Qt's file functions would miss a name that is not UTF-8.
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
        return std::nullopt;  // the dialog browses into a chosen folder
    }
    const fs::path folder = fs::absolute(path, error).parent_path();
    if (request.pathMustExist && !fs::is_directory(folder, error)) {
        return path + "\nPath does not exist.\nCheck the path and try again.";
    }
    if (request.fileMustExist && !fs::is_regular_file(status)) {
        return path + "\nFile not found.\nCheck the file name and try again.";
    }
    // Read-only is the owner's write bit, whoever runs the program.
    if (request.noReadOnlyReturn && fs::is_regular_file(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return path + "\nThis file is set to read-only.\nTry again with a different file name.";
    }
    return std::nullopt;
}

std::vector<std::string> QtNameFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const auto bar = filter.find('|', start);
        parts.push_back(
            filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    std::vector<std::string> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string description = parts[i].substr(0, parts[i].find(" ("));
        std::string patterns = parts[i + 1];
        for (char& c : patterns) {
            c = c == ';' ? ' ' : c;
        }
        filters.push_back(description + " (" + patterns + ")");
    }
    return filters;
}

TMsgButton TQtModalUi::MessageBox(const std::string& caption, const std::string& text,
                                  TMsgIcon icon, const std::vector<TMsgButton>& buttons) {
    QMessageBox box(IconOf(icon), Q(caption), Q(text), QMessageBox::NoButton, parent_);
    const bool aboutAChangedFile =
        std::find(buttons.begin(), buttons.end(), TMsgButton::Reload) != buttons.end();
    for (const TMsgButton button : buttons) {
        const TButtonLook& look = LookOf(button);
        QPushButton* added = box.addButton(look.standard);
        if (look.caption != nullptr) {
            added->setText(QString::fromLatin1(look.caption));
        }
        // Enter pressed without reading a question about a file another program changed
        // leaves both texts as they are.
        if (aboutAChangedFile && (button == TMsgButton::Cancel || button == TMsgButton::Keep)) {
            box.setDefaultButton(added);
        }
    }
    const int pressed = box.exec();
    for (const TMsgButton button : buttons) {
        if (pressed == LookOf(button).standard) {
            return button;
        }
    }
    const bool offersCancel =
        std::find(buttons.begin(), buttons.end(), TMsgButton::Cancel) != buttons.end();
    return offersCancel || buttons.empty() ? TMsgButton::Cancel : buttons.back();
}

std::optional<std::string> TQtModalUi::InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initialText) {
    QInputDialog box(parent_);
    box.setWindowTitle(Q(caption));
    box.setLabelText(Q(prompt));
    box.setTextValue(Q(initialText));
    if (auto* field = box.findChild<QLineEdit*>()) {
        field->setMaxLength(kInputBoxLimit);
    }
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue().toStdString();
}

std::optional<std::string> TQtModalUi::OpenFileName(const TFileDialogRequest& request) {
    TCheckedFileDialog dialog(parent_, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, request);
    return Run(dialog);
}

std::optional<std::string> TQtModalUi::SaveFileName(const TFileDialogRequest& request) {
    TCheckedFileDialog dialog(parent_, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, request);
    return Run(dialog);
}

std::optional<std::string> TQtModalUi::ChooseFolder(const std::string& title,
                                                    const std::string& initialDir) {
    QFileDialog dialog(parent_, Q(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!initialDir.empty()) {
        dialog.setDirectory(PathToQt(initialDir));
    }
    return Run(dialog);
}

bool TQtModalUi::ShowDialog(QDialog& dialog) {
    dialog.move(dialog.screen()->geometry().center() - dialog.rect().center());
    return dialog.exec() == QDialog::Accepted;
}

bool TQtModalUi::SaveDocNotice(const std::string& message) {
    QDialog notice(parent_);
    notice.setWindowTitle(QStringLiteral("Save DOC File"));
    auto* layout = new QVBoxLayout(&notice);
    auto* label = new QLabel(Q(message), &notice);
    label->setWordWrap(true);
    auto* dontShow = new QCheckBox(QStringLiteral("Don't show this notice again"), &notice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &notice);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &notice, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(dontShow);
    layout->addWidget(buttons);
    notice.exec();
    return dontShow->isChecked();
}

std::optional<TFontChoice> TQtModalUi::ChooseFont(const TFontChoice& initial) {
    QFont font(Q(initial.name));
    font.setPointSize(initial.pointSize);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeOut);
    font.setStyleName(FaceOf(font));
    bool accepted = false;
    const QFontDialog::FontDialogOptions fixedPitchOnly =
        QFontDialog::MonospacedFonts | QFontDialog::DontUseNativeDialog;
    const QFont chosen =
        QFontDialog::getFont(&accepted, font, parent_, QStringLiteral("Font"), fixedPitchOnly);
    if (!accepted) {
        return std::nullopt;
    }
    TFontChoice choice{chosen.family().toStdString(),
                       initial.pointSize,
                       chosen.bold(),
                       chosen.italic(),
                       chosen.underline(),
                       chosen.strikeOut()};
    // A font sized in pixels has no point size; it keeps the size it started with.
    if (chosen.pointSize() > 0) {
        choice.pointSize = chosen.pointSize();
    }
    return choice;
}

bool TQtModalUi::PrintDialog(QPrinter& printer, bool offerSelection) {
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Qt's own dialog on Linux enables its page range choices when it shows, whatever the
    // options say; they are switched off again once it is up.
    QTimer::singleShot(0, &dialog, [&dialog] {
        for (const char* pageRange : {"printRange", "pagesRadioButton"}) {
            if (auto* choice = dialog.findChild<QWidget*>(QLatin1String(pageRange))) {
                choice->setEnabled(false);
            }
        }
    });
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tomery::app
