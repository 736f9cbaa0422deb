#pragma once

// The one table between Qt's keys and the virtual-key codes the controls and forms compare
// keys with, and the shortcut codes built from them: low byte the virtual-key code, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt.

#include <cstdint>
#include <qnamespace.h>

class QKeyEvent;

namespace quarn {

inline constexpr std::uint8_t VK_BACK = 0x08;
inline constexpr std::uint8_t VK_TAB = 0x09;
inline constexpr std::uint8_t VK_RETURN = 0x0D;
inline constexpr std::uint8_t VK_SHIFT = 0x10;
inline constexpr std::uint8_t VK_CONTROL = 0x11;
inline constexpr std::uint8_t VK_MENU = 0x12; // Alt
inline constexpr std::uint8_t VK_ESCAPE = 0x1B;
inline constexpr std::uint8_t VK_SPACE = 0x20;
inline constexpr std::uint8_t VK_PRIOR = 0x21; // Page Up
inline constexpr std::uint8_t VK_NEXT = 0x22;  // Page Down
inline constexpr std::uint8_t VK_END = 0x23;
inline constexpr std::uint8_t VK_HOME = 0x24;
inline constexpr std::uint8_t VK_LEFT = 0x25;
inline constexpr std::uint8_t VK_UP = 0x26;
inline constexpr std::uint8_t VK_RIGHT = 0x27;
inline constexpr std::uint8_t VK_DOWN = 0x28;
inline constexpr std::uint8_t VK_INSERT = 0x2D;
inline constexpr std::uint8_t VK_DELETE = 0x2E;
inline constexpr std::uint8_t VK_APPS = 0x5D; // the Menu key
inline constexpr std::uint8_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint8_t VK_F1 = 0x70;
inline constexpr std::uint8_t VK_F2 = 0x71;
inline constexpr std::uint8_t VK_F5 = 0x74;
inline constexpr std::uint8_t VK_F10 = 0x79;

inline constexpr std::uint16_t ShortcutShift = 0x2000;
inline constexpr std::uint16_t ShortcutCtrl = 0x4000;
inline constexpr std::uint16_t ShortcutAlt = 0x8000;

// The virtual-key code of a Qt key; keys of the numeric pad by the keypad modifier. 0 for a
// key that has none (Qt reports some shifted keys by their character, "!" for Shift+1).
std::uint8_t VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers);

// The key's virtual-key code with the Shift, Ctrl and Alt bits of the modifiers; 0 for a key
// without a code.
std::uint16_t ShortcutCodeOf(int key, Qt::KeyboardModifiers modifiers);
std::uint16_t ShortcutCodeOf(const QKeyEvent& key);

} // namespace quarn
