// The bases of the tree and the list: custom draw, context menus from mouse and keyboard, the
// header's sort indicator.
#include "CaseNames.h"
#include "ControlTestSupport.h"
#include "MenuCounter.h"
#include "shell/views/CustomListView.h"
#include "shell/views/CustomTreeView.h"
#include "shell/views/HeaderSortArrow.h"
#include "shell/winapi/PlatformVersion.h"

#include <QApplication>
#include <QMenu>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

// Custom draw: what a handler's changes make of the answer and of the item's colours.
struct DrawCase {
    const char* name;
    std::uint32_t stage;
    bool notifyItems;
    bool skipDefault;
    bool changeFont;
    bool changeBrush;
    LRESULT answer;
    bool textColourSet;
    bool backColourSet;
};

void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << c.name;
}

class CustomDrawApply : public ::testing::TestWithParam<DrawCase> {};

TEST_P(CustomDrawApply, AnswersAndColours) {
    const DrawCase& c = GetParam();
    QFont selected("Sans", 9);
    NMCUSTOMDRAW notification;
    notification.dwDrawStage = c.stage;
    notification.font = &selected;
    notification.textColor = Qt::black;
    notification.backColor = Qt::white;
    notification.clrText = Qt::black;
    notification.clrTextBk = Qt::white;
    LRESULT result = -1;
    const QFont controlFont("Sans", 9);
    std::unique_ptr<TSCCustomDraw> draw;
    if (c.notifyItems) {
        draw = std::make_unique<TSCTvCustomDraw>(&notification, &result, controlFont);
    } else {
        draw = std::make_unique<TSCLvCustomDraw>(&notification, &result, controlFont);
    }
    EXPECT_FALSE(draw->FontChanged || draw->BrushChanged) << "creation is no change";
    draw->SkipDefault = c.skipDefault;
    if (c.changeFont) {
        QFont bold = controlFont;
        bold.setBold(true);
        draw->Font().SetFont(bold);
        draw->Font().SetColor(Qt::red);
    }
    if (c.changeBrush) {
        draw->Brush().SetColor(Qt::yellow);
    }
    draw->Apply();
    EXPECT_EQ(result, c.answer);
    EXPECT_EQ(notification.clrText == QColor(Qt::red), c.textColourSet);
    EXPECT_EQ(notification.clrTextBk == QColor(Qt::yellow), c.backColourSet);
    EXPECT_EQ(selected.bold(), (c.answer & CDRF_NEWFONT) != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomDrawApply,
                         ::testing::Values(DrawCase{"TreePrePaint", CDDS_PREPAINT, true, false,
                                                    false, false, CDRF_NOTIFYITEMDRAW, false,
                                                    false},
                                           DrawCase{"ListPrePaint", CDDS_PREPAINT, false, false,
                                                    false, false, 0, false, false},
                                           DrawCase{"OnlyBrush", CDDS_ITEMPREPAINT, false, false,
                                                    false, true, 0, false, true},
                                           DrawCase{"FontAndBrush", CDDS_ITEMPREPAINT, false, false,
                                                    true, true, CDRF_NEWFONT, true, true},
                                           DrawCase{"Skip", CDDS_ITEMPREPAINT, false, true, true,
                                                    true, CDRF_SKIPDEFAULT, false, false},
                                           DrawCase{"PostPaintChangesNothing", CDDS_ITEMPOSTPAINT,
                                                    true, false, true, true, 0, false, false}),
                         CaseName());

// Which handler hears which stage, when a draw is made, and when the items are asked for.
TEST(DispatchCustomDraw, HandlersHearTheirStagesAndItemsAreAskedForWhileOneIsSet) {
    using Heard = std::vector<std::string>;
    const struct {
        std::uint32_t stage;
        bool everyStage;
        bool itemPrePaint;
        Heard heard;
        LRESULT answer;
    } cases[] = {
        {CDDS_PREPAINT, false, false, {}, CDRF_DODEFAULT},
        {CDDS_PREPAINT, false, true, {}, CDRF_NOTIFYITEMDRAW},
        {CDDS_PREPAINT, true, false, {"every"}, CDRF_NOTIFYITEMDRAW},
        {CDDS_POSTPAINT, true, true, {"every"}, CDRF_DODEFAULT},
        {CDDS_ITEMPREPAINT, true, true, {"every", "item"}, CDRF_DODEFAULT},
        {CDDS_ITEMPREPAINT, false, true, {"item"}, CDRF_DODEFAULT},
        {CDDS_ITEMPOSTPAINT, false, true, {}, CDRF_DODEFAULT},
    };
    const QFont controlFont("Sans", 9);
    for (const auto& c : cases) {
        NMCUSTOMDRAW notification;
        notification.dwDrawStage = c.stage;
        LRESULT result = CDRF_DODEFAULT;
        Heard heard;
        TSCCustomDrawHandlers<TSCLvCustomDraw> handlers;
        if (c.everyStage) {
            handlers.everyStage = [&](TSCLvCustomDraw&) { heard.push_back("every"); };
        }
        if (c.itemPrePaint) {
            handlers.itemPrePaint = [&](TSCLvCustomDraw&) { heard.push_back("item"); };
        }
        const auto draw = DispatchCustomDraw(notification, result, handlers, [&] {
            return std::make_unique<TSCLvCustomDraw>(&notification, &result, controlFont);
        });
        EXPECT_EQ(heard, c.heard) << std::hex << c.stage;
        EXPECT_EQ(draw != nullptr, !c.heard.empty()) << "a draw only for a handler that hears";
        EXPECT_EQ(result, c.answer) << std::hex << c.stage;
    }
}

TEST(CustomDraw, StagesAndTheHandlersColoursReachThePaintedItems) {
    TSCCustomTreeView tree;
    QStandardItemModel model;
    model.appendRow(new QStandardItem("first"));
    model.appendRow(new QStandardItem("second"));
    tree.setModel(&model);
    std::vector<int> stages;
    tree.OnCustomDrawSCEx = [&](QWidget*, TSCTvCustomDraw& draw, const QModelIndex& node) {
        stages.push_back(draw.Stage());
        if (draw.Stage() == 4 && node.row() == 1) {
            draw.Font().SetColor(Qt::red);
        }
    };
    ShowAndSettle(tree);
    stages.clear();
    const QImage shot = tree.viewport()->grab().toImage();
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), 1) << "the control's pre-paint comes first";
    EXPECT_EQ(std::count(stages.begin(), stages.end(), 4), 2) << "one item pre-paint each";
    bool redFound = false;
    const QRect second = tree.visualRect(model.index(1, 0));
    for (int x = second.left(); x <= second.right() && !redFound; ++x) {
        for (int y = second.top(); y <= second.bottom(); ++y) {
            const QColor pixel = shot.pixelColor(x, y);
            redFound = redFound || (pixel.red() > 150 && pixel.green() < 90 && pixel.blue() < 90);
        }
    }
    EXPECT_TRUE(redFound) << "the second item's text is drawn red";
}

class TreeMenus : public ::testing::Test {
protected:
    TreeMenus() {
        model.appendRow(new QStandardItem("first"));
        model.appendRow(new QStandardItem("second"));
        tree.setModel(&model);
        menu.addAction("Entry");
        tree.SetPopupMenu(&menu);
        tree.OnNodeContextMenu = [this](QWidget*, const QModelIndex& node, QPoint&, QMenu*&) {
            nodes.push_back(node.isValid() ? node.row() : -1);
        };
        ShowAndSettle(tree);
    }
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }

    QStandardItemModel model;
    TSCCustomTreeView tree;
    QMenu menu;
    MenuCounter menus;
    std::vector<int> nodes;
};

TEST_F(TreeMenus, TheMenuKeyAndShiftF10OpenExactlyOneMenuForTheSelectedNode) {
    tree.setCurrentIndex(model.index(1, 0));
    using KeyCase = std::pair<Qt::Key, Qt::KeyboardModifiers>;
    for (const auto& [key, modifiers] :
         {KeyCase{Qt::Key_Menu, Qt::NoModifier}, KeyCase{Qt::Key_F10, Qt::ShiftModifier}}) {
        menus.shown = 0;
        nodes.clear();
        QTest::keyClick(&tree, key, modifiers);
        Settle();
        EXPECT_EQ(menus.shown, 1) << key;
        EXPECT_EQ(nodes, std::vector<int>{1}) << key;
    }
}

TEST_F(TreeMenus, OtherModifiersLeaveTheKeysAlone) {
    tree.setCurrentIndex(model.index(0, 0));
    using KeyCase = std::pair<Qt::Key, Qt::KeyboardModifiers>;
    for (const auto& [key, modifiers] :
         {KeyCase{Qt::Key_Menu, Qt::ControlModifier}, KeyCase{Qt::Key_Menu, Qt::AltModifier},
          KeyCase{Qt::Key_F10, Qt::NoModifier},
          KeyCase{Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier}}) {
        int passed = 0;
        tree.OnKeyDown = [&](QWidget*, int& pressed, Qt::KeyboardModifiers) {
            passed += pressed == key;
        };
        QTest::keyClick(&tree, key, modifiers);
        Settle();
        EXPECT_EQ(passed, 1) << "the key goes on to the key handling";
    }
    EXPECT_EQ(menus.shown, 0);
    EXPECT_TRUE(nodes.empty());
}

TEST_F(TreeMenus, ARightClickShowsTheMenuOfTheNodeUnderTheMouseAndKeepsTheSelection) {
    tree.setCurrentIndex(model.index(0, 0));
    const QPoint second = tree.visualRect(model.index(1, 0)).center();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, second);
    QContextMenuEvent event(QContextMenuEvent::Mouse, second, tree.viewport()->mapToGlobal(second));
    QApplication::sendEvent(tree.viewport(), &event);
    Settle();
    EXPECT_EQ(menus.shown, 1);
    EXPECT_EQ(nodes, std::vector<int>{1});
    EXPECT_EQ(tree.currentIndex().row(), 0) << "the selection stays";
}

TEST_F(TreeMenus, WithoutASelectionTheKeyboardShowsTheControlsMenuOnce) {
    tree.selectionModel()->clear();
    QTest::keyClick(&tree, Qt::Key_Menu);
    Settle();
    EXPECT_EQ(menus.shown, 1);
    EXPECT_TRUE(nodes.empty()) << "no node, no node menu";
}

TEST(TreeClicks, AClickOnEmptySpaceKeepsTheSelectedNodeAndFocusesTheTree) {
    QStandardItemModel model;
    model.appendRow(new QStandardItem("first"));
    model.appendRow(new QStandardItem("second"));
    TSCCustomTreeView tree;
    tree.setModel(&model);
    tree.resize(200, 300);
    ShowAndSettle(tree);
    tree.setCurrentIndex(model.index(1, 0));
    tree.clearFocus();
    const QPoint below(10, tree.visualRect(model.index(1, 0)).bottom() + 40);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(tree.selectionModel()->selectedIndexes(), QModelIndexList{model.index(1, 0)});
    EXPECT_EQ(tree.currentIndex(), model.index(1, 0));
    EXPECT_TRUE(tree.hasFocus());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(tree.selectionModel()->selectedIndexes(), QModelIndexList{model.index(1, 0)});
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                      tree.visualRect(model.index(0, 0)).center());
    EXPECT_EQ(tree.currentIndex(), model.index(0, 0)) << "a click on a node still selects it";
}

// The list's base, over a report view of a small model, with a sort arrow of its own.
class TestListView : public TSCCustomListView {
public:
    TestListView() {
        model.setHorizontalHeaderLabels({"Name", "Size"});
        model.setHeaderData(1, Qt::Horizontal, int(Qt::AlignRight), Qt::TextAlignmentRole);
        model.appendRow({new QStandardItem("a"), new QStandardItem("1KB")});
        model.appendRow({new QStandardItem("b"), new QStandardItem("2KB")});
        report.setParent(this);
        report.setModel(&model);
        report.setRootIsDecorated(false);
        report.setSelectionMode(QAbstractItemView::ExtendedSelection);
        AttachItemView(&report);
        resize(400, 200);
        report.resize(400, 200);
    }
    using TSCCustomListView::ChangeViewStyle;

    int SortColumn() const override { return sortColumn; }
    bool SortDescending() const override { return sortDescending; }
    void ShowSortArrow(int column, bool descending) {
        sortColumn = column;
        sortDescending = descending;
        ApplyHeaderSort();
    }

    QStandardItemModel model;
    QTreeView report;
    int sortColumn = -1;
    bool sortDescending = false;
};

class ListHeader : public ::testing::Test {
protected:
    ~ListHeader() override { SetPlatformVersion(PlatformVersion()); }
    void UseComCtl32(std::uint32_t version) {
        PlatformVersion platform;
        platform.comCtl32Version = std::uint64_t{version} << 32;
        SetPlatformVersion(platform);
    }
};

TEST_F(ListHeader, ModesBelowVersion470ReadBackAsNone) {
    UseComCtl32(0x40000);
    TestListView list;
    list.WriteHeaderSortDisplayMode(sclvRightAlign);
    EXPECT_EQ(list.HeaderSortDisplayMode(), sclvNone);
    UseComCtl32(0x40046);
    list.WriteHeaderSortDisplayMode(sclvRightAlign);
    EXPECT_EQ(list.HeaderSortDisplayMode(), sclvRightAlign);
}

TEST_F(ListHeader, NativeIndicatorOrOwnerDrawnArrowByMode) {
    TestListView list;
    ShowAndSettle(list);
    EXPECT_EQ(list.GetHeaderHandle(), nullptr) << "no header outside the report style";
    list.ChangeViewStyle(TViewStyle::vsReport);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    list.ShowSortArrow(1, true);
    for (const auto& [mode, ownerDrawn] :
         {std::pair{sclvRightOfText, false}, std::pair{sclvNone, false},
          std::pair{sclvLeftAlign, true}, std::pair{sclvRightAlign, true}}) {
        list.WriteHeaderSortDisplayMode(mode);
        EXPECT_EQ(header->OwnerDrawn(), ownerDrawn) << mode;
        EXPECT_EQ(header->isSortIndicatorShown(), !ownerDrawn) << mode;
        EXPECT_EQ(header->IndicatorOrder(0), std::nullopt) << mode;
        EXPECT_EQ(header->IndicatorOrder(1),
                  ownerDrawn ? std::nullopt : std::optional(Qt::DescendingOrder))
            << mode;
        EXPECT_FALSE(header->grab().isNull());
    }
    UseComCtl32(0x50000);
    list.WriteHeaderSortDisplayMode(sclvRightOfText);
    EXPECT_TRUE(header->OwnerDrawn()) << "older controls draw no arrow of their own";
}

TEST_F(ListHeader, QtsIndicatorShowsTheOwnersArrowAndNotTheTurnOfAClick) {
    TestListView list;
    list.ChangeViewStyle(TViewStyle::vsReport);
    ShowAndSettle(list);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    header->setSectionsClickable(true);
    const auto section = [&](int column) {
        return header->grab(header->SectionRect(column)).toImage();
    };
    list.ShowSortArrow(0, true);
    const QImage unsorted = section(1);
    list.ShowSortArrow(1, false);
    const QImage ascending = section(1);
    EXPECT_NE(ascending, unsorted);
    list.ShowSortArrow(1, true);
    EXPECT_NE(section(1), ascending) << "the indicator turns";
    list.ShowSortArrow(0, true);
    EXPECT_EQ(section(1), unsorted);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->SectionRect(1).center());
    EXPECT_EQ(header->IndicatorOrder(0), Qt::DescendingOrder);
    EXPECT_EQ(header->IndicatorOrder(1), std::nullopt);
    EXPECT_EQ(section(1), unsorted) << "Qt moved its own indicator, which never shows";
}

TEST_F(ListHeader, TheOwnerDrawnArrowSitsRightOfTheSortedColumnsCaption) {
    TestListView list;
    list.ChangeViewStyle(TViewStyle::vsReport);
    list.WriteHeaderSortDisplayMode(sclvRightAlign);
    list.ShowSortArrow(0, false);
    ShowAndSettle(list);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    header->resizeSection(0, 150);
    const QImage shot = header->grab().toImage();
    const QColor face = shot.pixelColor(110, shot.height() / 2);
    int drawn = 0;
    for (int x = 120; x < 145; ++x) {
        for (int y = 0; y < shot.height(); ++y) {
            drawn += shot.pixelColor(x, y) != face;
        }
    }
    EXPECT_GT(drawn, 6) << "the arrow at the right end of the column";
}

TEST(SortArrow, BoxFromTheCaptionRectangle) {
    // Caption from y 2 to 20 (exclusive): size (2 + 20) / 2 - 1 = 10.
    EXPECT_EQ(GetSortArrowRect(QRect(6, 2, 50, 18)), QRect(6, 5, 11, 10));
}

TEST(ListMenus, TheKeyboardMenuNeedsAFocusedSelectedItemElseTheControlsMenu) {
    TestListView list;
    list.ChangeViewStyle(TViewStyle::vsReport);
    QMenu menu;
    menu.addAction("Entry");
    list.SetPopupMenu(&menu);
    std::vector<int> items;
    list.OnItemContextMenu = [&](QWidget*, int item, QPoint&, QMenu*&) { items.push_back(item); };
    ShowAndSettle(list);
    MenuCounter menus;
    QTest::keyClick(&list.report, Qt::Key_Menu);
    QApplication::processEvents();
    EXPECT_EQ(menus.shown, 1) << "nothing focused: the control's menu";
    EXPECT_TRUE(items.empty());
    list.report.setCurrentIndex(list.model.index(1, 0));
    QTest::keyClick(&list.report, Qt::Key_F10, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(menus.shown, 2);
    EXPECT_EQ(items, std::vector<int>{1});
}

} // namespace
} // namespace quarn::test
