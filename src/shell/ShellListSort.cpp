#include "ShellListSort.h"

#include "ShellListData.h"
#include "ShellUtils.h"
#include "namespace/ItemOrderKey.h"
#include "namespace/NamespaceFolder.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <optional>

namespace quarn {

namespace {

std::vector<int> Rows(const TSCShellListModel& model) {
    std::vector<int> rows(model.Count());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

// The item of a one-level list, when it is one of ours.
std::optional<Item> OwnItem(LPCITEMIDLIST list) {
    if (!HasItems(list) || HasItems(NextItem(list))) {
        return std::nullopt;
    }
    return DecodeItem(FirstItem(list));
}

// Keys for every row, or none when a row is not one of our items.
std::optional<std::vector<ItemOrderKey>> OrderKeys(TSCShellListModel& model, int column) {
    std::vector<ItemOrderKey> keys;
    keys.reserve(model.Count());
    for (int row = 0; row < model.Count(); ++row) {
        const std::optional<Item> item = OwnItem(model.Item(row).Data->RelativePidl());
        if (!item) {
            return std::nullopt;
        }
        keys.emplace_back(*item, column);
    }
    return keys;
}

template <typename Compare>
std::vector<int> StableOrder(TSCShellListModel& model, Compare compare) {
    std::vector<int> rows = Rows(model);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return compare(a, b) < 0; });
    return rows;
}

} // namespace

std::vector<int> SortedRowOrder(TSCShellListModel& model, IShellFolder* folder, int sortKey) {
    if (sortKey == 0) {
        return StableOrder(model, [&](int a, int b) {
            return model.Item(a).Data->GetDisplayName().compare(
                model.Item(b).Data->GetDisplayName());
        });
    }
    const int sign = sortKey < 0 ? -1 : 1;
    const int column = std::abs(sortKey) - 1;
    if (dynamic_cast<NamespaceFolder*>(folder)) {
        if (const auto keys = OrderKeys(model, column)) {
            return StableOrder(model,
                               [&](int a, int b) { return sign * (*keys)[a].Compare((*keys)[b]); });
        }
    }
    return StableOrder(model, [&](int a, int b) {
        if (!folder) {
            return 0;
        }
        const HRESULT hr = folder->CompareIDs(column, model.Item(a).Data->RelativePidl(),
                                              model.Item(b).Data->RelativePidl());
        return Succeeded(hr) ? sign * LowWordSigned(hr) : 0;
    });
}

} // namespace quarn
