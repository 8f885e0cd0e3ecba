// The about box: the program's picture, name and version.
#pragma once

#include <QDialog>

class QLabel;

namespace tomery::app {

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void SetVersion(const QString& version);
    QString Version() const;

  private:
    QLabel* version_ = nullptr;
};

}  // namespace tomery::app
