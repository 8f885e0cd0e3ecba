// Reformat: filling lines, Fixed and Smart Wordwrap.
#include <gtest/gtest.h>

#include "Tools_Reformat.h"

namespace tomery::tools {
namespace {

TEST(FillLines, PlacesWordsGreedilyWithALongWordAlone) {
    const std::tuple<const char*, std::int64_t, std::int64_t, TWorkLines> cases[] = {
        {"", 10, 10, {}},
        {" \t ", 10, 10, {}},
        {"  a  bb   ccc ", 6, 6, {"a bb", "ccc"}},
        {"aaaaaaaaaa b", 5, 5, {"aaaaaaaaaa", "b"}},
        {"a b c d e", 3, 5, {"a b", "c d e"}},
        {"a b", 0, 0, {"a", "b"}},
        {"a b", -4, -4, {"a", "b"}},
    };
    for (const auto& [text, first, width, lines] : cases) {
        EXPECT_EQ(FillLines(text, first, width), lines) << text << " " << first;
    }
}

TEST(FixedWordwrap, BreaksLongLinesKeepingTheirIndentation) {
    struct Case {
        std::int32_t width;
        TAutoIndent autoIndent;
        TWorkLines text, expected;
    };
    using enum TAutoIndent;
    const Case cases[] = {
        {0, Off, {"  one two", "", "three four"}, {"  one", "two", "", "three", "four"}},
        {0, On, {"  one two"}, {"  one", "  two"}},
        {10, Off, {"short  one", "   x  y"}, {"short  one", "   x  y"}},
        {10, Off, {"    aaa bbb ccc ddd"}, {"    aaa", "bbb ccc", "ddd"}},
        {10, On, {"    aaa bbb ccc ddd"}, {"    aaa", "    bbb", "    ccc", "    ddd"}},
        {12, On, {"  aaaaaaaaaaaaaa b"}, {"  aaaaaaaaaaaaaa", "  b"}},
        {5, Off, {"        ", "abcdefghij"}, {"abcdefghij"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FixedWordwrap(c.text, c.width, c.autoIndent), c.expected)
            << c.text.front() << " " << c.width;
    }
}

TEST(SmartWordwrap, JoinsEachParagraphOfRunningTextAndRefillsIt) {
    const TWorkLines text{"one", "two", "", "  indented", "three", "four"};
    EXPECT_EQ(SmartWordwrap(text, 0), (TWorkLines{"one two", "", "  indented", "three four "}));
    EXPECT_EQ(SmartWordwrap({"a  b   c", "", "one two three four"}, 10),
              (TWorkLines{"a b c", "", "one two", "three four"}));
    EXPECT_EQ(SmartWordwrap({"abcdefghijkl x", "\tz"}, 5),
              (TWorkLines{"abcdefghijkl", "x", "\tz"}));
}

}  // namespace
}  // namespace tomery::tools
