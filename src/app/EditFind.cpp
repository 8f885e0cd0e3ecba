#include "EditFind.h"

#include "OvcCharset.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tomery::app {

QFont DialogFont(bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

std::string EditorBytes(const QLineEdit& edit, const charset::TCharacterSet& set,
                        charset::TReplacementLog* log) {
    return editor::TextToBytes(edit.text(), set, log);
}

editor::TSearchOptions CheckedOptions(
    std::initializer_list<std::pair<const QAbstractButton*, editor::TSearchOptions>> controls) {
    editor::TSearchOptions options = 0;
    for (const auto& [control, option] : controls) {
        if (control->isChecked()) {
            options |= option;
        }
    }
    return options;
}

void FocusSearchText(QLineEdit& edit) {
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
}

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Find"));
    // A fixed border with the close box only: no help, minimise or maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont(true));

    auto* textGroup = new QGroupBox(QStringLiteral("&Search Text"), this);
    Edit1 = new QLineEdit(textGroup);
    Edit1->setMinimumWidth(260);
    (new QVBoxLayout(textGroup))->addWidget(Edit1);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Search &Options"), this);
    RadioButton1 = new QRadioButton(QStringLiteral("Search &Forward"), optionsGroup);
    RadioButton2 = new QRadioButton(QStringLiteral("Search &Backward"), optionsGroup);
    CheckBox1 = new QCheckBox(QStringLiteral("&Match Case"), optionsGroup);
    CheckBox2 = new QCheckBox(QStringLiteral("&Global Search"), optionsGroup);
    RadioButton1->setChecked(true);
    auto* options = new QVBoxLayout(optionsGroup);
    for (QWidget* control :
         {static_cast<QWidget*>(RadioButton1), static_cast<QWidget*>(RadioButton2),
          static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2)}) {
        options->addWidget(control);
    }

    // Neither button answers Enter: Enter in the search text must not end the dialog.
    Button1 = new QPushButton(QStringLiteral("O&k"), this);
    Button2 = new QPushButton(QStringLiteral("&Cancel"), this);
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addWidget(optionsGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();  // its size is known before the first showing, which centres it
}

std::string TFindDlg::SearchText(charset::TReplacementLog* log) const {
    return EditorBytes(*Edit1, *set_, log);
}

editor::TSearchOptions TFindDlg::Options() const {
    return CheckedOptions({{RadioButton2, editor::seBackward},
                           {CheckBox1, editor::seMatchCase},
                           {CheckBox2, editor::seGlobal}});
}

void TFindDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FocusSearchText(*Edit1);
}

void TFindDlg::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    // The dialog has no cancel button: Esc does not close it, only "Cancel" or the close box.
    if (event->key() == Qt::Key_Escape && plain) {
        event->accept();
        return;
    }
    // No button is the default, yet Enter presses the button that has the focus.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            event->accept();
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tomery::app
