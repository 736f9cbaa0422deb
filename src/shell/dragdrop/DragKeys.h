#pragma once

#include "shell/dragdrop/DropEffects.h"

#include <Qt>

namespace quarn {

// The buttons and modifier keys of a Qt drag event as a drag's key state.
DWORD KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// Qt's drop actions as drop effects, and one effect as Qt's action.
DWORD EffectsOf(Qt::DropActions actions);
Qt::DropAction DropActionOf(DWORD effect);

} // namespace quarn
