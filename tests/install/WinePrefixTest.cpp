// The HotSync Manager under Wine: user.reg read as Wine writes it, Windows paths found in the
// prefix, the install flag set by "wine reg add" or, without Wine, in user.reg while no Wine
// server runs.
#include "AutoInst.h"
#include "ChildProcess.h"
#include "TempFolder.h"
#include "WinePrefix.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

namespace tomery::install {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

constexpr char kManager[] = "Software\\Palm Computing\\Pilot Desktop\\HotSync Manager";

const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Palm Computing\\\\Pilot Desktop\\\\Core] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\"Path\"=\"C:\\\\Program Files\\\\Palm\"\n"
    "\"Note\"=str(2):\"Caf\\xe9 \\\"quoted\\\"\\t\\101\"\n"
    "\n"
    "[Software\\\\Palm Computing\\\\Pilot Desktop\\\\HotSync Manager] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\"Install1\"=dword:00000000\n"
    "\"Blob\"=hex:01,02,\\\n"
    "  03\n"
    "\n"
    "[Software\\\\Palm Computing\\\\Pilot Desktop\\\\Preferences] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\"LastUserName\"=\"Bob\"\n"
    "\n"
    "[Software\\\\Wine\\\\Drives] 1700000000\n";

class WinePrefix : public ::testing::Test {
  protected:
    void SetUp() override {
        prefix = folder.Path("prefix");
        // The folder differs in case from the registry's path, as Windows allows.
        palm = prefix + "/drive_c/Program Files/palm";
        std::filesystem::create_directories(palm + "/BobF");
        std::string users = std::string("\x02", 1) + std::string(12, '\0');
        users += std::string(
            "\x01\0\0\0\x03"
            "Ann\x04"
            "AnnF\0\x01\x80",
            16);
        users += std::string(
            "\x02\0\0\0\x03"
            "Bob\x04"
            "BobF\0",
            14);
        WriteFile(palm + "/USERS.DAT", users);
        WriteFile(prefix + "/user.reg", kUserReg);
        WriteFile(folder.Path("book.pdb"), "the book");
        serverRoot = folder.Path("wine-server");
    }

    /// The folder in which a Wine server of the prefix keeps its socket.
    std::string ServerFolder() const {
        struct stat info {};
        ::stat(prefix.c_str(), &info);
        std::ostringstream name;
        name << serverRoot << "/server-" << std::hex << info.st_dev << "-" << info.st_ino;
        std::filesystem::create_directories(name.str());
        return name.str();
    }

    TempFolder folder;
    std::string prefix;
    std::string palm;
    std::string serverRoot;
    std::vector<std::string> boxes;
    TErrorBox recordBoxes = [this](const std::string& caption, const std::string& text) {
        boxes.push_back(caption + ": " + text);
    };
};

TEST_F(WinePrefix, FindsWindowsPathsInThePrefix) {
    std::filesystem::create_directories(prefix + "/dosdevices");
    std::filesystem::create_directories(folder.Path("card/PALM"));
    std::filesystem::create_directory_symlink(folder.Path("card"), prefix + "/dosdevices/e:");
    const struct {
        const char* windows;
        std::optional<std::string> local;
    } cases[] = {
        {"C:\\Program Files\\Palm", palm},  // drive_c without dosdevices/c:
        {"c:/PROGRAM FILES\\Palm\\", palm},
        {"E:\\palm\\Launcher", prefix + "/dosdevices/e:/PALM/Launcher"},  // yet to be made
        {"D:\\Palm", std::nullopt},
        {"/home/ann/Palm", std::nullopt},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(WindowsPathInPrefix(prefix, entry.windows), entry.local) << entry.windows;
    }
}

TEST_F(WinePrefix, ReadsUserRegAndFindsTheUsersInTheDriveC) {
    TWineRegistry registry(prefix, "", nullptr, serverRoot);
    EXPECT_EQ(registry.File().Problem(), "");
    EXPECT_EQ(registry.ReadString("Software\\Palm Computing\\Pilot Desktop\\Core", "Note", 64),
              "Caf\xC3\xA9 \"quoted\"\tA");
    EXPECT_TRUE(registry.OpenKey("software\\wine"));
    TUserData users(registry, recordBoxes);
    ASSERT_EQ(users.UserCount(), 2);
    EXPECT_TRUE(users.HasLastUser());
    EXPECT_EQ(users.DefaultUser(), 1);
    EXPECT_EQ(users.HotSyncPath(), palm);
    EXPECT_EQ(users.InstallFolder(1), palm + "/BobF/Install");
}

TEST_F(WinePrefix, FindsTheWindowsPathOfARegistryFileInTheDefaultPrefix) {
    // A registry file exported from the prefix keeps the desktop software's Windows path.
    WriteFile(folder.Path("export.reg"),
              "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n"
              "\"Path\"=\"C:\\\\Program Files\\\\Palm\"\n");
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    TRegistryFile registry(folder.Path("export.reg"));
    TUserData users(registry, recordBoxes);
    ::unsetenv("WINEPREFIX");
    EXPECT_EQ(users.HotSyncPath(), palm);
    EXPECT_EQ(users.UserCount(), 2);
}

TEST_F(WinePrefix, SetsTheFlagInUserRegOnlyWhileNoWineServerRuns) {
    TWineRegistry registry(prefix, "", nullptr, serverRoot);
    TUserData users(registry, recordBoxes);

    // A socket with a lock that a live server holds.
    const std::string server = ServerFolder();
    WriteFile(server + "/socket", "");
    WriteFile(server + "/lock", "");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = tomery::testing::StartChildProcess([&] {
        const int lock = ::open((server + "/lock").c_str(), O_RDWR);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        ::fcntl(lock, F_SETLK, &whole);
        ::write(ready[1], "x", 1);
        ::pause();
        return 0;
    });
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_TRUE(WineServerRuns(prefix, serverRoot));
    EXPECT_FALSE(users.InstallFile(1, folder.Path("book.pdb")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Wine is running for the prefix " + prefix), std::string::npos);
    EXPECT_EQ(ReadFile(prefix + "/user.reg"), kUserReg);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    // The server is gone and left its socket behind: the file is Wine's to read again.
    EXPECT_FALSE(WineServerRuns(prefix, serverRoot));
    ASSERT_TRUE(users.InstallFile(1, folder.Path("book.pdb")));
    EXPECT_EQ(ReadFile(palm + "/BobF/Install/book.pdb"), "the book");
    std::string expected = kUserReg;
    expected.insert(expected.find("\n\n[Software\\\\Palm Computing\\\\Pilot Desktop\\\\Pref") + 1,
                    "\"Install2\"=dword:00000001\n");
    EXPECT_EQ(ReadFile(prefix + "/user.reg"), expected);

    // A key Wine keeps only through the keys below it gets its own section and time stamps.
    ASSERT_TRUE(registry.WriteInteger("Software\\Wine", "N", 3));
    const std::string written = ReadFile(prefix + "/user.reg");
    EXPECT_NE(written.find("\n[Software\\\\Wine] "), std::string::npos);
    EXPECT_NE(written.find("\n#time="), std::string::npos);
    EXPECT_EQ(TWineRegistry(prefix, "", nullptr, serverRoot).File().Problem(), "");
}

TEST_F(WinePrefix, AsksWineToSetTheFlagWhenWineIsInstalled) {
    std::vector<std::string> called;
    int exitCode = 0;
    TWineRegistry registry(
        prefix, "/opt/wine/bin/wine",
        [&](const std::vector<std::string>& arguments, const std::vector<std::string>& env) {
            for (const auto& part : env) {
                called.push_back(part);
            }
            called.insert(called.end(), arguments.begin(), arguments.end());
            return TProgramRun{exitCode, exitCode == 0 ? "" : "reg: Unable to access key"};
        },
        serverRoot);
    ASSERT_TRUE(registry.WriteInteger(kManager, "Install2", 1));
    EXPECT_EQ(called,
              (std::vector<std::string>{"WINEPREFIX=" + prefix, "/opt/wine/bin/wine", "reg", "add",
                                        std::string("HKEY_CURRENT_USER\\") + kManager, "/v",
                                        "Install2", "/t", "REG_DWORD", "/d", "1", "/f"}));
    EXPECT_EQ(ReadFile(prefix + "/user.reg"), kUserReg);
    exitCode = 1;
    try {
        registry.WriteInteger(kManager, "Install2", 1);
        ADD_FAILURE() << "a failed wine reg add must be reported";
    } catch (const ERegistryWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("Unable to access key"), std::string::npos);
    }
    EXPECT_FALSE(registry.WriteInteger("Software\\Nowhere", "Install2", 1));
}

}  // namespace
}  // namespace tomery::install
