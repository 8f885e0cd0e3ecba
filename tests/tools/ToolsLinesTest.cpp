// The line tools: change case, indent, sort, spacing, tabulate, remove duplicates.
#include <gtest/gtest.h>

#include <random>

#include "Tools_Lines.h"

namespace tomery::tools {
namespace {

TEST(ChangeCase, TurnsOnlyTheLettersAToZ) {
    const TWorkLines text{"Hello W\xF6rld 42 [@`{]", ""};
    EXPECT_EQ(ChangeCase(text, TCaseChange::Upper), (TWorkLines{"HELLO W\xF6RLD 42 [@`{]", ""}));
    EXPECT_EQ(ChangeCase(text, TCaseChange::Lower), (TWorkLines{"hello w\xF6rld 42 [@`{]", ""}));
}

TEST(Indent, AddsCutsOrRemovesTheIndentationOfTheRange) {
    struct Case {
        std::int32_t n;
        std::size_t first, last;
        TWorkLines expected;
    };
    const TWorkLines text{"  one", "\ttwo", "", "abcdef"};
    const Case cases[] = {
        {4, 0, 99, {"      one", "    \ttwo", "    ", "    abcdef"}},
        {-3, 0, 99, {"one", "wo", "", "cdef"}},
        {-1, 0, 99, text},
        {-100, 0, 99, {"", "", "", ""}},
        {0, 0, 99, {"one", "two", "", "abcdef"}},
        {2, 1, 2, {"  one", "  \ttwo", "  ", "abcdef"}},
        {0, 3, 3, text},
        {INT32_MIN, 0, 0, {"", "\ttwo", "", "abcdef"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Indent(text, c.n, c.first, c.last), c.expected) << c.n << " " << c.first;
    }
    EXPECT_TRUE(Indent({}, 3, 0, static_cast<std::size_t>(-1)).empty());
}

TEST(SortKeyText, RotatesLinesAtTheColumn) {
    const std::tuple<const char*, std::int32_t, const char*> cases[] = {{"abcdef", 1, "abcdef"},
                                                                        {"abcdef", 0, "abcdef"},
                                                                        {"abcdef", -5, "abcdef"},
                                                                        {"abcdef", 3, "cdefab"},
                                                                        {"abcdef", 6, "fabcde"},
                                                                        {"abcdef", 7, "abcdef"},
                                                                        {"", 2, ""}};
    std::string buffer;
    for (const auto& [line, column, key] : cases) {
        EXPECT_EQ(SortKeyText(line, column, buffer), key) << line << " " << column;
    }
}

std::string Folded(std::string_view text) {
    std::string key(text);
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

TEST(SortLines, OrdersByTheTextFromTheColumnOnAndThenByThePartBefore) {
    const TWorkLines text{"b2 zeta", "a2 Alpha", "x", "B1 alpha", "c1 beta"};
    EXPECT_EQ(SortLines(text, 1, Folded),
              (TWorkLines{"a2 Alpha", "B1 alpha", "b2 zeta", "c1 beta", "x"}));
    EXPECT_EQ(SortLines(text, 2, Folded),
              (TWorkLines{"B1 alpha", "c1 beta", "a2 Alpha", "b2 zeta", "x"}));
    EXPECT_EQ(SortLines(text, 4, Folded),
              (TWorkLines{"a2 Alpha", "B1 alpha", "c1 beta", "x", "b2 zeta"}));
}

TEST(Space, DropsBlankLinesOrAddsEmptyOnes) {
    const TWorkLines text{"a", "", " \t\x1f", "b"};
    EXPECT_EQ(Space(text, TSpacing::Single), (TWorkLines{"a", "b"}));
    EXPECT_EQ(Space({"a", "", "b"}, TSpacing::Double), (TWorkLines{"a", "", "", "", "b", ""}));
    EXPECT_EQ(Space({"a", "b"}, TSpacing::Triple), (TWorkLines{"a", "", "", "b", "", ""}));
}

TEST(Tabulate, ReplacesRunsOfSpacesThatReachATabStop) {
    const std::pair<const char*, const char*> cases[] = {
        {"        x", "\tx"},       {"       x", "       x"},       {"abcdefg h", "abcdefg h"},
        {"abcdef  h", "abcdef\th"}, {"                x", "\t\tx"}, {"a   ", "a"},
        {"a  b    c", "a  b\tc"},
    };
    for (const auto& [spaces, tabs] : cases) {
        EXPECT_EQ(ReplaceWithTabs({spaces}, 8), TWorkLines{tabs}) << spaces;
    }
    EXPECT_EQ(FillInWithSpaces({"\tx", "ab\tc\t", "abcdefgh\ti"}, 4),
              (TWorkLines{"    x", "ab  c   ", "abcdefgh    i"}));
}

std::string TrimmedRight(const std::string& line) {
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

TEST(Tabulate, FillingInTheTabsGivesBackTheSpacesUpToTrailingOnes) {
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        std::string line(random() % 40, ' ');
        for (char& c : line) {
            c = random() % 3 == 0 ? 'x' : ' ';
        }
        const std::int32_t tabSize = 1 + static_cast<std::int32_t>(random() % 9);
        const TWorkLines tabbed = ReplaceWithTabs({line}, tabSize);
        EXPECT_EQ(TrimmedRight(FillInWithSpaces(tabbed, tabSize).front()), TrimmedRight(line))
            << '"' << line << "\" " << tabSize;
    }
}

TEST(RemoveDuplicates, ShrinksRunsOfEqualAdjacentLines) {
    EXPECT_EQ(RemoveDuplicates({"A", "A", "B", "A", "a", "", ""}),
              (TWorkLines{"A", "B", "A", "a", ""}));
}

}  // namespace
}  // namespace tomery::tools
