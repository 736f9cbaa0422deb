// The file list's four view styles over one model and one selection.
#include "ListFixture.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

struct StyleCase {
    TViewStyle style;
    QListView::ViewMode mode;
    QListView::Flow flow;
    int iconSize;
};

TEST_F(ShellListTest, TheFourViewStylesSwitchAndKeepTheSelection) {
    Show("files");
    list.setFocus();
    list.SetSelected(2, true);
    list.SetSelected(4, true);
    list.SelectionModel()->setCurrentIndex(list.Items().index(4, 0), QItemSelectionModel::NoUpdate);
    const std::vector<std::string> selected = list.SelectedDisplayNames();
    ASSERT_EQ(selected.size(), 2u);

    for (const StyleCase& style :
         {StyleCase{TViewStyle::vsIcon, QListView::IconMode, QListView::LeftToRight, 32},
          StyleCase{TViewStyle::vsSmallIcon, QListView::ListMode, QListView::LeftToRight, 16},
          StyleCase{TViewStyle::vsList, QListView::ListMode, QListView::TopToBottom, 16}}) {
        list.SetViewStyle(style.style);
        EXPECT_EQ(list.ViewStyle(), style.style);
        auto* view = qobject_cast<QListView*>(list.View());
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isVisible());
        EXPECT_FALSE(list.ReportView()->isVisible());
        EXPECT_EQ(view->viewMode(), style.mode);
        EXPECT_EQ(view->flow(), style.flow);
        EXPECT_EQ(view->iconSize(), QSize(style.iconSize, style.iconSize));
        EXPECT_EQ(view->selectionModel(), list.SelectionModel());
        EXPECT_TRUE(view->hasFocus());
        EXPECT_EQ(list.SelectedDisplayNames(), selected);
        EXPECT_EQ(list.ItemFocused(), 4);
    }

    QTest::keyClick(list.View(), Qt::Key_Down);
    EXPECT_EQ(list.ItemFocused(), 5) << "the keys work in the list style";
    EXPECT_EQ(list.SelectedItems(), std::vector<int>{5});

    list.SetViewStyle(TViewStyle::vsReport);
    EXPECT_EQ(list.View(), list.ReportView());
    EXPECT_TRUE(list.ReportView()->isVisible());
    EXPECT_TRUE(list.ReportView()->hasFocus());
    EXPECT_EQ(list.SelectedItems(), std::vector<int>{5});
}

TEST_F(ShellListTest, ItemStylesGiveEveryNameTheSameRoomNotTheLastRowsWidth) {
    const std::string name = "quarterly figures.txt";
    WriteFileBytes(fixture.Path("files/sub/" + name), "");
    WriteFileBytes(fixture.Path("files/sub/z"), "");
    Show("files/sub");
    ASSERT_EQ(RowNames(list), (std::vector<std::string>{name, "z"}));
    const QFontMetrics metrics = list.View()->fontMetrics();
    for (const auto& [style, needed] :
         {std::pair{TViewStyle::vsIcon, metrics.horizontalAdvance("figures.txt")},
          std::pair{TViewStyle::vsSmallIcon, metrics.horizontalAdvance(name.c_str()) + 16},
          std::pair{TViewStyle::vsList, metrics.horizontalAdvance(name.c_str()) + 16}}) {
        list.SetViewStyle(style);
        QApplication::processEvents();
        const QRect cell = list.View()->visualRect(list.Items().index(0, 0));
        EXPECT_GE(cell.width(), needed) << static_cast<int>(style);
        EXPECT_EQ(cell.size(), list.View()->visualRect(list.Items().index(1, 0)).size());
    }
    list.SetViewStyle(TViewStyle::vsReport);
    EXPECT_EQ(list.ReportView()->visualRect(list.Items().index(0, 0)).height(),
              list.ReportView()->sizeHintForRow(0))
        << "the report's rows keep their own height";
}

TEST_F(ShellListTest, AFillInTheIconStyleStartsAtTheTop) {
    list.SetViewStyle(TViewStyle::vsIcon);
    Show("files");
    EXPECT_EQ(list.Count(), 13);
    EXPECT_EQ(list.View()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(list.ItemFocused(), 0);
}

} // namespace
} // namespace quarn::test
