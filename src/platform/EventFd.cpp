#include "platform/EventFd.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace quarn {

EventFd::EventFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!fd_) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

void EventFd::Set() {
    const std::uint64_t one = 1;
    RetryOnInterrupt([&] { return ::write(fd_.Get(), &one, sizeof one); });
}

bool EventFd::Consume() {
    std::uint64_t count = 0;
    return RetryOnInterrupt([&] { return ::read(fd_.Get(), &count, sizeof count); }) ==
           static_cast<ssize_t>(sizeof count);
}

} // namespace quarn
