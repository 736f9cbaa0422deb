#include "app/common/KVBRunOnce.h"

#include "platform/gui/Application.h"
#include "platform/gui/Guard.h"

#include <QEvent>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <stdexcept>

namespace quarn {

namespace {
void StartTimer(QBasicTimer& timer, int interval, QObject* target) {
    timer.start(std::max(interval, 0), Qt::PreciseTimer, target);
    if (!timer.isActive()) {
        throw std::runtime_error("Not enough timers available");
    }
}
} // namespace

TKVBRunOnce::TKVBRunOnce(QObject* owner) : QObject(owner) {
}

void TKVBRunOnce::SetPause(int pause) {
    if (pause != pause_) {
        pause_ = pause;
        UpdateTimer();
    }
}

void TKVBRunOnce::SetOnRun(TNotifyEvent onRun) {
    onRun_ = std::move(onRun);
    UpdateTimer();
}

void TKVBRunOnce::Run() {
    if (!ran_) {
        ran_ = true;
        SetEnabled(true);
    }
}

void TKVBRunOnce::RunWhenExposed(QWidget* window) {
    StopWaitingForWindow();
    window_ = window != nullptr ? window->window() : nullptr;
    waitForWindow_ = window_ != nullptr;
    if (waitForWindow_) {
        window_->installEventFilter(this);
        WatchWindowHandle();
    }
    UpdateTimer();
}

void TKVBRunOnce::DoRun() {
    SetEnabled(false);
    if (onRun_) {
        onRun_(*this);
    }
}

void TKVBRunOnce::timerEvent(QTimerEvent* event) {
    RunGuarded([&] {
        if (event->timerId() == exposeTimeout_.timerId()) {
            StopWaitingForWindow();
            UpdateTimer();
        } else {
            DoRun();
        }
    });
}

bool TKVBRunOnce::eventFilter(QObject* watched, QEvent* event) {
    RunGuarded([&] {
        if (watched == window_ &&
            (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)) {
            WatchWindowHandle();
            UpdateTimer();
        } else if (watched == windowHandle_ && event->type() == QEvent::Expose &&
                   windowHandle_->isExposed()) {
            StopWaitingForWindow();
            UpdateTimer();
        }
    });
    return false;
}

void TKVBRunOnce::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        UpdateTimer();
    }
}

void TKVBRunOnce::UpdateTimer() {
    timer_.stop();
    exposeTimeout_.stop();
    if (!enabled_ || !onRun_) {
        return;
    }
    if (WaitingForWindow()) {
        if (window_->isVisible()) {
            StartTimer(exposeTimeout_, ExposeTimeout, this);
        }
        return;
    }
    StartTimer(timer_, pause_, this);
}

bool TKVBRunOnce::WaitingForWindow() const {
    if (!waitForWindow_ || window_ == nullptr) {
        return false;
    }
    return windowHandle_ == nullptr || !windowHandle_->isExposed();
}

void TKVBRunOnce::WatchWindowHandle() {
    QWindow* handle = window_ != nullptr ? window_->windowHandle() : nullptr;
    if (handle == windowHandle_) {
        return;
    }
    if (windowHandle_ != nullptr) {
        windowHandle_->removeEventFilter(this);
    }
    windowHandle_ = handle;
    if (windowHandle_ != nullptr) {
        windowHandle_->installEventFilter(this);
    }
}

void TKVBRunOnce::StopWaitingForWindow() {
    waitForWindow_ = false;
    if (window_ != nullptr) {
        window_->removeEventFilter(this);
    }
    if (windowHandle_ != nullptr) {
        windowHandle_->removeEventFilter(this);
    }
    window_ = nullptr;
    windowHandle_ = nullptr;
}

} // namespace quarn
