#include "platform/gui/ApplicationEvents.h"

#include "platform/gui/Guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quarn {

namespace {

constexpr char CountedProperty[] = "quarnCountedWindow";

bool IsShownWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return (type == Qt::Window || type == Qt::Dialog) && widget->isVisible();
}

bool IsCounted(const QWidget* widget) {
    return widget->property(CountedProperty).toBool();
}

} // namespace

TApplicationEvents::TApplicationEvents(QObject* owner) : QObject(owner) {
    if (StatesReported()) {
        qApp->installEventFilter(this);
    }
}

TApplicationEvents::~TApplicationEvents() = default;

bool TApplicationEvents::StatesReported() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("offscreen");
}

void TApplicationEvents::MinimizeApplication() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (IsShownWindow(window) && !window->isMinimized()) {
            window->showMinimized();
        }
    }
}

void TApplicationEvents::CountWindow(QWidget& window) {
    window.setProperty(CountedProperty, true);
}

void TApplicationEvents::RestoreApplication() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (IsShownWindow(window) && window->isMinimized()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
    }
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        if (IsShownWindow(widget) && IsCounted(widget)) {
            RunGuarded([&] { WindowStateChanged(*widget); });
        }
    }
    return false;
}

void TApplicationEvents::WindowStateChanged(const QWidget& window) {
    if (window.isMinimized() && !minimized_) {
        minimized_ = true;
        MinimizeApplication();
        if (OnMinimize) {
            OnMinimize();
        }
    } else if (!window.isMinimized() && minimized_) {
        minimized_ = false;
        RestoreApplication();
        if (OnRestore) {
            OnRestore();
        }
    }
}

} // namespace quarn
