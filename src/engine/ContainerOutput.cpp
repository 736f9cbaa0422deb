#include "engine/ContainerOutput.h"

#include "engine/ContainerFailure.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn {
namespace {
constexpr char TemporaryName[] = "quarn-XXXXXX.part";
constexpr int TemporarySuffixLength = 5; // ".part"

// Whether the file system can hold a file under path. A path whose folder cannot be asked
// passes here and fails where the temporary file is created.
bool NameFits(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return false;
    }
    const std::string folder = FolderPart(path);
    const long nameMax = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return nameMax < 0 || NamePart(path).size() <= static_cast<std::size_t>(nameMax);
}
} // namespace

ContainerOutput::ContainerOutput(std::string path, mode_t permissions)
    : path_(std::move(path)), livePath_(FolderPart(path_) + TemporaryName) {
    // The final name is first used by the rename: a name too long for it fails the creation
    // now, before any data is written.
    if (!NameFits(path_)) {
        throw ContainerFailure(CreateFailedText);
    }
    // mkostemps creates with O_CREAT | O_EXCL and mode 0600.
    fd_.Reset(::mkostemps(livePath_.data(), TemporarySuffixLength, O_CLOEXEC));
    if (!fd_) {
        throw ContainerFailure(CreateFailedText);
    }
    struct stat status {};
    if (::fstat(fd_.Get(), &status) != 0) {
        ::unlink(livePath_.c_str());
        throw ContainerFailure(CreateFailedText);
    }
    device_ = status.st_dev;
    inode_ = status.st_ino;
    // Where the file system keeps no modes the file stays 0600, never wider.
    (void)::fchmod(fd_.Get(), permissions);
}

ContainerOutput::~ContainerOutput() {
    if (!committed_) {
        fd_.Reset();
        RemoveIfOurs(livePath_);
    }
}

void ContainerOutput::Write(const void* data, std::size_t count) {
    if (WriteAll(fd_.Get(), data, count) != count) {
        throw IoFailure(errno);
    }
}

void ContainerOutput::Commit() {
    if (::fsync(fd_.Get()) != 0 || !fd_.Close()) {
        throw IoFailure(errno);
    }
    MoveToFinalName();
    if (!SyncFolderOf(path_)) {
        throw IoFailure(errno);
    }
    committed_ = true;
}

void ContainerOutput::MoveToFinalName() {
    if (!RenameNoReplace(livePath_, path_)) {
        throw IoFailure(errno);
    }
    livePath_ = path_;
}

// Unlinks path only while it still names the file this object created.
void ContainerOutput::RemoveIfOurs(const std::string& path) const {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && status.st_dev == device_ &&
        status.st_ino == inode_) {
        ::unlink(path.c_str());
    }
}

} // namespace quarn
