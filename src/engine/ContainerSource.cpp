#include "engine/ContainerSource.h"

#include "engine/ContainerFailure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace quarn {

ContainerSource::ContainerSource(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
    struct stat status {};
    if (!fd_ || ::fstat(fd_.Get(), &status) != 0) {
        throw ContainerFailure(InUseText);
    }
    if (!S_ISREG(status.st_mode)) {
        throw ContainerFailure(NotRegularText);
    }
    if (!TryLockShared(fd_.Get())) {
        throw ContainerFailure(InUseText);
    }
    size_ = status.st_size;
    permissions_ = status.st_mode & 0777;
}

std::size_t ContainerSource::Read(void* buffer, std::size_t count) {
    const ssize_t got = ReadFull(fd_.Get(), buffer, count);
    if (got < 0) {
        throw IoFailure(errno);
    }
    return static_cast<std::size_t>(got);
}

} // namespace quarn
