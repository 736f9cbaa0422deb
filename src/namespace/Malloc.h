#pragma once

#include "namespace/ComBase.h"

#include <cstddef>

namespace quarn {

// The task allocator that item-ID lists and other shell blocks come from.
class IMalloc : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x01);
    virtual void* Alloc(std::size_t size) = 0;
    virtual void* Realloc(void* block, std::size_t size) = 0;
    virtual void Free(void* block) = 0;
    virtual std::size_t GetSize(void* block) = 0;
    virtual int DidAlloc(void* block) = 0; // 1 yes, 0 no, -1 unknown
    virtual void HeapMinimize() = 0;
};

// The process-wide allocator (over malloc); its reference count never frees it.
IMalloc& SharedMalloc();

} // namespace quarn
