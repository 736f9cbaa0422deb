#pragma once

#include <QEvent>

namespace quarn {

// The controls' own window messages, posted to themselves as events of these types.
inline constexpr int WM_USER = QEvent::User;
// A list view re-applies its header's sort indicator once its header exists.
inline const auto WM_SC_HEADERSORT = static_cast<QEvent::Type>(WM_USER + 100);
// A change on a watched drive or folder.
inline const auto WM_SC_CHANGENOTIFY = static_cast<QEvent::Type>(WM_USER + 101);
// Fill an empty control once its window exists.
inline const auto WM_SC_AUTOFILL = static_cast<QEvent::Type>(WM_USER + 103);

} // namespace quarn
