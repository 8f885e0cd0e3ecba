// The "Install PDA" dialog: the HotSync users to choose from.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;

namespace tomery::app {

class TInstallDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TInstallDlg(QWidget* parent = nullptr);

    /// Lists `names` (8-bit, as users.dat holds them) and selects `selected`.
    void SetUsers(const std::vector<std::string>& names, int selected);
    /// The selected entry's index; -1 when the list is empty.
    int SelectedUser() const;
    QComboBox& UserList() { return *ComboBox1; }

  private:
    QComboBox* ComboBox1 = nullptr;
};

}  // namespace tomery::app
