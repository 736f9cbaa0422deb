// One way to centre a window, with the frame the window system draws.
#include "platform/gui/CentreWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace quarn {
namespace {

struct CentreCase {
    QRect area;
    QSize frame;
    QPoint expected;
};

void PrintTo(const CentreCase& c, std::ostream* out) {
    const QRect& area = c.area;
    *out << "frame " << c.frame.width() << "x" << c.frame.height() << " in the area "
         << area.width() << "x" << area.height() << " at " << area.x() << "," << area.y();
}

class Centred : public testing::TestWithParam<CentreCase> {};

TEST_P(Centred, TakesHalfTheFrameFromHalfTheArea) {
    const CentreCase& c = GetParam();
    EXPECT_EQ(CentredPosition(c.area, c.frame), c.expected);
}

INSTANTIATE_TEST_SUITE_P(IntegerHalves, Centred,
                         testing::Values(CentreCase{{0, 0, 800, 600}, {320, 237}, {240, 182}},
                                         CentreCase{{0, 0, 800, 600}, {263, 119}, {269, 241}},
                                         CentreCase{
                                             {1280, 0, 1920, 1080}, {200, 100}, {1280 + 860, 490}},
                                         // Larger than the area: it overhangs both sides alike.
                                         CentreCase{{0, 0, 100, 100}, {300, 50}, {-100, 25}}));

TEST(CentreWindow, CentresTheFrameOverAnotherWindow) {
    QWidget owner;
    owner.setGeometry(100, 80, 600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CentreWindow(&window, &owner);
    EXPECT_EQ(window.frameGeometry().center(), owner.frameGeometry().center());
}

// A window whose outer size is fixed: its client area shrinks by the frame once that is
// known, and it stays centred.
TEST(CentreWindow, APlaceByTheFrameIsRedoneWhenTheFrameIsReported) {
    const QSize outer(320, 237);
    QWidget window;
    int placed = 0;
    PlaceByFrame(&window, [&] {
        ++placed;
        window.setFixedSize(outer.shrunkBy(FrameMargins(&window)));
        CentreWindow(&window);
    });
    EXPECT_EQ(placed, 1);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.frameGeometry(), QRect(CentredPosition(screen, outer), outer));
    // A move of the user's is left alone.
    const int before = placed;
    window.move(window.pos() + QPoint(10, 10));
    QTest::qWait(20);
    EXPECT_EQ(placed, before);
}

} // namespace
} // namespace quarn
