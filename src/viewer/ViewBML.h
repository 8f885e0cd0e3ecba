// The bookmark list: a modal list of the viewed document's bookmark titles that remembers the
// last one chosen.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace tomery::viewer {

class TBMLBox : public QDialog {
    Q_OBJECT
  public:
    explicit TBMLBox(QWidget* parent = nullptr);

    /// The index of the last bookmark chosen; 0 after a document is loaded into the viewer.
    int RememberedIndex() const { return rememberedIndex_; }
    void SetRememberedIndex(int index) { rememberedIndex_ = index; }

    /// Fills the list with `titles` (UTF-8) and selects the remembered entry.
    void Fill(const std::vector<std::string>& titles);
    /// A click (or Enter) on entry `index`: it becomes the remembered index, the list closes.
    void ListBox1Click(int index);

    QListWidget& ListBox() { return *ListBox1; }

  private:
    QListWidget* ListBox1 = nullptr;
    int rememberedIndex_ = 0;
};

}  // namespace tomery::viewer
