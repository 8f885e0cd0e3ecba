// Where the program keeps its files: where TOMERY_HOME says, beside itself in a build tree or a
// folder of its own, or, installed, in the user's configuration folder, whoever runs it.
#include "ProgramFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tomery {
namespace {

TEST(ProgramFolder, IsChosenFromTheEnvironmentAndTheExecutablesFolder) {
    struct Case {
        const char* tomeryHome;
        const char* executableFolder;
        bool writable;  // root may write every folder below
        bool buildMarker;
        const char* xdgConfigHome;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/tomery", "/usr/bin", false, false, "/x", "/data/tomery/"},
        {"/data/tomery/", "/opt/t", true, false, "", "/data/tomery/"},
        {"/data/tomery", "/src/build/bin", true, true, "", "/data/tomery/"},
        // A build tree, or a copy in a folder of its own, keeps its files beside itself.
        {"", "/src/build/bin", true, true, "/x", "/src/build/bin/"},
        {"", "/src/build/bin/", true, true, "", "/src/build/bin/"},
        {"", "/opt/tomery", true, false, "/x", "/opt/tomery/"},
        // Installed in a bin folder: never beside the executable, root included.
        {"", "/usr/bin", false, false, "/home/ann/cfg", "/home/ann/cfg/tomery/"},
        {"", "/usr/bin", true, false, "", "/home/ann/.config/tomery/"},
        {"", "/usr/local/bin/", true, false, "", "/home/ann/.config/tomery/"},
        {"", "/home/ann/.local/bin", true, false, "", "/home/ann/.config/tomery/"},
        {"", "/opt/x/bin", true, false, "", "/home/ann/.config/tomery/"},
        {"", "/opt/x/bin", false, false, "", "/home/ann/.config/tomery/"},
        // A build tree nobody may write, and a folder of its own likewise.
        {"", "/src/build/bin", false, true, "", "/home/ann/.config/tomery/"},
        {"", "/opt/tomery", false, false, "", "/home/ann/.config/tomery/"},
        // A relative configuration folder is not one.
        {"", "/usr/bin", false, false, "cfg", "/home/ann/.config/tomery/"},
    };
    for (const Case& c : cases) {
        const TProgramFolderFacts facts{.tomeryHome = c.tomeryHome,
                                        .executableFolder = c.executableFolder,
                                        .executableFolderWritable = c.writable,
                                        .buildMarkerBesideExecutable = c.buildMarker,
                                        .xdgConfigHome = c.xdgConfigHome,
                                        .home = "/home/ann/"};
        EXPECT_EQ(ChooseProgramFolder(facts), c.expected)
            << c.executableFolder << " writable " << c.writable << " marker " << c.buildMarker;
    }
}

TEST(ResourceFile, IsTheProgramFoldersCopyElseTheOneBesideTheExecutableElseTheInstalledOne) {
    EXPECT_EQ(ResourceFolders("/home/ann/books", "/usr/bin"),
              (std::vector<std::string>{"/home/ann/books/", "/usr/bin/", "/usr/share/tomery/"}));

    const testing::TempFolder temp;
    const std::vector<std::string> folders{temp.Path("home/"), temp.Path("bin/"),
                                           temp.Path("share/")};
    const struct {
        bool inHome, inBin, inShare;
        std::size_t found;  // the folder expected; the program folder when none holds it
    } cases[] = {{true, true, true, 0},
                 {false, true, true, 1},
                 {false, false, true, 2},
                 {true, false, false, 0},
                 {false, false, false, 0}};
    for (const auto& c : cases) {
        const bool holds[] = {c.inHome, c.inBin, c.inShare};
        for (std::size_t i = 0; i < folders.size(); ++i) {
            std::filesystem::create_directories(folders[i]);
            std::filesystem::remove(folders[i] + "HELP");
            if (holds[i]) {
                testing::WriteFile(folders[i] + "HELP", "help");
            }
        }
        EXPECT_EQ(FindResourceFile("HELP", folders), folders[c.found] + "HELP")
            << c.inHome << c.inBin << c.inShare;
    }
}

}  // namespace
}  // namespace tomery
