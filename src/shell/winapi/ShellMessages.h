#pragma once

#include "shell/notify/WindowMessage.h"

namespace quarn {

// The controls' own window messages to themselves, as the event types that TMessageEvent
// gives messages (QEvent::User + the message number).
// A list view re-applies its header's sort indicator once its header exists.
inline const auto WM_SC_HEADERSORT = static_cast<QEvent::Type>(QEvent::User + WM_USER + 100);
// Fill an empty control once its window exists.
inline const auto WM_SC_AUTOFILL = static_cast<QEvent::Type>(QEvent::User + WM_USER + 103);

} // namespace quarn
