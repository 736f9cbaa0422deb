#include "platform/Poll.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace quarn {

int WaitForAny(std::span<pollfd> fds, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int wait = timeoutMs;
    for (;;) {
        const int ready = ::poll(fds.data(), fds.size(), wait);
        if (ready >= 0 || errno != EINTR) {
            return ready;
        }
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<long long>(left.count(), 0));
        }
    }
}

} // namespace quarn
