#include "app/CaptionHelpButton.h"

#include "platform/gui/Guard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWhatsThis>
#include <QWidget>

namespace quarn {

CaptionHelpButton::CaptionHelpButton(QWidget* form, std::function<void()> onHelp)
    : QObject(form), form_(form), onHelp_(std::move(onHelp)) {
    form->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    form->installEventFilter(this);
}

// Qt tells every top-level window that the mode began; only the active one answers.
bool CaptionHelpButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::EnterWhatsThisMode &&
        QApplication::activeWindow() == form_) {
        QWhatsThis::leaveWhatsThisMode();
        QTimer::singleShot(0, this, [this] { RunGuarded(onHelp_); });
    }
    return false;
}

} // namespace quarn
