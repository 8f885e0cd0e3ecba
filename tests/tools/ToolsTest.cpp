// The tools' number conversion and the line splitting of appended files.
#include <gtest/gtest.h>

#include "Tools.h"

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

}  // namespace
}  // namespace tomery::tools
