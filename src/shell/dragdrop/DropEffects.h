#pragma once

#include <cstdint>

namespace quarn {

// What a drop does with the dragged items, as bits.
using DWORD = std::uint32_t;
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;
inline constexpr DWORD DROPEFFECT_LINK = 4;
inline constexpr DWORD DROPEFFECT_SCROLL = 0x80000000;

// Mouse buttons and modifier keys held during a drag.
inline constexpr DWORD MK_LBUTTON = 0x1;
inline constexpr DWORD MK_RBUTTON = 0x2;
inline constexpr DWORD MK_SHIFT = 0x4;
inline constexpr DWORD MK_CONTROL = 0x8;
inline constexpr DWORD MK_MBUTTON = 0x10;

} // namespace quarn
