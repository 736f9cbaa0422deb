#include "shell/dragdrop/DragScroll.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace quarn {

namespace {

// One line toward the end, when the bar can move at all.
bool ScrollStep(QScrollBar* bar, bool forward) {
    if (bar == nullptr || bar->maximum() <= bar->minimum()) {
        return false;
    }
    bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                               : QAbstractSlider::SliderSingleStepSub);
    return true;
}

} // namespace

bool TSCDragScroller::Scroll(QAbstractScrollArea& view, QPoint point) {
    if (lastScroll_.isValid() && lastScroll_.elapsed() <= IntervalMs) {
        return false;
    }
    const QSize size = view.viewport()->size();
    bool stepped = false;
    if (point.x() < HorizontalZone) {
        stepped |= ScrollStep(view.horizontalScrollBar(), false);
    } else if (point.x() > size.width() - HorizontalZone) {
        stepped |= ScrollStep(view.horizontalScrollBar(), true);
    }
    if (point.y() < VerticalZone) {
        stepped |= ScrollStep(view.verticalScrollBar(), false);
    } else if (point.y() > size.height() - VerticalZone) {
        stepped |= ScrollStep(view.verticalScrollBar(), true);
    }
    lastScroll_.start();
    return stepped;
}

} // namespace quarn
