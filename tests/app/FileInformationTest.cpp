// The texts of the File Information dialog and its word count rule.
#include "EditStat.h"

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

TEST(FileInformationTexts, SizesAndCountsKeepTheirBlanksAndSeparators) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(KiloBytesText(3), " 3 KB");
    EXPECT_EQ(KiloBytesText(1), " 1 KB");
    const struct {
        std::int64_t count;
        const QLocale& locale;
        const char* text;
    } cases[] = {
        {0, english, "  0"},
        {999, english, "  999"},
        {1000, english, "  1,000"},
        {1234567, english, "  1,234,567"},
        {1234567, german, "  1.234.567"},
        {123456, german, "  123.456"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountText(c.count, c.locale), QString::fromUtf8(c.text)) << c.count;
    }
}

TEST(FileInformationTexts, TimeStampKeepsTwoSecondsAndDropsMidnight) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDate date(2024, 3, 5);
    const auto stamp = [&](int h, int m, int s, int ms) {
        return QDateTime(date, QTime(h, m, s, ms));
    };
    // The time part follows the locale's long format; only the zone is left out.
    const QString englishTime = english.toString(QTime(14, 7, 8), QStringLiteral("h:mm:ss AP"));
    EXPECT_EQ(TimeStampText(stamp(14, 7, 9, 900), english), "3/5/24 " + englishTime);
    EXPECT_EQ(TimeStampText(stamp(14, 7, 8, 0), english), "3/5/24 " + englishTime);
    EXPECT_EQ(TimeStampText(stamp(14, 7, 9, 0), german), "05.03.24 14:07:08");
    EXPECT_EQ(TimeStampText(stamp(0, 0, 0, 0), german), "05.03.24");
    EXPECT_EQ(TimeStampText(stamp(0, 0, 1, 999), german), "05.03.24");
    EXPECT_EQ(TimeStampText(stamp(0, 0, 2, 0), german), "05.03.24 00:00:02");
}

TEST(FileInformationWords, RunsBetweenBlanksTabsLineFeedsAndUnitSeparators) {
    const struct {
        const char* line;
        std::int64_t words;
    } cases[] = {
        {"one  two\tthree", 3},
        {"     ", 0},
        {"", 0},
        {"\t one\x1ftwo\nthree ", 3},
        {"punctuation, counts.as-words!", 2},
        {"\xe9t\xe9 caf\xe9", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountWords(tools::TWorkLines{c.line}), c.words) << c.line;
    }
    // A character 0 ends the line's text.
    EXPECT_EQ(CountWords(tools::TWorkLines{std::string("one two\0three four", 18)}), 2);
    EXPECT_EQ(CountWords(tools::TWorkLines{"a b", "", "c d e"}), 5);
}

}  // namespace
}  // namespace tomery::app
