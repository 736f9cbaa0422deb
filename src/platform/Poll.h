#pragma once

#include <poll.h>
#include <span>

namespace quarn {

// Waits until one of fds is ready or timeoutMs has passed (-1: no time-out); an interrupted
// wait goes on for the time left. Answers poll's count, or -1 with errno set.
int WaitForAny(std::span<pollfd> fds, int timeoutMs);

} // namespace quarn
