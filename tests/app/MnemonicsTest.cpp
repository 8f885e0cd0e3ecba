// Every menu item and every dialog control answers to an Alt+letter of its own.
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <set>

namespace tomery::app {
namespace {

/// The letter a caption marks with "&", or "" for none.
QString Mnemonic(const QString& caption) {
    return QKeySequence::mnemonic(caption).toString();
}

/// Each menu's items without a mnemonic or sharing one, as "menu: item" lines.
void CheckMenu(const QString& name, const QList<QAction*>& actions, QStringList& faults) {
    std::map<QString, QString> taken;
    for (const QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
        const QString letter = Mnemonic(caption);
        if (letter.isEmpty()) {
            faults << name + ": " + caption + " has none";
        } else if (const auto [other, added] = taken.emplace(letter, caption); !added) {
            faults << name + ": " + caption + " shares " + letter + " with " + other->second;
        }
        if (action->menu() != nullptr) {
            CheckMenu(caption, action->menu()->actions(), faults);
        }
    }
}

/// A dialog's controls that take the focus without a mnemonic (a field counts when a label
/// or its group box names it with one), and mnemonics used twice.
void CheckDialog(const QDialog& dialog, QStringList& faults) {
    const QString name = dialog.windowTitle();
    std::map<QString, QString> taken;
    const auto take = [&](const QString& caption) {
        const QString letter = Mnemonic(caption);
        if (!letter.isEmpty() && !taken.emplace(letter, caption).second) {
            faults << name + ": " + caption + " shares " + letter + " with " + taken[letter];
        }
        return !letter.isEmpty();
    };
    std::set<const QWidget*> named;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && take(label->text())) {
            named.insert(label->buddy());
        }
    }
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (take(group->title())) {
            for (const QLineEdit* field : group->findChildren<QLineEdit*>()) {
                named.insert(field);
            }
        }
    }
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&dialog) && !take(button->text())) {
            faults << name + ": " + button->text() + " has none";
        }
    }
    for (const QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
        if (field->isVisibleTo(&dialog) && !field->isReadOnly() && named.count(field) == 0) {
            faults << name + ": a field has no label with a mnemonic";
        }
    }
}

class Mnemonics : public testing::MainWindowTest {};

TEST_F(Mnemonics, EveryMenuItemAndDialogControlHasALetterOfItsOwn) {
    OpenText("text\r\n");
    form->Click("Close1");  // the Reopen list has an entry
    QStringList faults;
    CheckMenu(QStringLiteral("menu bar"), form->menuBar()->actions(), faults);
    CheckMenu(QStringLiteral("popup menu"), form->Menus().Menu("PopupMenu1")->actions(), faults);
    std::size_t dialogs = 0;
    for (const QDialog* dialog : form->findChildren<QDialog*>()) {
        CheckDialog(*dialog, faults);
        ++dialogs;
    }
    EXPECT_GE(dialogs, 5u);  // Find, Replace, Compare, File Information, Install PDA ...
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace tomery::app
