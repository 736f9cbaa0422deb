#pragma once

#include "namespace/ItemIdList.h"

namespace quarn {

// The levels of one absolute list. The source is borrowed and must outlive the view; each
// answer belongs to the view and lives until its next GetPrefix or GetItem.
class TSCIdListArray {
public:
    explicit TSCIdListArray(LPCITEMIDLIST source) : source_(source) {}

    int GetCount() const; // 0 for nil and for the empty list
    // The list without its last n levels; nil when n is negative, above the count, or the
    // source is nil.
    LPCITEMIDLIST GetPrefix(int n);
    // Level n (from 0) as a one-level list; nil when the source is nil, n is negative or n
    // is not below a nonzero count. Every level of the empty list is the empty list.
    LPCITEMIDLIST GetItem(int n);

private:
    LPCITEMIDLIST Keep(LPITEMIDLIST result);

    LPCITEMIDLIST source_;
    PidlPtr last_;
};

} // namespace quarn
