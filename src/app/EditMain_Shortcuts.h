// The main window's common shortcuts (Ctrl+N, Ctrl+S ...) give way to the editor's keys.
#pragma once

#include <QObject>

namespace tomery::editor {
class TOvcCommandProcessor;
}

namespace tomery::app {

/// Watches the editor's keys: a common shortcut whose key one of the editor's active key
/// tables binds, or that continues a key sequence the editor has begun, goes to the editor
/// and not to its menu item. The designed shortcuts (Ctrl+Z, F3 ...) are always the menu's.
class TEditorKeyGuard : public QObject {
  public:
    TEditorKeyGuard(const editor::TOvcCommandProcessor& commands, QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const editor::TOvcCommandProcessor& commands_;
};

}  // namespace tomery::app
