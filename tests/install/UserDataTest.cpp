// The HotSync users found through the registry file, and a file installed for one of them.
#include "AutoInst.h"
#include "ChildProcess.h"
#include "RegistryFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace tomery::install {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

/// users.dat with Ann (ID 0x1234, folder AnnF) and Bob (ID 7, folder BobF).
std::string TwoUsers() {
    std::string bytes = std::string("\x02", 1) + std::string(12, '\0');
    bytes += std::string(
        "\x34\x12\0\0\x03"
        "Ann\x04"
        "AnnF\0"
        "\x01\x80",
        16);
    bytes += std::string(
        "\x07\0\0\0\x03"
        "Bob\x04"
        "BobF\0",
        14);
    return bytes;
}

class UserData : public ::testing::Test {
  protected:
    void SetUp() override {
        hotSync = folder.Path("Palm");
        std::filesystem::create_directories(hotSync + "/AnnF");
        WriteFile(hotSync + "/users.dat", TwoUsers());
        WriteFile(folder.Path("book.pdb"), "the book");
    }

    /// A registry of the desktop software under `base` with the given last user.
    std::string Registry(const std::string& base, const std::string& lastUser,
                         bool withManager = true) {
        std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\" + base +
                           "\\Pilot Desktop\\Preferences]\n\"LastUserName\"=\"" + lastUser +
                           "\"\n[HKEY_CURRENT_USER\\" + base + "\\Pilot Desktop\\Core]\n" +
                           "\"Path\"=\"" + hotSync + "\"\n";
        if (withManager) {
            text += "[HKEY_CURRENT_USER\\" + base + "\\Pilot Desktop\\HotSync Manager]\n";
        }
        WriteFile(folder.Path("registry.reg"), text);
        return folder.Path("registry.reg");
    }

    TErrorBox RecordBoxes() {
        return [this](const std::string& caption, const std::string& text) {
            boxes.push_back(caption + ": " + text);
        };
    }

    TempFolder folder;
    std::string hotSync;
    std::vector<std::string> boxes;
};

TEST_F(UserData, PrefersTheOlderBaseKeyAndInstallsWithTheUsersFlag) {
    const std::string path = Registry("Software\\U.S. Robotics", "Bob");
    // The newer key points elsewhere: it must not be read while the older one exists.
    WriteFile(path, ReadFile(path) +
                        "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n"
                        "\"Path\"=\"/nowhere\"\n");
    TRegistryFile registry(path);
    TUserData users(registry, RecordBoxes());
    ASSERT_EQ(users.UserCount(), 2);
    EXPECT_EQ(users.DefaultUser(), 1);
    EXPECT_EQ(users.HotSyncPath(), hotSync);
    EXPECT_EQ(users.UserName(2), "");
    EXPECT_EQ(users.UserId(-1), 0);

    WriteFile(hotSync + "/AnnF/Install/book.pdb", "an older copy");
    ASSERT_TRUE(users.InstallFile(0, folder.Path("book.pdb")));
    EXPECT_EQ(ReadFile(hotSync + "/AnnF/Install/book.pdb"), "the book");
    std::filesystem::create_directories(hotSync + "/BobF");
    ASSERT_TRUE(users.InstallFile(1, folder.Path("book.pdb")));
    EXPECT_EQ(ReadFile(hotSync + "/BobF/Install/book.pdb"), "the book");
    const std::string manager = "Software\\U.S. Robotics\\Pilot Desktop\\HotSync Manager";
    TRegistryFile written(path);
    EXPECT_EQ(written.ReadString(manager, "Install4660", 64), std::nullopt);  // a number
    EXPECT_NE(ReadFile(path).find("\"Install4660\"=dword:00000001"), std::string::npos);
    EXPECT_NE(ReadFile(path).find("\"Install7\"=dword:00000001"), std::string::npos);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(users.InstallFile(2, folder.Path("book.pdb")));
}

TEST_F(UserData, FallsBackToTheNewerBaseKeyAndReportsAMissingDesktopSoftware) {
    TRegistryFile palm(Registry("Software\\Palm Computing", "Nobody"));
    EXPECT_EQ(TUserData(palm, RecordBoxes()).UserCount(), 2);

    WriteFile(folder.Path("registry.reg"), "REGEDIT4\n");
    TRegistryFile empty(folder.Path("registry.reg"));
    TUserData none(empty, RecordBoxes());
    EXPECT_EQ(none.UserCount(), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "Pictavo: The PalmPilot Desktop software is not correctly installed."});
}

TEST_F(UserData, CopiesButSetsNoFlagWithoutTheHotSyncManagerKey) {
    TRegistryFile registry(Registry("Software\\Palm Computing", "Ann", false));
    TUserData users(registry, RecordBoxes());
    EXPECT_FALSE(users.InstallFile(0, folder.Path("book.pdb")));
    EXPECT_EQ(ReadFile(hotSync + "/AnnF/Install/book.pdb"), "the book");
    EXPECT_EQ(ReadFile(folder.Path("registry.reg")).find("Install"), std::string::npos);
}

TEST_F(UserData, SetsTheFlagInTheRegistryAsItIsAtInstallTime) {
    const std::string path = Registry("Software\\Palm Computing", "Ann");
    const struct {
        const char* what;
        std::string meanwhile;  ///< the registry file as another program left it
        bool installed;
        std::vector<std::string> boxes;
    } cases[] = {
        {"lines added",
         ReadFile(path) + "[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n",
         true,
         {}},
        {"keys removed",
         "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Other]\n",
         false,
         {"Pictavo: The Pilot DeskTop Software is not Correctly Installed"}},
        {"damaged",
         "REGEDIT4\nnot a registry line\n",
         false,
         {"Error: The registry file " + path +
              " is damaged: line 2 is neither a key, a value nor a comment. It is left as it is "
              "and read as empty.",
          "Pictavo: The Pilot DeskTop Software is not Correctly Installed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        TRegistryFile registry(Registry("Software\\Palm Computing", "Ann"));
        TUserData users(registry, RecordBoxes());
        WriteFile(path, c.meanwhile);
        EXPECT_EQ(users.InstallFile(0, folder.Path("book.pdb")), c.installed);
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(ReadFile(hotSync + "/AnnF/Install/book.pdb"), "the book");
        const std::string written = ReadFile(path);
        if (c.installed) {
            EXPECT_NE(written.find("\"Kept\"=\"yes\""), std::string::npos);
            EXPECT_NE(written.find("\"Install4660\"=dword:00000001"), std::string::npos);
        } else {
            EXPECT_EQ(written, c.meanwhile);
        }
    }
}

TEST_F(UserData, SaysSoWhenTheFlagCannotBeWritten) {
    const std::string path = Registry("Software\\Palm Computing", "Ann");
    const std::string before = ReadFile(path);
    // The user nobody copies into the install folder but may not change the registry file.
    std::filesystem::create_directories(folder.StateHome());
    for (const std::string& open :
         {folder.Root(), folder.StateHome(), hotSync, hotSync + "/AnnF"}) {
        ::chmod(open.c_str(), 0777);
    }
    ::chmod(path.c_str(), 0444);
    const int result = tomery::testing::RunUnprivileged([&] {
        TRegistryFile registry(path);
        TUserData users(registry, RecordBoxes());
        if (users.InstallFile(0, folder.Path("book.pdb"))) {
            return 1;
        }
        const std::string expected = "Error: The registry file " + path +
                                     " cannot be written: Permission denied\nThe file is in "
                                     "the install folder, but the HotSync Manager is not told "
                                     "to install it.";
        return boxes == std::vector<std::string>{expected} ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(hotSync + "/AnnF/Install/book.pdb"), "the book");
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(UserData, NamesUsersDatWhenItIsMissingOrDamaged) {
    TRegistryFile registry(Registry("Software\\Palm Computing", "Ann"));
    for (const std::string& bytes : {std::string(), TwoUsers().substr(0, 20)}) {
        WriteFile(hotSync + "/users.dat", bytes);
        try {
            TUserData users(registry, RecordBoxes());
            FAIL() << "a damaged users.dat was accepted";
        } catch (const EUsersFileError& error) {
            EXPECT_NE(std::string(error.what()).find(hotSync + "/users.dat is damaged"),
                      std::string::npos)
                << error.what();
        }
    }
    std::filesystem::remove(hotSync + "/users.dat");
    EXPECT_THROW(TUserData(registry, RecordBoxes()), EUsersFileError);
}

}  // namespace
}  // namespace tomery::install
