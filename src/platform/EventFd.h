#pragma once

#include "platform/PosixFile.h"

namespace quarn {

// An auto-reset event that poll can wait on: Set signals it, Consume reads it back to
// unsignalled. Created unsignalled.
class EventFd {
public:
    EventFd(); // std::system_error when the system gives no descriptor
    int Fd() const { return fd_.Get(); }
    void Set();
    // True when it was signalled.
    bool Consume();

private:
    UniqueFd fd_;
};

} // namespace quarn
