#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

namespace quarn {

// When a shell control refreshes after the change notices of its watch. The refresh comes a
// delay after the last notice, shorter while the control has the focus, and at the latest
// twice that delay after the first notice not yet shown, so that a steady stream of changes
// shows while it runs. While the control must wait (its drag, its menu, a label edit), every
// notice and every refresh asked for is kept and run once when the wait ends. The notice of
// the control's own rename is dropped.
class RefreshSchedule {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<std::int64_t()>;

    static constexpr int FocusedDelayMs = 400;
    static constexpr int UnfocusedDelayMs = 2000;
    // An own rename's notice is expected within this time.
    static constexpr int OwnChangeWaitMs = 1000;

    struct Actions {
        std::function<bool()> mustWait; // the control cannot refresh now
        std::function<void()> refresh;  // the timer's refresh
        std::function<void()> runKept;  // runs a request kept while the control waited
    };

    explicit RefreshSchedule(Actions actions, Clock clock = SteadyClock());
    RefreshSchedule(const RefreshSchedule&) = delete;
    RefreshSchedule& operator=(const RefreshSchedule&) = delete;

    // A change on the disk.
    void Notice(bool focused);
    // A refresh asked for now: true when the control must wait, and the request is kept.
    bool Defer();
    // Something the control waited for ended: a kept request runs, once, when nothing else
    // holds it back.
    void Resume();
    // Runs the timer's refresh now when one is due.
    void Flush();
    // Forgets the notices not yet shown: the watch starts anew.
    void Cancel();
    // The control renamed an entry on the disk: the notice that follows is its own.
    void ExpectOwnChange();

    bool Pending() const { return pending_; }
    bool ExpectsOwnChange() const { return ownChangeAt_.has_value(); }
    const QTimer& Timer() const { return timer_; }

    static Clock SteadyClock();

private:
    bool IsOwnChange();
    void Fire();

    Actions actions_;
    Clock clock_;
    QTimer timer_;
    std::optional<std::int64_t> firstUnshown_; // the first notice since the last refresh
    std::optional<std::int64_t> ownChangeAt_;  // when the own rename was made
    bool pending_ = false;
};

} // namespace quarn
