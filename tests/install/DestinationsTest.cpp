// The destinations beside the HotSync users: J-Pilot's install list kept line for line, and
// the copy into a folder.
#include "Destinations.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tomery::install {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class Destinations : public ::testing::Test {
  protected:
    void SetUp() override {
        jpilot = folder.Path(".jpilot");
        std::filesystem::create_directories(jpilot);
        book = folder.Path("book.pdb");
        WriteFile(book, "the book");
    }
    TempFolder folder;
    std::string jpilot;
    std::string book;
};

TEST_F(Destinations, FindsJPilotsFolderThroughJPilotHomeOrHome) {
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("JPILOT_HOME", folder.Root().c_str(), 1);
    EXPECT_EQ(FindJPilotFolder(), jpilot);
    ::setenv("JPILOT_HOME", folder.Path("elsewhere").c_str(), 1);
    EXPECT_EQ(FindJPilotFolder(), "");
    ::unsetenv("JPILOT_HOME");
    ::setenv("HOME", folder.Root().c_str(), 1);
    EXPECT_EQ(FindJPilotFolder(), jpilot);
    ::setenv("HOME", home.c_str(), 1);
}

TEST_F(Destinations, AddsAFileToJPilotsListOnceAndKeepsEveryOtherLine) {
    const struct {
        const char* before;  ///< the list's contents; nullptr for no list
        const char* after;   ///< with BOOK for the book's path
        bool alreadyListed;
    } cases[] = {
        {nullptr, "BOOK\n", false},
        {"", "BOOK\n", false},
        {"/a/one.prc\n\x01/a/card.pdb\n", "/a/one.prc\n\x01/a/card.pdb\nBOOK\n", false},
        {"/a/no line end.pdb", "/a/no line end.pdb\nBOOK\n", false},
        {"/a/one.prc\nBOOK\n/a/two.prc\n", "/a/one.prc\nBOOK\n/a/two.prc\n", true},
        {"\x01"
         "BOOK\r\n",
         "\x01"
         "BOOK\r\n",
         true},  // on its way to the card already
    };
    const auto withBook = [this](std::string text) {
        for (auto at = text.find("BOOK"); at != std::string::npos; at = text.find("BOOK")) {
            text.replace(at, 4, book);
        }
        return text;
    };
    const std::string list = jpilot + "/jpilot.install";
    for (const auto& entry : cases) {
        std::filesystem::remove(list);
        if (entry.before != nullptr) {
            WriteFile(list, withBook(entry.before));
        }
        const TJPilotListing listing = AddToJPilotList(jpilot, book);
        EXPECT_EQ(listing.listFile, list);
        EXPECT_EQ(listing.alreadyListed, entry.alreadyListed) << entry.after;
        EXPECT_EQ(ReadFile(list), withBook(entry.after));
    }
}

TEST_F(Destinations, UsesTheListOfOlderJPilotsAndRefusesPathsItCannotRead) {
    std::filesystem::remove(jpilot + "/jpilot.install");
    WriteFile(jpilot + "/jpilot_to_install", "/a/one.prc\n");
    EXPECT_EQ(AddToJPilotList(jpilot, book).listFile, jpilot + "/jpilot_to_install");
    EXPECT_EQ(ReadFile(jpilot + "/jpilot_to_install"), "/a/one.prc\n" + book + "\n");

    for (const std::string& path :
         {folder.Path("two\nlines.pdb"), folder.Path(std::string(1000, 'x') + ".pdb")}) {
        EXPECT_THROW(AddToJPilotList(jpilot, path), EInstallError);
    }
    EXPECT_EQ(ReadFile(jpilot + "/jpilot_to_install"), "/a/one.prc\n" + book + "\n");
}

TEST_F(Destinations, CopiesIntoAFolderAndSaysWhyItCannot) {
    std::filesystem::create_directories(folder.Path("card"));
    WriteFile(folder.Path("card/book.pdb"), "an older copy");
    EXPECT_EQ(CopyIntoFolder(book, folder.Path("card")), folder.Path("card/book.pdb"));
    EXPECT_EQ(ReadFile(folder.Path("card/book.pdb")), "the book");
    EXPECT_THROW(CopyIntoFolder(book, folder.Path("gone")), EInstallError);
}

TEST(PilotXfer, TellsAnInstallFromAFailureThatEndsWithZero) {
    EXPECT_EQ(PilotXferArguments("usb:", "/a/b.pdb"),
              (std::vector<std::string>{"-p", "usb:", "-i", "/a/b.pdb"}));
    const struct {
        int exitCode;
        const char* output;
        bool succeeded;
    } cases[] = {
        {0, "   Installing '/a/b.pdb'... (120 bytes, 0 KiB total)\n", true},
        {0, "   Installing '/a/b.pdb'... failed.\n", false},
        {0, "Unable to open '/a/b.pdb'!\n", false},
        {0, "   Insufficient space to install this file on your Palm.\n", false},
        {1, "   Unable to bind to port: usb:\n", false},
        {-1, "", false},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(PilotXferSucceeded(entry.exitCode, entry.output), entry.succeeded)
            << entry.output;
    }
}

}  // namespace
}  // namespace tomery::install
