#include "shell/notify/ChangeThreadOwner.h"

namespace quarn {

ChangeThreadOwner::ChangeThreadOwner(QObject* window, unsigned messageId, ChangeThreadTiming timing)
    : window_(window), messageId_(messageId), timing_(std::move(timing)) {
}

TChangeHandlerThread& ChangeThreadOwner::Get() {
    if (!thread_) {
        thread_ = std::make_unique<TChangeHandlerThread>(window_, messageId_, timing_);
    }
    return *thread_;
}

} // namespace quarn
