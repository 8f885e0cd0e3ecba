#include "EditInst.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tomery::app {

TInstallDlg::TInstallDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Install PDA"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* label = new QLabel(QStringLiteral("&Select User:"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setMinimumWidth(200);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(ComboBox1);
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Esc rejects the dialog as QDialog does for any cancel button.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ComboBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TInstallDlg::SetEntries(const QStringList& entries, int selected) {
    ComboBox1->clear();
    ComboBox1->addItems(entries);
    ComboBox1->setCurrentIndex(entries.empty() ? -1 : selected);
    ComboBox1->setFocus();
}

int TInstallDlg::SelectedEntry() const {
    return ComboBox1->currentIndex();
}

}  // namespace tomery::app
