#include "platform/Inotify.h"

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace quarn {

Inotify::Inotify() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
}

int Inotify::AddWatch(const std::string& path, std::uint32_t mask) const {
    return ::inotify_add_watch(fd_.Get(), path.c_str(), mask);
}

bool Inotify::ReadEvents(const std::function<void(const InotifyEvent&)>& onEvent) const {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got =
            RetryOnInterrupt([&] { return ::read(fd_.Get(), buffer, sizeof buffer); });
        if (got < 0) {
            return errno == EAGAIN;
        }
        for (ssize_t at = 0; at < got;) {
            inotify_event header;
            std::memcpy(&header, buffer + at, sizeof header);
            const char* name = buffer + at + sizeof header;
            onEvent({header.wd, header.mask, std::string_view(name, ::strnlen(name, header.len))});
            at += static_cast<ssize_t>(sizeof header + header.len);
        }
    }
}

} // namespace quarn
