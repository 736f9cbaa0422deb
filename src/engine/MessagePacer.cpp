#include "engine/MessagePacer.h"

#include "engine/FileWorkView.h"

namespace quarn {

MessagePacer::MessagePacer(FileWorkView& view)
    : view_(view), last_(std::chrono::steady_clock::now()) {
}

void MessagePacer::Pump() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ >= Interval) {
        view_.ProcessMessages();
        last_ = now;
    }
}

} // namespace quarn
