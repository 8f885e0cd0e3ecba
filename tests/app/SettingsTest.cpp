#include "EditMain_Settings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class Settings : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = folder.Path("tomery.INI");
};

TEST_F(Settings, FirstRunGivesTheDefaults) {
    TIniFile ini(path);
    const TFormSettings settings = ReadFormSettings(ini);
    EXPECT_EQ(settings.width, 600);
    EXPECT_EQ(settings.height, 400);
    EXPECT_EQ(settings.lastOpenFile, "");
    EXPECT_FALSE(settings.autoIndent);
    EXPECT_EQ(settings.tabSize, 8);
    EXPECT_TRUE(settings.wordWrap);
    EXPECT_EQ(settings.fontName, "System");
    EXPECT_EQ(settings.fontSize, 10);
    EXPECT_FALSE(settings.bold);
    EXPECT_FALSE(settings.italic);
    EXPECT_TRUE(settings.saveDocCard);
}

TEST_F(Settings, ReadsWhatWasWritten) {
    TShutdownState state;
    state.currentFile = "/books/My Book.pdb";
    state.docName = "My Book";
    // Blanks at a path's ends survive; a path with a line break cannot be stored.
    state.values = {812,
                    512,
                    "",
                    "",
                    true,
                    4,
                    false,
                    false,
                    "DejaVu Sans Mono",
                    12,
                    true,
                    true,
                    false,
                    "windows-1252",
                    {"/a/one.txt", " /b/two.pdb ", "/c/line\nbreak.txt", "/d/\"q\".txt"}};
    {
        TIniFile ini(path);
        WriteFormSettings(ini, state);
    }
    TIniFile ini(path);
    const TFormSettings read = ReadFormSettings(ini);
    EXPECT_EQ(read.width, 812);
    EXPECT_EQ(read.height, 512);
    EXPECT_EQ(read.lastOpenFile, "/books/My Book.pdb");
    EXPECT_EQ(read.lastDocName, "My Book");
    EXPECT_TRUE(read.autoIndent);
    EXPECT_EQ(read.tabSize, 4);
    EXPECT_FALSE(read.wordWrap);
    EXPECT_EQ(read.fontName, "DejaVu Sans Mono");
    EXPECT_EQ(read.fontSize, 12);
    EXPECT_TRUE(read.bold);
    EXPECT_TRUE(read.italic);
    EXPECT_FALSE(read.saveDocCard);
    EXPECT_FALSE(read.trimTrailingBlanks);
    EXPECT_EQ(read.reopenFiles,
              (std::vector<std::string>{"/a/one.txt", " /b/two.pdb ", "/d/\"q\".txt"}));
    EXPECT_NE(ReadFile(path).find("[FormSize]"), std::string::npos);
    // A shorter list leaves nothing of the longer one behind.
    state.values.reopenFiles = {"/e/five.txt"};
    {
        TIniFile ini(path);
        WriteFormSettings(ini, state);
    }
    EXPECT_EQ(ReadFormSettings(TIniFile(path)).reopenFiles,
              std::vector<std::string>{"/e/five.txt"});
}

TEST_F(Settings, AMaximisedWindowKeepsTheRememberedSize) {
    WriteFile(path, std::string("[FormSize]\nWidth=700\nHeight=500\n"));
    TShutdownState state;
    state.windowIsNormal = false;
    state.values.width = 1920;
    state.values.height = 1080;
    {
        TIniFile ini(path);
        WriteFormSettings(ini, state);
    }
    TIniFile ini(path);
    EXPECT_EQ(ReadFormSettings(ini).width, 700);
    EXPECT_EQ(ReadFormSettings(ini).height, 500);
    EXPECT_EQ(ini.ReadString("Options", "TabSize", "missing"), "8");
}

TEST_F(Settings, AnUntitledDocumentIsNeverRemembered) {
    TShutdownState untitled;
    untitled.currentFile = "Untitled";
    untitled.lastOpenFile = "/books/old.pdb";
    {
        TIniFile ini(path);
        WriteFormSettings(ini, untitled);
    }
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadString("LastOpen", "FileName", ""), "/books/old.pdb");
        EXPECT_EQ(ini.ReadString("LastOpen", "DocName", "missing"), "");
    }
    const std::string fresh = folder.Path("fresh.INI");
    untitled.lastOpenFile.clear();
    {
        TIniFile ini(fresh);
        WriteFormSettings(ini, untitled);
    }
    TIniFile ini(fresh);
    EXPECT_EQ(ini.ReadString("LastOpen", "FileName", "missing"), "missing");
    EXPECT_EQ(ini.ReadString("LastOpen", "DocName", "missing"), "missing");
}

TEST_F(Settings, BadValuesGiveTheirDefaultsAndReadingGoesOn) {
    WriteFile(path, std::string("[FormSize]\nWidth=wide\nHeight=450\n"
                                "[Options]\nWordWrap=2\nTabSize=4.5\nAutoIndent=yes\n"
                                "[Font]\nBold=2\nItalic=yes\nSize= 14 \n"
                                "[Misc]\nSaveDocCard=0\n"));
    TIniFile ini(path);
    const TFormSettings settings = ReadFormSettings(ini);
    EXPECT_EQ(settings.width, 600);
    EXPECT_EQ(settings.height, 450);
    EXPECT_TRUE(settings.wordWrap);  // 2 is non-zero
    EXPECT_EQ(settings.tabSize, 8);  // not a whole number
    EXPECT_FALSE(settings.autoIndent);
    EXPECT_FALSE(settings.bold);  // only exactly "1" is bold
    EXPECT_FALSE(settings.italic);
    EXPECT_EQ(settings.fontSize, 14);
    EXPECT_FALSE(settings.saveDocCard);
}

TEST_F(Settings, ADamagedFileKeepsWhatItHoldsAndTakesEveryKey) {
    const std::string junk = std::string("\x01\x02\xff\xfe junk\0\x7f", 11);
    WriteFile(path, "stray line before any section\r\n[FormSize]\r\nWidth=700\r\n" + junk +
                        "\r\n; a comment\r\n[Font]\r\nName = Courier, New \r\n"
                        "[LastOpen]\r\nFileName=\"/books/ spaced .txt\"\r\n");
    TIniFile ini(path);
    TFormSettings read = ReadFormSettings(ini);
    EXPECT_EQ(read.width, 700);
    EXPECT_EQ(read.fontName, "Courier, New");
    EXPECT_EQ(read.lastOpenFile, "/books/ spaced .txt");

    TShutdownState state;
    state.currentFile = " lead and trail ";
    read.tabSize = 3;
    state.values = read;
    ASSERT_NO_THROW(WriteFormSettings(ini, state));
    const std::string written = ReadFile(path);
    for (const char* kept : {"stray line before any section\r\n", "; a comment\r\n"}) {
        EXPECT_NE(written.find(kept), std::string::npos) << kept;
    }
    EXPECT_NE(written.find(junk), std::string::npos);
    const TFormSettings reread = ReadFormSettings(ini);
    EXPECT_EQ(reread.tabSize, 3);
    EXPECT_EQ(reread.fontName, "Courier, New");
    EXPECT_EQ(ini.ReadString("LastOpen", "FileName", ""), " lead and trail ");
    EXPECT_EQ(ini.ReadString("Misc", "SaveDocCard", ""), "1");
}

TEST_F(Settings, AWriteThatTheFileRefusesRaisesTheMessage) {
    // A folder where the file should be: no user, root included, can write it as a file.
    std::filesystem::create_directory(path);
    TIniFile ini(path);
    try {
        ini.WriteInteger("Options", "TabSize", 3);
        FAIL() << "the write should have been refused";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
}

}  // namespace
}  // namespace tomery::app
