#include "shell/idlist/PidlList.h"

#include "shell/common/ShellErrors.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quarn {

int ComparePidlBytes(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    const std::size_t sizeA = ListSize(a);
    const std::size_t sizeB = ListSize(b);
    const std::size_t common = std::min(sizeA, sizeB);
    for (std::size_t i = 0; i < common; ++i) {
        if (ListBytes(a)[i] != ListBytes(b)[i]) {
            return ListBytes(a)[i] - ListBytes(b)[i];
        }
    }
    return static_cast<int>(sizeA) - static_cast<int>(sizeB);
}

TSCPidlList::~TSCPidlList() {
    Clear();
}

int TSCPidlList::Compare(LPCITEMIDLIST a, LPCITEMIDLIST b) const {
    if (CompareFolder) {
        return LowWordSigned(CompareFolder->CompareIDs(0, a, b));
    }
    return ComparePidlBytes(a, b);
}

void TSCPidlList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
}

LPITEMIDLIST TSCPidlList::GetPidl(int index) const {
    CheckIndex(index, GetCount());
    return entries_[static_cast<std::size_t>(index)].list;
}

void* TSCPidlList::GetObject(int index) const {
    CheckIndex(index, GetCount());
    return entries_[static_cast<std::size_t>(index)].object;
}

void TSCPidlList::SetSorted(bool sorted) {
    if (sorted == Sorted) {
        return;
    }
    Sorted = sorted;
    if (sorted) {
        Sort();
    }
}

void TSCPidlList::Sort() {
    std::stable_sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
        return Compare(a.list, b.list) < 0;
    });
}

bool TSCPidlList::Find(LPCITEMIDLIST list, int& index) const {
    bool found = false;
    int lo = 0;
    int hi = GetCount() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(entries_[static_cast<std::size_t>(mid)].list, list);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept) {
                    lo = mid;
                }
            }
        }
    }
    index = lo;
    return found;
}

bool TSCPidlList::FindLinear(LPCITEMIDLIST list, int& index) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (Compare(entries_[static_cast<std::size_t>(i)].list, list) == 0) {
            index = i;
            return true;
        }
    }
    index = -1;
    return false;
}

int TSCPidlList::IndexOf(LPCITEMIDLIST list) const {
    int index = -1;
    const bool found = Sorted ? Find(list, index) : FindLinear(list, index);
    return found ? index : -1;
}

int TSCPidlList::AddObject(LPITEMIDLIST list, void* object) {
    if (!Sorted) {
        entries_.push_back({list, object});
        return GetCount() - 1;
    }
    int index = 0;
    if (Find(list, index)) {
        if (Duplicates == dupIgnore) {
            return index;
        }
        if (Duplicates == dupError) {
            throw std::runtime_error("TSCPidlList: Duplicate PIDL");
        }
    }
    InsertAt(index, list, object);
    return index;
}

void TSCPidlList::InsertAt(int index, LPITEMIDLIST list, void* object) {
    CheckIndex(index, GetCount() + 1);
    entries_.insert(entries_.begin() + index, {list, object});
}

void TSCPidlList::RemoveAt(int index) {
    CheckIndex(index, GetCount());
    if (Allocator) {
        Allocator->Free(entries_[static_cast<std::size_t>(index)].list);
    }
    entries_.erase(entries_.begin() + index);
}

void TSCPidlList::Clear() {
    if (Allocator) {
        for (const Entry& entry : entries_) {
            Allocator->Free(entry.list);
        }
    }
    entries_.clear();
}

void TSCPidlList::SetCapacity(int capacity) {
    if (capacity < GetCount()) {
        throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    }
    entries_.reserve(static_cast<std::size_t>(capacity));
}

} // namespace quarn
