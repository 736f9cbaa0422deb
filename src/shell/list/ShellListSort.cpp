#include "shell/list/ShellListSort.h"

#include "namespace/FolderOrder.h"
#include "shell/list/ShellListData.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace quarn {

std::vector<int> SortedRowOrder(TSCShellListModel& model, IShellFolder* folder, int sortKey) {
    if (sortKey == 0) {
        std::vector<int> rows(model.Count());
        std::iota(rows.begin(), rows.end(), 0);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            return model.Item(a).Data->GetDisplayName() < model.Item(b).Data->GetDisplayName();
        });
        return rows;
    }
    std::vector<LPCITEMIDLIST> items;
    items.reserve(model.Count());
    for (int row = 0; row < model.Count(); ++row) {
        items.push_back(model.Item(row).Data->RelativePidl());
    }
    return SortedItemOrder(folder, items, std::abs(sortKey) - 1, sortKey < 0);
}

} // namespace quarn
