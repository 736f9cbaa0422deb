#pragma once

#include "namespace/ShellFolder.h"
#include "shell/list/ShellListModel.h"

#include <vector>

namespace quarn {

// The order of the rows for a sort key, as SortedKeyOrder gives it (order[i] is the row that
// comes i-th): 1-based column, negative descending, as the folder's CompareIDs defines it;
// 0 by the bytes of the captions.
std::vector<int> SortedRowOrder(TSCShellListModel& model, IShellFolder* folder, int sortKey);

} // namespace quarn
