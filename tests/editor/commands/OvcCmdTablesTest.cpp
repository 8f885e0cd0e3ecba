#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyNotation.h"
#include "OvcCmd.h"

namespace tomery::editor {
namespace {

using testing::ParseBinding;

std::vector<std::string> WithDigits(std::vector<std::string> bindings, const std::string& keys,
                                    const std::string& command) {
    for (int digit = 0; digit <= 9; ++digit) {
        bindings.push_back(keys + std::to_string(digit) + ' ' + command + std::to_string(digit));
    }
    return bindings;
}

const std::vector<std::string> kExtendBindings = {
    "Shift+Left ccExtendLeft",
    "Shift+Right ccExtendRight",
    "Shift+Home ccExtendHome",
    "Shift+End ccExtendEnd",
    "Ctrl+Shift+Left ccExtWordLeft",
    "Ctrl+Shift+Right ccExtWordRight",
    "Shift+PgUp ccExtendPgUp",
    "Shift+PgDn ccExtendPgDn",
    "Shift+Up ccExtendUp",
    "Shift+Down ccExtendDown",
    "Ctrl+Shift+Home ccExtFirstPage",
    "Ctrl+Shift+End ccExtLastPage",
    "Ctrl+Shift+PgUp ccExtTopOfPage",
    "Ctrl+Shift+PgDn ccExtBotOfPage",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> DefaultBindings() {
    std::vector<std::string> bindings = Concat(
        {"Left ccLeft", "Right ccRight", "Ctrl+Left ccWordLeft", "Ctrl+Right ccWordRight",
         "Home ccHome", "End ccEnd", "Del ccDel", "Backspace ccBack", "Shift+Backspace ccBack",
         "Ctrl+PgUp ccTopOfPage", "Ctrl+PgDn ccBotOfPage", "Ins ccIns", "Ctrl+Z ccUndo",
         "Alt+Backspace ccRestore", "Up ccUp", "Down ccDown", "Ctrl+Enter ccNewLine"},
        kExtendBindings);
    bindings =
        Concat(bindings, {"Shift+Del ccCut", "Ctrl+X ccCut", "Ctrl+Ins ccCopy", "Ctrl+C ccCopy",
                          "Shift+Ins ccPaste", "Ctrl+V ccPaste", "PgUp ccPrevPage",
                          "PgDn ccNextPage", "Ctrl+Home ccFirstPage", "Ctrl+End ccLastPage",
                          "Tab ccTab", "Ctrl+Tab ccTab", "Ctrl+Shift+Z ccRedo"});
    bindings = WithDigits(bindings, "Ctrl+", "ccGotoMarker");
    return WithDigits(bindings, "Ctrl+Shift+", "ccSetMarker");
}

std::vector<std::string> WordStarBindings() {
    std::vector<std::string> bindings = {
        "Ctrl+S ccLeft",     "Ctrl+D ccRight",     "Ctrl+E ccUp",       "Ctrl+X ccDown",
        "Ctrl+R ccPrevPage", "Ctrl+C ccNextPage",  "Ctrl+W ccScrollUp", "Ctrl+Z ccScrollDown",
        "Ctrl+A ccWordLeft", "Ctrl+F ccWordRight", "Ctrl+Q S ccHome",   "Ctrl+Q D ccEnd",
        "Ctrl+G ccDel",      "Ctrl+H ccBack",      "Ctrl+Y ccDelLine",  "Ctrl+Q Y ccDelEol",
        "Ctrl+V ccIns",      "Ctrl+T ccDelWord",   "Ctrl+P ccCtrlChar", "Ctrl+Q L ccRestore",
    };
    bindings = WithDigits(bindings, "Ctrl+Q ", "ccGotoMarker");
    return WithDigits(bindings, "Ctrl+K ", "ccSetMarker");
}

std::vector<std::string> GridBindings() {
    return Concat(Concat({"Left ccLeft", "Right ccRight", "Ctrl+Left ccPageLeft",
                          "Ctrl+Right ccPageRight", "Home ccHome", "End ccEnd", "Del ccDel",
                          "Backspace ccBack", "Ctrl+PgDn ccBotOfPage", "Ctrl+PgUp ccTopOfPage",
                          "Ins ccIns", "Ctrl+Z ccRestore", "Up ccUp", "Down ccDown"},
                         kExtendBindings),
                  {"Ctrl+X ccCut", "Ctrl+C ccCopy", "Ctrl+V ccPaste", "PgUp ccPrevPage",
                   "Ctrl+Home ccFirstPage", "PgDn ccNextPage", "Ctrl+End ccLastPage",
                   "Ctrl+Up ccTopLeftCell", "Ctrl+Down ccBotRightCell", "F2 ccTableEdit"});
}

struct BuiltInCase {
    TBuiltInTable table;
    const char* name;
    std::size_t count;
    std::vector<std::string> (*bindings)();
};

const BuiltInCase kBuiltIns[] = {
    {TBuiltInTable::Default, "Default", 64, DefaultBindings},
    {TBuiltInTable::WordStar, "WordStar", 40, WordStarBindings},
    {TBuiltInTable::Grid, "Grid", 38, GridBindings},
};

TEST(BuiltInTables, HoldTheirBindingsInTheirFixedOrder) {
    for (const BuiltInCase& builtIn : kBuiltIns) {
        SCOPED_TRACE(builtIn.name);
        EXPECT_EQ(BuiltInTableName(builtIn.table), builtIn.name);
        const auto records = BuiltInCommands(builtIn.table);
        const auto expected = builtIn.bindings();
        ASSERT_EQ(records.size(), builtIn.count);
        ASSERT_EQ(expected.size(), builtIn.count);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(records[i], ParseBinding(expected[i]))
                << "record " << i + 1 << ": " << expected[i];
        }
    }
}

TEST(BuiltInTables, AreFoundByNameWithoutRegardToCase) {
    EXPECT_EQ(BuiltInCommandsNamed("wordSTAR").data(),
              BuiltInCommands(TBuiltInTable::WordStar).data());
    EXPECT_EQ(BuiltInCommandsNamed("GRID").size(), 38u);
    EXPECT_TRUE(BuiltInCommandsNamed("Default1").empty());
    EXPECT_TRUE(BuiltInCommandsNamed("").empty());
}

TEST(BuiltInTables, EveryRecordTranslatesToItsCommandWhenItsTableAloneIsActive) {
    for (const BuiltInCase& builtIn : kBuiltIns) {
        TOvcCommandProcessor processor;
        for (int i = 0; i < processor.Count(); ++i) {
            processor.Table(i).SetActive(processor.Table(i).Name() == builtIn.name);
        }
        for (const TOvcCommandRecord& record : BuiltInCommands(builtIn.table)) {
            processor.Reset();  // ccCtrlChar leaves the processor waiting for a literal key
            SCOPED_TRACE(std::string(builtIn.name) + " " +
                         std::string(kCommandNames.at(record.command)));
            if (record.secondKey == 0) {
                EXPECT_EQ(processor.TranslateKey(record.firstKey, record.firstModifiers),
                          record.command);
                continue;
            }
            for (const ModifierSet second : {modifier::None, modifier::Ctrl}) {
                EXPECT_EQ(processor.TranslateKey(record.firstKey, record.firstModifiers),
                          ccKeyPending);
                EXPECT_EQ(processor.TranslateKey(record.secondKey, second), record.command);
            }
        }
    }
}

TEST(BuiltInTables, ProcessorStartsWithDefaultActiveThenWordStarAndGridInactive) {
    TOvcCommandProcessor processor;
    ASSERT_EQ(processor.Count(), 3);
    EXPECT_EQ(processor.Table(0).Name(), "Default");
    EXPECT_TRUE(processor.Table(0).Active());
    EXPECT_EQ(processor.Table(1).Name(), "WordStar");
    EXPECT_FALSE(processor.Table(1).Active());
    EXPECT_EQ(processor.Table(2).Name(), "Grid");
    EXPECT_FALSE(processor.Table(2).Active());
    for (const BuiltInCase& builtIn : kBuiltIns) {
        EXPECT_TRUE(std::ranges::equal(processor.FindTable(builtIn.name)->Records(),
                                       BuiltInCommands(builtIn.table)));
    }
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
}

TEST(CommandNames, NameEveryCodeFromNoneToWordRightInOrder) {
    ASSERT_EQ(kCommandNames.size(), 76u);
    EXPECT_EQ(kCommandNames[ccNone], "ccNone");
    EXPECT_EQ(kCommandNames[ccCtrlChar], "ccCtrlChar");
    EXPECT_EQ(kCommandNames[ccFirstPage], "ccFirstPage");
    EXPECT_EQ(kCommandNames[32], "ccGotoMarker0");
    EXPECT_EQ(kCommandNames[41], "ccGotoMarker9");
    EXPECT_EQ(kCommandNames[ccHome], "ccHome");
    EXPECT_EQ(kCommandNames[54], "ccRestore");
    EXPECT_EQ(kCommandNames[58], "ccSetMarker0");
    EXPECT_EQ(kCommandNames[67], "ccSetMarker9");
    EXPECT_EQ(kCommandNames[ccTab], "ccTab");
    EXPECT_EQ(kCommandNames[75], "ccWordRight");
    EXPECT_EQ(ccHome, 42);
    EXPECT_EQ(ccEnd, 16);
    EXPECT_EQ(ccRestore, 54);
    EXPECT_EQ(ccWordRight, 75);
    EXPECT_EQ(ccTypeChar, 249);
    EXPECT_EQ(ccKeyPending, 255);
}

}  // namespace
}  // namespace tomery::editor
