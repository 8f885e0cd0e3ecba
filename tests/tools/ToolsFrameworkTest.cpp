// The text tools' read and write road through a real editor control.
#include <gtest/gtest.h>

#include <QLocale>

#include "CharacterSet.h"
#include "OvcEdit.h"
#include "OvcTextFile.h"
#include "TempFolder.h"
#include "ToolsFramework.h"

namespace tomery::tools {
namespace {

class ToolsFramework : public ::testing::Test {
  protected:
    void SetText(const TWorkLines& paragraphs) {
        editor_.ResetText(false);
        for (const std::string& paragraph : paragraphs) {
            ASSERT_EQ(editor_.AppendLine(paragraph), 0);
        }
    }

    editor::TOvcTextFileEditor editor_;
    TWorkLines lines_;
};

TEST_F(ToolsFramework, ReadsWholeParagraphsWithTabsExpandedAndLeavesWordWrapAsItWas) {
    editor_.SetTabSize(4);
    editor_.SetWordWrap(true);
    editor_.SetWrapToWindow(false);
    editor_.SetWrapColumn(10);
    SetText({"\tab\tc", "a long paragraph that wraps over several lines", ""});
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_,
              (TWorkLines{"    ab  c", "a long paragraph that wraps over several lines", ""}));
    EXPECT_TRUE(editor_.WordWrap());
}

TEST_F(ToolsFramework, BuildsTheListBeforeOneEmptyParagraphApartUntilItReplacesTheText) {
    SetText({"old"});
    editor_.SetModified(true);
    std::unique_ptr<editor::TParaList> text = BuildText(editor_, {"one  ", "two\t"});
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_, TWorkLines{"old"}) << "the editor keeps its text while one is built";
    EXPECT_TRUE(editor_.Modified());
    ReplaceText(editor_, std::move(text));
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_, (TWorkLines{"one", "two"}));
    EXPECT_EQ(editor_.ParaCount(), 3);
    EXPECT_FALSE(editor_.Modified());
    EXPECT_FALSE(editor_.CanUndo());
}

TEST_F(ToolsFramework, ReadsNothingFromAnEmptyText) {
    SetText({});
    ReadLines(editor_, lines_);
    EXPECT_TRUE(lines_.empty());
}

TEST_F(ToolsFramework, ReadsRawLinesWithTheirTabs) {
    editor_.SetWordWrap(true);
    SetText({"\tab\tc"});
    ReadRawLines(editor_, lines_);
    EXPECT_EQ(lines_, TWorkLines{"\tab\tc"});
}

TEST_F(ToolsFramework, AppendsAFilesLinesAfterTheLastParagraphThatHoldsText) {
    const testing::TempFolder folder;
    testing::WriteFile(folder.Path("more.txt"), std::string("two\rthree\nfour\r\n"));
    testing::WriteFile(folder.Path("utf8.txt"), std::string("caf\xC3\xA9 \xC5\x99\n"));
    SetText({"one"});
    charset::TReplacementLog replaced;
    ReplaceText(editor_, AppendTextFile(editor_, folder.Path("more.txt"), std::nullopt, replaced));
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_, (TWorkLines{"one", "two", "three", "four"}));
    // A UTF-8 text comes in the editor's set; a forced reading keeps the file's bytes.
    ReplaceText(editor_, AppendTextFile(editor_, folder.Path("utf8.txt"), std::nullopt, replaced));
    EXPECT_EQ(replaced.Count(), 1u);
    ReplaceText(editor_, AppendTextFile(editor_, folder.Path("utf8.txt"),
                                        charset::TFileEncoding::Bytes, replaced));
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_,
              (TWorkLines{"one", "two", "three", "four", "caf\xE9 r", "caf\xC3\xA9 \xC5\x99"}));
    EXPECT_TRUE(replaced.Empty());

    EXPECT_THROW(AppendTextFile(editor_, folder.Path("missing.txt"), std::nullopt, replaced),
                 editor::EInOutError);
    EXPECT_THROW(AppendTextFile(editor_, folder.Root(), std::nullopt, replaced),
                 editor::EInOutError);
    ReadLines(editor_, lines_);
    EXPECT_EQ(lines_.size(), 6u);
}

TEST(SortLinesInLocale, IgnoresCaseAndFollowsTheLocalesOrderOfTheSetsLetters) {
    const TWorkLines text{"f", "b", "\xe9", "C", "a", "D", "e"};
    const charset::TCharacterSet& cp1252 = charset::DefaultCharacterSet();
    const charset::TCharacterSet& koi8r = *charset::FindCharacterSet("koi8-r");
    const QLocale userLocale;
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia)}) {
        QLocale::setDefault(locale);
        // KOI8-R's letters are not in the order of their bytes: ц (C3) comes after Д (E4).
        EXPECT_EQ(SortLinesInLocale({"\xC3", "\xE4", "\xC2"}, 1, koi8r),
                  (TWorkLines{"\xC2", "\xE4", "\xC3"}));
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(SortLinesInLocale(text, 1, cp1252),
              (TWorkLines{"a", "b", "C", "D", "e", "f", "\xe9"}));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(SortLinesInLocale(text, 1, cp1252),
              (TWorkLines{"a", "b", "C", "D", "e", "\xe9", "f"}));
    QLocale::setDefault(userLocale);
}

}  // namespace
}  // namespace tomery::tools
