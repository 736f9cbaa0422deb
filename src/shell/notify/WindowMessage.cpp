#include "shell/notify/WindowMessage.h"

#include <QCoreApplication>

// Qt is not built with ThreadSanitizer, so it cannot see that posting an event hands it over
// to the receiving thread: say so, where the event is posted and where it is first read.
#if defined(__SANITIZE_THREAD__)
#define QUARN_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUARN_TSAN 1
#endif
#endif

#ifdef QUARN_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace quarn {

namespace {

void HandOver([[maybe_unused]] QEvent* event) {
#ifdef QUARN_TSAN
    __tsan_release(event);
#endif
}

void TakeOver([[maybe_unused]] QEvent* event) {
#ifdef QUARN_TSAN
    __tsan_acquire(event);
#endif
}

} // namespace

TMessageEvent::TMessageEvent(const TMessage& message)
    : QEvent(static_cast<QEvent::Type>(QEvent::User + message.Msg)), message_(message) {
}

// A posted message that no receiver read is freed on the receiving thread too.
TMessageEvent::~TMessageEvent() {
    TakeOver(this);
}

void PostMessage(QObject* window, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    auto* event = new TMessageEvent({msg, wParam, lParam, 0});
    HandOver(event);
    QCoreApplication::postEvent(window, event);
}

const TMessage* MessageOf(QEvent* event) {
    TakeOver(event);
    const auto* message = dynamic_cast<const TMessageEvent*>(event);
    return message ? &message->Message() : nullptr;
}

} // namespace quarn
