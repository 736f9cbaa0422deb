#pragma once

#include <QString>

class QToolBar;

namespace quarn {

// Tells screen readers what a tool bar is, once its buttons and separators are in: the bar's
// name, its separators as separators (Qt's are "fillers") and a name for Qt's button that
// shows the buttons that do not fit.
void AnnounceToolBar(QToolBar* bar, const QString& name);

} // namespace quarn
