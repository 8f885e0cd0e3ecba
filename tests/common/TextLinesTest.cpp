// Text files cut into lines whatever line ends they were written with.
#include "TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tomery {
namespace {

TEST(SplitTextLines, EndsLinesAtCrLfLoneCrAndLoneLfWithoutAFinalEmptyLine) {
    const std::pair<std::string_view, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb\n", {"a", "", "b"}},
    };
    for (const auto& [bytes, lines] : cases) {
        EXPECT_EQ(SplitTextLines(bytes), lines) << ::testing::PrintToString(std::string(bytes));
    }
}

}  // namespace
}  // namespace tomery
