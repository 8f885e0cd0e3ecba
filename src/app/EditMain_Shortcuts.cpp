#include "EditMain_Shortcuts.h"

#include "EditMain_Menus.h"
#include "OvcCmd.h"
#include "OvcKeyMap.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>

namespace tomery::app {

namespace {

editor::ModifierSet ModifierSetOf(Qt::KeyboardModifiers modifiers) {
    editor::ModifierSet set = editor::modifier::None;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        set |= editor::modifier::Shift;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        set |= editor::modifier::Ctrl;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        set |= editor::modifier::Alt;
    }
    return set;
}

bool IsCommonShortcut(const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    const auto shortcuts = CommonShortcuts();
    return std::any_of(shortcuts.begin(), shortcuts.end(), [&](const TMenuShortcut& common) {
        return QKeySequence(QString::fromUtf8(common.keys)) == pressed;
    });
}

bool ActiveTablesBind(const editor::TOvcCommandProcessor& commands, const QKeyEvent& key) {
    const editor::ModifierSet modifiers = ModifierSetOf(key.modifiers());
    const editor::KeyCode code =
        editor::QtKeyToVirtualKey(key.key(), (modifiers & editor::modifier::Shift) != 0);
    for (int index = 0; index < commands.Count(); ++index) {
        const editor::TOvcCommandTable& table = commands.Table(index);
        if (!table.Active()) {
            continue;
        }
        for (const editor::TOvcCommandRecord& record : table.Records()) {
            if (record.firstKey == code && record.firstModifiers == modifiers) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEditorKeyGuard::TEditorKeyGuard(const editor::TOvcCommandProcessor& commands, QObject* parent)
    : QObject(parent), commands_(commands) {}

bool TEditorKeyGuard::eventFilter(QObject*, QEvent* event) {
    // Accepting the override makes the key an ordinary key press for the editor.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (IsCommonShortcut(key) && (commands_.Mode() != editor::TTranslateMode::Idle ||
                                      ActiveTablesBind(commands_, key))) {
            event->accept();
        }
    }
    return false;
}

}  // namespace tomery::app
