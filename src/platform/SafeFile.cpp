#include "platform/SafeFile.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quarn {

namespace {
// The name change itself has happened; a folder that cannot be flushed does not undo it.
void FlushFolderOf(const std::string& path) {
    (void)SyncFolderOf(path);
}
} // namespace

EntryKind KindOfEntry(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0) {
        return EntryKind::None;
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::Folder;
    }
    if (S_ISREG(info.st_mode)) {
        return EntryKind::File;
    }
    return S_ISLNK(info.st_mode) ? EntryKind::Link : EntryKind::Special;
}

FileOperationResult RenameNoReplace(const std::string& from, const std::string& to) {
    constexpr unsigned int noReplace = 1; // RENAME_NOREPLACE
    int error = ErrorOf(static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), noReplace)));
    if (error == EINVAL) {
        error = ErrorOf(::link(from.c_str(), to.c_str()));
        if (error == 0) {
            error = ErrorOf(::unlink(from.c_str()));
            if (error != 0) {
                ::unlink(to.c_str());
            }
        }
    }
    if (error == 0) {
        FlushFolderOf(to);
        if (FolderPart(from) != FolderPart(to)) {
            FlushFolderOf(from);
        }
    }
    return ErrnoResult(error);
}

FileOperationResult RemoveFile(const std::string& path) {
    const int error = ErrorOf(::unlink(path.c_str()));
    if (error == 0) {
        FlushFolderOf(path);
    }
    return ErrnoResult(error);
}

FileOperationResult RemoveEmptyFolder(const std::string& path) {
    const int error = ErrorOf(::rmdir(path.c_str()));
    if (error == 0) {
        FlushFolderOf(path);
    }
    return ErrnoResult(error);
}

FileOperationResult SyncFolderOf(const std::string& path) {
    const UniqueFd dir(::open(FolderOrWorking(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) {
        return ErrnoResult(errno);
    }
    const int error = ErrorOf(::fsync(dir.Get()));
    return ErrnoResult(error == EINVAL ? 0 : error);
}

} // namespace quarn
