#pragma once

#include <QObject>
#include <functional>

namespace quarn {

// The application's minimize and restore: the application is minimized when one of its
// counted windows (CountWindow: the main window, the progress dialog) is, and restored when
// one of them is shown normally again. Minimizing one minimizes every window of the program
// and restoring one restores them, as a task bar entry would. Other windows (a help window)
// are minimized and restored on their own.
//
// Only window states that the window system reports count: on platforms that never report
// them (Wayland) the application never reads as minimized, so nothing waits for a restore
// that would not come.
class TApplicationEvents : public QObject {
    Q_OBJECT

public:
    explicit TApplicationEvents(QObject* owner = nullptr);
    ~TApplicationEvents() override;

    // The window system of this session reports minimize and restore.
    static bool StatesReported();
    // Minimizes every visible window of the program.
    static void MinimizeApplication();
    // The window's minimize and restore are the application's.
    static void CountWindow(QWidget& window);

    bool Minimized() const { return minimized_; }

    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WindowStateChanged(const QWidget& window);
    void RestoreApplication();

    bool minimized_ = false;
};

} // namespace quarn
