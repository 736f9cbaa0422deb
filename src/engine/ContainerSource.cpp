#include "engine/ContainerSource.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace quarn {

StepFailure ContainerSource::Open(const std::string& path) {
    fd_.Reset(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd_ && errno == ELOOP) {
        return FileFailure{FailureKind::NotRegularFile};
    }
    struct stat status {};
    if (!fd_ || ::fstat(fd_.Get(), &status) != 0) {
        return FileFailure{FailureKind::InUse};
    }
    if (!S_ISREG(status.st_mode)) {
        return FileFailure{FailureKind::NotRegularFile};
    }
    if (!TryLockShared(fd_.Get())) {
        return FileFailure{FailureKind::InUse};
    }
    size_ = status.st_size;
    permissions_ = status.st_mode & 0777;
    return std::nullopt;
}

StepFailure ContainerSource::Read(void* buffer, std::size_t count, std::size_t& got) {
    const ssize_t read = ReadFull(fd_.Get(), buffer, count);
    if (read < 0) {
        return SystemFailure(errno);
    }
    got = static_cast<std::size_t>(read);
    return std::nullopt;
}

} // namespace quarn
