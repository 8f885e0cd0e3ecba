#include "EditMain_Menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QWidget>

#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tomery::app {

namespace {

constexpr char kPopup[] = "PopupMenu1";
constexpr bool kOff = false;

constexpr TMenuItemSpec kSpecs[] = {
    {"File1", "", "&File"},
    {"New1", "File1", "&New"},
    {"Open1", "File1", "&Open..."},
    {"Append1", "File1", "Appen&d...", "", kOff},
    {"Reopen1", "File1", "&Reopen", "", kOff},
    {"ReopenWith1", "File1", "Reopen &with Character Set", "", kOff},
    {"Save1", "File1", "&Save", "", kOff},
    {"SaveAs1", "File1", "Save &as...", "", kOff},
    {"Close1", "File1", "&Close"},
    {"N1", "File1", "-"},
    {"FileInfo1", "File1", "&File Info", "", kOff},
    {"N2", "File1", "-"},
    {"Print1", "File1", "&Print...", "", kOff},
    {"N3", "File1", "-"},
    {"InstallPDA1", "File1", "&Install PDA...", "", kOff},
    {"N4", "File1", "-"},
    {"Exit1", "File1", "E&xit", "Alt+F4"},

    {"Edit1", "", "&Edit", "", kOff},
    {"Undo1", "Edit1", "&Undo", "Ctrl+Z"},
    {"Redo1", "Edit1", "&Redo", "Shift+Ctrl+Z"},
    {"N5", "Edit1", "-"},
    {"Cut1", "Edit1", "Cu&t", "Ctrl+X"},
    {"Copy1", "Edit1", "&Copy", "Ctrl+C"},
    {"Paste1", "Edit1", "&Paste", "Ctrl+V"},
    {"Delete1", "Edit1", "&Delete", "Del"},
    {"N6", "Edit1", "-"},
    {"SelectAll1", "Edit1", "&Select All"},
    {"ClearAll1", "Edit1", "Clear &All"},

    {"Search1", "", "&Search", "", kOff},
    {"Find1", "Search1", "&Find...", "", kOff},
    {"Replace1", "Search1", "&Replace...", "", kOff},
    {"FindNext1", "Search1", "Find &next", "F3", kOff},
    {"N7", "Search1", "-"},
    {"GoToLine1", "Search1", "&Go to line...", "F4", kOff},
    {"Bookmarks1", "Search1", "Boo&kmarks...", "", kOff},

    {"Tools1", "", "&Tools", "", kOff},
    {"Backup1", "Tools1", "&Backup"},
    {"Revert1", "Tools1", "Re&vert", "", kOff},
    {"N8", "Tools1", "-"},
    {"ChangeCase1", "Tools1", "&Change Case"},
    {"AllLower1", "ChangeCase1", "All &Lower"},
    {"AllUpper1", "ChangeCase1", "All &Upper"},
    {"Indent1", "Tools1", "&Indent..."},
    {"Reformat1", "Tools1", "&Reformat"},
    {"FixedWordwrap1", "Reformat1", "&Fixed Wordwrap"},
    {"SmartWordwrap1", "Reformat1", "&Smart Wordwrap"},
    {"Remove1", "Tools1", "Re&move"},
    {"Duplicates1", "Remove1", "&Duplicates"},
    {"ExtCharacters1", "Remove1", "&Ext. Characters"},
    {"HTMLTags1", "Remove1", "&HTML Tags"},
    {"Punctuations1", "Remove1", "&Punctuations"},
    {"ShortWords1", "Remove1", "&Short Words..."},
    {"ShowASCII1", "Tools1", "Show &ASCII"},
    {"Extended1", "ShowASCII1", "&Extended"},
    {"LowCoded1", "ShowASCII1", "&Low Coded"},
    {"Normal1", "ShowASCII1", "&Normal"},
    {"Sort1", "Tools1", "Sor&t"},
    {"Ascending1", "Sort1", "&Ascending..."},
    {"Descending1", "Sort1", "&Descending..."},
    {"Space1", "Tools1", "&Space"},
    {"Single1", "Space1", "&Single"},
    {"Double1", "Space1", "&Double"},
    {"Triple1", "Space1", "&Triple"},
    {"Tabulate1", "Tools1", "Tabulat&e"},
    {"FillInWithSpaces1", "Tabulate1", "&Fill in with spaces"},
    {"ReplaceWithTabs1", "Tabulate1", "&Replace with tabs"},
    {"N9", "Tools1", "-"},
    {"TestTool11", "Tools1", "Test Tool #&1"},
    {"TestTool21", "Tools1", "Test Tool #&2"},
    {"N10", "Tools1", "-"},
    {"Compare1", "Tools1", "Com&pare..."},
    {"DumpFile1", "Tools1", "&Dump File..."},
    {"MarkChapters1", "Tools1", "Mar&k Chapters..."},

    {"View1", "", "&View"},
    {"LoadDocument1", "View1", "&Load Document..."},
    {"Reload1", "View1", "&Reload", "", kOff},
    {"N11", "View1", "-"},
    {"ComparisonLog1", "View1", "Com&parison Log"},
    {"ConversionLog1", "View1", "Con&version Log"},

    {"Options1", "", "&Options"},
    {"AutoIndentation1", "Options1", "&Auto-indentation", "", true, true},
    {"Font1", "Options1", "&Font..."},
    {"Tabs1", "Options1", "&Tabs"},
    {"Filled1", "Tabs1", "&Filled", "", true, true, true},
    {"Real1", "Tabs1", "&Real", "", true, true},
    {"Smart1", "Tabs1", "&Smart", "", true, true},
    {"N12", "Tabs1", "-"},
    {"Size1", "Tabs1", "Si&ze..."},
    {"WordWrap1", "Options1", "&Wordwrap", "", true, true, true},
    {"TrimTrailingBlanks1", "Options1", "Trim Trailing &Blanks", "", true, true, true},
    {"CharacterSet1", "Options1", "&Character Set"},

    {"Help1", "", "&Help"},
    {"HelpContents1", "Help1", "&Help Contents"},
    {"N13", "Help1", "-"},
    {"AboutTomery1", "Help1", "&About Tomery"},

    {"Cut2", kPopup, "Cu&t"},
    {"Copy2", kPopup, "&Copy"},
    {"Paste2", kPopup, "&Paste"},
};

// Ctrl+Q is not among them: it begins the editor's WordStar sequences.
constexpr TMenuShortcut kCommonShortcuts[] = {
    {"New1", "Ctrl+N"},          {"Open1", "Ctrl+O"},  {"Save1", "Ctrl+S"},
    {"SaveAs1", "Ctrl+Shift+S"}, {"Close1", "Ctrl+W"}, {"Print1", "Ctrl+P"},
    {"SelectAll1", "Ctrl+A"},    {"Find1", "Ctrl+F"},  {"Replace1", "Ctrl+H"},
    {"GoToLine1", "Ctrl+G"},
};

/// The item's common shortcut, or "".
const char* CommonShortcutOf(const TMenuItemSpec& spec) {
    for (const TMenuShortcut& common : kCommonShortcuts) {
        if (std::string_view(common.item) == spec.name) {
            return common.keys;
        }
    }
    return "";
}

/// The item's designed shortcut, else its common one, else "".
const char* ShortcutOf(const TMenuItemSpec& spec) {
    return *spec.shortcut != '\0' ? spec.shortcut : CommonShortcutOf(spec);
}

}  // namespace

void GiveMnemonics(QMenu& menu) {
    std::set<QString> taken;
    for (const QAction* action : menu.actions()) {
        taken.insert(QKeySequence::mnemonic(action->text()).toString());
    }
    for (QAction* action : menu.actions()) {
        const QString caption = action->text();
        if (action->isSeparator() || !QKeySequence::mnemonic(caption).isEmpty()) {
            continue;
        }
        const auto free = [&](qsizetype i, bool wordStartsOnly) {
            const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
            return caption[i].isLetterOrNumber() && (wordStart || !wordStartsOnly) &&
                   taken
                       .insert(
                           QKeySequence(QStringLiteral("Alt+") + caption[i].toUpper()).toString())
                       .second;
        };
        for (const bool wordStartsOnly : {true, false}) {
            qsizetype i = 0;
            while (i < caption.size() && !free(i, wordStartsOnly)) {
                ++i;
            }
            if (i < caption.size()) {
                action->setText(QString(caption).insert(i, QLatin1Char('&')));
                break;
            }
        }
    }
}

std::span<const TMenuItemSpec> MainMenuSpecs() {
    return kSpecs;
}

std::span<const TMenuShortcut> CommonShortcuts() {
    return kCommonShortcuts;
}

TMainMenus::TMainMenus(QWidget* window, QMenuBar* menuBar, QMenu* popupMenu) {
    // The Reopen and Reload lists and the character sets are menus whose items come at run
    // time.
    std::set<std::string> menuNames{kPopup, "Reopen1", "Reload1", "ReopenWith1", "CharacterSet1"};
    for (const TMenuItemSpec& spec : kSpecs) {
        menuNames.insert(spec.parent);
    }
    menus_[kPopup] = popupMenu;
    QObject::connect(popupMenu, &QMenu::aboutToShow, [this] { Open(kPopup); });

    for (const TMenuItemSpec& spec : kSpecs) {
        const std::string name = spec.name;
        const QString caption = QString::fromUtf8(spec.caption);
        QMenu* parent = *spec.parent == '\0' ? nullptr : menus_.at(spec.parent);
        QAction* action = nullptr;
        if (menuNames.count(name) != 0) {
            QMenu* menu = parent != nullptr ? parent->addMenu(caption) : menuBar->addMenu(caption);
            menus_[name] = menu;
            action = menu->menuAction();
            QObject::connect(menu, &QMenu::aboutToShow, [this, name] { Open(name); });
        } else if (caption == QLatin1String("-")) {
            action = parent->addSeparator();
        } else {
            const QKeySequence keys(QString::fromUtf8(ShortcutOf(spec)));
            // The shortcut is shown in the item but handled by the window (RunShortcut).
            action = parent->addAction(
                keys.isEmpty() ? caption
                               : caption + '\t' + keys.toString(QKeySequence::NativeText));
            action->setCheckable(spec.checkable);
            action->setChecked(spec.checked);
            QObject::connect(action, &QAction::triggered, [this, name] {
                if (const auto command = commands_.find(name); command != commands_.end()) {
                    command->second();
                }
            });
            // An item with a designed key also answers to its common one (F4 and Ctrl+G).
            const QKeySequence common(QString::fromUtf8(CommonShortcutOf(spec)));
            for (const QKeySequence& bound : {keys, common == keys ? QKeySequence() : common}) {
                if (bound.isEmpty()) {
                    continue;
                }
                auto* shortcut = new QShortcut(bound, window);
                shortcut->setContext(Qt::WindowShortcut);
                QObject::connect(shortcut, &QShortcut::activated,
                                 [this, name] { RunShortcut(name); });
            }
        }
        action->setObjectName(QString::fromUtf8(spec.name));
        action->setEnabled(spec.enabled);
        items_[name] = action;
        parents_[name] = spec.parent;
    }
}

QAction* TMainMenus::Item(const std::string& name) const {
    return items_.at(name);
}

QMenu* TMainMenus::Menu(const std::string& name) const {
    const auto menu = menus_.find(name);
    return menu == menus_.end() ? nullptr : menu->second;
}

void TMainMenus::SetCommand(const std::string& name, std::function<void()> command) {
    Item(name);  // the name must exist
    commands_[name] = std::move(command);
}

QAction* TMainMenus::AppendItem(const std::string& menuName, const std::string& caption,
                                std::function<void()> command) {
    QMenu* menu = Menu(menuName);
    if (menu == nullptr) {
        throw std::out_of_range("no menu " + menuName);
    }
    QAction* action = menu->addAction(QString::fromStdString(caption));
    QObject::connect(action, &QAction::triggered, std::move(command));
    return action;
}

void TMainMenus::SetOpenHandler(const std::string& menuName, std::function<void()> handler) {
    if (Menu(menuName) == nullptr) {
        throw std::out_of_range("no menu " + menuName);
    }
    openHandlers_[menuName] = std::move(handler);
}

void TMainMenus::Open(const std::string& menuName) {
    if (const auto handler = openHandlers_.find(menuName); handler != openHandlers_.end()) {
        handler->second();
    }
}

void TMainMenus::RunShortcut(const std::string& name) {
    std::vector<std::string> menusAbove;
    for (std::string parent = parents_.at(name); parents_.count(parent) != 0;
         parent = parents_.at(parent)) {
        menusAbove.insert(menusAbove.begin(), parent);
    }
    for (const std::string& menu : menusAbove) {
        if (!Item(menu)->isEnabled()) {
            return;
        }
        Open(menu);
    }
    if (Item(name)->isEnabled()) {
        Item(name)->trigger();
    }
}

}  // namespace tomery::app
