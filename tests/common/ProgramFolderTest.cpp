// Where the program keeps its files: beside itself, where TOMERY_HOME says, or, installed in a
// folder it cannot write, in the user's configuration folder.
#include "ProgramFolder.h"

#include <gtest/gtest.h>

namespace tomery {
namespace {

TEST(ProgramFolder, IsChosenFromTheEnvironmentAndTheExecutablesFolder) {
    struct Case {
        TProgramFolderFacts facts;
        const char* expected;
    };
    const Case cases[] = {
        {{"/data/tomery", "/usr/bin", false, "/x", "/home/ann"}, "/data/tomery/"},
        {{"/data/tomery/", "/opt/t", true, "", "/home/ann"}, "/data/tomery/"},
        {{"", "/opt/tomery", true, "/x", "/home/ann"}, "/opt/tomery/"},
        {{"", "/usr/bin", false, "/home/ann/cfg", "/home/ann"}, "/home/ann/cfg/tomery/"},
        {{"", "/usr/bin", false, "", "/home/ann"}, "/home/ann/.config/tomery/"},
        // A relative configuration folder is not one.
        {{"", "/usr/bin", false, "cfg", "/home/ann/"}, "/home/ann/.config/tomery/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseProgramFolder(c.facts), c.expected) << c.facts.executableFolder;
    }
}

}  // namespace
}  // namespace tomery
