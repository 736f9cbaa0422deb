#pragma once

#include "shell/notify/ChangeHandlerThread.h"
#include "shell/notify/WindowMessage.h"

#include <memory>

class QObject;

namespace quarn {

// A control's change thread, created on first need for the control's window and message.
// Held as a member of the control itself, it is ended and joined before the control's
// window goes, so that no message is ever posted to a destroyed control.
class ChangeThreadOwner {
public:
    explicit ChangeThreadOwner(QObject* window, unsigned messageId = WM_CHANGENOTIFY,
                               ChangeThreadTiming timing = {});
    ChangeThreadOwner(const ChangeThreadOwner&) = delete;
    ChangeThreadOwner& operator=(const ChangeThreadOwner&) = delete;

    // The thread, created when missing.
    TChangeHandlerThread& Get();
    // The thread, or none while it has not been created.
    TChangeHandlerThread* Find() const { return thread_.get(); }
    // Ends and joins the thread (when the window is destroyed).
    void Free() { thread_.reset(); }

private:
    QObject* window_;
    unsigned messageId_;
    ChangeThreadTiming timing_;
    std::unique_ptr<TChangeHandlerThread> thread_;
};

} // namespace quarn
