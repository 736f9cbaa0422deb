#pragma once

// The views of the file list's styles. The report is a table with a header; icons, small
// icons and the list are one item view laid out for each.

#include "ViewStyle.h"

class QHeaderView;
class QListView;
class QTreeView;
class QWidget;

namespace quarn {

QTreeView* NewReportView(QWidget* parent);
// The report's header: columns keep their widths and take clicks.
void ArrangeReportHeader(QHeaderView& header);
QListView* NewItemView(QWidget* parent);
// Lays the item view out for one of the styles other than the report.
void ArrangeItemView(QListView& view, TViewStyle style);

} // namespace quarn
