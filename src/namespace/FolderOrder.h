#pragma once

#include "namespace/ItemIdList.h"
#include "namespace/ItemOrderKey.h"
#include "namespace/ShellFolder.h"

#include <span>
#include <vector>

namespace quarn {

// The order of the keys: order[i] is the index of the key that comes i-th, equal keys in
// their given order, descending reversing every comparison.
std::vector<int> SortedKeyOrder(std::span<const ItemOrderKey> keys, bool descending = false);

// The order in which the folder's CompareIDs puts its items for a column, as SortedKeyOrder
// gives it. A null item, or any item when there is no folder, compares equal. Items of our
// own folders are sorted by their order keys.
std::vector<int> SortedItemOrder(IShellFolder* folder, std::span<const LPCITEMIDLIST> items,
                                 int column, bool descending = false);

} // namespace quarn
