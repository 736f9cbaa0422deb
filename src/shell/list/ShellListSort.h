#pragma once

#include "namespace/ShellFolder.h"
#include "shell/list/ShellListModel.h"

#include <vector>

namespace quarn {

// The order of the rows for a sort key (1-based column, negative descending, 0 by caption),
// as the folder's CompareIDs defines it: order[i] is the row that comes i-th. Items of our
// own folders are compared through keys made once per item.
std::vector<int> SortedRowOrder(TSCShellListModel& model, IShellFolder* folder, int sortKey);

} // namespace quarn
