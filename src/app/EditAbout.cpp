#include "EditAbout.h"

#include "EditMain_Logo.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tomery::app {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* picture = new QLabel(panel);
    picture->setPixmap(ProgramPicture());
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Tomery"), panel);
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setPixelSize(27);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setStyleSheet(QStringLiteral("color: navy"));
    name->setAlignment(Qt::AlignCenter);
    version_ = new QLabel(panel);
    QFont versionFont(QStringLiteral("MS Sans Serif"));
    versionFont.setPixelSize(13);
    version_->setFont(versionFont);
    version_->setStyleSheet(QStringLiteral("color: black"));
    version_->setAlignment(Qt::AlignCenter);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(picture);
    panelLayout->addWidget(name);
    panelLayout->addWidget(version_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::SetVersion(const QString& version) {
    version_->setText(version);
    adjustSize();  // the size is known before the showing centres the box
}

QString TAboutBox::Version() const {
    return version_->text();
}

}  // namespace tomery::app
