#include "shell/dragdrop/DragKeys.h"

namespace quarn {

DWORD KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    DWORD state = 0;
    state |= (buttons & Qt::LeftButton) ? MK_LBUTTON : 0;
    state |= (buttons & Qt::RightButton) ? MK_RBUTTON : 0;
    state |= (buttons & Qt::MiddleButton) ? MK_MBUTTON : 0;
    state |= (modifiers & Qt::ShiftModifier) ? MK_SHIFT : 0;
    state |= (modifiers & Qt::ControlModifier) ? MK_CONTROL : 0;
    return state;
}

DWORD EffectsOf(Qt::DropActions actions) {
    DWORD effects = 0;
    effects |= (actions & Qt::CopyAction) ? DROPEFFECT_COPY : 0;
    effects |= (actions & Qt::MoveAction) ? DROPEFFECT_MOVE : 0;
    effects |= (actions & Qt::LinkAction) ? DROPEFFECT_LINK : 0;
    return effects;
}

Qt::DropAction DropActionOf(DWORD effect) {
    if (effect & DROPEFFECT_MOVE) {
        return Qt::MoveAction;
    }
    if (effect & DROPEFFECT_COPY) {
        return Qt::CopyAction;
    }
    if (effect & DROPEFFECT_LINK) {
        return Qt::LinkAction;
    }
    return Qt::IgnoreAction;
}

} // namespace quarn
