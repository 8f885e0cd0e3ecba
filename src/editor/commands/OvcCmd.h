// The command processor: key codes, command codes, key tables and the translation of keys.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "OvcExcept.h"

namespace tomery::editor {

/// A Windows virtual-key code; the Qt control maps its keys to these.
using KeyCode = std::uint8_t;
/// The sum of modifier::Shift, modifier::Ctrl and modifier::Alt.
using ModifierSet = std::uint8_t;
/// 0-75 named commands, 249 a typed character, 252-255 translation results, 256 up user commands.
using CommandCode = std::uint16_t;

namespace key {
inline constexpr KeyCode Backspace = 0x08;
inline constexpr KeyCode Tab = 0x09;
inline constexpr KeyCode Enter = 0x0D;
inline constexpr KeyCode Shift = 0x10;
inline constexpr KeyCode Ctrl = 0x11;
inline constexpr KeyCode Alt = 0x12;
inline constexpr KeyCode CapsLock = 0x14;
inline constexpr KeyCode PageUp = 0x21;
inline constexpr KeyCode PageDown = 0x22;
inline constexpr KeyCode End = 0x23;
inline constexpr KeyCode Home = 0x24;
inline constexpr KeyCode Left = 0x25;
inline constexpr KeyCode Up = 0x26;
inline constexpr KeyCode Right = 0x27;
inline constexpr KeyCode Down = 0x28;
inline constexpr KeyCode Insert = 0x2D;
inline constexpr KeyCode Delete = 0x2E;
inline constexpr KeyCode F2 = 0x71;
inline constexpr KeyCode NumLock = 0x90;
inline constexpr KeyCode ScrollLock = 0x91;

/// The key of digit `d` (0-9) on the main keyboard.
constexpr KeyCode Digit(int d) {
    return static_cast<KeyCode>(0x30 + d);
}
/// The key of upper-case letter `c` ('A'-'Z').
constexpr KeyCode Letter(char c) {
    return static_cast<KeyCode>(c);
}
}  // namespace key

namespace modifier {
inline constexpr ModifierSet None = 0;
inline constexpr ModifierSet Shift = 2;
inline constexpr ModifierSet Ctrl = 4;
inline constexpr ModifierSet Alt = 8;
inline constexpr ModifierSet All = Shift | Ctrl | Alt;
/// Only as a record's second modifiers: the second key typed plain or with Ctrl alone.
inline constexpr ModifierSet PlainOrCtrl = 0x80;
}  // namespace modifier

// Named commands, in the order of their name table.
enum : CommandCode {
    ccNone,
    ccBack,
    ccBotOfPage,
    ccBotRightCell,
    ccCompleteDate,
    ccCompleteTime,
    ccCopy,
    ccCtrlChar,
    ccCut,
    ccDec,
    ccDel,
    ccDelBol,
    ccDelEol,
    ccDelLine,
    ccDelWord,
    ccDown,
    ccEnd,
    ccExtendDown,
    ccExtendEnd,
    ccExtendHome,
    ccExtendLeft,
    ccExtendPgDn,
    ccExtendPgUp,
    ccExtendRight,
    ccExtendUp,
    ccExtBotOfPage,
    ccExtFirstPage,
    ccExtLastPage,
    ccExtTopOfPage,
    ccExtWordLeft,
    ccExtWordRight,
    ccFirstPage,
    ccGotoMarker0,
    ccGotoMarker1,
    ccGotoMarker2,
    ccGotoMarker3,
    ccGotoMarker4,
    ccGotoMarker5,
    ccGotoMarker6,
    ccGotoMarker7,
    ccGotoMarker8,
    ccGotoMarker9,
    ccHome,
    ccInc,
    ccIns,
    ccLastPage,
    ccLeft,
    ccNewLine,
    ccNextPage,
    ccPageLeft,
    ccPageRight,
    ccPaste,
    ccPrevPage,
    ccRedo,
    ccRestore,
    ccRight,
    ccScrollDown,
    ccScrollUp,
    ccSetMarker0,
    ccSetMarker1,
    ccSetMarker2,
    ccSetMarker3,
    ccSetMarker4,
    ccSetMarker5,
    ccSetMarker6,
    ccSetMarker7,
    ccSetMarker8,
    ccSetMarker9,
    ccTab,
    ccTableEdit,
    ccTopLeftCell,
    ccTopOfPage,
    ccUndo,
    ccUp,
    ccWordLeft,
    ccWordRight,
};

enum : CommandCode {
    ccTypeChar = 249,
    /// Translation result: the key is not a command and is left to character handling.
    ccNotCommand = 252,
    /// Translation result: the key after a prefix completed no sequence, which is dropped.
    ccBrokenSequence = 254,
    /// Translation result: the key began a two-key sequence, or a modifier key came while one
    /// is pending.
    ccKeyPending = 255,
    ccUserFirst = 256,
};

/// The command name table: entry c names command c.
inline constexpr std::array<std::string_view, ccWordRight + 1> kCommandNames = {
    "ccNone",         "ccBack",         "ccBotOfPage",   "ccBotRightCell", "ccCompleteDate",
    "ccCompleteTime", "ccCopy",         "ccCtrlChar",    "ccCut",          "ccDec",
    "ccDel",          "ccDelBol",       "ccDelEol",      "ccDelLine",      "ccDelWord",
    "ccDown",         "ccEnd",          "ccExtendDown",  "ccExtendEnd",    "ccExtendHome",
    "ccExtendLeft",   "ccExtendPgDn",   "ccExtendPgUp",  "ccExtendRight",  "ccExtendUp",
    "ccExtBotOfPage", "ccExtFirstPage", "ccExtLastPage", "ccExtTopOfPage", "ccExtWordLeft",
    "ccExtWordRight", "ccFirstPage",    "ccGotoMarker0", "ccGotoMarker1",  "ccGotoMarker2",
    "ccGotoMarker3",  "ccGotoMarker4",  "ccGotoMarker5", "ccGotoMarker6",  "ccGotoMarker7",
    "ccGotoMarker8",  "ccGotoMarker9",  "ccHome",        "ccInc",          "ccIns",
    "ccLastPage",     "ccLeft",         "ccNewLine",     "ccNextPage",     "ccPageLeft",
    "ccPageRight",    "ccPaste",        "ccPrevPage",    "ccRedo",         "ccRestore",
    "ccRight",        "ccScrollDown",   "ccScrollUp",    "ccSetMarker0",   "ccSetMarker1",
    "ccSetMarker2",   "ccSetMarker3",   "ccSetMarker4",  "ccSetMarker5",   "ccSetMarker6",
    "ccSetMarker7",   "ccSetMarker8",   "ccSetMarker9",  "ccTab",          "ccTableEdit",
    "ccTopLeftCell",  "ccTopOfPage",    "ccUndo",        "ccUp",           "ccWordLeft",
    "ccWordRight",
};

class ECmdProcessorError : public EOvcException {
  public:
    using EOvcException::EOvcException;
};

class EDuplicateCommand : public ECmdProcessorError {
  public:
    EDuplicateCommand();
};

class ETableNotFound : public ECmdProcessorError {
  public:
    ETableNotFound();
};

class EControllerError : public EOvcException {
  public:
    using EOvcException::EOvcException;
};

/// Raised by an editor window that is created without a controller to attach to.
class ENoControllerAssigned : public EControllerError {
  public:
    ENoControllerAssigned();
};

/// One key binding: a key, or a prefix key and a second key, and its command.
struct TOvcCommandRecord {
    KeyCode firstKey = 0;
    ModifierSet firstModifiers = 0;
    KeyCode secondKey = 0;            ///< 0 for a one-key command
    ModifierSet secondModifiers = 0;  ///< an exact set, or modifier::PlainOrCtrl
    CommandCode command = ccNone;

    /// The four key bytes as one value: the first key in the lowest byte, then the first
    /// modifiers, the second key, and the second modifiers in the highest byte.
    constexpr std::uint32_t KeySequence() const {
        return std::uint32_t{firstKey} | std::uint32_t{firstModifiers} << 8 |
               std::uint32_t{secondKey} << 16 | std::uint32_t{secondModifiers} << 24;
    }
    static constexpr TOvcCommandRecord FromKeySequence(std::uint32_t keys, CommandCode command) {
        return {static_cast<KeyCode>(keys), static_cast<ModifierSet>(keys >> 8),
                static_cast<KeyCode>(keys >> 16), static_cast<ModifierSet>(keys >> 24), command};
    }
    friend constexpr bool operator==(const TOvcCommandRecord&, const TOvcCommandRecord&) = default;
};

/// A named, ordered list of key bindings. Record indexes are 0-based; an index out of range
/// raises std::out_of_range and leaves the table unchanged. The table itself allows any
/// records, duplicates included; TOvcCommandProcessor::AddCommand keeps key sequences unique.
class TOvcCommandTable {
  public:
    TOvcCommandTable() = default;
    TOvcCommandTable(std::string name, bool active) : name_(std::move(name)), active_(active) {}

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    /// Only active tables take part in translation.
    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }

    /// Appends and returns the new record's index.
    int Add(const TOvcCommandRecord& record);
    /// Inserts before `index`; `index` may be Count() to append.
    void Insert(int index, const TOvcCommandRecord& record);
    void Replace(int index, const TOvcCommandRecord& record);
    void Delete(int index);
    void Clear() { records_.clear(); }
    int Count() const { return static_cast<int>(records_.size()); }
    const TOvcCommandRecord& Record(int index) const;
    std::span<const TOvcCommandRecord> Records() const { return records_; }
    /// Index of the first record with these four key bytes, or -1.
    int IndexOfKeys(std::uint32_t keySequence) const;

    friend bool operator==(const TOvcCommandTable&, const TOvcCommandTable&) = default;

  private:
    std::string name_ = "(Unknown)";
    bool active_ = true;
    std::vector<TOvcCommandRecord> records_;
};

enum class TBuiltInTable { Default, WordStar, Grid };

/// "Default", "WordStar" or "Grid".
std::string_view BuiltInTableName(TBuiltInTable table);
/// The built-in records of `table`, in their fixed order.
std::span<const TOvcCommandRecord> BuiltInCommands(TBuiltInTable table);
/// The built-in records of the table whose name equals `name` without regard to case;
/// empty for any other name.
std::span<const TOvcCommandRecord> BuiltInCommandsNamed(std::string_view name);

/// ASCII case-insensitive equality, the rule for table names.
bool SameTableName(std::string_view a, std::string_view b);

/// Where TranslateMessage reads which modifier keys are held down at the moment.
class TOvcKeyboardState {
  public:
    virtual ~TOvcKeyboardState() = default;
    /// The modifier set of the Shift, Ctrl and Alt keys now held down.
    virtual ModifierSet HeldModifiers() const = 0;
};

enum class TTranslateMode { Idle, AwaitingSecondKey, LiteralNextKey };

/// An ordered list of key tables that turns key presses into command codes. Table indexes
/// are 0-based; an index out of range raises ETableNotFound. Table names are compared without
/// regard to case and kept unique by AddTable.
class TOvcCommandProcessor {
  public:
    /// "Default" (active), "WordStar" and "Grid" (both inactive), in this order.
    TOvcCommandProcessor();
    TOvcCommandProcessor(const TOvcCommandProcessor&) = delete;
    TOvcCommandProcessor& operator=(const TOvcCommandProcessor&) = delete;

    /// Appends the table and returns its index. When its name, or that name stripped of
    /// trailing digits (keeping at least one character), is taken, it is renamed to the
    /// stripped name followed by the first of 1, 2, 3 ... that no table has.
    int AddTable(TOvcCommandTable table);
    /// Adds an empty table; returns its index.
    int CreateTable(std::string name, bool active);
    /// Adds a table filled with the built-in records of `table` through AddCommand; it is
    /// renamed like any added table when its name is taken. Returns its index.
    int AddBuiltInTable(TBuiltInTable table, bool active);
    /// The first table with this name, or nullptr. The pointer stays valid until the table
    /// is freed by Clear or ReadTableList.
    TOvcCommandTable* FindTable(std::string_view name);
    TOvcCommandTable& Table(int index);
    const TOvcCommandTable& Table(int index) const;
    int Count() const { return static_cast<int>(tables_.size()); }
    /// Appends the record to the named table and returns its index. Raises ETableNotFound
    /// when no table has the name and EDuplicateCommand when the table already holds the
    /// record's key sequence (the table is then unchanged).
    int AddCommand(std::string_view tableName, const TOvcCommandRecord& record);
    void Clear() { tables_.clear(); }

    /// Translates a key-down message's key with the modifiers that `keyboard` holds down.
    CommandCode TranslateMessage(KeyCode key, const TOvcKeyboardState& keyboard);
    /// Translates `key` pressed with `modifiers` (other bits than Shift, Ctrl and Alt are
    /// ignored). Returns a command code, or ccKeyPending, ccBrokenSequence or ccNotCommand.
    CommandCode TranslateKey(KeyCode key, ModifierSet modifiers);
    /// Back to idle, forgetting a pending prefix key.
    void Reset();
    TTranslateMode Mode() const { return mode_; }

    /// Writes the table list in its persisted form: built-in tables as their differences
    /// from the built-in records, every other table in full.
    void WriteTableList(std::ostream& out) const;
    /// Replaces all tables by the list read from `in` and resets. On malformed input returns
    /// false and keeps the tables as they were.
    [[nodiscard]] bool ReadTableList(std::istream& in);

  private:
    void CheckTableIndex(int index) const;
    std::string UniqueName(const std::string& name) const;
    bool HasTableNamed(std::string_view name) const;
    /// One table's answer for the key; 0 when it has no matching record.
    CommandCode LookUp(const TOvcCommandTable& table, KeyCode key, ModifierSet modifiers);

    std::vector<std::unique_ptr<TOvcCommandTable>> tables_;
    TTranslateMode mode_ = TTranslateMode::Idle;
    KeyCode savedKey_ = 0;  ///< the prefix key while AwaitingSecondKey
    ModifierSet savedModifiers_ = 0;
};

}  // namespace tomery::editor
