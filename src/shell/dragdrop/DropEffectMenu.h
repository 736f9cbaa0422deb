#pragma once

#include "shell/dragdrop/DropEffects.h"

#include <QPoint>

namespace quarn {

// The menu of a drop made with the right button: Copy, Move and Link for each effect
// allowed, the preferred one first in bold, and Cancel. Answers the effect chosen; none for
// Cancel or when the menu is closed.
DWORD ChooseDropEffectFromMenu(DWORD allowed, DWORD preferred, QPoint globalPos);

} // namespace quarn
