// The main window's status bar (six panels, then the text's character set and line end; the
// first panel carries passing notices) and the rules that enable the menu items when
// their menu opens.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class QLabel;
class QStatusBar;
class QTimer;

namespace tomery::app {

class TMainMenus;

/// What the status bar shows of the editor.
struct TStatusFacts {
    bool modified = false;
    std::int32_t line = 0;
    std::int32_t column = 0;
    int tabSize = 8;
    bool insertMode = true;
    std::string encoding;  ///< "Windows-1252 · CR LF", "UTF-8 → Windows-1252 · LF"
};

class TStatusPanels {
  public:
    static constexpr std::array<int, 6> kWidths = {150, 60, 75, 75, 90, 75};
    static constexpr std::size_t kNoticePanel = 0;
    static constexpr std::size_t kEncodingPanel = 6;
    static constexpr int kNoticeMilliseconds = 8000;

    /// Adds the panels to `statusBar` (Qt owns them through it).
    explicit TStatusPanels(QStatusBar* statusBar);

    /// Panels 1 to 6 as the facts say; panel 0 is left to the notices.
    void ShowStatus(const TStatusFacts& facts);
    /// A passing notice ("Replaced 2: ř → r ...") in panel 0 with `details` as its tool tip,
    /// for kNoticeMilliseconds or until the next one.
    void ShowNotice(const std::string& text, const std::string& details);
    std::string PanelText(std::size_t panel) const;

  private:
    std::array<QLabel*, 7> panels_{};
    QTimer* noticeTimer_ = nullptr;
};

/// "Windows-1252 · CR LF" for a text held as it is; "UTF-8 → Windows-1252 · LF" for one
/// converted from its file's encoding.
std::string EncodingStatusText(const std::string& setName, const std::string& fileEncoding,
                               bool lineFeedOnly);

/// What the menu rules read of the editor.
struct TEditorFacts {
    std::int64_t textLength = 0;
    bool modified = false;
    bool hasSelection = false;
    bool canUndo = false;
    bool canRedo = false;
};

/// File1Click: Print, Save, Save As and File Info by the text; Install PDA for a DOC file.
/// File Info and Reopen with Character Set are disabled while there is no named document
/// (the commands need a file).
void ApplyFileMenuRules(TMainMenus& menus, const TEditorFacts& editor,
                        const std::string& currentFile);
/// Edit1Click and PopupMenu1Popup: both menus' Cut, Copy and Paste alike.
void ApplyEditMenuRules(TMainMenus& menus, const TEditorFacts& editor, bool clipboardHasText);
/// Search1Click: Find Next needs a search text from the Find dialog.
void ApplySearchMenuRules(TMainMenus& menus, std::int64_t textLength, const std::string& findText);

}  // namespace tomery::app
