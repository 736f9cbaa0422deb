#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quarn {

// An item-ID list: items that each begin with a 16-bit little-endian byte count (which
// counts those two bytes), ended by a 16-bit zero. The type is never defined: a list is
// only read as bytes.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

inline const std::uint8_t* ListBytes(LPCITEMIDLIST list) {
    return reinterpret_cast<const std::uint8_t*>(list);
}
inline std::uint16_t ReadItemSize(const std::uint8_t* item) {
    return static_cast<std::uint16_t>(item[0] | (item[1] << 8));
}
// Nil and the empty list (the desktop) have no items.
inline bool HasItems(LPCITEMIDLIST list) {
    return list != nullptr && ReadItemSize(ListBytes(list)) != 0;
}
// The first item, its byte count included; empty for nil and for the empty list.
std::span<const std::uint8_t> FirstItem(LPCITEMIDLIST list);
// The list after its first item.
LPCITEMIDLIST NextItem(LPCITEMIDLIST list);
// Size in bytes with the terminator; 0 for nil.
std::size_t ListSize(LPCITEMIDLIST list);
std::size_t ItemCount(LPCITEMIDLIST list);

// Item bytes (each with its count) and the terminator, in a block from the shared allocator;
// nil when it cannot be allocated.
LPITEMIDLIST AllocateList(std::string_view items);
// The items of a list without the terminator.
std::string_view ItemBytes(LPCITEMIDLIST list);

// Whether bytes hold exactly one well-formed list: items of at least 3 bytes inside the
// block and a terminator at its very end.
bool IsWellFormedList(std::span<const std::uint8_t> bytes);

// Owns a list allocated through the shared allocator.
struct ListDeleter {
    void operator()(ITEMIDLIST* list) const;
};
using PidlPtr = std::unique_ptr<ITEMIDLIST, ListDeleter>;

} // namespace quarn
