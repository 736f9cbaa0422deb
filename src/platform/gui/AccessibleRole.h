#pragma once

#include <QAccessible>

class QWidget;

namespace quarn {

// Gives widget the role that screen readers announce it by, where Qt's own interface for its
// kind has none that fits: a window that is a plain widget is a "filler" to Qt, a splitter
// handle or a size grip "unknown", a line a "frame". Only for widgets whose Qt interface is a
// plain widget's, since the widget gets one of that kind; before it is first shown.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace quarn
