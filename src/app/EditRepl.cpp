#include "EditRepl.h"

#include "EditFind.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tomery::app {

TReplDlg::TReplDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Replace Text"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFont(DialogFont(false));
    resize(345, 269);

    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    auto* texts = new QFormLayout;
    texts->addRow(QStringLiteral("&Text to find:"), Edit1);
    texts->addRow(QStringLiteral("&Replace with:"), Edit2);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Options"), this);
    CheckBox1 = new QCheckBox(QStringLiteral("&Match Case"), optionsGroup);
    CheckBox2 = new QCheckBox(QStringLiteral("&Whole Word"), optionsGroup);
    CheckBox3 = new QCheckBox(QStringLiteral("&Global"), optionsGroup);
    auto* options = new QVBoxLayout(optionsGroup);
    options->addWidget(CheckBox1);
    options->addWidget(CheckBox2);
    options->addWidget(CheckBox3);

    auto* directionGroup = new QGroupBox(QStringLiteral("Direction"), this);
    RadioButton1 = new QRadioButton(QStringLiteral("&Forward"), directionGroup);
    RadioButton2 = new QRadioButton(QStringLiteral("&Backward"), directionGroup);
    RadioButton1->setChecked(true);
    auto* direction = new QVBoxLayout(directionGroup);
    direction->addWidget(RadioButton1);
    direction->addWidget(RadioButton2);
    direction->addStretch();

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button2 = new QPushButton(QStringLiteral("Replace &All"), this);
    Button3 = new QPushButton(QStringLiteral("&Cancel"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, [this] { done(ReplaceAll); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(optionsGroup);
    groups->addWidget(directionGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(groups);
    layout->addStretch();
    layout->addLayout(buttons);
}

std::string TReplDlg::SearchText(charset::TReplacementLog* log) const {
    return EditorBytes(*Edit1, *set_, log);
}

std::string TReplDlg::ReplaceText(charset::TReplacementLog* log) const {
    return EditorBytes(*Edit2, *set_, log);
}

editor::TSearchOptions TReplDlg::Options() const {
    return CheckedOptions({{CheckBox1, editor::seMatchCase},
                           {CheckBox2, editor::seWholeWord},
                           {CheckBox3, editor::seGlobal},
                           {RadioButton2, editor::seBackward}});
}

void TReplDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FocusSearchText(*Edit1);
}

}  // namespace tomery::app
