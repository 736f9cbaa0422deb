#include "shell/idlist/IdListArray.h"

namespace quarn {

int TSCIdListArray::GetCount() const {
    return static_cast<int>(ItemCount(source_));
}

LPCITEMIDLIST TSCIdListArray::Keep(LPITEMIDLIST result) {
    last_.reset(result);
    return result;
}

LPCITEMIDLIST TSCIdListArray::GetPrefix(int n) {
    const int count = GetCount();
    if (source_ == nullptr || n < 0 || n > count) {
        return Keep(nullptr);
    }
    LPCITEMIDLIST end = source_;
    for (int level = 0; level < count - n; ++level) {
        end = NextItem(end);
    }
    const std::string_view all = ItemBytes(source_);
    const auto kept = static_cast<std::size_t>(ListBytes(end) - ListBytes(source_));
    return Keep(AllocateList(all.substr(0, kept)));
}

LPCITEMIDLIST TSCIdListArray::GetItem(int n) {
    const int count = GetCount();
    if (source_ == nullptr || n < 0 || (count != 0 && n >= count)) {
        return Keep(nullptr);
    }
    LPCITEMIDLIST level = source_;
    for (int i = 0; i < n && HasItems(level); ++i) {
        level = NextItem(level);
    }
    const auto item = FirstItem(level);
    return Keep(AllocateList({reinterpret_cast<const char*>(item.data()), item.size()}));
}

} // namespace quarn
