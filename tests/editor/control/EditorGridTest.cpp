// The character grid as the user sees it: glyphs in their cells for any fixed-pitch font and
// size, and the caret and the status following the text when it re-wraps.
#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <tuple>

#include "EditorFixture.h"

namespace tomery::editor::testing {
namespace {

using Pos = std::pair<std::int32_t, std::int32_t>;

class GridTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        Editor().SetColor(Qt::white);
        Editor().FixedFont().SetColor(Qt::black);
        Editor().CaretIns().SetBlinkTime(60000);
    }

    /// The leftmost and rightmost inked pixel columns of row 1 between two x positions.
    std::optional<std::pair<int, int>> InkBetween(const QImage& image, int from, int to) {
        std::optional<std::pair<int, int>> ink;
        for (int x = std::max(0, from); x < std::min(to, image.width()); ++x) {
            for (int y = 0; y < Editor().LineHeight(); ++y) {
                if (image.pixelColor(x, y) != QColor(Qt::white)) {
                    ink = ink ? std::pair(ink->first, x) : std::pair(x, x);
                    break;
                }
            }
        }
        return ink;
    }
    int CellLeft(int column) { return Editor().LeftMargin() + (column - 1) * Editor().CharWidth(); }
};

class GlyphGridTest : public GridTest,
                      public ::testing::WithParamInterface<std::tuple<const char*, int>> {};

TEST_P(GlyphGridTest, EveryGlyphLiesInItsCellAndAClickOnItFindsIt) {
    const auto [family, size] = GetParam();
    ASSERT_FALSE(FindFixedPitchFamily(family).isEmpty()) << family << " is not installed";
    Editor().FixedFont().SetName(family);
    Editor().FixedFont().SetSize(size);
    Form().resize(2400, 200);
    Editor().setGeometry(0, 0, 2400, 200);
    Settle();
    ASSERT_GE(Editor().VisibleColumns(), 210);
    // Marks at 10, 90, 150 and 200 on blanks; a soft hyphen (which fonts draw without width)
    // and tabs before them must not move them out of their cells.
    std::string line(210, ' ');
    line[3] = '\xAD';
    for (const int n : {10, 90, 150, 200}) {
        line[n - 1] = 'M';
    }
    SetLines({line});
    Editor().clearFocus();
    Settle();
    const QImage image = Editor().viewport()->grab().toImage();
    const int cell = Editor().CharWidth();
    for (const int n : {10, 90, 150, 200}) {
        const auto ink = InkBetween(image, CellLeft(n - 3), CellLeft(n + 3));
        ASSERT_TRUE(ink.has_value()) << "glyph " << n;
        EXPECT_GE(ink->first, CellLeft(n)) << "glyph " << n;
        EXPECT_LT(ink->second, CellLeft(n) + cell) << "glyph " << n;
    }
    const auto hyphen = InkBetween(image, CellLeft(4), CellLeft(5));
    EXPECT_TRUE(hyphen.has_value()) << "the soft hyphen is shown in its cell";

    const auto glyph = InkBetween(image, CellLeft(147), CellLeft(153));
    ASSERT_TRUE(glyph.has_value());
    const int centre = (glyph->first + glyph->second) / 2;
    QTest::mouseClick(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(centre - 1, 3));
    EXPECT_EQ(Caret(), Pos(1, 150));
    QTest::mouseClick(Editor().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(centre + 2, 3));
    EXPECT_EQ(Caret(), Pos(1, 151));
}

INSTANTIATE_TEST_SUITE_P(FontsAndSizes, GlyphGridTest,
                         ::testing::Combine(::testing::Values("DejaVu Sans Mono",
                                                              "Liberation Mono"),
                                            ::testing::Values(10, 11)));

TEST_F(GridTest, TheCaretAndTheStatusFollowARewrap) {
    Editor().SetWordWrap(true);
    Editor().SetWrapToWindow(true);
    std::string paragraph;
    for (int word = 0; word < 20; ++word) {
        paragraph += "word ";
    }
    SetLines({paragraph});
    Editor().MoveCaretToPara(1, static_cast<std::int32_t>(Editor().GetPara(1).size()) + 1, false);
    QTest::keyClicks(&Editor(), "xyz");
    Settle();
    const QPoint before = Editor().Carets().CellPosition();
    statuses_.clear();
    Editor().resize(Editor().width() - 13 * Editor().CharWidth(), Editor().height());
    Settle();
    const auto [line, column] = Caret();
    const std::int32_t displayColumn = column;  // no tabs: the same
    const QPoint cell(CellLeft(displayColumn - Editor().HorzOffset()),
                      (line - Editor().TopLine()) * Editor().LineHeight());
    EXPECT_NE(cell, before);
    EXPECT_EQ(Editor().Carets().CellPosition(), cell);
    ASSERT_FALSE(statuses_.empty());
    EXPECT_EQ(statuses_.back(), Pos(line, displayColumn));
    QTest::keyClicks(&Editor(), "!");
    EXPECT_TRUE(Editor().GetPara(1).ends_with("xyz!"));
}

}  // namespace
}  // namespace tomery::editor::testing
