#include "shell/views/FillOnFirstShow.h"

#include "shell/common/ShellGuard.h"
#include "shell/winapi/ShellMessages.h"

#include <QCoreApplication>
#include <QWidget>
#include <utility>

namespace quarn {

TSCFillOnFirstShow::TSCFillOnFirstShow(QWidget& control, Hooks hooks)
    : QObject(&control), control_(control), hooks_(std::move(hooks)) {
    control.installEventFilter(this);
}

void TSCFillOnFirstShow::FirstShown() {
    if (hooks_.autoFills() && hooks_.empty()) {
        QCoreApplication::postEvent(&control_, new QEvent(WM_SC_AUTOFILL));
    }
    if (hooks_.shown) {
        hooks_.shown();
    }
}

bool TSCFillOnFirstShow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &control_) {
        return false;
    }
    if (event->type() == WM_SC_AUTOFILL) {
        RunShellGuarded([this] {
            if (hooks_.empty()) {
                hooks_.fill();
            }
        });
        return true;
    }
    if (event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        RunShellGuarded([this] { FirstShown(); });
    }
    return false;
}

} // namespace quarn
