// The registry file: reading keys and values as the registry export format writes them,
// rewriting one value with every other line kept, and damaged files left alone.
#include "RegistryFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace tomery::install {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

constexpr char kCore[] = "Software\\Palm Computing\\Pilot Desktop\\Core";
constexpr char kManager[] = "Software\\Palm Computing\\Pilot Desktop\\HotSync Manager";

const std::string kExample =
    "REGEDIT4\r\n"
    "\r\n"
    "; written by hand\r\n"
    "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\r\n"
    "\"Path\"=\"C:\\\\Palm \\\"Desk\\\"\"\r\n"
    "\"Count\"=dword:0000000a\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
    "\"Path\"=\"elsewhere\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\HotSync Manager]\r\n"
    "\"Install3\"=dword:00000000\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  03,04\r\n"
    "; the end\r\n";

class RegistryFile : public ::testing::Test {
  protected:
    std::string Write(const std::string& text) {
        WriteFile(folder.Path("registry.reg"), text);
        return folder.Path("registry.reg");
    }
    TempFolder folder;
};

TEST_F(RegistryFile, ReadsKeysAndValuesWithoutRegardToCase) {
    const TRegistryFile registry(Write(kExample));
    EXPECT_EQ(registry.Problem(), "");
    EXPECT_TRUE(registry.OpenKey("software\\palm computing"));  // a key above a section
    EXPECT_TRUE(registry.OpenKey(kManager));
    EXPECT_FALSE(registry.OpenKey("Software\\Other"));  // another root
    EXPECT_EQ(registry.ReadString(kCore, "path", 256), "C:\\Palm \"Desk\"");
    EXPECT_EQ(registry.ReadString(kCore, "Path", 5), "C:\\P");          // bounded buffer
    EXPECT_EQ(registry.ReadString(kCore, "Count", 256), std::nullopt);  // not a string
    EXPECT_EQ(registry.ReadString(kCore, "Missing", 256), std::nullopt);
}

TEST_F(RegistryFile, RewritesOneValueAndKeepsEveryOtherLine) {
    const std::string path = Write(kExample);
    TRegistryFile registry(path);
    ASSERT_TRUE(registry.WriteInteger(kManager, "install3", 1));
    ASSERT_TRUE(registry.WriteInteger(kManager, "Install4660", 1));
    ASSERT_TRUE(registry.WriteInteger(kCore, "Fresh", 0xABCDEF12));
    std::string expected = kExample;
    expected.replace(expected.find("\"Install3\"=dword:00000000"), 25,
                     "\"Install3\"=dword:00000001");
    expected.insert(expected.find("; the end"), "\"Install4660\"=dword:00000001\r\n");
    expected.insert(expected.find("\r\n\r\n[HKEY_LOCAL") + 2, "\"Fresh\"=dword:abcdef12\r\n");
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_FALSE(registry.WriteInteger("Software\\Nowhere", "X", 1));
}

TEST_F(RegistryFile, GivesAKeyThatExistsOnlyThroughKeysBelowItASectionOfItsOwn) {
    const std::string path = Write("REGEDIT4\n[HKEY_CURRENT_USER\\A\\B\\C]\n");
    TRegistryFile registry(path);
    ASSERT_TRUE(registry.WriteInteger("A\\B", "N", 2));
    EXPECT_EQ(ReadFile(path),
              "REGEDIT4\n[HKEY_CURRENT_USER\\A\\B\\C]\n\n[HKEY_CURRENT_USER\\A\\B]\n"
              "\"N\"=dword:00000002\n");
}

/// Latin-1 text as UTF-16 LE with a byte order mark, as regedit exports it.
std::string Utf16(const std::string& latin1) {
    std::string bytes = "\xFF\xFE";
    for (const char c : latin1) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST_F(RegistryFile, ReadsAndWritesBackAUtf16Export) {
    const std::string export5 =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\r\n"
        "\"Path\"=\"C:\\\\Palm\"\r\n"
        "\"Owner\"=\"Jos\xE9\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\HotSync Manager]\r\n"
        "\"Install3\"=dword:00000000\r\n";
    const std::string path = Write(Utf16(export5));
    TRegistryFile registry(path);
    EXPECT_EQ(registry.Problem(), "");
    EXPECT_EQ(registry.Format(), TRegistryFormat::Regedit5);
    EXPECT_EQ(registry.ReadString(kCore, "Path", 256), "C:\\Palm");
    EXPECT_EQ(registry.ReadString(kCore, "Owner", 256), "Jos\xC3\xA9");  // as UTF-8
    ASSERT_TRUE(registry.WriteInteger(kManager, "Install3", 1));
    std::string expected = export5;
    expected.replace(expected.find("dword:00000000"), 14, "dword:00000001");
    EXPECT_EQ(ReadFile(path), Utf16(expected));

    const std::string halfCharacter = Utf16("REGEDIT4") + "x";
    TRegistryFile damaged(Write(halfCharacter));
    EXPECT_NE(damaged.Problem().find("is damaged"), std::string::npos);
    EXPECT_FALSE(damaged.WriteInteger("A", "N", 1));
    EXPECT_EQ(ReadFile(path), halfCharacter);
}

TEST_F(RegistryFile, ReadsADamagedFileAsEmptyAndNeverWritesIt) {
    const char* damaged[] = {
        "Windows Registry Editor\r\n[HKEY_CURRENT_USER\\A]\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n",
        "REGEDIT4\r\n\"Outside\"=\"x\"\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"Open=\"x\"\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"N\"=dword:xyz\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\nstray junk\r\n",
        "\x01\x02\x03",
    };
    for (const char* text : damaged) {
        const std::string path = Write(text);
        TRegistryFile registry(path);
        EXPECT_NE(registry.Problem().find(path), std::string::npos) << text;
        EXPECT_FALSE(registry.OpenKey("A")) << text;
        EXPECT_FALSE(registry.WriteInteger("A", "N", 1)) << text;
        EXPECT_EQ(ReadFile(path), text);
    }
    EXPECT_EQ(TRegistryFile(folder.Path("absent.reg")).Problem(), "");
}

}  // namespace
}  // namespace tomery::install
