#include "platform/PosixFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

bool UniqueFd::Close() {
    if (fd_ < 0) {
        return true;
    }
    const int result = ::close(Release());
    return result == 0;
}

ssize_t ReadFull(int fd, void* buffer, std::size_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            RetryOnInterrupt([&] { return ::read(fd, bytes + done, count - done); });
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

std::size_t WriteAll(int fd, const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put =
            RetryOnInterrupt([&] { return ::write(fd, bytes + done, count - done); });
        if (put <= 0) {
            if (put == 0) {
                errno = ENOSPC;
            }
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    return done;
}

namespace {
bool TryLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}
} // namespace

bool TryLockShared(int fd) {
    return TryLock(fd, F_RDLCK);
}
bool TryLockExclusive(int fd) {
    return TryLock(fd, F_WRLCK);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FolderPart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOrWorking(const std::string& path) {
    const std::string folder = FolderPart(path);
    return folder.empty() ? "." : folder;
}

std::string ErrnoText(int error) {
    char text[256] = {};
    return ::strerror_r(error, text, sizeof text);
}

} // namespace quarn
