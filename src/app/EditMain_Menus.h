// The main window's menus as designed: every item with its caption, shortcut and start
// state, built from one table, with the shell's shortcut rule.
#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tomery::app {

/// One menu entry as designed. `parent` names the menu it belongs to ("" for the menu bar,
/// "PopupMenu1" for the editor's popup menu); a caption of "-" is a separator.
struct TMenuItemSpec {
    const char* name;
    const char* parent;
    const char* caption;
    const char* shortcut = "";  ///< in QKeySequence's portable text, e.g. "Shift+Ctrl+Z"
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

/// The table of Part "menus": the menu bar, then the popup menu, in display order.
std::span<const TMenuItemSpec> MainMenuSpecs();

/// A shortcut beyond the designed table, one users of desktop editors expect.
struct TMenuShortcut {
    const char* item;
    const char* keys;  ///< in QKeySequence's portable text
};

/// The common shortcuts (Ctrl+N New, Ctrl+S Save ...): shown and run like the designed ones,
/// but they give way to the editor's own keys (TEditorKeyGuard).
std::span<const TMenuShortcut> CommonShortcuts();

/// Gives each item of `menu` (one filled at run time) that has no mnemonic the first letter
/// or digit of its caption that no other item of the menu uses, word starts first. The
/// caption reads as before; an item with no free character keeps none.
void GiveMnemonics(QMenu& menu);

/// The built menus. Items are QActions; an item that has items of its own is also a QMenu.
/// Qt owns what is built through the parent widgets; this object only looks things up.
class TMainMenus {
  public:
    /// Builds the menu bar and the popup menu and attaches the shortcuts to `window`.
    TMainMenus(QWidget* window, QMenuBar* menuBar, QMenu* popupMenu);

    QAction* Item(const std::string& name) const;  ///< throws std::out_of_range when unknown
    QMenu* Menu(const std::string& name) const;    ///< nullptr for a plain item

    /// The command an item runs when clicked or through its shortcut.
    void SetCommand(const std::string& name, std::function<void()> command);
    /// Adds an item at the end of a menu that is filled at run time (the Reopen list).
    QAction* AppendItem(const std::string& menuName, const std::string& caption,
                        std::function<void()> command);
    /// What a menu recomputes when it opens (File1Click, Edit1Click ...).
    void SetOpenHandler(const std::string& menuName, std::function<void()> handler);

    /// A shortcut first runs the open handlers of the menus above its item, from the top,
    /// then runs the item only if neither a menu above it nor the item is disabled. The key
    /// is taken in either case.
    void RunShortcut(const std::string& name);

  private:
    void Open(const std::string& menuName);

    std::map<std::string, QAction*> items_;
    std::map<std::string, QMenu*> menus_;
    std::map<std::string, std::string> parents_;
    std::map<std::string, std::function<void()>> commands_;
    std::map<std::string, std::function<void()>> openHandlers_;
};

}  // namespace tomery::app
