#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "OvcCmd.h"

namespace tomery::editor {
namespace {

using modifier::Ctrl;
using modifier::Shift;

constexpr KeyCode Q = key::Letter('Q');
constexpr KeyCode Z = key::Letter('Z');

}  // namespace

void PrintTo(const TOvcCommandTable& table, std::ostream* out) {
    *out << '"' << table.Name() << "\" " << (table.Active() ? "active" : "inactive");
    for (const TOvcCommandRecord& record : table.Records()) {
        *out << ' ' << std::hex << record.KeySequence() << std::dec << ':' << record.command;
    }
}

namespace {

std::vector<TOvcCommandTable> TablesOf(const TOvcCommandProcessor& processor) {
    std::vector<TOvcCommandTable> tables;
    for (int i = 0; i < processor.Count(); ++i) {
        tables.push_back(processor.Table(i));
    }
    return tables;
}

std::string Written(const TOvcCommandProcessor& processor) {
    std::ostringstream out;
    processor.WriteTableList(out);
    return out.str();
}

/// Writes `source`, reads the text into a fresh processor and expects the same tables.
void ExpectRoundTrip(const TOvcCommandProcessor& source) {
    TOvcCommandProcessor target;
    std::istringstream in(Written(source));
    ASSERT_TRUE(target.ReadTableList(in));
    EXPECT_EQ(TablesOf(target), TablesOf(source));
}

int PersistedCount(const std::string& text, const std::string& tableName) {
    const auto line = text.find("Table \"" + tableName + "\"");
    const auto count = text.find("CommandList ", line) + 12;
    return std::stoi(text.substr(count));
}

TEST(TableListForm, UnchangedBuiltInTablesAreStoredWithEmptyLists) {
    const TOvcCommandProcessor processor;
    EXPECT_EQ(Written(processor),
              "TableList 3\n"
              "Table \"Default\" Active 1 CommandList 0\n"
              "Table \"WordStar\" Active 0 CommandList 0\n"
              "Table \"Grid\" Active 0 CommandList 0\n");
}

TEST(TableListForm, EmptyListsReadBackAsTheBuiltInTables) {
    TOvcCommandProcessor processor;
    std::istringstream in(
        "TableList 2\n"
        "Table \"WordStar\" Active 0 CommandList 0\n"
        "Table \"Default\" Active 1 CommandList 0\n");
    ASSERT_TRUE(processor.ReadTableList(in));
    ASSERT_EQ(processor.Count(), 2);
    EXPECT_EQ(processor.Table(0).Name(), "WordStar");
    EXPECT_FALSE(processor.Table(0).Active());
    EXPECT_TRUE(
        std::ranges::equal(processor.Table(0).Records(), BuiltInCommands(TBuiltInTable::WordStar)));
    EXPECT_TRUE(
        std::ranges::equal(processor.Table(1).Records(), BuiltInCommands(TBuiltInTable::Default)));
}

TEST(TableListForm, ModifiedBuiltInTableStoresOnlyItsDifferences) {
    TOvcCommandProcessor processor;
    TOvcCommandTable& table = *processor.FindTable("Default");
    table.Delete(table.IndexOfKeys(TOvcCommandRecord{Z, Ctrl, 0, 0, 0}.KeySequence()));
    table.Replace(0, {key::Left, 0, 0, 0, ccWordLeft});
    table.Add({key::F2, Shift, 0, 0, ccUserFirst});
    const std::string text = Written(processor);
    EXPECT_NE(text.find("Table \"Default\" Active 1 CommandList 3\n"
                        "  0000045A 0\n"
                        "  00000025 74\n"
                        "  00000271 256\n"),
              std::string::npos)
        << text;
    ExpectRoundTrip(processor);
}

TEST(TableListForm, ReorderedBuiltInTableRoundTripsExactly) {
    TOvcCommandProcessor processor;
    TOvcCommandTable& table = *processor.FindTable("Grid");
    const TOvcCommandRecord first = table.Record(0);
    table.Delete(0);
    table.Add(first);
    ExpectRoundTrip(processor);
}

TEST(TableListForm, BuiltInKeyBoundToCommandZeroRoundTripsExactly) {
    TOvcCommandProcessor processor;
    processor.FindTable("WordStar")->Replace(3, {key::Letter('X'), Ctrl, 0, 0, ccNone});
    ExpectRoundTrip(processor);
}

TEST(TableListForm, CommandZeroUnderANewKeyRoundTripsInTheShortForm) {
    TOvcCommandProcessor processor;
    processor.AddCommand("Default", {key::F2, Ctrl, 0, 0, ccNone});
    EXPECT_EQ(PersistedCount(Written(processor), "Default"), 1);
    ExpectRoundTrip(processor);
}

TEST(TableListForm, RepeatedKeySequenceKeepsTheRecordThatTranslates) {
    TOvcCommandProcessor processor;
    TOvcCommandTable& table = *processor.FindTable("Default");
    table.Insert(0, {Z, Ctrl, 0, 0, ccRedo});
    TOvcCommandProcessor target;
    std::istringstream in(Written(processor));
    ASSERT_TRUE(target.ReadTableList(in));
    EXPECT_EQ(target.TranslateKey(Z, Ctrl), ccRedo);
    EXPECT_EQ(target.FindTable("Default")->Count(), 64);
}

TEST(TableListForm, BuiltInNamesAreRecognisedWithoutRegardToCase) {
    TOvcCommandProcessor processor;
    processor.Clear();
    processor.AddBuiltInTable(TBuiltInTable::Grid, true);
    processor.Table(0).SetName("GRID");
    EXPECT_EQ(PersistedCount(Written(processor), "GRID"), 0);
    ExpectRoundTrip(processor);
}

TEST(TableListForm, OtherTablesAreStoredInFull) {
    TOvcCommandProcessor processor;
    processor.Clear();
    processor.AddBuiltInTable(TBuiltInTable::Default, true);
    processor.AddBuiltInTable(TBuiltInTable::Default, false);
    processor.CreateTable("My \"keys\"\\\nsecond line", true);
    processor.Table(2).Add({Q, Ctrl, key::Digit(1), modifier::PlainOrCtrl, ccUserFirst + 9});
    processor.Table(2).Add({Q, Ctrl, key::Digit(1), modifier::PlainOrCtrl, ccHome});
    processor.CreateTable("Empty", false);
    const std::string text = Written(processor);
    EXPECT_EQ(PersistedCount(text, "Default1"), 64);
    ExpectRoundTrip(processor);
}

TEST(TableListForm, ReadingFreesTheOldTablesAndResets) {
    TOvcCommandProcessor processor;
    processor.FindTable("WordStar")->SetActive(true);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccKeyPending);
    std::istringstream in("TableList 1 Table \"Mine\" Active 1 CommandList 1 00000451 42");
    ASSERT_TRUE(processor.ReadTableList(in));
    EXPECT_EQ(processor.Mode(), TTranslateMode::Idle);
    ASSERT_EQ(processor.Count(), 1);
    EXPECT_EQ(processor.TranslateKey(Q, Ctrl), ccHome);
}

TEST(TableListForm, RepeatedTableNamesAreMadeUniqueOnReading) {
    TOvcCommandProcessor processor;
    std::istringstream in(
        "TableList 2\n"
        "Table \"Default\" Active 1 CommandList 0\n"
        "Table \"Default\" Active 0 CommandList 1 0000045A 0\n");
    ASSERT_TRUE(processor.ReadTableList(in));
    EXPECT_EQ(processor.Table(1).Name(), "Default1");
    EXPECT_EQ(processor.Table(1).Count(), 63);
}

TEST(TableListForm, DifferencesApplyInOrderToTheBuiltInRecords) {
    TOvcCommandProcessor processor;
    std::istringstream in(
        "TableList 1\n"
        "Table \"grid\" Active 1 CommandList 4\n"
        "  00000025 55\n"     // Left becomes ccRight in place
        "  00000071 0\n"      // F2 deleted
        "  00000072 256\n"    // F3 appended
        "  00000072 257\n");  // and replaced
    ASSERT_TRUE(processor.ReadTableList(in));
    const TOvcCommandTable& table = processor.Table(0);
    ASSERT_EQ(table.Count(), 38);
    EXPECT_EQ(table.Record(0), (TOvcCommandRecord{key::Left, 0, 0, 0, ccRight}));
    EXPECT_EQ(table.Record(37), (TOvcCommandRecord{0x72, 0, 0, 0, 257}));
}

TEST(TableListForm, MalformedInputIsRejectedAndTheTablesAreKept) {
    const char* const kMalformed[] = {
        "",
        "TableList",
        "TableList x",
        "TableList -1",
        "Tables 1",
        "TableList 1",
        "TableList 1 Table Default Active 1 CommandList 0",
        "TableList 1 Table \"Default Active 1 CommandList 0",
        "TableList 1 Table \"Default\" Active 2 CommandList 0",
        "TableList 1 Table \"Default\" Active 1 Commands 0",
        "TableList 1 Table \"Default\" Active 1 CommandList 1",
        "TableList 1 Table \"Default\" Active 1 CommandList 1 00000025",
        "TableList 1 Table \"Default\" Active 1 CommandList 1 G0000025 1",
        "TableList 1 Table \"Default\" Active 1 CommandList 1 100000025 1",
        "TableList 1 Table \"Default\" Active 1 CommandList 1 00000025 65536",
        "TableList 1 Table \"Default\" Active 1 CommandList 1 00000025 -1",
        "TableList 1 Table \"Default\" Active 1 CommandList 4294967296",
        "TableList 2 Table \"Default\" Active 1 CommandList 0",
    };
    for (const char* text : kMalformed) {
        SCOPED_TRACE(text);
        TOvcCommandProcessor processor;
        processor.CreateTable("Kept", true);
        const auto before = TablesOf(processor);
        std::istringstream in(text);
        EXPECT_FALSE(processor.ReadTableList(in));
        EXPECT_EQ(TablesOf(processor), before);
    }
}

TEST(TableListForm, ReadingStopsAtTheEndOfTheList) {
    TOvcCommandProcessor processor;
    std::istringstream in("TableList 0\nFollowing data");
    ASSERT_TRUE(processor.ReadTableList(in));
    EXPECT_EQ(processor.Count(), 0);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "Following");
}

TEST(TableListForm, WritingLeavesTheStreamFormatAsItWas) {
    const TOvcCommandProcessor processor;
    std::ostringstream out;
    out << std::hex;
    processor.WriteTableList(out);
    out << 255;
    EXPECT_TRUE(out.str().ends_with("ff"));
}

}  // namespace
}  // namespace tomery::editor
