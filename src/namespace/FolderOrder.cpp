#include "namespace/FolderOrder.h"

#include "namespace/NamespaceFolder.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace quarn {

namespace {

// The item of a one-level list, when it is one of ours.
std::optional<Item> OwnItem(LPCITEMIDLIST list) {
    if (!HasItems(list) || HasItems(NextItem(list))) {
        return std::nullopt;
    }
    return DecodeItem(FirstItem(list));
}

// Keys for every item, or none when one is not of our items.
std::optional<std::vector<ItemOrderKey>> OrderKeys(std::span<const LPCITEMIDLIST> items,
                                                   int column) {
    std::vector<ItemOrderKey> keys;
    keys.reserve(items.size());
    for (LPCITEMIDLIST list : items) {
        const std::optional<Item> item = OwnItem(list);
        if (!item) {
            return std::nullopt;
        }
        keys.emplace_back(*item, column);
    }
    return keys;
}

template <typename Compare> std::vector<int> StableOrder(std::size_t count, Compare compare) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    return order;
}

} // namespace

std::vector<int> SortedKeyOrder(std::span<const ItemOrderKey> keys, bool descending) {
    const int sign = descending ? -1 : 1;
    return StableOrder(keys.size(), [&](int a, int b) { return sign * keys[a].Compare(keys[b]); });
}

std::vector<int> SortedItemOrder(IShellFolder* folder, std::span<const LPCITEMIDLIST> items,
                                 int column, bool descending) {
    if (dynamic_cast<NamespaceFolder*>(folder)) {
        if (const auto keys = OrderKeys(items, column)) {
            return SortedKeyOrder(*keys, descending);
        }
    }
    const int sign = descending ? -1 : 1;
    return StableOrder(items.size(), [&](int a, int b) {
        if (!folder || !items[a] || !items[b]) {
            return 0;
        }
        const HRESULT hr = folder->CompareIDs(column, items[a], items[b]);
        return Succeeded(hr) ? sign * LowWordSigned(hr) : 0;
    });
}

} // namespace quarn
