#pragma once

#include "platform/PosixFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quarn {

struct InotifyEvent {
    int watch = -1; // -1 for a queue overflow
    std::uint32_t mask = 0;
    std::string_view name; // empty for an event of the watched folder itself
};

// One inotify instance, non-blocking: poll its Fd() for input, then ReadEvents.
class Inotify {
public:
    Inotify();
    // False when the instance could not be made (errno tells why).
    explicit operator bool() const { return static_cast<bool>(fd_); }
    int Fd() const { return fd_.Get(); }

    // The watch descriptor, or -1 with errno set. Safe from any thread.
    int AddWatch(const std::string& path, std::uint32_t mask) const;
    // Hands every event queued now to onEvent; false when reading failed.
    bool ReadEvents(const std::function<void(const InotifyEvent&)>& onEvent) const;

private:
    UniqueFd fd_;
};

} // namespace quarn
