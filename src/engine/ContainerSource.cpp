#include "engine/ContainerSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    stamp_ = StampOf(path, status);
    size_ = status.st_size;
    permissions_ = status.st_mode & 0777;
    return std::nullopt;
}

ReadSource ContainerSource::Release() {
    return {std::move(fd_), std::move(stamp_)};
}

StepFailure ContainerSource::Read(void* buffer, std::size_t count, std::size_t& got) {
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    got = 0;
    while (got < count) {
        if (next_ == end_) {
            ahead_.resize(ReadAhead);
            // Where the file ends the read comes back short; the next one asks the file again.
            const ssize_t read = ReadFull(fd_.Get(), ahead_.data(), ahead_.size());
            if (read < 0) {
                return SystemFailure(errno);
            }
            next_ = 0;
            end_ = static_cast<std::size_t>(read);
            if (end_ == 0) {
                break;
            }
        }
        const std::size_t part = std::min(count - got, end_ - next_);
        std::memcpy(bytes + got, ahead_.data() + next_, part);
        next_ += part;
        got += part;
    }
    return std::nullopt;
}

} // namespace quarn
