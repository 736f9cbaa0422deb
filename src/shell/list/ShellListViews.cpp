#include "shell/list/ShellListViews.h"

#include "platform/gui/DesignScale.h"

#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <algorithm>

namespace quarn {

namespace {

constexpr int SmallIcon = 16;
constexpr int LargeIcon = 32;
// In the design's pixels: room for a large icon and two lines of its caption.
constexpr QSize IconCell(96, 72);
// Room for a small icon and a name of about 25 characters; longer ones are cut short.
constexpr int SmallCellWidth = 180;

void ShareItemViewBehaviour(QAbstractItemView& view) {
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setDragEnabled(false);
}

} // namespace

QTreeView* NewReportView(QWidget* parent) {
    auto* view = new QTreeView(parent);
    ShareItemViewBehaviour(*view);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setIconSize(QSize(SmallIcon, SmallIcon));
    return view;
}

void ArrangeReportHeader(QHeaderView& header) {
    header.setStretchLastSection(false);
    header.setSectionsClickable(true);
}

QListView* NewItemView(QWidget* parent) {
    auto* view = new QListView(parent);
    ShareItemViewBehaviour(*view);
    view->setUniformItemSizes(true);
    view->setWrapping(true);
    view->setResizeMode(QListView::Adjust);
    view->setMovement(QListView::Static);
    return view;
}

QSize ArrangeItemView(QListView& view, TViewStyle style) {
    const bool icons = style == TViewStyle::vsIcon;
    const DesignScale px = DesignScale::Of(view);
    view.setViewMode(icons ? QListView::IconMode : QListView::ListMode);
    view.setMovement(QListView::Static);
    view.setIconSize(icons ? QSize(LargeIcon, LargeIcon) : QSize(SmallIcon, SmallIcon));
    view.setGridSize(icons ? px(IconCell) : QSize());
    view.setWordWrap(icons);
    view.setFlow(style == TViewStyle::vsList ? QListView::TopToBottom : QListView::LeftToRight);
    view.setWrapping(true);
    view.setSpacing(icons ? 0 : 2);
    const int rowHeight = std::max(SmallIcon, view.fontMetrics().height()) + 4;
    return icons ? px(IconCell) : QSize(px(SmallCellWidth), rowHeight);
}

} // namespace quarn
