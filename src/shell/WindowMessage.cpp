#include "WindowMessage.h"

#include <QCoreApplication>

namespace quarn {

TMessageEvent::TMessageEvent(const TMessage& message)
    : QEvent(MessageEventType(message.Msg)), message_(message) {
}

QEvent::Type MessageEventType(unsigned msg) {
    return static_cast<QEvent::Type>(QEvent::User + msg);
}

void PostMessage(QObject* window, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(window, new TMessageEvent({msg, wParam, lParam, 0}));
}

} // namespace quarn
