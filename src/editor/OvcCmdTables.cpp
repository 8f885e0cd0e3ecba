// The built-in key tables. Their order matters: the first record with a key decides.
#include "OvcCmd.h"

namespace tomery::editor {

namespace {

using namespace key;
using modifier::Ctrl;
using modifier::Shift;
constexpr ModifierSet None = modifier::None;
constexpr ModifierSet CtrlShift = Ctrl | Shift;

constexpr TOvcCommandRecord One(KeyCode key, ModifierSet modifiers, CommandCode command) {
    return {key, modifiers, 0, 0, command};
}

/// A WordStar sequence: Ctrl+prefix, then the second key plain or with Ctrl.
constexpr TOvcCommandRecord CtrlPrefixed(char prefix, KeyCode second, CommandCode command) {
    return {Letter(prefix), Ctrl, second, modifier::PlainOrCtrl, command};
}

constexpr TOvcCommandRecord kDefault[] = {
    One(Left, None, ccLeft),
    One(Right, None, ccRight),
    One(Left, Ctrl, ccWordLeft),
    One(Right, Ctrl, ccWordRight),
    One(Home, None, ccHome),
    One(End, None, ccEnd),
    One(Delete, None, ccDel),
    One(Backspace, None, ccBack),
    One(Backspace, Shift, ccBack),
    One(PageUp, Ctrl, ccTopOfPage),
    One(PageDown, Ctrl, ccBotOfPage),
    One(Insert, None, ccIns),
    One(Letter('Z'), Ctrl, ccUndo),
    One(Backspace, modifier::Alt, ccRestore),
    One(Up, None, ccUp),
    One(Down, None, ccDown),
    One(Enter, Ctrl, ccNewLine),
    One(Left, Shift, ccExtendLeft),
    One(Right, Shift, ccExtendRight),
    One(Home, Shift, ccExtendHome),
    One(End, Shift, ccExtendEnd),
    One(Left, CtrlShift, ccExtWordLeft),
    One(Right, CtrlShift, ccExtWordRight),
    One(PageUp, Shift, ccExtendPgUp),
    One(PageDown, Shift, ccExtendPgDn),
    One(Up, Shift, ccExtendUp),
    One(Down, Shift, ccExtendDown),
    One(Home, CtrlShift, ccExtFirstPage),
    One(End, CtrlShift, ccExtLastPage),
    One(PageUp, CtrlShift, ccExtTopOfPage),
    One(PageDown, CtrlShift, ccExtBotOfPage),
    One(Delete, Shift, ccCut),
    One(Letter('X'), Ctrl, ccCut),
    One(Insert, Ctrl, ccCopy),
    One(Letter('C'), Ctrl, ccCopy),
    One(Insert, Shift, ccPaste),
    One(Letter('V'), Ctrl, ccPaste),
    One(PageUp, None, ccPrevPage),
    One(PageDown, None, ccNextPage),
    One(Home, Ctrl, ccFirstPage),
    One(End, Ctrl, ccLastPage),
    One(Tab, None, ccTab),
    One(Tab, Ctrl, ccTab),
    One(Letter('Z'), CtrlShift, ccRedo),
    One(Digit(0), Ctrl, ccGotoMarker0),
    One(Digit(1), Ctrl, ccGotoMarker1),
    One(Digit(2), Ctrl, ccGotoMarker2),
    One(Digit(3), Ctrl, ccGotoMarker3),
    One(Digit(4), Ctrl, ccGotoMarker4),
    One(Digit(5), Ctrl, ccGotoMarker5),
    One(Digit(6), Ctrl, ccGotoMarker6),
    One(Digit(7), Ctrl, ccGotoMarker7),
    One(Digit(8), Ctrl, ccGotoMarker8),
    One(Digit(9), Ctrl, ccGotoMarker9),
    One(Digit(0), CtrlShift, ccSetMarker0),
    One(Digit(1), CtrlShift, ccSetMarker1),
    One(Digit(2), CtrlShift, ccSetMarker2),
    One(Digit(3), CtrlShift, ccSetMarker3),
    One(Digit(4), CtrlShift, ccSetMarker4),
    One(Digit(5), CtrlShift, ccSetMarker5),
    One(Digit(6), CtrlShift, ccSetMarker6),
    One(Digit(7), CtrlShift, ccSetMarker7),
    One(Digit(8), CtrlShift, ccSetMarker8),
    One(Digit(9), CtrlShift, ccSetMarker9),
};

constexpr TOvcCommandRecord kWordStar[] = {
    One(Letter('S'), Ctrl, ccLeft),
    One(Letter('D'), Ctrl, ccRight),
    One(Letter('E'), Ctrl, ccUp),
    One(Letter('X'), Ctrl, ccDown),
    One(Letter('R'), Ctrl, ccPrevPage),
    One(Letter('C'), Ctrl, ccNextPage),
    One(Letter('W'), Ctrl, ccScrollUp),
    One(Letter('Z'), Ctrl, ccScrollDown),
    One(Letter('A'), Ctrl, ccWordLeft),
    One(Letter('F'), Ctrl, ccWordRight),
    CtrlPrefixed('Q', Letter('S'), ccHome),
    CtrlPrefixed('Q', Letter('D'), ccEnd),
    One(Letter('G'), Ctrl, ccDel),
    One(Letter('H'), Ctrl, ccBack),
    One(Letter('Y'), Ctrl, ccDelLine),
    CtrlPrefixed('Q', Letter('Y'), ccDelEol),
    One(Letter('V'), Ctrl, ccIns),
    One(Letter('T'), Ctrl, ccDelWord),
    One(Letter('P'), Ctrl, ccCtrlChar),
    CtrlPrefixed('Q', Letter('L'), ccRestore),
    CtrlPrefixed('Q', Digit(0), ccGotoMarker0),
    CtrlPrefixed('Q', Digit(1), ccGotoMarker1),
    CtrlPrefixed('Q', Digit(2), ccGotoMarker2),
    CtrlPrefixed('Q', Digit(3), ccGotoMarker3),
    CtrlPrefixed('Q', Digit(4), ccGotoMarker4),
    CtrlPrefixed('Q', Digit(5), ccGotoMarker5),
    CtrlPrefixed('Q', Digit(6), ccGotoMarker6),
    CtrlPrefixed('Q', Digit(7), ccGotoMarker7),
    CtrlPrefixed('Q', Digit(8), ccGotoMarker8),
    CtrlPrefixed('Q', Digit(9), ccGotoMarker9),
    CtrlPrefixed('K', Digit(0), ccSetMarker0),
    CtrlPrefixed('K', Digit(1), ccSetMarker1),
    CtrlPrefixed('K', Digit(2), ccSetMarker2),
    CtrlPrefixed('K', Digit(3), ccSetMarker3),
    CtrlPrefixed('K', Digit(4), ccSetMarker4),
    CtrlPrefixed('K', Digit(5), ccSetMarker5),
    CtrlPrefixed('K', Digit(6), ccSetMarker6),
    CtrlPrefixed('K', Digit(7), ccSetMarker7),
    CtrlPrefixed('K', Digit(8), ccSetMarker8),
    CtrlPrefixed('K', Digit(9), ccSetMarker9),
};

constexpr TOvcCommandRecord kGrid[] = {
    One(Left, None, ccLeft),
    One(Right, None, ccRight),
    One(Left, Ctrl, ccPageLeft),
    One(Right, Ctrl, ccPageRight),
    One(Home, None, ccHome),
    One(End, None, ccEnd),
    One(Delete, None, ccDel),
    One(Backspace, None, ccBack),
    One(PageDown, Ctrl, ccBotOfPage),
    One(PageUp, Ctrl, ccTopOfPage),
    One(Insert, None, ccIns),
    One(Letter('Z'), Ctrl, ccRestore),
    One(Up, None, ccUp),
    One(Down, None, ccDown),
    One(Left, Shift, ccExtendLeft),
    One(Right, Shift, ccExtendRight),
    One(Home, Shift, ccExtendHome),
    One(End, Shift, ccExtendEnd),
    One(Left, CtrlShift, ccExtWordLeft),
    One(Right, CtrlShift, ccExtWordRight),
    One(PageUp, Shift, ccExtendPgUp),
    One(PageDown, Shift, ccExtendPgDn),
    One(Up, Shift, ccExtendUp),
    One(Down, Shift, ccExtendDown),
    One(Home, CtrlShift, ccExtFirstPage),
    One(End, CtrlShift, ccExtLastPage),
    One(PageUp, CtrlShift, ccExtTopOfPage),
    One(PageDown, CtrlShift, ccExtBotOfPage),
    One(Letter('X'), Ctrl, ccCut),
    One(Letter('C'), Ctrl, ccCopy),
    One(Letter('V'), Ctrl, ccPaste),
    One(PageUp, None, ccPrevPage),
    One(Home, Ctrl, ccFirstPage),
    One(PageDown, None, ccNextPage),
    One(End, Ctrl, ccLastPage),
    One(Up, Ctrl, ccTopLeftCell),
    One(Down, Ctrl, ccBotRightCell),
    One(F2, None, ccTableEdit),
};

static_assert(std::size(kDefault) == 64 && std::size(kWordStar) == 40 && std::size(kGrid) == 38);

constexpr TBuiltInTable kBuiltInTables[] = {TBuiltInTable::Default, TBuiltInTable::WordStar,
                                            TBuiltInTable::Grid};

}  // namespace

std::string_view BuiltInTableName(TBuiltInTable table) {
    switch (table) {
        case TBuiltInTable::WordStar:
            return "WordStar";
        case TBuiltInTable::Grid:
            return "Grid";
        case TBuiltInTable::Default:
            break;
    }
    return "Default";
}

std::span<const TOvcCommandRecord> BuiltInCommands(TBuiltInTable table) {
    switch (table) {
        case TBuiltInTable::WordStar:
            return kWordStar;
        case TBuiltInTable::Grid:
            return kGrid;
        case TBuiltInTable::Default:
            break;
    }
    return kDefault;
}

std::span<const TOvcCommandRecord> BuiltInCommandsNamed(std::string_view name) {
    for (const TBuiltInTable table : kBuiltInTables) {
        if (SameTableName(name, BuiltInTableName(table))) {
            return BuiltInCommands(table);
        }
    }
    return {};
}

}  // namespace tomery::editor
