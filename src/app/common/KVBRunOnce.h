#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class QWindow;

namespace quarn {

// Runs OnRun exactly once, Pause milliseconds after the first Run, from the event loop.
// A window's show handler calls Run so that start-up work runs once the window is up;
// RunWhenExposed makes it wait until that window is really on screen.
class TKVBRunOnce : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TKVBRunOnce& sender)>;

    // How long a shown window may stay unexposed before OnRun runs anyway: some platforms
    // never report exposure (a window started minimized, a compositor that holds it back).
    static constexpr int ExposeTimeout = 2000;

    // Destroying it disarms the timer: nothing runs.
    explicit TKVBRunOnce(QObject* owner = nullptr);

    // Restarts the delay when armed. Throws std::runtime_error when no timer can be armed.
    void SetPause(int pause);

    // Arms the timer when Run was already called. Throws as SetPause.
    void SetOnRun(TNotifyEvent onRun);

    bool Ran() const { return ran_; }
    // The first call arms the timer; later calls do nothing. Throws as SetPause.
    void Run();

    // The timer is armed only once window's top-level window is exposed (or has been shown
    // for ExposeTimeout milliseconds without being exposed).
    void RunWhenExposed(QWidget* window);

protected:
    // The timer path: disarms, then calls OnRun.
    virtual void DoRun();

    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetEnabled(bool enabled);
    void UpdateTimer();
    bool WaitingForWindow() const;
    void WatchWindowHandle();
    void StopWaitingForWindow();

    int pause_ = 0;
    TNotifyEvent onRun_;
    bool enabled_ = false;
    bool ran_ = false;
    QBasicTimer timer_;
    QPointer<QWidget> window_;
    QPointer<QWindow> windowHandle_;
    bool waitForWindow_ = false;
    QBasicTimer exposeTimeout_;
};

} // namespace quarn
