// The file dump and the two test tools.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Tools_Dump.h"

namespace tomery::tools {
namespace {

TEST(AppendDump, LinesUpTheCharacterColumnOfAShortLastLine) {
    const TWorkLines dump =
        AppendDump({"text"}, "/f/name", std::string_view("0123456789ABCDEF\0\x01xy", 20), 16);
    ASSERT_EQ(dump.size(), 5u);
    EXPECT_EQ(dump[1], "Dump File - /f/name");
    EXPECT_EQ(dump[2], "");
    EXPECT_EQ(dump[3],
              "       0  30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  0123456789ABCDEF");
    EXPECT_EQ(dump[4], "      16  00 01 78 79 " + std::string(36, ' ') + "   xy");
}

TEST(AppendDump, CountsOffsetsInStepsOfTheLineWidth) {
    const std::tuple<std::string_view, std::int32_t, std::vector<std::string>> cases[] = {
        {"", 16, {}},
        {"abcdefghij", 4, {"       0  ", "       4  ", "       8  "}},
        {"abc", 0, {}},
        {"abc", -3, {}},
    };
    for (const auto& [bytes, width, offsets] : cases) {
        const TWorkLines dump = AppendDump({}, "f", bytes, width);
        ASSERT_EQ(dump.size(), 2 + offsets.size()) << bytes << width;
        for (std::size_t line = 0; line < offsets.size(); ++line) {
            EXPECT_EQ(dump[2 + line].substr(0, 10), offsets[line]);
        }
    }
}

std::optional<double> ReadCNumber(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0' ? std::optional<double>(value) : std::nullopt;
}

TEST(AppendSizeReport, AddsUpTheSizesNotedAfterAnAt) {
    const TWorkLines report = AppendSizeReport({"app @12", "x@700", "none"}, ReadCNumber);
    EXPECT_EQ(TWorkLines(report.begin() + 3, report.end()),
              (TWorkLines{"", "", "Results", "-------", "  Total number of apps in the list: 2",
                          "  Sum of all app sizes: 712 MB", "  Number of CD's required: 1.1"}));
    EXPECT_EQ(AppendSizeReport({}, ReadCNumber).back(), "  Number of CD's required: 0.0");
    try {
        AppendSizeReport({"a@1", "b@ lots"}, ReadCNumber);
        ADD_FAILURE();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "' lots' is not a valid floating point value");
    }
}

TEST(AppendCharacterList, ListsTheCodesOneTo255) {
    const TWorkLines list = AppendCharacterList({"text"});
    ASSERT_EQ(list.size(), 258u);
    EXPECT_EQ(list[1], "List of ASCII characters");
    EXPECT_EQ(list[3], "  1 -> \x01");
    EXPECT_EQ(list[67], " 65 -> A");
    EXPECT_EQ(list[257], "255 -> \xff");
}

}  // namespace
}  // namespace tomery::tools
