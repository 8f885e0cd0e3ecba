// The "Install PDA" dialog: the HotSync users and the other destinations to choose from.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

namespace tomery::app {

class TInstallDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TInstallDlg(QWidget* parent = nullptr);

    /// Lists the entries (the users' names first, then the other destinations) and selects
    /// `selected`.
    void SetEntries(const QStringList& entries, int selected);
    /// The selected entry's index; -1 when the list is empty.
    int SelectedEntry() const;
    QComboBox& UserList() { return *ComboBox1; }

  private:
    QComboBox* ComboBox1 = nullptr;
};

}  // namespace tomery::app
