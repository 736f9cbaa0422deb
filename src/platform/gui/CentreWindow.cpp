#include "platform/gui/CentreWindow.h"

#include "platform/gui/Guard.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace quarn {

namespace {

QRect ScreenArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->geometry() : QRect();
}

// Calls place when the watched window's frame margins differ from those it was last placed
// with.
class FramePlacement : public QObject {
public:
    FramePlacement(QWidget* window, std::function<void()> place)
        : QObject(window), window_(window), place_(std::move(place)) {
        window->installEventFilter(this);
        Place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Show;
        if (watched == window_ && placed && FrameMargins(window_) != margins_) {
            RunGuarded([this] { Place(); });
        }
        return false;
    }

private:
    void Place() {
        margins_ = FrameMargins(window_);
        place_();
    }

    QWidget* window_;
    std::function<void()> place_;
    QMargins margins_;
};

} // namespace

QMargins FrameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QPoint CentredPosition(const QRect& area, const QSize& frame) {
    return {area.x() + area.width() / 2 - frame.width() / 2,
            area.y() + area.height() / 2 - frame.height() / 2};
}

void CentreWindow(QWidget* window, const QWidget* over) {
    const QRect area = over != nullptr ? over->frameGeometry() : ScreenArea(window);
    // Before the window system has decorated it, the frame is the client area and margins
    // reported so far.
    const QSize frame = window->size().grownBy(FrameMargins(window));
    window->move(CentredPosition(area, frame));
}

void PlaceByFrame(QWidget* window, std::function<void()> place) {
    new FramePlacement(window, std::move(place));
}

} // namespace quarn
