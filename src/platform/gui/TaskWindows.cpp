#include "platform/gui/TaskWindows.h"

#include <QApplication>

namespace quarn {

namespace {

// Frames and dialogs; not menus, tool tips or the desktop.
bool IsTaskWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

TaskWindowList DisableTaskWindows(const QWidget* except) {
    TaskWindowList disabled;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != except && IsTaskWindow(window) && window->isVisible() &&
            window->isEnabled()) {
            window->setEnabled(false);
            disabled.emplace_back(window);
        }
    }
    return disabled;
}

void EnableTaskWindows(TaskWindowList& windows) {
    for (const QPointer<QWidget>& window : windows) {
        if (window != nullptr) {
            window->setEnabled(true);
        }
    }
    windows.clear();
}

} // namespace quarn
