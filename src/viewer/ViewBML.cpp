#include "ViewBML.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace tomery::viewer {

TBMLBox::TBMLBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Bookmark List"));
    resize(300, 320);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ListBox1 = new QListWidget(this);
    layout->addWidget(ListBox1);
    connect(ListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ListBox1Click(ListBox1->row(item)); });
    // Enter chooses the current entry, so the list works from the keyboard too.
    connect(ListBox1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ListBox1Click(ListBox1->row(item)); });
}

void TBMLBox::Fill(const std::vector<std::string>& titles) {
    ListBox1->clear();
    for (const std::string& title : titles) {
        ListBox1->addItem(QString::fromStdString(title));
    }
    if (rememberedIndex_ >= 0 && rememberedIndex_ < ListBox1->count()) {
        ListBox1->setCurrentRow(rememberedIndex_);
    }
    ListBox1->setFocus();
}

void TBMLBox::ListBox1Click(int index) {
    if (index >= 0) {
        rememberedIndex_ = index;
    }
    accept();
}

}  // namespace tomery::viewer
