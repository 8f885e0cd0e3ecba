// The tools' number conversion and the progress every tool tells.
#include <gtest/gtest.h>

#include "Tools.h"
#include "Tools_Dump.h"
#include "Tools_Filters.h"
#include "Tools_Lines.h"
#include "Tools_Reformat.h"

#include <functional>

namespace tomery::tools {
namespace {

TEST(ParseInteger, TakesDecimalIntegersWithSignAndSurroundingSpaces) {
    const std::pair<const char*, std::int32_t> cases[] = {{"0", 0},
                                                          {"12", 12},
                                                          {"-3", -3},
                                                          {"+4", 4},
                                                          {" 7 ", 7},
                                                          {"-2147483648", INT32_MIN},
                                                          {"2147483647", INT32_MAX}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseInteger(text), value) << text;
    }
}

TEST(ParseInteger, RefusesEverythingElseWithTheUsersMessage) {
    for (const char* text : {"", " ", "abc", "1.5", "12a", "+-1", "--1", "2147483648", "0x10"}) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(ToolProgress, EveryToolTellsItsPartOfTheWorkOftenAndStopsWhenCancelled) {
    using TTool = std::function<TWorkLines(TWorkLines, const TWorkProgress&)>;
    const auto readNumber = [](const std::string&) { return std::optional<double>(1); };
    const std::string dumped(40'000, 'x');
    const std::pair<const char*, TTool> tools[] = {
        {"ChangeCase", [](TWorkLines l, auto& p) { return ChangeCase(l, TCaseChange::Upper, p); }},
        {"Indent", [](TWorkLines l, auto& p) { return Indent(l, 2, 0, SIZE_MAX, p); }},
        {"Sort",
         [](TWorkLines l, auto& p) {
             return SortLines(
                 l, 2, [](std::string_view t) { return std::string(t); }, p);
         }},
        {"FillIn", [](TWorkLines l, auto& p) { return FillInWithSpaces(l, 8, p); }},
        {"ReplaceTabs", [](TWorkLines l, auto& p) { return ReplaceWithTabs(l, 8, p); }},
        {"Fixed", [](TWorkLines l, auto& p) { return FixedWordwrap(l, 5, TAutoIndent::On, p); }},
        {"Smart", [](TWorkLines l, auto& p) { return SmartWordwrap(l, 5, p); }},
        {"ExtCharacters", [](TWorkLines l, auto& p) { return RemoveExtendedCharacters(l, p); }},
        {"Punctuation", [](TWorkLines l, auto& p) { return RemovePunctuation(l, p); }},
        {"ShortWords", [](TWorkLines l, auto& p) { return RemoveShortWords(l, 2, p); }},
        {"HtmlTags", [](TWorkLines l, auto& p) { return RemoveHtmlTags(l, p); }},
        {"Encode", [](TWorkLines l, auto& p) { return EncodeAscii(l, TAsciiCoding::LowCoded, p); }},
        {"Decode", [](TWorkLines l, auto& p) { return DecodeAscii(l, p); }},
        {"Dump", [&](TWorkLines l, auto& p) { return AppendDump(l, "x", dumped, 8, p); }},
        {"SizeReport", [&](TWorkLines l, auto& p) { return AppendSizeReport(l, readNumber, p); }},
    };
    const TWorkLines lines(5000, "Ab, c\t<i>d</i> @3 \xe9");
    for (const auto& [name, tool] : tools) {
        // As the second of three passes, the tool's share is the middle third of the whole.
        std::vector<std::pair<std::uint64_t, std::uint64_t>> told;
        const TWorkProgress whole = [&](std::uint64_t done, std::uint64_t total) {
            told.emplace_back(done, total);
            return true;
        };
        tool(lines, PassProgress(whole, 1, 3));
        ASSERT_GE(told.size(), 4u) << name;
        for (std::size_t i = 0; i < told.size(); ++i) {
            const auto [done, total] = told[i];
            EXPECT_GE(done * 3, total) << name;
            EXPECT_LE(done * 3, total * 2) << name;
            EXPECT_TRUE(i == 0 || done * told[i - 1].second >= told[i - 1].first * total) << name;
        }
        int answers = 0;
        EXPECT_THROW(tool(lines, [&](std::uint64_t, std::uint64_t) { return ++answers < 2; }),
                     EWorkCancelled)
            << name;
        EXPECT_EQ(answers, 2) << name << ": the tool stops at the first No";
    }
}

}  // namespace
}  // namespace tomery::tools
