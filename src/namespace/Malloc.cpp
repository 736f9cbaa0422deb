#include "namespace/Malloc.h"

#include <cstdlib>
#include <malloc.h>

namespace quarn {

namespace {

class TaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = (iid == IUnknown::Iid || iid == IMalloc::Iid) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    void* Alloc(std::size_t size) override { return std::malloc(size == 0 ? 1 : size); }
    void* Realloc(void* block, std::size_t size) override { return std::realloc(block, size); }
    void Free(void* block) override { std::free(block); }
    std::size_t GetSize(void* block) override { return block ? malloc_usable_size(block) : 0; }
    int DidAlloc(void*) override { return -1; }
    void HeapMinimize() override {}
};

} // namespace

IMalloc& SharedMalloc() {
    static TaskAllocator allocator;
    return allocator;
}

} // namespace quarn
