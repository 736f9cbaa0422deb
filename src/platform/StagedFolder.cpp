#include "platform/StagedFolder.h"

#include "platform/PathLimits.h"
#include "platform/SafeFile.h"
#include "platform/StagedFileName.h"
#include "platform/StagingLock.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr std::string_view StagingPrefix = ".quarn-";
// Fresh names drawn before giving up; each one is lost only to a name in use or to a
// cleaner that took it between its making and its locking.
constexpr int StagingAttempts = 100;

// The entry name in the folder open at dir is still the folder open at fd.
bool StillNamed(int dir, const char* name, int fd) {
    struct stat named {};
    struct stat opened {};
    return ::fstatat(dir, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &opened) == 0 &&
           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The names in the folder open at fd, but "." and "..".
std::vector<std::string> NamesIn(int fd) {
    std::vector<std::string> names;
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    std::unique_ptr<DIR, DirCloser> dir(own >= 0 ? ::fdopendir(own) : nullptr);
    if (!dir) {
        if (own >= 0) {
            ::close(own);
        }
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

// Removes everything in the folder open at fd: links themselves, folders after their
// contents (made writable first, so that a read-only copy can be emptied). Entries on
// another file system stay.
void RemoveContents(int fd) {
    struct stat own {};
    if (::fstat(fd, &own) != 0) {
        return;
    }
    for (const std::string& name : NamesIn(fd)) {
        struct stat info {};
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            info.st_dev != own.st_dev) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            const UniqueFd sub(
                ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!sub) {
                continue;
            }
            (void)::fchmod(sub.Get(), S_IRWXU);
            RemoveContents(sub.Get());
        }
        (void)::unlinkat(fd, name.c_str(), S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0);
    }
}

// Removes the staging folder name in the folder open at dir, open and locked at fd; its
// permission bits may be the copied folder's already.
void RemoveStagingFolder(int dir, const std::string& name, int fd) {
    (void)::fchmod(fd, S_IRWXU);
    RemoveContents(fd);
    if (StillNamed(dir, name.c_str(), fd)) {
        (void)::unlinkat(dir, name.c_str(), AT_REMOVEDIR);
        (void)::fsync(dir);
    }
}

// renameat2 with RENAME_NOREPLACE. A file system without rename flags (EINVAL) gets the name
// claimed by an empty folder of ours first, which a plain rename of a folder replaces and
// nothing else does; a name that is taken refuses the claim.
int RenameFolderNoReplace(const std::string& from, const std::string& to) {
    constexpr unsigned int noReplace = 1; // RENAME_NOREPLACE
    const int error = ErrorOf(static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), noReplace)));
    if (error != EINVAL) {
        return error;
    }
    if (::mkdir(to.c_str(), S_IRWXU) != 0) {
        return errno;
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        const int failed = errno;
        (void)::rmdir(to.c_str());
        return failed;
    }
    return 0;
}

} // namespace

bool IsStagingFolderName(const std::string& name) {
    return IsStagingName(name, StagingPrefix);
}

void RemoveDeadStagingFolders(const std::string& folder) {
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) {
        return;
    }
    for (const std::string& name : NamesIn(dir.Get())) {
        if (!IsStagingFolderName(name)) {
            continue;
        }
        const UniqueFd staging(
            ::openat(dir.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat info {};
        if (staging && ::fstat(staging.Get(), &info) == 0 && info.st_uid == ::geteuid() &&
            TakeStagingLock(staging.Get()) == StagingLock::Taken &&
            StillNamed(dir.Get(), name.c_str(), staging.Get())) {
            RemoveStagingFolder(dir.Get(), name, staging.Get());
        }
    }
}

StagedFolder::~StagedFolder() {
    Discard();
}

FileOperationResult StagedFolder::Open(const std::string& path) {
    Discard();
    path_ = path;
    if (!NameFits(path)) {
        return ErrnoResult(ENAMETOOLONG);
    }
    const std::string folder = FolderOrWorking(path);
    RemoveDeadStagingFolders(folder);
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) {
        return ErrnoResult(errno);
    }
    // A cleaner in another process may find the new folder before it is locked and remove it:
    // the folder is only ours once it is locked under its name.
    for (int attempt = 0; attempt < StagingAttempts; ++attempt) {
        const std::string name = FreshStagingName(StagingPrefix);
        if (::mkdirat(dir.Get(), name.c_str(), S_IRWXU) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return ErrnoResult(errno);
        }
        UniqueFd staging(
            ::openat(dir.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!staging) {
            continue;
        }
        // Where the file system keeps no locks, no cleaner can take one either.
        if (TakeStagingLock(staging.Get()) == StagingLock::Held ||
            !StillNamed(dir.Get(), name.c_str(), staging.Get())) {
            continue;
        }
        fd_ = std::move(staging);
        staging_ = FolderPart(path) + name;
        return {};
    }
    return ErrnoResult(EEXIST);
}

FileOperationResult StagedFolder::Commit() {
    const int error = RenameFolderNoReplace(staging_, path_);
    if (error == 0) {
        staging_.clear();
        fd_.Reset();
        (void)SyncFolderOf(path_);
    }
    return ErrnoResult(error);
}

void StagedFolder::Discard() {
    if (fd_ && !staging_.empty()) {
        const UniqueFd dir(
            ::open(FolderOrWorking(staging_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir) {
            RemoveStagingFolder(dir.Get(), NamePart(staging_), fd_.Get());
        }
    }
    staging_.clear();
    fd_.Reset();
}

} // namespace quarn
