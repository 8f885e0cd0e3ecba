#include "EditMain_Document.h"
#include "EditMain_Window.h"
#include "QtModalUi.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(DocumentTexts, DocNamesAreWindows1252Bytes) {
    EXPECT_EQ(DocNameAsText("Caf\xE9 Cr\xE8me \x80"), "Café Crème €");
    EXPECT_EQ(DocNameFromText("Crème brûlée ☃"),
              "Cr\xE8me br\xFBl\xE9"
              "e ?");
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    EXPECT_EQ(DocNameFromText(DocNameAsText(everyByte)), everyByte);
}

TEST(DocumentTexts, FileDialogsRefuseWhatTheirOptionsForbid) {
    tomery::testing::TempFolder folder;
    tomery::testing::WriteFile(folder.Path("locked.txt"), std::string("x"));
    std::filesystem::permissions(folder.Path("locked.txt"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    TFileDialogRequest open;
    open.pathMustExist = open.fileMustExist = open.noReadOnlyReturn = true;
    TFileDialogRequest save;
    save.pathMustExist = true;
    const char* noPath = "Path does not exist.\nCheck the path and try again.";
    const char* noFile = "File not found.\nCheck the file name and try again.";
    const struct {
        const TFileDialogRequest& request;
        std::string path;
        std::string refusal;  ///< what follows the path's line; "" for none
    } cases[] = {
        {open, folder.Path("missing/a.txt"), noPath},
        {open, folder.Path("absent.txt"), noFile},
        {open, folder.Path("locked.txt"),
         "This file is set to read-only.\nTry again with a different file name."},
        {save, folder.Path("missing/a.txt"), noPath},
        {save, folder.Path("new.txt"), ""},
        {open, folder.Root(), ""},
        {TFileDialogRequest{}, folder.Path("missing/a.txt"), ""},
    };
    for (const auto& c : cases) {
        const auto refusal = FileChoiceRefusal(c.request, c.path);
        EXPECT_EQ(refusal.value_or(""), c.refusal.empty() ? "" : c.path + "\n" + c.refusal);
    }
}

TEST(WindowRules, PlacesTheStoredSizeWithinTheAvailableArea) {
    const QRect area(0, 30, 1024, 738);
    const struct {
        QSize stored;
        QRect placed;
    } cases[] = {
        {{600, 400}, {212, 199, 600, 400}},   {{0, 400}, {352, 199, 320, 400}},
        {{-50, -1}, {352, 299, 320, 200}},    {{100000, 400}, {0, 199, 1024, 400}},
        {{600, 100000}, {212, 30, 600, 738}}, {{1024, 738}, area},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceWindow(c.stored, area), c.placed)
            << c.stored.width() << "x" << c.stored.height();
    }
    EXPECT_EQ(PlaceWindow({600, 400}, QRect(0, 0, 300, 180)), QRect(0, 0, 300, 180))
        << "a screen smaller than the minimum wins";
}

TEST(WindowRules, FileDropsAreCopiesOrLinksNeverMoves) {
    using A = Qt::DropAction;
    const struct {
        Qt::DropActions offered;
        A proposed;
        std::optional<A> accepted;
    } cases[] = {
        {A::CopyAction | A::MoveAction, A::MoveAction, A::CopyAction},
        {A::CopyAction | A::MoveAction, A::CopyAction, A::CopyAction},
        {A::LinkAction | A::MoveAction, A::MoveAction, A::LinkAction},
        {A::LinkAction, A::LinkAction, A::LinkAction},
        {A::MoveAction, A::MoveAction, std::nullopt},
        {A::IgnoreAction, A::IgnoreAction, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileDropAction(c.offered, c.proposed), c.accepted)
            << int(c.offered) << " " << int(c.proposed);
    }
}

}  // namespace
}  // namespace tomery::app
