// The settings file's text: what reading finds and where writing puts a key.
#include "IniText.h"

#include <gtest/gtest.h>

namespace tomery {
namespace {

TEST(IniText, WritesEachKeyInItsPlaceAndKeepsEveryOtherLine) {
    IniText ini("junk\r\n[Font]\r\nname = Old \r\n\r\n[Misc]\r\nX=1\r\n");
    EXPECT_EQ(ini.Value("FONT", "Name"), "Old");
    EXPECT_EQ(ini.Value("Font", "Size"), std::nullopt);
    EXPECT_EQ(ini.Value("Nowhere", "X"), std::nullopt);

    EXPECT_TRUE(ini.SetValue("Font", "Name", "New"));      // replaced where it stands
    EXPECT_TRUE(ini.SetValue("Font", "Size", "12"));       // added after the section's last key
    EXPECT_TRUE(ini.SetValue("Options", "Pad", " pad "));  // a new section at the end, quoted
    EXPECT_FALSE(ini.SetValue("Misc", "X", "two\nlines"));
    EXPECT_EQ(ini.Text(),
              "junk\r\n[Font]\r\nName=New\r\nSize=12\r\n\r\n[Misc]\r\nX=1\r\n\r\n"
              "[Options]\r\nPad=\" pad \"\r\n");
    EXPECT_EQ(ini.Value("options", "pad"), " pad ");
}

TEST(IniText, ReadsOnlyTheFirstOfRepeatedSectionsAndKeys) {
    const IniText ini("[A]\nk=1\nk=2\n[B]\nk=3\n[A]\nk=4\n");
    EXPECT_EQ(ini.Value("A", "k"), "1");
    EXPECT_EQ(ini.Value("B", "k"), "3");
    EXPECT_EQ(IniText().Text(), "");
}

}  // namespace
}  // namespace tomery
