#pragma once

#include <QElapsedTimer>
#include <QPoint>

class QAbstractScrollArea;

namespace quarn {

// Scrolling of a view while a drag rests near its edges: one line toward the edge the point
// is near, at most once per interval.
class TSCDragScroller {
public:
    static constexpr int HorizontalZone = 26;
    static constexpr int VerticalZone = 20;
    static constexpr int IntervalMs = 100;

    // Starts the interval anew (a drag entered).
    void Restart() { lastScroll_.start(); }
    // point in the view's viewport coordinates. Answers whether a step ran.
    bool Scroll(QAbstractScrollArea& view, QPoint point);

private:
    QElapsedTimer lastScroll_;
};

} // namespace quarn
