// The Options menu of the main window: auto-indentation, font, tab type and size, word wrap,
// trimming trailing blanks. The settings file keeps all of them but the tab type (FormDestroy
// writes them).
#include "EditMain.h"
#include "OvcEdit.h"

#include <QAction>

namespace tomery::app {

namespace {

struct TTabItem {
    const char* item;
    editor::TTabType type;
};

constexpr TTabItem kTabItems[] = {
    {"Filled1", editor::TTabType::ttFixed},
    {"Real1", editor::TTabType::ttReal},
    {"Smart1", editor::TTabType::ttSmart},
};

}  // namespace

// A checkable item has flipped its own check mark by the time its command runs.
void TEditForm::AutoIndentation1Click() {
    Editor1->SetAutoIndent(menus_->Item("AutoIndentation1")->isChecked());
}

void TEditForm::WordWrap1Click() {
    Editor1->SetWordWrap(menus_->Item("WordWrap1")->isChecked());
    Editor1->SetCaretPosition(1, 1);
}

void TEditForm::TrimTrailingBlanks1Click() {
    Editor1->SetTrimWhiteSpace(menus_->Item("TrimTrailingBlanks1")->isChecked());
}

void TEditForm::TabTypeClick(const std::string& item) {
    for (const TTabItem& tab : kTabItems) {
        menus_->Item(tab.item)->setChecked(tab.item == item);
    }
    for (const TTabItem& tab : kTabItems) {
        if (menus_->Item(tab.item)->isChecked()) {
            Editor1->SetTabType(tab.type);
        }
    }
}

void TEditForm::TabSize1Click() {
    const std::optional<std::string> answer =
        ui_->InputBox("Tab Size", "Enter Tab Size", std::to_string(Editor1->TabSize()));
    if (!answer) {
        return;
    }
    // The tab size is one byte and never 0; any other answer leaves it as it was.
    const std::optional<int> size = WholeNumber(*answer);
    if (!size || *size < 1 || *size > 255) {
        return;
    }
    Editor1->SetTabSize(static_cast<std::uint8_t>(*size));
    RefreshStatus();
}

void TEditForm::Font1Click() {
    editor::TOvcFixedFont& fixedFont = Editor1->FixedFont();
    const editor::TFontStyles style = fixedFont.Style();
    const std::optional<TFontChoice> chosen =
        ui_->ChooseFont({fixedFont.Name().toStdString(), fixedFont.Size(),
                         (style & editor::fsBold) != 0, (style & editor::fsItalic) != 0,
                         (style & editor::fsUnderline) != 0, (style & editor::fsStrikeOut) != 0});
    if (!chosen) {
        return;
    }
    QFont font = fixedFont.Font();
    font.setFamily(QString::fromStdString(chosen->name));
    if (chosen->pointSize > 0) {
        font.setPointSize(chosen->pointSize);
    }
    font.setBold(chosen->bold);
    font.setItalic(chosen->italic);
    font.setUnderline(chosen->underline);
    font.setStrikeOut(chosen->strikeOut);
    // A font that is not fixed pitch is refused with the editor's error; the old one stays.
    fixedFont.Assign(font);
}

void TEditForm::RefreshStatus() {
    std::int32_t column = 0;
    const std::int32_t line = Editor1->isHidden() ? 0 : Editor1->GetCaretPosition(column);
    ShowStatus(line, column);
}

}  // namespace tomery::app
