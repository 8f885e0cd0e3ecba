#include "OvcCmd.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tomery::editor {
namespace {

using modifier::Alt;
using modifier::Ctrl;
using modifier::Shift;
constexpr ModifierSet None = modifier::None;

constexpr KeyCode A = key::Letter('A');
constexpr KeyCode D = key::Letter('D');
constexpr KeyCode K = key::Letter('K');
constexpr KeyCode P = key::Letter('P');
constexpr KeyCode Q = key::Letter('Q');
constexpr KeyCode S = key::Letter('S');
constexpr KeyCode X = key::Letter('X');
constexpr KeyCode Z = key::Letter('Z');

constexpr TOvcCommandRecord OneKey(KeyCode key, ModifierSet modifiers, CommandCode command) {
    return {key, modifiers, 0, 0, command};
}

/// The viewer's tables with "WordStar" switched on as well.
void ActivateWordStar(TOvcCommandProcessor& processor) {
    processor.FindTable("WordStar")->SetActive(true);
}

/// The main window's tables: "WordStar" (inactive), then "Default" (active).
void UseMainWindowTables(TOvcCommandProcessor& processor) {
    processor.Clear();
    processor.AddBuiltInTable(TBuiltInTable::WordStar, false);
    processor.AddBuiltInTable(TBuiltInTable::Default, true);
}

// --- TOvcCommandTable ---

TEST(CommandTable, StartsUnknownActiveAndEmpty) {
    const TOvcCommandTable table;
    EXPECT_EQ(table.Name(), "(Unknown)");
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.Count(), 0);
}

TEST(CommandTable, AddInsertReplaceAndDeleteKeepTheOrder) {
    TOvcCommandTable table;
    EXPECT_EQ(table.Add(OneKey(A, Ctrl, ccWordLeft)), 0);
    EXPECT_EQ(table.Add(OneKey(D, Ctrl, ccRight)), 1);
    table.Insert(0, OneKey(S, Ctrl, ccLeft));
    table.Insert(3, OneKey(X, Ctrl, ccDown));
    table.Replace(1, OneKey(A, Ctrl, ccHome));
    table.Delete(2);
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.Record(0), OneKey(S, Ctrl, ccLeft));
    EXPECT_EQ(table.Record(1), OneKey(A, Ctrl, ccHome));
    EXPECT_EQ(table.Record(2), OneKey(X, Ctrl, ccDown));
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
}

TEST(CommandTable, IndexOutOfRangeThrowsAndLeavesTheTableUnchanged) {
    TOvcCommandTable table;
    table.Add(OneKey(A, Ctrl, ccWordLeft));
    EXPECT_THROW(table.Record(1), std::out_of_range);
    EXPECT_THROW(table.Record(-1), std::out_of_range);
    EXPECT_THROW(table.Insert(2, OneKey(D, Ctrl, ccRight)), std::out_of_range);
    EXPECT_THROW(table.Replace(1, OneKey(D, Ctrl, ccRight)), std::out_of_range);
    EXPECT_THROW(table.Delete(-1), std::out_of_range);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.Record(0), OneKey(A, Ctrl, ccWordLeft));
}

TEST(CommandTable, FindsTheFirstRecordWithAllFourKeyBytesEqual) {
    TOvcCommandTable table;
    table.Add({Q, Ctrl, S, modifier::PlainOrCtrl, ccHome});
    table.Add({Q, Ctrl, S, None, ccEnd});
    table.Add({Q, Ctrl, S, None, ccUp});
    EXPECT_EQ(table.IndexOfKeys(TOvcCommandRecord{Q, Ctrl, S, None, 0}.KeySequence()), 1);
    EXPECT_EQ(table.IndexOfKeys(TOvcCommandRecord{Q, Ctrl, 0, 0, 0}.KeySequence()), -1);
}

TEST(CommandRecord, PacksItsKeysFirstKeyLowestSecondModifiersHighest) {
    const TOvcCommandRecord record{Q, Ctrl, S, modifier::PlainOrCtrl, ccHome};
    EXPECT_EQ(record.KeySequence(), 0x80530451u);
    EXPECT_EQ(TOvcCommandRecord::FromKeySequence(0x80530451u, ccHome), record);
}

// --- Tables of the processor ---

TEST(CommandProcessor, RenamesAnAddedTableWhoseNameIsTaken) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.Table(processor.CreateTable("Default", true)).Name(), "Default1");
    EXPECT_EQ(processor.Table(processor.CreateTable("default", true)).Name(), "default2");
    EXPECT_EQ(processor.Table(processor.CreateTable("Default1", true)).Name(), "Default3");
    EXPECT_EQ(processor.Table(processor.CreateTable("Mine", true)).Name(), "Mine");
    EXPECT_EQ(processor.Table(processor.CreateTable("Mine7", true)).Name(), "Mine1");
}

TEST(CommandProcessor, KeepsANumberedNameWhoseStemIsFree) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.Table(processor.CreateTable("Keys12", false)).Name(), "Keys12");
}

TEST(CommandProcessor, StillRenamesANumberedNameThatIsTakenWhenItsStemIsFree) {
    TOvcCommandProcessor processor;
    processor.CreateTable("Keys5", false);
    EXPECT_EQ(processor.Table(processor.CreateTable("Keys5", false)).Name(), "Keys1");
}

TEST(CommandProcessor, StripsDigitsOnlyWhileTwoCharactersRemain) {
    TOvcCommandProcessor processor;
    processor.CreateTable("7", true);
    EXPECT_EQ(processor.Table(processor.CreateTable("7", true)).Name(), "71");
    processor.CreateTable("42", true);
    EXPECT_EQ(processor.Table(processor.CreateTable("42", true)).Name(), "41");
}

TEST(CommandProcessor, AddedBuiltInTableUnderATakenNameIsStillFilled) {
    TOvcCommandProcessor processor;
    const int index = processor.AddBuiltInTable(TBuiltInTable::Grid, true);
    EXPECT_EQ(processor.Table(index).Name(), "Grid1");
    EXPECT_EQ(processor.Table(index).Count(), 38);
    EXPECT_EQ(processor.FindTable("Grid")->Count(), 38);
}

TEST(CommandProcessor, FindsTablesWithoutRegardToCase) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.FindTable("WORDSTAR"), &processor.Table(1));
    EXPECT_EQ(processor.FindTable("Word"), nullptr);
}

TEST(CommandProcessor, TableIndexOutOfRangeRaisesTableNotFound) {
    TOvcCommandProcessor processor;
    EXPECT_THROW(processor.Table(3), ETableNotFound);
    EXPECT_THROW(processor.Table(-1), ETableNotFound);
    processor.Clear();
    EXPECT_EQ(processor.Count(), 0);
    EXPECT_THROW(processor.Table(0), ETableNotFound);
}

TEST(CommandProcessor, AddCommandAppendsToTheNamedTable) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.AddCommand("grid", OneKey(key::F2, Shift, ccUserFirst + 3)), 38);
    EXPECT_EQ(processor.FindTable("Grid")->Record(38), OneKey(key::F2, Shift, 259));
}

TEST(CommandProcessor, AddCommandToAMissingTableRaisesTableNotFound) {
    TOvcCommandProcessor processor;
    try {
        processor.AddCommand("Emacs", OneKey(A, Ctrl, ccHome));
        FAIL() << "no exception";
    } catch (const ECmdProcessorError& error) {
        EXPECT_NE(dynamic_cast<const ETableNotFound*>(&error), nullptr);
        EXPECT_STREQ(error.what(), "Command table not found or command table index out of range");
    }
}

TEST(CommandProcessor, AddingCtrlZToDefaultRaisesDuplicateCommandAndChangesNothing) {
    TOvcCommandProcessor processor;
    try {
        processor.AddCommand("Default", OneKey(Z, Ctrl, ccRedo));
        FAIL() << "no exception";
    } catch (const EOvcException& error) {
        EXPECT_NE(dynamic_cast<const EDuplicateCommand*>(&error), nullptr);
        EXPECT_STREQ(error.what(),
                     "Duplicate command found while adding a new command to the table");
    }
    EXPECT_EQ(processor.FindTable("Default")->Count(), 64);
}

TEST(ControllerErrors, NoControllerAssignedCarriesItsMessage) {
    const ENoControllerAssigned error;
    const EControllerError& base = error;
    EXPECT_STREQ(base.what(), "No Controller assigned");
}

// --- Translation ---

TEST(Translation, MainWindowTablesDoNotStartSequencesOnCtrlQ) {
    TOvcCommandProcessor processor;
    UseMainWindowTables(processor);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccNotCommand);
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
    EXPECT_EQ(processor.TranslateKey(Z, Ctrl), ccUndo);
    EXPECT_EQ(processor.TranslateKey(X, Ctrl), ccCut);
}

TEST(Translation, ActiveTableAfterAnInactiveOneStillTranslates) {
    TOvcCommandProcessor processor;
    UseMainWindowTables(processor);
    EXPECT_EQ(processor.TranslateKey(key::Left, None), ccLeft);
    EXPECT_EQ(processor.TranslateKey(S, Ctrl), ccNotCommand);
}

TEST(Translation, FirstActiveTableWins) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(X, Ctrl), ccCut);
    processor.FindTable("Default")->SetActive(false);
    EXPECT_EQ(processor.TranslateKey(X, Ctrl), ccDown);
}

TEST(Translation, PlainKeysAreLeftToCharacterHandling) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.TranslateKey(A, None), ccNotCommand);
    EXPECT_EQ(processor.TranslateKey(A, Shift), ccNotCommand);
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
}

TEST(Translation, PrefixThenSecondKeyPlainOrWithCtrlCompletesTheSequence) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.Mode(), TTranslateMode::AwaitingSecondKey);
    EXPECT_EQ(processor.TranslateKey(S, None), ccHome);
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(S, Ctrl), ccHome);
}

TEST(Translation, SecondKeyWithOtherModifiersBreaksTheSequence) {
    for (const ModifierSet modifiers : {Shift, Alt, ModifierSet(Ctrl | Shift)}) {
        TOvcCommandProcessor processor;
        ActivateWordStar(processor);
        EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
        EXPECT_EQ(processor.TranslateKey(S, modifiers), ccBrokenSequence);
        EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
        EXPECT_EQ(processor.TranslateKey(S, Ctrl), ccLeft) << "the sequence is dropped";
    }
}

TEST(Translation, UnknownSecondKeyBreaksTheSequenceEvenIfItIsACommandAlone) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(K, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(key::Left, None), ccBrokenSequence);
    EXPECT_EQ(processor.TranslateKey(key::Left, None), ccLeft);
}

TEST(Translation, SecondKeyRecordedWithExactModifiersNeedsThem) {
    TOvcCommandProcessor processor;
    processor.AddCommand("Default", {K, Ctrl, key::Digit(1), Shift, ccUserFirst});
    EXPECT_EQ(processor.TranslateKey(K, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(key::Digit(1), None), ccBrokenSequence);
    EXPECT_EQ(processor.TranslateKey(K, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(key::Digit(1), Shift), ccUserFirst);
}

TEST(Translation, ModifierKeysAloneNeverChangeTheMode) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    for (const KeyCode modifierKey :
         {key::Shift, key::Ctrl, key::Alt, key::CapsLock, key::NumLock, key::ScrollLock}) {
        EXPECT_EQ(processor.TranslateKey(modifierKey, Ctrl), ccNotCommand);
    }
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(key::Shift, Shift), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(key::CapsLock, None), ccKeyPending);
    EXPECT_EQ(processor.Mode(), TTranslateMode::AwaitingSecondKey);
    EXPECT_EQ(processor.TranslateKey(D, None), ccEnd);
}

TEST(Translation, CtrlCharMakesTheNextKeyLiteral) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(P, Ctrl), ccCtrlChar);
    EXPECT_EQ(processor.Mode(), TTranslateMode::LiteralNextKey);
    EXPECT_EQ(processor.TranslateKey(A, None), ccNotCommand);
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
}

TEST(Translation, LiteralKeySkipsTheTablesButNotTheModifierKeys) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(P, Ctrl), ccCtrlChar);
    EXPECT_EQ(processor.TranslateKey(key::Ctrl, Ctrl), ccNotCommand);
    EXPECT_EQ(processor.Mode(), TTranslateMode::LiteralNextKey);
    EXPECT_EQ(processor.TranslateKey(Z, Ctrl), ccNotCommand);
    EXPECT_EQ(processor.TranslateKey(Z, Ctrl), ccUndo);
}

TEST(Translation, CtrlCharAsSecondKeyMakesTheNextKeyLiteral) {
    TOvcCommandProcessor processor;
    processor.AddCommand("Default", {Q, Ctrl, P, modifier::PlainOrCtrl, ccCtrlChar});
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(P, None), ccCtrlChar);
    EXPECT_EQ(processor.Mode(), TTranslateMode::LiteralNextKey);
}

TEST(Translation, SequenceStartedInOneTableCompletesInALaterOne) {
    TOvcCommandProcessor processor;
    processor.FindTable("Grid")->SetActive(true);
    processor.AddCommand("Grid", {key::F2, Ctrl, A, Shift, ccUserFirst + 1});
    EXPECT_EQ(processor.TranslateKey(key::F2, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(A, Shift), ccUserFirst + 1);
}

TEST(Translation, FirstRecordOfAKeyDecidesEvenAgainstALaterSequence) {
    TOvcCommandProcessor processor;
    processor.Clear();
    processor.CreateTable("Mixed", true);
    processor.AddCommand("Mixed", OneKey(Q, Ctrl, ccUserFirst));
    processor.AddCommand("Mixed", {Q, Ctrl, S, modifier::PlainOrCtrl, ccHome});
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccUserFirst);
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
}

TEST(Translation, KeyCodeZeroAfterAPrefixDoesNotMatchAOneKeyRecord) {
    TOvcCommandProcessor processor;
    processor.Clear();
    processor.CreateTable("Odd", true);
    processor.AddCommand("Odd", {Q, Ctrl, S, None, ccHome});
    processor.AddCommand("Odd", OneKey(Q, Ctrl, ccEnd));
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    EXPECT_EQ(processor.TranslateKey(0, None), ccBrokenSequence);
}

TEST(Translation, ResetDropsAPendingPrefix) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    processor.Reset();
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
    EXPECT_EQ(processor.TranslateKey(S, Ctrl), ccLeft);
}

TEST(Translation, PendingPrefixWithNoTablesLeftBreaks) {
    TOvcCommandProcessor processor;
    ActivateWordStar(processor);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    processor.Clear();
    EXPECT_EQ(processor.TranslateKey(S, None), ccBrokenSequence);
    EXPECT_EQ(processor.TranslateKey(S, None), ccNotCommand);
}

TEST(Translation, AltBackspaceTranslatesToRestore) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.TranslateKey(key::Backspace, Alt), ccRestore);
}

TEST(Translation, BitsBeyondShiftCtrlAndAltAreIgnored) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.TranslateKey(Z, Ctrl | 0x81), ccUndo);
}

class FakeKeyboard : public TOvcKeyboardState {
  public:
    explicit FakeKeyboard(ModifierSet held) : held_(held) {}
    ModifierSet HeldModifiers() const override { return held_; }

  private:
    ModifierSet held_;
};

TEST(Translation, MessageTakesItsModifiersFromTheKeyboard) {
    TOvcCommandProcessor processor;
    EXPECT_EQ(processor.TranslateMessage(key::Left, FakeKeyboard(Ctrl | Shift)), ccExtWordLeft);
    EXPECT_EQ(processor.TranslateMessage(key::Left, FakeKeyboard(None)), ccLeft);
}

}  // namespace
}  // namespace tomery::editor
