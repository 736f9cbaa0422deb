#pragma once

#include <QMargins>
#include <QRect>
#include <functional>

class QWidget;

namespace quarn {

// Where a frame of the given size is centred over area: half the area's width less half
// the frame's width from its left (integer halves), and the same for the top.
QPoint CentredPosition(const QRect& area, const QSize& frame);

// The frame the window system draws around the window: none until it is decorated, which
// happens only after it is shown.
QMargins FrameMargins(const QWidget* window);

// Moves the window so that its frame is centred over the frame of over, or over the screen
// when over is null.
void CentreWindow(QWidget* window, const QWidget* over = nullptr);

// Runs place now and again whenever the window system reports other frame margins for the
// window. A window is decorated only after it is shown, so a place computed from the frame
// (a centred window, an outer size) is right only then. A later move by the user keeps the
// margins and is left alone.
void PlaceByFrame(QWidget* window, std::function<void()> place);

} // namespace quarn
