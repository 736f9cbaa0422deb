#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace quarn {

// The windows a busy operation disabled, to be enabled again when it ends.
using TaskWindowList = std::vector<QPointer<QWidget>>;

// Disables every visible, enabled top-level window of the program except the given one and
// answers them. The given window must have no parent window: Qt disables a window's child
// windows with it.
TaskWindowList DisableTaskWindows(const QWidget* except);

// Enables the windows of the list that still exist and empties it.
void EnableTaskWindows(TaskWindowList& windows);

} // namespace quarn
