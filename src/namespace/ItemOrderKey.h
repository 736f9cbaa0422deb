#pragma once

#include "namespace/ItemCodec.h"

#include <QCollatorSortKey>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quarn {

// Where a key takes the collation of its names from: collated afresh, for keys made once per
// item of a sort, or from a cache kept by the thread, for single comparisons that meet the
// same names again and again.
enum class NameCollation { Fresh, Cached };

// The order of the items of one folder by a column (0 name, 1 size, 2 type, 3 modified),
// worked out once per item: the items of one kind in the order of their alternatives; roots
// by their kind; the root volume first, then volumes by name; folders before files, then the
// column, then the names (numeric collation in the user's language, raw bytes breaking ties).
// Two keys compare equal only for items of the same name. The key refers to the item's
// bytes, which must outlive it.
class ItemOrderKey {
public:
    ItemOrderKey(const Item& item, int column, NameCollation collation = NameCollation::Fresh);

    // The order of captions alone, by their bytes; such a key compares with its kind only.
    static ItemOrderKey OfCaption(std::string_view caption);

    // <0, 0 or >0.
    int Compare(const ItemOrderKey& other) const;

private:
    ItemOrderKey() = default;

    std::uint8_t kind_ = 0;      // the item's alternative
    std::uint8_t rank_ = 0;      // folders before files, the root volume before the others
    std::uint64_t number_ = 0;   // size or time's seconds, for the columns that order by them
    std::uint32_t fraction_ = 0; // the time's nanoseconds
    std::optional<QCollatorSortKey> type_;
    std::optional<QCollatorSortKey> name_;
    std::string_view tie_; // raw bytes that break a tie of collation
};

} // namespace quarn
