// The built-in key tables. Their order matters: the first record with a key decides.
#include <algorithm>
#include <array>

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

/// The digit keys 0 to 9 with `modifiers`, bound to `first` and the nine codes after it.
constexpr std::array<TOvcCommandRecord, 10> OneKeyDigits(ModifierSet modifiers, CommandCode first) {
    std::array<TOvcCommandRecord, 10> row{};
    for (int digit = 0; digit < 10; ++digit) {
        row[digit] = One(Digit(digit), modifiers, static_cast<CommandCode>(first + digit));
    }
    return row;
}

/// Ctrl+prefix followed by the digits 0 to 9, bound to `first` and the nine codes after it.
constexpr std::array<TOvcCommandRecord, 10> PrefixedDigits(char prefix, CommandCode first) {
    std::array<TOvcCommandRecord, 10> row{};
    for (int digit = 0; digit < 10; ++digit) {
        row[digit] = CtrlPrefixed(prefix, Digit(digit), static_cast<CommandCode>(first + digit));
    }
    return row;
}

template <std::size_t... Sizes>
constexpr auto Join(const std::array<TOvcCommandRecord, Sizes>&... parts) {
    std::array<TOvcCommandRecord, (Sizes + ...)> joined{};
    auto next = joined.begin();
    ((next = std::ranges::copy(parts, next).out), ...);
    return joined;
}

constexpr std::array kExtendRecords = {
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
};

constexpr auto kDefault = Join(
    std::array{
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
    },
    kExtendRecords,
    std::array{
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
    },
    OneKeyDigits(Ctrl, ccGotoMarker0), OneKeyDigits(CtrlShift, ccSetMarker0));

constexpr auto kWordStar = Join(
    std::array{
        One(Letter('S'), Ctrl, ccLeft),         One(Letter('D'), Ctrl, ccRight),
        One(Letter('E'), Ctrl, ccUp),           One(Letter('X'), Ctrl, ccDown),
        One(Letter('R'), Ctrl, ccPrevPage),     One(Letter('C'), Ctrl, ccNextPage),
        One(Letter('W'), Ctrl, ccScrollUp),     One(Letter('Z'), Ctrl, ccScrollDown),
        One(Letter('A'), Ctrl, ccWordLeft),     One(Letter('F'), Ctrl, ccWordRight),
        CtrlPrefixed('Q', Letter('S'), ccHome), CtrlPrefixed('Q', Letter('D'), ccEnd),
        One(Letter('G'), Ctrl, ccDel),          One(Letter('H'), Ctrl, ccBack),
        One(Letter('Y'), Ctrl, ccDelLine),      CtrlPrefixed('Q', Letter('Y'), ccDelEol),
        One(Letter('V'), Ctrl, ccIns),          One(Letter('T'), Ctrl, ccDelWord),
        One(Letter('P'), Ctrl, ccCtrlChar),     CtrlPrefixed('Q', Letter('L'), ccRestore),
    },
    PrefixedDigits('Q', ccGotoMarker0), PrefixedDigits('K', ccSetMarker0));

constexpr auto kGrid = Join(
    std::array{
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
    },
    kExtendRecords,
    std::array{
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
    });

static_assert(kDefault.size() == 64 && kWordStar.size() == 40 && kGrid.size() == 38);

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
