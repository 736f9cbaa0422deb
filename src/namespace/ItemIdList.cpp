#include "namespace/ItemIdList.h"

#include "namespace/Malloc.h"

#include <cstring>

namespace quarn {

std::span<const std::uint8_t> FirstItem(LPCITEMIDLIST list) {
    if (!HasItems(list)) {
        return {};
    }
    return {ListBytes(list), ReadItemSize(ListBytes(list))};
}

LPCITEMIDLIST NextItem(LPCITEMIDLIST list) {
    return reinterpret_cast<LPCITEMIDLIST>(ListBytes(list) + ReadItemSize(ListBytes(list)));
}

std::size_t ListSize(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return 0;
    }
    return ItemBytes(list).size() + 2;
}

std::size_t ItemCount(LPCITEMIDLIST list) {
    std::size_t count = 0;
    for (; HasItems(list); list = NextItem(list)) {
        ++count;
    }
    return count;
}

std::string_view ItemBytes(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return {};
    }
    LPCITEMIDLIST end = list;
    while (HasItems(end)) {
        end = NextItem(end);
    }
    return {reinterpret_cast<const char*>(list),
            static_cast<std::size_t>(ListBytes(end) - ListBytes(list))};
}

LPITEMIDLIST AllocateList(std::string_view items) {
    auto* block = static_cast<char*>(SharedMalloc().Alloc(items.size() + 2));
    if (block == nullptr) {
        return nullptr;
    }
    if (!items.empty()) {
        std::memcpy(block, items.data(), items.size());
    }
    block[items.size()] = 0;
    block[items.size() + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(block);
}

bool IsWellFormedList(std::span<const std::uint8_t> bytes) {
    std::size_t offset = 0;
    while (offset + 2 <= bytes.size()) {
        const std::uint16_t size = ReadItemSize(bytes.data() + offset);
        if (size == 0) {
            return offset + 2 == bytes.size();
        }
        if (size < 3 || offset + size + 2 > bytes.size()) {
            return false;
        }
        offset += size;
    }
    return false;
}

void ListDeleter::operator()(ITEMIDLIST* list) const {
    SharedMalloc().Free(list);
}

} // namespace quarn
