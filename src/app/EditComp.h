// The compare dialog: the older file's name, Browse, and the two "Ignore the difference in"
// options; created once, so its fields keep their contents between uses.
#pragma once

#include "ModalUi.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tomery::app {

inline constexpr char kCompareBrowseFilter[] =
    "Text Files (*.txt; *.log)|*.txt;*.log|Doc Files (*.pdb; *.prc)|*.pdb;*.prc|"
    "All Files (*.*)|*.*";

class TCompareDlg : public QDialog {
    Q_OBJECT
  public:
    /// `ui` (not owned) runs the Browse file dialog.
    TCompareDlg(TModalUi& ui, QWidget* parent = nullptr);

    std::string FileName() const;
    void SetFileName(const std::string& name);
    bool IgnoreCase() const;    ///< "Lower and Upper Cases"
    bool IgnoreBlanks() const;  ///< "Spaces and Tabs"

    /// "Browse...": the chosen path goes into the name field, its folder is where the next
    /// browse starts.
    void Browse1Click();

    QLineEdit& Edit() { return *Edit1; }
    QCheckBox& CaseBox() { return *CheckBox1; }
    QCheckBox& BlanksBox() { return *CheckBox2; }
    QPushButton& OKButton() { return *OKBtn; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    TModalUi& ui_;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Browse1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    std::string browseFolder_;
};

}  // namespace tomery::app
