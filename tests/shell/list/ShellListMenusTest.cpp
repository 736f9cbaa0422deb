// What the file list takes from its base: one context menu per request in every view style,
// the header's owner-drawn sort arrow, custom draw, colour.
#include "ListFixture.h"
#include "MenuCounter.h"
#include "shell/list/ShellListData.h"
#include "shell/views/HeaderSortArrow.h"

#include <QContextMenuEvent>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace quarn {

// A view style by its name, in test names and failures; found beside the type.
static void PrintTo(TViewStyle style, std::ostream* out) {
    static const char* const names[] = {"Icon", "SmallIcon", "List", "Report"};
    *out << names[static_cast<int>(style)];
}

} // namespace quarn

namespace quarn::test {
namespace {

class ListMenus : public ShellListTest, public ::testing::WithParamInterface<TViewStyle> {};

// X11 sends a context-menu event of its own after the Menu key and on a right press; the
// tests send it as well.
void SendContextMenu(QWidget* target, QContextMenuEvent::Reason reason, QPoint point) {
    QContextMenuEvent event(reason, point, target->mapToGlobal(point));
    QApplication::sendEvent(target, &event);
}

TEST_P(ListMenus, ARightClickShiftF10AndTheMenuKeyOpenOneMenuEach) {
    Show("files");
    list.SetViewStyle(GetParam());
    const int row = RowNamed(list, "b.bin");
    list.SelectionModel()->setCurrentIndex(list.Items().index(row, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
    std::vector<int> items;
    list.OnItemContextMenu = [&](QWidget*, int item, QPoint&, QMenu*&) { items.push_back(item); };
    MenuCounter menus;
    QWidget* viewport = list.View()->viewport();
    const QPoint point = list.View()->visualRect(list.Items().index(row, 0)).center();
    QTest::mousePress(viewport, Qt::RightButton, {}, point);
    SendContextMenu(viewport, QContextMenuEvent::Mouse, point);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, point);
    EXPECT_EQ(menus.shown, 1) << "right click";

    using KeyCase = std::pair<Qt::Key, Qt::KeyboardModifiers>;
    for (const auto& [key, modifiers] :
         {KeyCase{Qt::Key_Menu, Qt::NoModifier}, KeyCase{Qt::Key_F10, Qt::ShiftModifier}}) {
        menus.shown = 0;
        QTest::keyClick(list.View(), key, modifiers);
        SendContextMenu(list.View(), QContextMenuEvent::Keyboard, {});
        EXPECT_EQ(menus.shown, 1) << key;
    }
    EXPECT_EQ(items, std::vector<int>(3, row)) << "the handler hears of each";
    EXPECT_EQ(list.SelectedItems(), std::vector<int>{row});
}

INSTANTIATE_TEST_SUITE_P(Styles, ListMenus,
                         ::testing::Values(TViewStyle::vsIcon, TViewStyle::vsSmallIcon,
                                           TViewStyle::vsList, TViewStyle::vsReport),
                         ::testing::PrintToStringParamName());

TEST_F(ShellListTest, TheMenuKeyWithoutASelectionOpensNoMenu) {
    Show("files");
    list.SetViewStyle(TViewStyle::vsIcon);
    list.SelectionModel()->clearSelection();
    MenuCounter menus;
    QTest::keyClick(list.View(), Qt::Key_Menu);
    SendContextMenu(list.View(), QContextMenuEvent::Keyboard, {});
    EXPECT_EQ(menus.shown, 0);
}

// Pixels of the arrow's shadow colour where the arrow sits at a column's right end, between
// its caption and its border.
int ArrowPixels(TSCCustomShellList& list, int column) {
    TSCSortHeaderView* header = list.GetHeaderHandle();
    const QImage shot = header->grab().toImage();
    const QRect section = header->SectionRect(column);
    const QRgb shadow = list.palette().color(QPalette::Dark).rgb();
    int count = 0;
    for (int x = section.right() - 20; x < section.right() - 8; ++x) {
        for (int y = 0; y < shot.height(); ++y) {
            count += shot.pixel(x, y) == shadow;
        }
    }
    return count;
}

TEST_F(ShellListTest, AHeaderClickMovesTheOwnerDrawnArrowAndTurnsIt) {
    Show("files");
    list.WriteHeaderSortDisplayMode(sclvRightAlign);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->OwnerDrawn());
    EXPECT_GT(ArrowPixels(list, 0), 0) << "the list starts sorted by name";
    EXPECT_EQ(ArrowPixels(list, 1), 0);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->SectionRect(1).center());
    EXPECT_EQ(list.SortKey(), 2);
    EXPECT_EQ(list.SortColumn(), 1);
    EXPECT_EQ(ArrowPixels(list, 0), 0);
    const int down = ArrowPixels(list, 1);
    EXPECT_GT(down, 0);
    const QImage ascending = header->grab().toImage();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->SectionRect(1).center());
    EXPECT_EQ(list.SortKey(), -2);
    EXPECT_TRUE(list.SortDescending());
    EXPECT_GT(ArrowPixels(list, 1), 0);
    EXPECT_NE(header->grab().toImage(), ascending) << "the arrow turns";
}

TEST_F(ShellListTest, TheNativeIndicatorFollowsTheSortKey) {
    Show("files");
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_FALSE(header->OwnerDrawn());
    list.SetSortKey(-3);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->IndicatorOrder(0), std::nullopt);
    EXPECT_EQ(header->IndicatorOrder(2), Qt::DescendingOrder);
    list.SetSortKey(0);
    EXPECT_FALSE(header->isSortIndicatorShown()) << "the captions' order shows no arrow";
    EXPECT_EQ(header->IndicatorOrder(2), std::nullopt);
}

TEST_F(ShellListTest, CustomDrawHandlersSeeTheRowsDataAndColourTheirText) {
    Show("files");
    const int row = RowNamed(list, "b.bin");
    std::vector<int> exStages;
    bool dataMatchesItem = true;
    list.OnCustomDrawShEx = [&](QWidget*, TSCCustomDraw& draw, int item, TSCShListData* data) {
        exStages.push_back(draw.Stage());
        dataMatchesItem = dataMatchesItem && (item < 0) == (data == nullptr) &&
                          (data == nullptr || data == list.GetItemData(item));
    };
    int itemPrePaints = 0;
    list.OnCustomDrawSh = [&](QWidget*, TSCCustomDraw& draw, int item, TSCShListData* data) {
        EXPECT_EQ(draw.Stage(), 4);
        ++itemPrePaints;
        if (item == row && data->GetDisplayName() == "b.bin") {
            draw.Font().SetColor(Qt::red);
        }
    };
    const QImage shot = list.View()->viewport()->grab().toImage();
    ASSERT_FALSE(exStages.empty());
    EXPECT_EQ(exStages.front(), 1) << "the control's pre-paint first";
    EXPECT_EQ(std::count(exStages.begin(), exStages.end(), 4), itemPrePaints);
    EXPECT_GT(itemPrePaints, 0);
    EXPECT_TRUE(dataMatchesItem);
    const auto isRed = [&](int x, int y) {
        const QColor pixel = shot.pixelColor(x, y);
        return pixel.red() > 150 && pixel.green() < 90 && pixel.blue() < 90;
    };
    const auto redIn = [&](const QRect& rect) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                if (isRed(x, y)) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(redIn(list.View()->visualRect(list.Items().index(row, 0))));
    EXPECT_FALSE(redIn(list.View()->visualRect(list.Items().index(row + 1, 0))));
}

TEST_F(ShellListTest, TheColourIsTheBackgroundOfEveryStyle) {
    Show("files");
    list.SetColor(Qt::yellow);
    for (const TViewStyle style :
         {TViewStyle::vsIcon, TViewStyle::vsSmallIcon, TViewStyle::vsList, TViewStyle::vsReport}) {
        list.SetViewStyle(style);
        EXPECT_EQ(list.View()->viewport()->palette().color(QPalette::Base), QColor(Qt::yellow))
            << static_cast<int>(style);
    }
}

} // namespace
} // namespace quarn::test
