#include "EditMain_Status.h"

#include "DocFileRule.h"
#include "EditMain_Menus.h"
#include "EditMain_Reopen.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <array>

namespace tomery::app {

namespace {

/// The longest text each of the six fixed panels shows: a line number of a text of tens of
/// millions of lines, the longest column a paragraph has, the largest tab size.
constexpr std::array<const char*, 6> kLongestTexts = {
    "", "Modified", "Line 99999999", "Col 32767", "Tab Size 255", "Overwrite"};

/// The designed width, or wider when the panel's longest text needs it in the font it shows.
int PanelWidth(const QLabel& panel, int designed, const char* longest) {
    const int frame = 2 * panel.frameWidth() + 2 * panel.margin() + 6;
    return std::max(designed,
                    panel.fontMetrics().horizontalAdvance(QString::fromLatin1(longest)) + frame);
}

/// The notice panel, which only shows a notice for a while and has it in its tool tip too,
/// gives up what the others had to grow by, so that the six still fit the first run's window.
constexpr int kNarrowestNoticePanel = 60;

}  // namespace

TStatusPanels::TStatusPanels(QStatusBar* statusBar) {
    std::array<int, kWidths.size()> widths{};
    int grown = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(statusBar);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i > kNoticePanel && i < kWidths.size()) {
            widths[i] = PanelWidth(*panels_[i], kWidths[i], kLongestTexts[i]);
            grown += widths[i] - kWidths[i];
        }
    }
    widths[kNoticePanel] = std::max(kNarrowestNoticePanel, kWidths[kNoticePanel] - grown);
    for (std::size_t i = 0; i < kWidths.size(); ++i) {
        panels_[i]->setFixedWidth(widths[i]);
        statusBar->addWidget(panels_[i]);
    }
    // The set and line end take what room the window leaves after the six panels, so that a
    // narrow window never squeezes those into each other; the tool tip has the whole text.
    panels_[kEncodingPanel]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar->addWidget(panels_[kEncodingPanel], 1);
    // The first panel, which the status leaves empty, shows a notice for a while: a notice in
    // a panel of its own would sit beyond the window's usual width.
    noticeTimer_ = new QTimer(statusBar);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(kNoticeMilliseconds);
    QObject::connect(noticeTimer_, &QTimer::timeout, panels_[kNoticePanel], [this] {
        panels_[kNoticePanel]->clear();
        panels_[kNoticePanel]->setToolTip(QString());
    });
}

std::string EncodingStatusText(const std::string& setName, const std::string& fileEncoding,
                               bool lineFeedOnly) {
    std::string text = fileEncoding.empty() ? setName : fileEncoding + " \u2192 " + setName;
    return text + " \u00B7 " + (lineFeedOnly ? "LF" : "CR LF");
}

void TStatusPanels::ShowNotice(const std::string& text, const std::string& details) {
    panels_[kNoticePanel]->setText(QString::fromStdString(text));
    panels_[kNoticePanel]->setToolTip(QString::fromStdString(details));
    noticeTimer_->start();
}

void TStatusPanels::ShowStatus(const TStatusFacts& facts) {
    panels_[1]->setText(facts.modified ? QStringLiteral("Modified") : QString());
    panels_[2]->setText(QStringLiteral("Line %1").arg(facts.line));
    panels_[3]->setText(QStringLiteral("Col %1").arg(facts.column));
    panels_[4]->setText(QStringLiteral("Tab Size %1").arg(facts.tabSize));
    panels_[5]->setText(facts.insertMode ? QStringLiteral("Insert") : QStringLiteral("Overwrite"));
    panels_[kEncodingPanel]->setText(QString::fromStdString(facts.encoding));
    panels_[kEncodingPanel]->setToolTip(QString::fromStdString(facts.encoding));
}

std::string TStatusPanels::PanelText(std::size_t panel) const {
    return panels_.at(panel)->text().toStdString();
}

void ApplyFileMenuRules(TMainMenus& menus, const TEditorFacts& editor,
                        const std::string& currentFile) {
    const bool hasText = editor.textLength > 0;
    menus.Item("Print1")->setEnabled(hasText);
    menus.Item("Save1")->setEnabled(editor.modified);
    menus.Item("SaveAs1")->setEnabled(hasText);
    const bool named = !currentFile.empty() && currentFile != kUntitled;
    menus.Item("FileInfo1")->setEnabled(named && hasText);
    menus.Item("ReopenWith1")->setEnabled(named);
    if (IsDocFile(currentFile)) {
        menus.Item("InstallPDA1")->setEnabled(true);
    }
}

void ApplyEditMenuRules(TMainMenus& menus, const TEditorFacts& editor, bool clipboardHasText) {
    const bool hasText = editor.textLength > 0;
    menus.Item("SelectAll1")->setEnabled(hasText);
    menus.Item("ClearAll1")->setEnabled(hasText);
    menus.Item("Undo1")->setEnabled(editor.canUndo);
    menus.Item("Redo1")->setEnabled(editor.canRedo);
    for (const char* item : {"Cut1", "Copy1", "Cut2", "Copy2"}) {
        menus.Item(item)->setEnabled(editor.hasSelection);
    }
    for (const char* item : {"Paste1", "Paste2"}) {
        menus.Item(item)->setEnabled(clipboardHasText);
    }
}

void ApplySearchMenuRules(TMainMenus& menus, std::int64_t textLength, const std::string& findText) {
    const bool hasText = textLength > 0;
    menus.Item("Find1")->setEnabled(hasText);
    menus.Item("Replace1")->setEnabled(hasText);
    menus.Item("FindNext1")->setEnabled(hasText && !findText.empty());
    menus.Item("GoToLine1")->setEnabled(hasText);
}

}  // namespace tomery::app
