// The line comparison: hashing, normalising, matching, moved blocks and the log's listing.
#include "DiffComp.h"
#include "TempFolder.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <random>

namespace tomery::compare {
namespace {

using Lines = std::vector<std::string>;

Lines Listing(const Lines& oldLines, const Lines& newLines, TCompareOptions options = {}) {
    static TDiffComp tables;  // as in the program: one set of tables for every comparison
    tables.Reset(options);
    EXPECT_TRUE(tables.ReadNew(newLines));
    EXPECT_TRUE(tables.ReadOld(oldLines));
    tables.Match();
    Lines log = tables.LogLines("new.txt", "old.txt");
    EXPECT_EQ(Lines(log.begin(), log.begin() + 3),
              (Lines{"Compared new.txt as {new}", "With     old.txt as {old}", ""}));
    return Lines(log.begin() + 3, log.end());
}

TEST(DiffComp, HashAddsFromTheLastCharacterAndHalvesAboveTheThreshold) {
    EXPECT_EQ(LineHash(""), 0);
    EXPECT_EQ(LineHash("A"), 130);
    EXPECT_EQ(LineHash("AB"), 394);  // B first: 132, then (132 + 65) * 2
    EXPECT_EQ(LineHash(std::string(7, 'z')), 30988);
    EXPECT_EQ(LineHash(std::string(8, 'z')), 15556);  // 31110 passes 16255: 31110 / 2 + 1
    EXPECT_EQ(LineHash(std::string(4000, '\xff')), LineHash(std::string(4000, '\xff')));
    EXPECT_LE(LineHash(std::string(4000, '\xff')), 2 * kHashThreshold);
}

TEST(DiffComp, NormalisingDropsControlCharactersAndRaisesOnlyAsciiLetters) {
    const std::string line = "a\tB c\x01\xe9z";
    EXPECT_EQ(NormalizedLine(line, {}), line);
    EXPECT_EQ(NormalizedLine(line, {true, false}), "A\tB C\x01\xe9Z");
    EXPECT_EQ(NormalizedLine(line, {false, true}), "aBc\xe9z");
    EXPECT_EQ(NormalizedLine(line, {true, true}), "ABC\xe9Z");
}

struct Case {
    const char* name;
    Lines oldLines;
    Lines newLines;
    TCompareOptions options;
    Lines listing;
};

const Case kCases[] = {
    {"identical", {"a", "b", ""}, {"a", "b", ""}, {}, {kIdenticalLine, ""}},
    {"both empty", {}, {}, {}, {kIdenticalLine, ""}},
    {"line inserted in the middle",
     {"a", "b", "c"},
     {"a", "b", "new", "c"},
     {},
     {"      a", "      b", "{new} new", "      c"}},
    {"line changed",
     {"a", "b", "c"},
     {"a", "B", "c"},
     {},
     {"      a", "{old} b", "{new} B", "      c"}},
    {"repeated lines only match nothing",
     {"x", "x"},
     {"x", "x", "x"},
     {},
     {"{old} x", "{old} x", "{new} x", "{new} x", "{new} x"}},
    {"equal files of repeated lines are identical",
     {"x", "x"},
     {"x", "x"},
     {},
     {kIdenticalLine, ""}},
    {"repeated lines matched from a unique neighbour",
     {"u", "x", "x", "v"},
     {"u", "x", "x", "w"},
     {},
     {"      u", "      x", "      x", "{old} v", "{new} w"}},
    {"empty common line listed empty",
     {"a", "", "b"},
     {"a", "", "c"},
     {},
     {"      a", "", "{old} b", "{new} c"}},
    {"block moved from the top to the bottom",
     {"m1", "m2", "a", "b", "c", "d"},
     {"a", "b", "c", "d", "m1", "m2"},
     {},
     {"{old} m1", "{old} m2", "      a", "      b", "      c", "      d", "{new} m1", "{new} m2"}},
    {"the shorter rest moves when the moved block is longer",
     {"m1", "m2", "m3", "a"},
     {"a", "m1", "m2", "m3"},
     {},
     {"{new} a", "      m1", "      m2", "      m3", "{old} a"}},
    {"empty old file", {}, {"a", "b"}, {}, {"{new} a", "{new} b"}},
    {"empty new file", {"a", "b"}, {}, {}, {"{old} a", "{old} b"}},
    {"case ignored, shown as spelled in new",
     {"HELLO WORLD", "x"},
     {"hello world", "x"},
     {true, false},
     {kIdenticalLine, ""}},
    {"case ignored keeps the new spelling in the listing",
     {"HELLO", "old"},
     {"hello", "new"},
     {true, false},
     {"      hello", "{old} old", "{new} new"}},
    {"tab against spaces differs without the blanks option",
     {"a\tb", "z"},
     {"a       b", "z"},
     {},
     {"{old} a\tb", "{new} a       b", "      z"}},
    {"tab against spaces matches with the blanks option",
     {"a\tb", "z"},
     {"a       b", "z"},
     {false, true},
     {kIdenticalLine, ""}},
};

TEST(DiffComp, ListsDeletedThenInsertedLinesBetweenCommonOnes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Listing(c.oldLines, c.newLines, c.options), c.listing);
    }
}

TEST(DiffComp, KeepsTheFirst4000LinesOfEachFileAndSaysWhenItCut) {
    Lines many;
    for (int i = 0; i < 4500; ++i) {
        many.push_back("line " + std::to_string(i));
    }
    Lines other;
    for (int i = 0; i < 4500; ++i) {
        other.push_back("other " + std::to_string(i));
    }
    TDiffComp tables;
    tables.Reset({});
    EXPECT_FALSE(tables.ReadNew(many));
    EXPECT_FALSE(tables.ReadOld(other));  // 8000 distinct symbols still find free entries
    tables.Match();
    EXPECT_EQ(tables.NewLineCount(), kMaxLines);
    EXPECT_EQ(tables.OldLineCount(), kMaxLines);
    const Lines log = tables.LogLines("n", "o");
    ASSERT_EQ(log.size(), 3 + 2 * kMaxLines);
    EXPECT_EQ(log[3], "{old} other 0");
    EXPECT_EQ(log.back(), "{new} line 3999");
}

/// Reads the listing as an edit script: common and deleted lines rebuild {old}, common and
/// inserted lines rebuild {new}.
void ApplyListing(const Lines& listing, Lines& rebuiltOld, Lines& rebuiltNew) {
    for (const std::string& line : listing) {
        if (line.starts_with("{old} ")) {
            rebuiltOld.push_back(line.substr(6));
        } else if (line.starts_with("{new} ")) {
            rebuiltNew.push_back(line.substr(6));
        } else {
            const std::string text = line.empty() ? line : line.substr(6);
            rebuiltOld.push_back(text);
            rebuiltNew.push_back(text);
        }
    }
}

TEST(DiffComp, ListingTurnsOldIntoNewForRandomLineLists) {
    std::mt19937 random(17);
    const Lines words{"", "alpha", "beta", "gamma", "delta", "epsilon", "zeta"};
    for (int round = 0; round < 2000; ++round) {
        Lines oldLines, newLines;
        const auto fill = [&](Lines& lines) {
            const int count = static_cast<int>(random() % 25);
            // Some rounds use many distinct lines, so that unique lines anchor matches.
            const unsigned spread = round % 2 == 0 ? 7 : 40;
            for (int i = 0; i < count; ++i) {
                const unsigned pick = static_cast<unsigned>(random() % spread);
                lines.push_back(pick < words.size() ? words[pick] : "line " + std::to_string(pick));
            }
        };
        fill(oldLines);
        fill(newLines);
        SCOPED_TRACE("round " + std::to_string(round));
        const Lines listing = Listing(oldLines, newLines);
        if (listing.front() == kIdenticalLine) {
            EXPECT_EQ(oldLines, newLines);
            continue;
        }
        Lines rebuiltOld, rebuiltNew;
        ApplyListing(listing, rebuiltOld, rebuiltNew);
        ASSERT_EQ(rebuiltOld, oldLines);
        ASSERT_EQ(rebuiltNew, newLines);
        EXPECT_EQ(Listing(newLines, newLines), (Lines{kIdenticalLine, ""}));
    }
}

TEST(DiffComp, LogIsWrittenWithCrLfAndAnUnwritablePathFails) {
    testing::TempFolder folder;
    ASSERT_TRUE(WriteComparisonLog(folder.Path("Comparison.log"), {"a", "", "b"}));
    EXPECT_EQ(testing::ReadFile(folder.Path("Comparison.log")), "a\r\n\r\nb\r\n");
    EXPECT_FALSE(WriteComparisonLog(folder.Path("missing/Comparison.log"), {"a"}));
    EXPECT_FALSE(WriteComparisonLog(folder.Root(), {"a"}));
}

TEST(TextLines, EndAtCrLfLoneCrOrLoneLfWithoutAFinalEmptyLine) {
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\r\r\n\t", {"", "", "\t"}},
        {"x\n\r", {"x", ""}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitTextLines(text), lines) << ::testing::PrintToString(std::string(text));
    }
}

TEST(TextLines, ReadingAMissingFileGivesTheSystemMessage) {
    testing::TempFolder folder;
    testing::WriteFile(folder.Path("old.txt"), std::string("one\r\ntwo"));
    Lines lines{"kept"};
    std::string error;
    EXPECT_FALSE(ReadTextFileLines(folder.Path("none.txt"), lines, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(lines, Lines{"kept"});
    EXPECT_FALSE(ReadTextFileLines(folder.Root(), lines, error));
    ASSERT_TRUE(ReadTextFileLines(folder.Path("old.txt"), lines, error));
    EXPECT_EQ(lines, (Lines{"one", "two"}));
}

}  // namespace
}  // namespace tomery::compare
