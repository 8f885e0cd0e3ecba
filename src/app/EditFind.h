// The Find dialog: a search text and the direction, case and global choices, kept between
// showings so that Find next can search again with them.
#pragma once

#include "CharacterSet.h"
#include "OvcEdit_Search.h"

#include <QDialog>

#include <initializer_list>
#include <string>
#include <utility>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tomery::app {

/// The font of the shell's small dialogs: 11-pixel "MS Sans Serif", or its stand-in.
QFont DialogFont(bool bold);

/// The typed text of a dialog's edit field as the editor's bytes in `set`; what the set lacks
/// is transliterated or replaced and counted in `log`.
std::string EditorBytes(const QLineEdit& edit, const charset::TCharacterSet& set,
                        charset::TReplacementLog* log = nullptr);

/// The union of the options whose control is checked.
editor::TSearchOptions CheckedOptions(
    std::initializer_list<std::pair<const QAbstractButton*, editor::TSearchOptions>> controls);

/// A search dialog opens with its search text focused and selected, ready to be typed over.
void FocusSearchText(QLineEdit& edit);

class TFindDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDlg(QWidget* parent = nullptr);

    /// The search text as the editor's bytes; empty when nothing searchable was typed.
    std::string SearchText(charset::TReplacementLog* log = nullptr) const;
    /// The set of the text searched.
    void SetCharacterSet(const charset::TCharacterSet& set) { set_ = &set; }
    /// seBackward, seMatchCase and seGlobal as the controls stand now.
    editor::TSearchOptions Options() const;

    QLineEdit* Edit1 = nullptr;            ///< the search text
    QRadioButton* RadioButton1 = nullptr;  ///< "Search &Forward", selected at first
    QRadioButton* RadioButton2 = nullptr;  ///< "Search &Backward"
    QCheckBox* CheckBox1 = nullptr;        ///< "&Match Case"
    QCheckBox* CheckBox2 = nullptr;        ///< "&Global Search"
    QPushButton* Button1 = nullptr;        ///< "O&k": accepts
    QPushButton* Button2 = nullptr;        ///< "&Cancel": rejects

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const charset::TCharacterSet* set_ = &charset::DefaultCharacterSet();
};

}  // namespace tomery::app
