#include "EditMain_Reopen.h"

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

TEST(ReopenList, NumbersEntriesFromZeroInOrderOfAddition) {
    TReopenList list;
    EXPECT_TRUE(list.Add("/books/first.pdb"));
    EXPECT_TRUE(list.Add("/notes/second.txt"));
    EXPECT_EQ(list.Caption(0), "&0 /books/first.pdb");
    EXPECT_EQ(list.Caption(1), "&1 /notes/second.txt");
    EXPECT_EQ(PathOfReopenCaption(list.Caption(1)), "/notes/second.txt");
    // A menu would take a lone "&" for an accelerator mark and not show it.
    EXPECT_TRUE(list.Add("/notes/Tom & Jerry&co/caf\xE9.txt"));
    EXPECT_EQ(list.Caption(2), "&2 /notes/Tom && Jerry&&co/caf\xE9.txt");
    EXPECT_EQ(PathOfReopenCaption(list.Caption(2)), list.Path(2));
}

TEST(ReopenList, KeepsTheFirstTenFiles) {
    TReopenList list;
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(list.Add("/f/file" + std::to_string(i) + ".txt"), i < 10);
    }
    EXPECT_EQ(list.Count(), 10u);
    EXPECT_EQ(list.Caption(9), "&9 /f/file9.txt");
}

TEST(ReopenList, RefusesAPathAlreadyListedButNotOneThatDiffersByCase) {
    TReopenList list;
    EXPECT_TRUE(list.Add("/home/c/a.txt"));
    EXPECT_FALSE(list.Add("/home/c/a.txt"));
    EXPECT_TRUE(list.Add("/home/c/A.TXT"));
    EXPECT_EQ(list.Count(), 2u);
}

TEST(ReopenList, NeverListsNothingOrAnUntitledDocument) {
    TReopenList list;
    EXPECT_FALSE(list.Add(""));
    EXPECT_FALSE(list.Add("Untitled"));
    EXPECT_EQ(list.Count(), 0u);
}

TEST(ReopenList, KeepsTheTenFilesMostRecentlyLeftForTheNextRun) {
    TReopenList list;
    for (int i = 0; i < 12; ++i) {
        list.Add("/f/" + std::to_string(i));
    }
    list.Add("/f/3");  // left again: the most recent, though the menu keeps its place
    EXPECT_EQ(list.Path(3), "/f/3");
    using TPaths = std::vector<std::string>;
    const std::pair<std::string, TPaths> keptWith[] = {
        {"", {"/f/2", "/f/4", "/f/5", "/f/6", "/f/7", "/f/8", "/f/9", "/f/10", "/f/11", "/f/3"}},
        {"Untitled",
         {"/f/2", "/f/4", "/f/5", "/f/6", "/f/7", "/f/8", "/f/9", "/f/10", "/f/11", "/f/3"}},
        {"/f/5",
         {"/f/2", "/f/4", "/f/6", "/f/7", "/f/8", "/f/9", "/f/10", "/f/11", "/f/3", "/f/5"}},
        {"/g/new",
         {"/f/4", "/f/5", "/f/6", "/f/7", "/f/8", "/f/9", "/f/10", "/f/11", "/f/3", "/g/new"}},
    };
    for (const auto& [current, kept] : keptWith) {
        EXPECT_EQ(list.ToKeep(current), kept) << current;
    }
}

}  // namespace
}  // namespace tomery::app
