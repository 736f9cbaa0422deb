#include "shell/idlist/PidlRoutines.h"

#include "shell/idlist/ShellFolders.h"

#include <algorithm>
#include <cstring>

namespace quarn {

LPITEMIDLIST AllocPidl(std::size_t size) {
    return static_cast<LPITEMIDLIST>(SharedMalloc().Alloc(size));
}

void FreePidl(LPITEMIDLIST list) {
    if (list) {
        SharedMalloc().Free(list);
    }
}

IMalloc* GetShellMalloc() {
    return &SharedMalloc();
}

std::size_t PidlSize(LPCITEMIDLIST list) {
    return ListSize(list);
}

LPITEMIDLIST JoinPidls(IMalloc* allocator, LPCITEMIDLIST first, LPCITEMIDLIST second) {
    const std::size_t a = std::max<std::size_t>(PidlSize(first), 2) - 2;
    const std::size_t b = std::max<std::size_t>(PidlSize(second), 2) - 2;
    auto* block =
        static_cast<std::uint8_t*>((allocator ? *allocator : SharedMalloc()).Alloc(a + b + 2));
    if (block == nullptr) {
        return nullptr;
    }
    if (a) {
        std::memcpy(block, first, a);
    }
    if (b) {
        std::memcpy(block + a, second, b);
    }
    block[a + b] = 0;
    block[a + b + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(block);
}

LPITEMIDLIST DuplicatePidl(IMalloc* allocator, LPCITEMIDLIST list) {
    return JoinPidls(allocator, list, nullptr);
}

int ComparePidls(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (a == nullptr || b == nullptr) {
        return a == b ? 0 : -1;
    }
    if (!HasItems(a) || !HasItems(b)) {
        return HasItems(a) == HasItems(b) ? 0 : -1;
    }
    ComPtr<IShellFolder> desktop;
    if (Failed(GetDesktopFolder(desktop))) {
        return ComparePidlsFailed;
    }
    const HRESULT hr = desktop->CompareIDs(0, a, b);
    return Succeeded(hr) ? LowWordSigned(hr) : ComparePidlsFailed;
}

} // namespace quarn
