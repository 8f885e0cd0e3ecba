#include "OvcCmd.h"

#include <algorithm>
#include <stdexcept>

namespace tomery::editor {

EDuplicateCommand::EDuplicateCommand()
    : ECmdProcessorError("Duplicate command found while adding a new command to the table") {}

ETableNotFound::ETableNotFound()
    : ECmdProcessorError("Command table not found or command table index out of range") {}

ENoControllerAssigned::ENoControllerAssigned() : EControllerError("No Controller assigned") {}

namespace {

void CheckIndex(int index, int limit) {
    if (index < 0 || index >= limit) {
        throw std::out_of_range("command record index out of range");
    }
}

bool IsModifierKey(KeyCode key) {
    switch (key) {
        case key::Shift:
        case key::Ctrl:
        case key::Alt:
        case key::CapsLock:
        case key::NumLock:
        case key::ScrollLock:
            return true;
        default:
            return false;
    }
}

bool SecondModifiersMatch(ModifierSet recorded, ModifierSet pressed) {
    return recorded == pressed || (recorded == modifier::PlainOrCtrl &&
                                   (pressed == modifier::None || pressed == modifier::Ctrl));
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string StripTrailingDigits(std::string name) {
    while (name.size() >= 2 && name.back() >= '0' && name.back() <= '9') {
        name.pop_back();
    }
    return name;
}

}  // namespace

bool SameTableName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

int TOvcCommandTable::Add(const TOvcCommandRecord& record) {
    records_.push_back(record);
    return Count() - 1;
}

void TOvcCommandTable::Insert(int index, const TOvcCommandRecord& record) {
    CheckIndex(index, Count() + 1);
    records_.insert(records_.begin() + index, record);
}

void TOvcCommandTable::Replace(int index, const TOvcCommandRecord& record) {
    CheckIndex(index, Count());
    records_[index] = record;
}

void TOvcCommandTable::Delete(int index) {
    CheckIndex(index, Count());
    records_.erase(records_.begin() + index);
}

const TOvcCommandRecord& TOvcCommandTable::Record(int index) const {
    CheckIndex(index, Count());
    return records_[index];
}

int TOvcCommandTable::IndexOfKeys(std::uint32_t keySequence) const {
    const auto found = std::ranges::find(records_, keySequence, &TOvcCommandRecord::KeySequence);
    return found == records_.end() ? -1 : static_cast<int>(found - records_.begin());
}

TOvcCommandProcessor::TOvcCommandProcessor() {
    AddBuiltInTable(TBuiltInTable::Default, true);
    AddBuiltInTable(TBuiltInTable::WordStar, false);
    AddBuiltInTable(TBuiltInTable::Grid, false);
    Reset();
}

bool TOvcCommandProcessor::HasTableNamed(std::string_view name) const {
    return std::ranges::any_of(
        tables_, [name](const auto& table) { return SameTableName(table->Name(), name); });
}

std::string TOvcCommandProcessor::UniqueName(const std::string& name) const {
    const std::string stem = StripTrailingDigits(name);
    // The stem alone is not enough: "Default5" must still be renamed when a "Default5" exists
    // and no "Default" does.
    if (!HasTableNamed(stem) && !HasTableNamed(name)) {
        return name;
    }
    for (int number = 1;; ++number) {
        std::string candidate = stem + std::to_string(number);
        if (!HasTableNamed(candidate)) {
            return candidate;
        }
    }
}

int TOvcCommandProcessor::AddTable(TOvcCommandTable table) {
    table.SetName(UniqueName(table.Name()));
    tables_.push_back(std::make_unique<TOvcCommandTable>(std::move(table)));
    return Count() - 1;
}

int TOvcCommandProcessor::CreateTable(std::string name, bool active) {
    return AddTable(TOvcCommandTable(std::move(name), active));
}

int TOvcCommandProcessor::AddBuiltInTable(TBuiltInTable table, bool active) {
    const int index = CreateTable(std::string(BuiltInTableName(table)), active);
    const std::string name = tables_[index]->Name();
    for (const TOvcCommandRecord& record : BuiltInCommands(table)) {
        AddCommand(name, record);
    }
    return index;
}

TOvcCommandTable* TOvcCommandProcessor::FindTable(std::string_view name) {
    const auto found = std::ranges::find_if(
        tables_, [name](const auto& table) { return SameTableName(table->Name(), name); });
    return found == tables_.end() ? nullptr : found->get();
}

void TOvcCommandProcessor::CheckTableIndex(int index) const {
    if (index < 0 || index >= Count()) {
        throw ETableNotFound();
    }
}

TOvcCommandTable& TOvcCommandProcessor::Table(int index) {
    CheckTableIndex(index);
    return *tables_[index];
}

const TOvcCommandTable& TOvcCommandProcessor::Table(int index) const {
    CheckTableIndex(index);
    return *tables_[index];
}

int TOvcCommandProcessor::AddCommand(std::string_view tableName, const TOvcCommandRecord& record) {
    TOvcCommandTable* table = FindTable(tableName);
    if (table == nullptr) {
        throw ETableNotFound();
    }
    if (table->IndexOfKeys(record.KeySequence()) >= 0) {
        throw EDuplicateCommand();
    }
    return table->Add(record);
}

void TOvcCommandProcessor::Reset() {
    mode_ = TTranslateMode::Idle;
    savedKey_ = 0;
    savedModifiers_ = 0;
}

CommandCode TOvcCommandProcessor::TranslateMessage(KeyCode key, const TOvcKeyboardState& keyboard) {
    return TranslateKey(key, keyboard.HeldModifiers());
}

CommandCode TOvcCommandProcessor::TranslateKey(KeyCode key, ModifierSet modifiers) {
    modifiers &= modifier::All;
    const bool wasAwaiting = mode_ == TTranslateMode::AwaitingSecondKey;
    if (IsModifierKey(key)) {
        return wasAwaiting ? ccKeyPending : ccNotCommand;
    }
    if (mode_ == TTranslateMode::LiteralNextKey) {
        mode_ = TTranslateMode::Idle;
        return ccNotCommand;
    }
    for (const auto& table : tables_) {
        if (!table->Active()) {
            continue;
        }
        if (const CommandCode command = LookUp(*table, key, modifiers); command != ccNone) {
            return command;
        }
    }
    mode_ = TTranslateMode::Idle;
    return wasAwaiting ? ccBrokenSequence : ccNotCommand;
}

CommandCode TOvcCommandProcessor::LookUp(const TOvcCommandTable& table, KeyCode key,
                                         ModifierSet modifiers) {
    const auto modeAfter = [](CommandCode command) {
        return command == ccCtrlChar ? TTranslateMode::LiteralNextKey : TTranslateMode::Idle;
    };
    for (const TOvcCommandRecord& record : table.Records()) {
        if (mode_ == TTranslateMode::AwaitingSecondKey) {
            // A one-key record never completes a sequence, even for a key code of 0.
            if (record.firstKey == savedKey_ && record.firstModifiers == savedModifiers_ &&
                record.secondKey != 0 && record.secondKey == key &&
                SecondModifiersMatch(record.secondModifiers, modifiers)) {
                mode_ = modeAfter(record.command);
                return record.command;
            }
        } else if (record.firstKey == key && record.firstModifiers == modifiers) {
            if (record.secondKey != 0) {
                mode_ = TTranslateMode::AwaitingSecondKey;
                savedKey_ = key;
                savedModifiers_ = modifiers;
                return ccKeyPending;
            }
            mode_ = modeAfter(record.command);
            return record.command;
        }
    }
    return ccNone;
}

}  // namespace tomery::editor
