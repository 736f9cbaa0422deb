#pragma once

#include "namespace/ItemIdList.h"
#include "namespace/ShellFolder.h"

#include <span>
#include <vector>

namespace quarn {

// The order in which the folder's CompareIDs puts its items for a column: order[i] is the
// index of the item that comes i-th, equal items in their given order, descending reversing
// every comparison. A null item, or any item when there is no folder, compares equal. Items
// of our own folders are compared through keys made once per item.
std::vector<int> SortedItemOrder(IShellFolder* folder, std::span<const LPCITEMIDLIST> items,
                                 int column, bool descending = false);

} // namespace quarn
