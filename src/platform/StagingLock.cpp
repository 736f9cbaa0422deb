#include "platform/StagingLock.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <sys/file.h>

namespace quarn {

// flock rather than a record lock: it takes folders too, and any open mode.
StagingLock TakeStagingLock(int fd) {
    if (RetryOnInterrupt([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) == 0) {
        return StagingLock::Taken;
    }
    return errno == EWOULDBLOCK ? StagingLock::Held : StagingLock::Unavailable;
}

} // namespace quarn
