#pragma once

#include <QEvent>

namespace quarn {

// The controls' own window messages, posted to themselves as events of these types.
inline constexpr int WM_USER = QEvent::User;
// Fill an empty control once its window exists.
inline const auto WM_SC_AUTOFILL = static_cast<QEvent::Type>(WM_USER + 103);

} // namespace quarn
