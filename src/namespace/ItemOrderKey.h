#pragma once

#include "namespace/ItemCodec.h"

#include <QCollatorSortKey>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quarn {

// The order of CompareItems for one column, worked out once per item: two keys compare as
// their items do, so a large folder is sorted without collating names at every comparison.
// The key refers to the item's bytes, which must outlive it.
class ItemOrderKey {
public:
    ItemOrderKey(const Item& item, int column);

    // <0, 0 or >0, as CompareItems(first, second, column).
    int Compare(const ItemOrderKey& other) const;

private:
    std::uint8_t kind_ = 0;      // the item's alternative
    std::uint8_t rank_ = 0;      // folders before files, the root volume before the others
    std::uint64_t number_ = 0;   // size or time's seconds, for the columns that order by them
    std::uint32_t fraction_ = 0; // the time's nanoseconds
    std::optional<QCollatorSortKey> type_;
    std::optional<QCollatorSortKey> name_;
    std::string_view tie_; // raw bytes that break a tie of collation
};

} // namespace quarn
