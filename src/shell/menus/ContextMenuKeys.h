#pragma once

#include <Qt>

namespace quarn {

// The Menu key with no modifier, or Shift+F10: the keyboard's way to a context menu.
inline bool IsContextMenuKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return (key == Qt::Key_Menu && held == Qt::NoModifier) ||
           (key == Qt::Key_F10 && held == Qt::ShiftModifier);
}

} // namespace quarn
