#include "EditMain_Document.h"
#include "QtModalUi.h"

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

TEST(DocumentTexts, CaptionNamesTheFileAndTheDocument) {
    EXPECT_EQ(CaptionFor("Tomery", "/home/ann/notes.txt", ""), "Tomery [notes.txt]");
    EXPECT_EQ(CaptionFor("Tomery", "/books/book.pdb", "My Book"), "Tomery [book.pdb -- My Book]");
    EXPECT_EQ(CaptionFor("Tomery", "Untitled", ""), "Tomery [Untitled]");
}

TEST(DocumentTexts, QuestionsAndTitlesUseTheFileNameOnly) {
    EXPECT_EQ(SavePromptText("/a/b/notes.txt"), "notes.txt has changed. Save?");
    EXPECT_EQ(SaveDialogTitle("/a/b/notes.txt"), "Save notes.txt As");
    EXPECT_EQ(SaveDialogTitle("Untitled"), "Save Untitled As");
}

TEST(DocumentTexts, SaveDocNoticeGivesFolderAndSize) {
    EXPECT_EQ(SaveDocNoticeText("/docs/book.pdb", 12),
              "book.pdb saved in /docs/ folder as a DOC file. File size is 12 KB.");
}

TEST(DocumentTexts, FilterIndexFollowsTheDocRule) {
    EXPECT_EQ(FilterIndexFor("NOTES.PDB"), 1);
    EXPECT_EQ(FilterIndexFor("notes.Prc"), 1);
    EXPECT_EQ(FilterIndexFor("notes.pdb.txt"), 2);
    EXPECT_EQ(FilterIndexFor(""), 2);
}

TEST(DocumentTexts, DocFilterBecomesQtNameFilters) {
    const std::vector<std::string> expected = {"Doc Files (*.pdb *.prc)",
                                               "Text Files (*.txt *.log)", "All Files (*.*)"};
    EXPECT_EQ(QtNameFilters(kDocFilter), expected);
    EXPECT_EQ(QtNameFilters("Text Files (*.txt)|*.txt"),
              std::vector<std::string>{"Text Files (*.txt)"});
    EXPECT_TRUE(QtNameFilters("").empty());
}

}  // namespace
}  // namespace tomery::app
