#include "platform/StagedFile.h"

#include "platform/PathLimits.h"
#include "platform/SafeFile.h"
#include "platform/StagedFileName.h"
#include "platform/StagedFileSweep.h"
#include "platform/StagingLock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {
constexpr std::size_t CopyBlockSize = 1 << 16;

// Unnamed files need the file system's support; these are its ways of saying it has none.
bool RefusesUnnamed(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}
} // namespace

StagedFile::~StagedFile() {
    Rollback();
}

FileOperationResult StagedFile::Open(const std::string& path, mode_t permissions) {
    Rollback();
    path_ = path;
    permissions_ = permissions;
    if (!NameFits(path)) {
        return ErrnoResult(ENAMETOOLONG);
    }
    const std::string folder = FolderOrWorking(path);
    int error = OpenUnnamed(folder);
    if (RefusesUnnamed(error)) {
        RemoveAbandonedStagedFiles(folder);
        error = OpenNamed(path);
    }
    struct stat status {};
    if (error == 0 && ::fstat(fd_.Get(), &status) != 0) {
        error = errno;
    }
    if (error != 0) {
        Rollback();
        return ErrnoResult(error);
    }
    device_ = status.st_dev;
    inode_ = status.st_ino;
    return {};
}

// Locked as well: a replacing commit gives it a staging name for a moment.
int StagedFile::OpenUnnamed(const std::string& folder) {
    fd_.Reset(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (!fd_) {
        return errno;
    }
    (void)TakeStagingLock(fd_.Get());
    return 0;
}

// O_CREAT | O_EXCL with mode 0600: never through a link, never another's file. Locked at once;
// a lock taken first by a later run's sweep leaves that file to the sweep.
int StagedFile::OpenNamed(const std::string& path) {
    for (;;) {
        std::string name = FreshStagedName(path);
        fd_.Reset(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd_ && errno != EEXIST) {
            return errno;
        }
        if (fd_ && TakeStagingLock(fd_.Get()) != StagingLock::Held) {
            stagedName_ = std::move(name);
            return 0;
        }
    }
}

FileOperationResult StagedFile::Write(const void* data, std::size_t count) {
    if (!fd_) {
        return ErrnoResult(EBADF);
    }
    return ErrnoResult(WriteAll(fd_.Get(), data, count) == count ? 0 : errno);
}

FileOperationResult StagedFile::Commit() {
    return ErrnoResult(PlaceUnder(path_, false));
}

FileOperationResult StagedFile::CommitAs(const std::string& path) {
    if (!NameFits(path)) {
        Rollback();
        return ErrnoResult(ENAMETOOLONG);
    }
    const int error = PlaceUnder(path, false);
    return error == EXDEV ? CopyInto(path) : ErrnoResult(error);
}

FileOperationResult StagedFile::CommitReplacing() {
    return ErrnoResult(PlaceUnder(path_, true));
}

// Links the unnamed file under path. Through /proc, which any user may; where /proc is not
// mounted, by the descriptor itself, which needs privileges.
int StagedFile::LinkUnnamed(const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
    int error =
        ErrorOf(::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW));
    if (error == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
        error = ErrorOf(::linkat(fd_.Get(), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH));
    }
    return error;
}

// EEXIST and EXDEV keep the file staged; every other failure rolls it back. The permission
// bits come only now, so that a staging name left by a kill stays the writer's own.
int StagedFile::PlaceUnder(const std::string& path, bool replace) {
    if (!fd_) {
        return EBADF;
    }
    (void)::fchmod(fd_.Get(), permissions_);
    if (::fsync(fd_.Get()) != 0) {
        const int error = errno;
        Rollback();
        return error;
    }
    int error = 0;
    if (IsUnnamed() && !replace) {
        error = LinkUnnamed(path);
    } else {
        // A replacing commit gives an unnamed file a name first: only rename replaces in one
        // step.
        while (IsUnnamed()) {
            std::string name = FreshStagedName(path);
            error = LinkUnnamed(name);
            if (error == 0) {
                stagedName_ = std::move(name);
            } else if (error != EEXIST) {
                break;
            }
        }
        if (error == 0) {
            error = replace ? ErrorOf(::rename(stagedName_.c_str(), path.c_str()))
                            : RenameNoReplace(stagedName_, path).error;
        }
    }
    if (error == EEXIST && !replace) {
        return error;
    }
    if (error == EXDEV) {
        return error;
    }
    if (error != 0) {
        Rollback();
        return error;
    }
    stagedName_.clear();
    return Finish(path);
}

// The file already has its name: flush the folder and close, and take the name back when
// either fails, so that a file counted as not written is not left behind either.
int StagedFile::Finish(const std::string& path) {
    int error = SyncFolderOf(path).error;
    if (!fd_.Close() && error == 0) {
        error = errno;
    }
    if (error != 0) {
        stagedName_ = path;
        RemoveStagedName();
        stagedName_.clear();
        return error;
    }
    path_ = path;
    return 0;
}

// Stages a copy in path's folder and commits it there; this file is discarded once the copy
// has its name, and stays staged when that name is taken.
FileOperationResult StagedFile::CopyInto(const std::string& path) {
    StagedFile copy;
    FileOperationResult result = copy.Open(path, permissions_);
    std::vector<char> buffer(CopyBlockSize);
    for (off_t offset = 0; result.Done();) {
        const ssize_t got = RetryOnInterrupt(
            [&] { return ::pread(fd_.Get(), buffer.data(), buffer.size(), offset); });
        if (got <= 0) {
            result = got < 0 ? ErrnoResult(errno) : copy.Commit();
            break;
        }
        result = copy.Write(buffer.data(), static_cast<std::size_t>(got));
        offset += got;
    }
    if (result.outcome != FileOutcome::NameTaken) {
        Rollback();
    }
    if (result.Done()) {
        path_ = path;
    }
    return result;
}

void StagedFile::Rollback() {
    RemoveStagedName();
    stagedName_.clear();
    fd_.Reset();
}

// Unlinks the staged name only while it still names the file this object created.
void StagedFile::RemoveStagedName() {
    struct stat status {};
    if (!stagedName_.empty() && ::lstat(stagedName_.c_str(), &status) == 0 &&
        status.st_dev == device_ && status.st_ino == inode_) {
        ::unlink(stagedName_.c_str());
    }
}

} // namespace quarn
