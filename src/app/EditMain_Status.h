// The main window's status bar (six panels) and the rules that enable the menu items when
// their menu opens.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class QLabel;
class QStatusBar;

namespace tomery::app {

class TMainMenus;

/// What the status bar shows of the editor.
struct TStatusFacts {
    bool modified = false;
    std::int32_t line = 0;
    std::int32_t column = 0;
    int tabSize = 8;
    bool insertMode = true;
};

class TStatusPanels {
  public:
    static constexpr std::array<int, 6> kWidths = {150, 60, 75, 75, 90, 75};

    /// Adds the six panels to `statusBar` (Qt owns them through it).
    explicit TStatusPanels(QStatusBar* statusBar);

    /// Panels 1 to 5 as the facts say; panel 0 stays empty.
    void ShowStatus(const TStatusFacts& facts);
    std::string PanelText(std::size_t panel) const;

  private:
    std::array<QLabel*, 6> panels_{};
};

/// What the menu rules read of the editor.
struct TEditorFacts {
    std::int64_t textLength = 0;
    bool modified = false;
    bool hasSelection = false;
    bool canUndo = false;
    bool canRedo = false;
};

/// File1Click: Print, Save, Save As and File Info by the text; Install PDA for a DOC file.
/// File Info is disabled while there is no named document (the command needs a file).
void ApplyFileMenuRules(TMainMenus& menus, const TEditorFacts& editor,
                        const std::string& currentFile);
/// Edit1Click and PopupMenu1Popup: both menus' Cut, Copy and Paste alike.
void ApplyEditMenuRules(TMainMenus& menus, const TEditorFacts& editor, bool clipboardHasText);
/// Search1Click: Find Next needs a search text from the Find dialog.
void ApplySearchMenuRules(TMainMenus& menus, std::int64_t textLength, const std::string& findText);

}  // namespace tomery::app
