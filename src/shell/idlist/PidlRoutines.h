#pragma once

// Allocating, joining, copying and comparing item-ID lists. A "list" is an item-ID list;
// lists that the routines answer are new and the caller's, allocated through the shared
// allocator unless an allocator is given.

#include "namespace/ItemIdList.h"
#include "namespace/Malloc.h"

#include <cstddef>

namespace quarn {

LPITEMIDLIST AllocPidl(std::size_t size); // nil when it fails
void FreePidl(LPITEMIDLIST list);         // nil is ignored
IMalloc* GetShellMalloc();
std::size_t PidlSize(LPCITEMIDLIST list); // with the terminator; 0 for nil
LPITEMIDLIST JoinPidls(IMalloc* allocator, LPCITEMIDLIST first, LPCITEMIDLIST second);
LPITEMIDLIST DuplicatePidl(IMalloc* allocator, LPCITEMIDLIST list); // nil: an empty list

// 0 = equal; ComparePidlsFailed when the desktop could not compare them.
inline constexpr int ComparePidlsFailed = 0x7FFFFFFF;
int ComparePidls(LPCITEMIDLIST a, LPCITEMIDLIST b);

} // namespace quarn
