#include "EditHelp.h"

#include "FileAccess.h"
#include "ProgramFolder.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <stdexcept>

namespace tomery::app {

std::string HelpFilePath() {
    return ResourceFilePath("TOMERY.HLP");
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Tomery Help"));
    resize(640, 520);
    text_ = new QTextBrowser(this);
    text_->setOpenLinks(true);
    text_->setOpenExternalLinks(false);

    auto* findLabel = new QLabel(QStringLiteral("F&ind:"), this);
    findBox_ = new QLineEdit(this);
    findLabel->setBuddy(findBox_);
    auto* findButton = new QPushButton(QStringLiteral("Find &Next"), this);
    findNote_ = new QLabel(this);
    auto* findBar = new QHBoxLayout;
    findBar->addWidget(findLabel);
    findBar->addWidget(findBox_, 1);
    findBar->addWidget(findButton);
    findBar->addWidget(findNote_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findBar);
    layout->addWidget(text_, 1);

    const auto findNext = [this] { FindNext(findBox_->text()); };
    connect(findBox_, &QLineEdit::returnPressed, this, findNext);
    connect(findButton, &QPushButton::clicked, this, findNext);
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this, findNext);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        findBox_->setFocus();
        findBox_->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void THelpWindow::LoadFile(const std::string& path) {
    // Read by its bytes: the program folder's path need not be UTF-8.
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        throw std::runtime_error("Cannot open the help file " + path);
    }
    const QString contents = QString::fromUtf8(reinterpret_cast<const char*>(bytes->data()),
                                               static_cast<qsizetype>(bytes->size()));
    if (Qt::mightBeRichText(contents)) {
        text_->setHtml(contents);
    } else {
        text_->setPlainText(contents);
    }
    findNote_->clear();
}

bool THelpWindow::FindNext(const QString& text) {
    findNote_->clear();
    if (text.isEmpty()) {
        return false;
    }
    if (text_->find(text)) {
        return true;
    }
    const QTextCursor previous = text_->textCursor();
    text_->moveCursor(QTextCursor::Start);
    if (text_->find(text)) {
        return true;
    }
    text_->setTextCursor(previous);
    findNote_->setText(QStringLiteral("Not found"));
    return false;
}

QString THelpWindow::PlainText() const {
    return text_->toPlainText();
}

QString THelpWindow::SelectedText() const {
    return text_->textCursor().selectedText();
}

}  // namespace tomery::app
