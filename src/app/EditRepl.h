// The Replace Text dialog: the text to find, its replacement and the search choices, kept
// between showings; it closes with OK (one by one), Replace All or Cancel.
#pragma once

#include "CharacterSet.h"
#include "OvcEdit_Search.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tomery::app {

class TReplDlg : public QDialog {
    Q_OBJECT
  public:
    /// How the dialog closed, as its result().
    enum TResult { Cancelled = QDialog::Rejected, OneByOne = QDialog::Accepted, ReplaceAll = 2 };

    explicit TReplDlg(QWidget* parent = nullptr);

    /// The texts as the editor's bytes.
    std::string SearchText(charset::TReplacementLog* log = nullptr) const;
    std::string ReplaceText(charset::TReplacementLog* log = nullptr) const;
    /// The set of the text searched.
    void SetCharacterSet(const charset::TCharacterSet& set) { set_ = &set; }
    /// seMatchCase, seWholeWord, seGlobal and seBackward as the controls stand now.
    editor::TSearchOptions Options() const;

    QLineEdit* Edit1 = nullptr;            ///< "&Text to find:"
    QLineEdit* Edit2 = nullptr;            ///< "&Replace with:"
    QCheckBox* CheckBox1 = nullptr;        ///< "&Match Case"
    QCheckBox* CheckBox2 = nullptr;        ///< "&Whole Word"
    QCheckBox* CheckBox3 = nullptr;        ///< "&Global"
    QRadioButton* RadioButton1 = nullptr;  ///< "&Forward", selected at first
    QRadioButton* RadioButton2 = nullptr;  ///< "&Backward"
    QPushButton* Button1 = nullptr;        ///< "&OK", the Enter button: OneByOne
    QPushButton* Button2 = nullptr;        ///< "Replace &All": ReplaceAll
    QPushButton* Button3 = nullptr;        ///< "&Cancel", the Esc button: Cancelled

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const charset::TCharacterSet* set_ = &charset::DefaultCharacterSet();
};

}  // namespace tomery::app
