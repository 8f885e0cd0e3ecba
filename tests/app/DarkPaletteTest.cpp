// Under a dark desktop palette the editor and the viewer paint text, background, selection and
// caret in the palette's colours, readable, while the printout stays black on white.
#include "EditMain.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "Viewer.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace tomery::app {
namespace {

using tomery::testing::WriteFile;

/// Relative luminance as the accessibility guidelines define it.
double Luminance(const QColor& color) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

/// The colour most pixels of `area` have.
QColor Dominant(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    return most == counts.end() ? QColor() : QColor(most->first);
}

/// How far the strongest ink of `area` stands out from its dominant colour, the background.
double InkContrast(const QImage& image, const QRect& area) {
    const QColor background = Dominant(image, area);
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            strongest = std::max(strongest, Contrast(image.pixelColor(x, y), background));
        }
    }
    return strongest;
}

QPalette DarkDesktopPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Highlight, QColor(0x1d, 0x54, 0x8c));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

class DarkPalette : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QApplication::setPalette(DarkDesktopPalette());  // as a desktop switching its theme does
    }
    void TearDown() override { QApplication::setPalette(light_); }

    /// Text on row 1 and a selected line on row 2 read well against the palette's base and
    /// highlight colours, which fill the rows.
    void ExpectReadable(editor::TOvcCustomEditor& editor, const char* window) {
        SCOPED_TRACE(window);
        editor.SetSelection(2, 1, 2, 9, true);
        QApplication::processEvents();
        const QImage image = editor.viewport()->grab().toImage();
        const QPalette& palette = editor.palette();
        const auto row = [&](int line) {
            return QRect(editor.LeftMargin(), (line - 1) * editor.LineHeight(),
                         8 * editor.CharWidth(), editor.LineHeight());
        };
        EXPECT_EQ(Dominant(image, row(1)), palette.color(QPalette::Base));
        EXPECT_GE(InkContrast(image, row(1)), 4.5);
        EXPECT_EQ(Dominant(image, row(2)), palette.color(QPalette::Highlight));
        EXPECT_GE(InkContrast(image, row(2)), 4.5);
    }

    QPalette light_ = QApplication::palette();
};

TEST_F(DarkPalette, EditorAndViewerTakeTheirColoursFromThePalette) {
    const std::string text = "MWMW#@#@\r\nselected\r\n";
    OpenText(text);
    editor::TOvcTextFileEditor& editor = form->Editor();
    editor.CaretIns().SetBlinkTime(60000);  // the caret stays in its visible phase
    QApplication::setActiveWindow(form.get());
    editor.setFocus();
    ExpectReadable(editor, "main window");

    editor.SetCaretPosition(1, 3);
    QApplication::processEvents();
    ASSERT_TRUE(editor.Carets().Visible());
    const QRect caret = editor.Carets().Rect();
    const QImage image = editor.viewport()->grab().toImage();
    EXPECT_GE(Contrast(image.pixelColor(caret.center()), editor.palette().color(QPalette::Base)),
              4.5);

    WriteFile(folder.Path("viewed.txt"), text);
    ui->fileAnswers.push_back(folder.Path("viewed.txt"));
    form->Click("LoadDocument1");
    ASSERT_TRUE(form->ViewBox().isVisible());
    ExpectReadable(form->ViewBox().TextViewer(), "viewer");
}

TEST_F(DarkPalette, PrintsBlackOnWhitePaper) {
    OpenText("MWMW#@#@ MWMW#@#@\r\n");
    const std::string pdf = folder.Path("printout.pdf");
    ui->printAnswers.push_back(testing::ScriptedModalUi::PrintAnswer{pdf, false});
    form->Click("Print1");
    const std::string png = folder.Path("page");
    const std::string render = "pdftoppm -png -r 100 -singlefile '" + pdf + "' '" + png + "'";
    ASSERT_EQ(std::system(render.c_str()), 0);
    const QImage page(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(page.isNull());
    const QRect firstLine(0, 0, page.width(), page.height() / 8);
    EXPECT_EQ(Dominant(page, firstLine), QColor(Qt::white));
    EXPECT_GE(InkContrast(page, firstLine), 15.0);
}

}  // namespace
}  // namespace tomery::app
