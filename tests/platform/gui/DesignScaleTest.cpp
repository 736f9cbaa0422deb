// The design's pixels in the font in use.
#include "platform/gui/DesignScale.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(DesignScale, TheDesignFaceKeepsThePixelsOfTheDesign) {
    const DesignScale px(DesignScale::DesignLineHeight, DesignScale::DesignLetterWidth);
    EXPECT_EQ(px.Ratio(), 1.0);
    EXPECT_EQ(px(QSize(482, 276)), QSize(482, 276));
    EXPECT_EQ(px(QMargins(7, 7, 6, 9)), QMargins(7, 7, 6, 9));
    EXPECT_EQ(px(158), 158);
}

struct ScaleCase {
    int lineHeight;
    double letterWidth;
    double ratio;
};

void PrintTo(const ScaleCase& c, std::ostream* out) {
    *out << "lines " << c.lineHeight << " high, letters " << c.letterWidth << " wide";
}

class ScaleOfAFont : public testing::TestWithParam<ScaleCase> {};

// The larger of the two ratios, for both directions.
TEST_P(ScaleOfAFont, IsTheLargerOfItsLineAndLetterRatios) {
    const ScaleCase& c = GetParam();
    EXPECT_DOUBLE_EQ(DesignScale(c.lineHeight, c.letterWidth).Ratio(), c.ratio);
}

INSTANTIATE_TEST_SUITE_P(Fonts, ScaleOfAFont,
                         testing::Values(ScaleCase{13, 7.5, 1.25},      // wider letters
                                         ScaleCase{26, 6.0, 2.0},       // taller lines
                                         ScaleCase{13, 3.0, 1.0},       // narrow letters only
                                         ScaleCase{10, 3.0, 10.0 / 13}, // a smaller font
                                         ScaleCase{21, 12.0, 2.0}));

TEST(DesignScale, RoundsToTheNearestPixel) {
    const DesignScale px(13, 7.5); // 1.25
    EXPECT_EQ(px(75), 94);         // 93.75
    EXPECT_EQ(px(23), 29);         // 28.75
    EXPECT_EQ(px(QSize(2, 6)), QSize(3, 8));
    EXPECT_EQ(px(0), 0);
}

TEST(DesignScale, FollowsTheSizeOfTheFont) {
    QFont font = QApplication::font();
    const double ratio = DesignScale(font).Ratio();
    EXPECT_GT(ratio, 0.8);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    EXPECT_NEAR(DesignScale(font).Ratio() / ratio, 1.5, 0.1);

    QWidget widget;
    widget.setFont(font);
    EXPECT_EQ(DesignScale::Of(widget).Ratio(), DesignScale(font).Ratio());
}

} // namespace
} // namespace quarn
