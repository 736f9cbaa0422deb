#include "platform/StagedFileSweep.h"

#include "platform/EntryStamp.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"
#include "platform/StagedFileName.h"
#include "platform/StagingLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr std::size_t ZeroBlockSize = std::size_t{1} << 16;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The name still holds the file that fd has open, as it is now.
bool StillNamedBy(const std::string& path, int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && StillStamped(StampOf(path, info));
}

// Best effort: the file goes also when its blocks cannot be overwritten.
void OverwriteWithZeros(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return;
    }
    const std::vector<char> zeros(ZeroBlockSize);
    for (off_t offset = 0; offset < info.st_size;) {
        const auto count =
            static_cast<std::size_t>(std::min<off_t>(ZeroBlockSize, info.st_size - offset));
        const ssize_t put =
            RetryOnInterrupt([&] { return ::pwrite(fd, zeros.data(), count, offset); });
        if (put <= 0) {
            return;
        }
        offset += put;
    }
    (void)::fdatasync(fd);
}

void RemoveIfAbandoned(const std::string& path) {
    const UniqueFd fd(
        ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || TakeStagingLock(fd.Get()) != StagingLock::Taken ||
        !StillNamedBy(path, fd.Get())) {
        return;
    }
    OverwriteWithZeros(fd.Get());
    if (StillNamedBy(path, fd.Get())) {
        (void)RemoveFile(path);
    }
}

} // namespace

void RemoveAbandonedStagedFiles(const std::string& folder) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(prefix.empty() ? "." : prefix.c_str()));
    if (!dir) {
        return;
    }
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsStagedName(entry->d_name)) {
            found.push_back(prefix + entry->d_name);
        }
    }
    for (const std::string& path : found) {
        RemoveIfAbandoned(path);
    }
}

} // namespace quarn
