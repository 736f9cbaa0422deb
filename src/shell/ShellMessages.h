#pragma once

#include "WindowMessage.h"

#include <QEvent>

namespace quarn {

// Fill an empty control once its window exists: the control posts WM_USER + 103 to itself,
// as an event of the type a window message of that number has.
inline const auto WM_SC_AUTOFILL = static_cast<QEvent::Type>(QEvent::User + WM_USER + 103);

} // namespace quarn
