#pragma once

// The views of the file list's styles. The report is a table with a header; icons, small
// icons and the list are one item view laid out for each.

#include "shell/views/ViewStyle.h"

class QHeaderView;
class QSize;
class QListView;
class QTreeView;
class QWidget;

namespace quarn {

QTreeView* NewReportView(QWidget* parent);
// The report's header, once the list's base has given the report its own: columns keep
// their widths and take clicks.
void ArrangeReportHeader(QHeaderView& header);
QListView* NewItemView(QWidget* parent);
// Lays the item view out for one of the styles other than the report; answers the size of
// every row's cell in it.
QSize ArrangeItemView(QListView& view, TViewStyle style);

} // namespace quarn
