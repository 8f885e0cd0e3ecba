#include "EditComp.h"

#include "EditMain_Document.h"
#include "PathText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tomery::app {

TCompareDlg::TCompareDlg(TModalUi& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui) {
    setWindowTitle(QStringLiteral("Compare Files"));
    auto* layout = new QVBoxLayout(this);
    auto* nameLabel =
        new QLabel(QStringLiteral("Compare the current &file with: (Enter old filename)"), this);
    layout->addWidget(nameLabel);

    auto* nameRow = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    nameLabel->setBuddy(Edit1);
    Edit1->setMinimumWidth(300);
    Browse1 = new QPushButton(QStringLiteral("&Browse..."), this);
    Browse1->setAutoDefault(false);
    nameRow->addWidget(Edit1);
    nameRow->addWidget(Browse1);
    layout->addLayout(nameRow);

    auto* GroupBox1 = new QGroupBox(QStringLiteral(" Ignore the difference in "), this);
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    CheckBox1 = new QCheckBox(QStringLiteral("&Lower and Upper Cases"), GroupBox1);
    CheckBox2 = new QCheckBox(QStringLiteral("&Spaces and Tabs"), GroupBox1);
    groupLayout->addWidget(CheckBox1);
    groupLayout->addWidget(CheckBox2);
    layout->addWidget(GroupBox1);

    auto* buttonRow = new QHBoxLayout;
    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelBtn->setAutoDefault(false);
    buttonRow->addStretch();
    buttonRow->addWidget(OKBtn);
    buttonRow->addWidget(CancelBtn);
    layout->addLayout(buttonRow);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Browse1, &QPushButton::clicked, this, [this] { Browse1Click(); });
    adjustSize();  // its final size, so that it is centred as it will be shown
}

std::string TCompareDlg::FileName() const {
    return PathFromQt(Edit1->text());
}

void TCompareDlg::SetFileName(const std::string& name) {
    Edit1->setText(PathToQt(name));
}

bool TCompareDlg::IgnoreCase() const {
    return CheckBox1->isChecked();
}

bool TCompareDlg::IgnoreBlanks() const {
    return CheckBox2->isChecked();
}

void TCompareDlg::Browse1Click() {
    TFileDialogRequest request;
    request.title = "Browse old file";
    request.filter = kCompareBrowseFilter;
    request.initialDir = browseFolder_;
    request.fileName = FileName();
    if (const auto chosen = ui_.OpenFileName(request)) {
        SetFileName(*chosen);
        browseFolder_ = FolderPart(*chosen);
    }
}

void TCompareDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

}  // namespace tomery::app
