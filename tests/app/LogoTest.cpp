#include "EditMain_Logo.h"

#include <QImage>

#include <gtest/gtest.h>

namespace tomery::app {
namespace {

TEST(Logo, StaysCentredInTheDesignedClientArea) {
    const TLogoLayout layout = CenterLogo(QSize(554, 349), QSize(64, 64));
    EXPECT_EQ(layout.picture, QRect(245, 123, 64, 64));
    EXPECT_EQ(layout.label, QRect(0, 187, 554, 39));
}

TEST(Logo, TruncatesTowardZeroInATinyWindow) {
    const TLogoLayout layout = CenterLogo(QSize(51, 90), QSize(64, 64));
    EXPECT_EQ(layout.picture.left(), -6);  // (51 - 64) / 2
    EXPECT_EQ(layout.picture.top(), -6);   // (90 - 103) / 2
    EXPECT_EQ(layout.label.top(), 58);
}

TEST(Logo, PictureIsSixtyFourSquareWithATransparentCorner) {
    const QImage picture = ProgramPicture().toImage();
    EXPECT_EQ(picture.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(picture.pixel(32, 30)), 0);
}

}  // namespace
}  // namespace tomery::app
