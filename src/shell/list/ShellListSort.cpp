#include "shell/list/ShellListSort.h"

#include "namespace/FolderOrder.h"
#include "shell/list/ShellListData.h"

#include <cstdlib>

namespace quarn {

std::vector<int> SortedRowOrder(TSCShellListModel& model, IShellFolder* folder, int sortKey) {
    if (sortKey == 0) {
        std::vector<ItemOrderKey> captions;
        captions.reserve(model.Count());
        for (int row = 0; row < model.Count(); ++row) {
            captions.push_back(ItemOrderKey::OfCaption(model.Item(row).Data->GetDisplayName()));
        }
        return SortedKeyOrder(captions);
    }
    std::vector<LPCITEMIDLIST> items;
    items.reserve(model.Count());
    for (int row = 0; row < model.Count(); ++row) {
        items.push_back(model.Item(row).Data->RelativePidl());
    }
    return SortedItemOrder(folder, items, std::abs(sortKey) - 1, sortKey < 0);
}

} // namespace quarn
