#include "shell/common/RefreshSchedule.h"

#include "shell/common/ShellGuard.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace quarn {

RefreshSchedule::RefreshSchedule(Actions actions, Clock clock)
    : actions_(std::move(actions)), clock_(std::move(clock)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_,
                     [this] { RunShellGuarded([this] { Fire(); }); });
}

RefreshSchedule::Clock RefreshSchedule::SteadyClock() {
    return [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
}

void RefreshSchedule::Notice(bool focused) {
    if (IsOwnChange()) {
        return;
    }
    if (actions_.mustWait()) {
        pending_ = true;
        return;
    }
    const std::int64_t now = clock_();
    if (!firstUnshown_) {
        firstUnshown_ = now;
    }
    const std::int64_t delay = focused ? FocusedDelayMs : UnfocusedDelayMs;
    const std::int64_t due = std::min(now + delay, *firstUnshown_ + 2 * delay);
    timer_.start(static_cast<int>(std::max<std::int64_t>(due - now, 0)));
}

// The first notice after an own rename is dropped, unless it came too late to be the rename's.
bool RefreshSchedule::IsOwnChange() {
    const std::optional<std::int64_t> renamedAt = std::exchange(ownChangeAt_, std::nullopt);
    return renamedAt && clock_() - *renamedAt < OwnChangeWaitMs;
}

bool RefreshSchedule::Defer() {
    if (!actions_.mustWait()) {
        return false;
    }
    pending_ = true;
    return true;
}

void RefreshSchedule::Resume() {
    if (!pending_ || actions_.mustWait()) {
        return;
    }
    pending_ = false;
    timer_.stop();
    firstUnshown_.reset();
    actions_.runKept();
}

void RefreshSchedule::Flush() {
    if (timer_.isActive()) {
        Fire();
    }
}

void RefreshSchedule::Cancel() {
    timer_.stop();
    firstUnshown_.reset();
}

void RefreshSchedule::ExpectOwnChange() {
    ownChangeAt_ = clock_();
}

// The refresh reads the disk as it is now, the own rename included.
void RefreshSchedule::Fire() {
    Cancel();
    ownChangeAt_.reset();
    if (actions_.mustWait()) {
        pending_ = true;
        return;
    }
    actions_.refresh();
}

} // namespace quarn
