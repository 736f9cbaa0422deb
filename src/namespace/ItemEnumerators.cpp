#include "namespace/ItemEnumerators.h"

#include "namespace/FileEntries.h"

#include <cerrno>
#include <cstring>

namespace quarn {

namespace {

// Next's common shape: up to count items from produce(), which answers an empty item at
// the end and fails with an HRESULT.
template <typename Produce>
HRESULT HandOut(ULONG count, LPITEMIDLIST* items, ULONG* fetched, Produce produce) {
    if (items == nullptr || (count > 1 && fetched == nullptr)) {
        return E_POINTER;
    }
    ULONG done = 0;
    HRESULT hr = S_OK;
    while (done < count) {
        std::string item;
        hr = produce(item);
        if (Failed(hr) || item.empty()) {
            break;
        }
        LPITEMIDLIST list = AllocateList(item);
        if (list == nullptr) {
            hr = E_OUTOFMEMORY;
            break;
        }
        items[done++] = list;
    }
    if (fetched) {
        *fetched = done;
    }
    if (Failed(hr) && done == 0) {
        return hr;
    }
    return done == count ? S_OK : S_FALSE;
}

} // namespace

HRESULT ListEnumerator::QueryInterface(const IID& iid, void** object) {
    return QueryOwnInterface<IEnumIDList>(this, iid, object);
}

HRESULT ListEnumerator::Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) {
    return HandOut(count, items, fetched, [this](std::string& item) {
        if (next_ < items_.size()) {
            item = items_[next_++];
        }
        return S_OK;
    });
}

HRESULT ListEnumerator::Skip(ULONG count) {
    const bool enough = items_.size() - next_ >= count;
    next_ = std::min(items_.size(), next_ + count);
    return enough ? S_OK : S_FALSE;
}

HRESULT ListEnumerator::Reset() {
    next_ = 0;
    return S_OK;
}

HRESULT ListEnumerator::Clone(IEnumIDList** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    auto clone = MakeCom<ListEnumerator>(items_);
    clone->next_ = next_;
    *copy = clone.Detach();
    return S_OK;
}

HRESULT DirectoryEnumerator::Open(const std::string& path, SHCONTF flags,
                                  IEnumIDList** enumerator) {
    if (enumerator == nullptr) {
        return E_POINTER;
    }
    *enumerator = nullptr;
    std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
    if (!dir) {
        return HResultFromErrno(errno);
    }
    *enumerator = ComPtr<IEnumIDList>(new DirectoryEnumerator(std::move(dir), flags)).Detach();
    return S_OK;
}

HRESULT DirectoryEnumerator::QueryInterface(const IID& iid, void** object) {
    return QueryOwnInterface<IEnumIDList>(this, iid, object);
}

std::string DirectoryEnumerator::NextItem(int& error) {
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir_.get());
        if (entry == nullptr) {
            error = errno;
            return {};
        }
        const std::string_view name = entry->d_name;
        const bool hidden = IsHiddenName(name);
        if (name == "." || name == ".." ||
            (entry->d_type == DT_DIR && !IsListed(flags_, true, hidden)) ||
            (entry->d_type == DT_REG && !IsListed(flags_, false, hidden))) {
            continue;
        }
        EntryResult result = StatEntry(dirfd(dir_.get()), entry->d_name, name);
        if (result.error == ENOENT) {
            continue; // gone since the listing
        }
        if (result.error != 0) {
            result = UnreadEntry(name, entry->d_type);
        }
        if (!result.item.empty() && IsListed(flags_, result.folder, hidden)) {
            return result.item;
        }
    }
}

HRESULT DirectoryEnumerator::Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) {
    return HandOut(count, items, fetched, [this](std::string& item) {
        int error = 0;
        item = NextItem(error);
        return error ? HResultFromErrno(error) : S_OK;
    });
}

HRESULT DirectoryEnumerator::Skip(ULONG count) {
    for (ULONG i = 0; i < count; ++i) {
        int error = 0;
        if (NextItem(error).empty()) {
            return error ? HResultFromErrno(error) : S_FALSE;
        }
    }
    return S_OK;
}

HRESULT DirectoryEnumerator::Reset() {
    rewinddir(dir_.get());
    return S_OK;
}

HRESULT DirectoryEnumerator::Clone(IEnumIDList** copy) {
    if (copy) {
        *copy = nullptr;
    }
    return E_NOTIMPL;
}

} // namespace quarn
