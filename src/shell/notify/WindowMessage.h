#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

namespace quarn {

inline constexpr unsigned WM_DEVICECHANGE = 0x0219;
inline constexpr unsigned WM_USER = 0x0400;
// The change thread's message to its control: wParam = the slot that changed.
inline constexpr unsigned WM_CHANGENOTIFY = WM_USER + 101;

struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// A window message posted to a control, as an event of the type QEvent::User + Msg.
class TMessageEvent : public QEvent {
public:
    explicit TMessageEvent(const TMessage& message);
    ~TMessageEvent() override;
    const TMessage& Message() const { return message_; }

private:
    TMessage message_;
};

// Queues the message for window; any thread may post.
void PostMessage(QObject* window, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

// The message that event carries, or none when it is no window message. Receivers look at
// their events through this first.
const TMessage* MessageOf(QEvent* event);

} // namespace quarn
