#include "platform/FileTransfer.h"

#include "platform/EntryStamp.h"
#include "platform/PosixFile.h"
#include "platform/RealPaths.h"
#include "platform/SafeFile.h"
#include "platform/StagedFile.h"
#include "platform/StagedFolder.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr mode_t PermissionBits = 0777;
constexpr std::size_t CopyBlockSize = 1 << 20;

// What went wrong, and with which entry of the tree.
struct Fault {
    FileOutcome outcome = FileOutcome::Failed;
    int error = 0; // 0: the entry changed while it was being moved
    std::string path;
};

std::optional<Fault> SystemFault(int error, const std::string& path) {
    return Fault{FileOutcome::Failed, error, path};
}

// Creating an entry at target failed: a taken name, or the system's reason.
std::optional<Fault> CreationFault(int error, const std::string& target) {
    return Fault{error == EEXIST ? FileOutcome::NameTaken : FileOutcome::Failed, error, target};
}

std::string JoinName(const std::string& folder, const char* name) {
    return folder + "/" + name;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// One copy of an entry tree. It keeps what it read, so that a move removes exactly that.
class TreeCopy {
public:
    TreeCopy() = default;
    TreeCopy(const TreeCopy&) = delete;
    TreeCopy& operator=(const TreeCopy&) = delete;

    // A folder is filled under a staging name beside target and takes its name once it is
    // complete and flushed; a file or a link takes its name whole by itself. On a fault
    // nothing of the copy is left.
    std::optional<Fault> Run(const std::string& source, const std::string& target) {
        struct stat info {};
        if (::lstat(source.c_str(), &info) != 0) {
            return SystemFault(errno, source);
        }
        return S_ISDIR(info.st_mode) ? CopyStagedFolder(source, info, target)
                                     : CopyAny(source, target);
    }

    // Children before their folders; goes on past a failure and answers the first.
    std::optional<Fault> RemoveSources() const {
        std::optional<Fault> first;
        for (const EntryStamp& stamp : read_) {
            std::optional<Fault> fault;
            if (!StillStamped(stamp)) {
                fault = Fault{FileOutcome::SourceKept, 0, stamp.path};
            } else if (const FileOperationResult removed =
                           stamp.folder ? RemoveEmptyFolder(stamp.path) : RemoveFile(stamp.path);
                       !removed.Done()) {
                fault = Fault{FileOutcome::SourceKept, removed.error, stamp.path};
            }
            if (fault && !first) {
                first = fault;
            }
        }
        return first;
    }

private:
    std::optional<Fault> CopyAny(const std::string& source, const std::string& target) {
        struct stat info {};
        if (::lstat(source.c_str(), &info) != 0) {
            return SystemFault(errno, source);
        }
        if (S_ISREG(info.st_mode)) {
            return CopyFile(source, target);
        }
        if (S_ISLNK(info.st_mode)) {
            return CopyLink(source, info, target);
        }
        if (S_ISDIR(info.st_mode)) {
            return CopyFolder(source, info, target);
        }
        return Fault{FileOutcome::SpecialFile, 0, source};
    }

    // Staged, written whole and committed without replacing; the commit flushes the data
    // and the folder. O_NONBLOCK: a pipe put in the file's place meanwhile cannot hang us.
    std::optional<Fault> CopyFile(const std::string& source, const std::string& target) {
        const UniqueFd in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (!in || ::fstat(in.Get(), &info) != 0) {
            return SystemFault(errno, source);
        }
        if (!S_ISREG(info.st_mode)) {
            return Fault{FileOutcome::SpecialFile, 0, source};
        }
        StagedFile out;
        FileOperationResult written = out.Open(target, info.st_mode & PermissionBits);
        buffer_.resize(CopyBlockSize);
        while (written.Done()) {
            const ssize_t got = ReadFull(in.Get(), buffer_.data(), buffer_.size());
            if (got < 0) {
                return SystemFault(errno, source);
            }
            if (got == 0) {
                break;
            }
            written = out.Write(buffer_.data(), static_cast<std::size_t>(got));
        }
        if (written.Done()) {
            written = out.Commit();
        }
        if (!written.Done()) {
            return CreationFault(written.error, target);
        }
        read_.push_back(StampOf(source, info));
        return std::nullopt;
    }

    std::optional<Fault> CopyLink(const std::string& source, const struct stat& info,
                                  const std::string& target) {
        char text[PATH_MAX];
        const ssize_t length = ::readlink(source.c_str(), text, sizeof text);
        if (length < 0) {
            return SystemFault(errno, source);
        }
        if (static_cast<std::size_t>(length) == sizeof text) {
            return SystemFault(ENAMETOOLONG, source);
        }
        if (::symlink(std::string(text, static_cast<std::size_t>(length)).c_str(),
                      target.c_str()) != 0) {
            return CreationFault(errno, target);
        }
        if (auto fault = FlushedFolderOf(target)) {
            (void)RemoveFile(target);
            return fault;
        }
        read_.push_back(StampOf(source, info));
        return std::nullopt;
    }

    // The top folder of the copy. Faults inside the staging folder name the entry by the path
    // it would have had.
    std::optional<Fault> CopyStagedFolder(const std::string& source, const struct stat& info,
                                          const std::string& target) {
        StagedFolder staged;
        if (const FileOperationResult opened = staged.Open(target); !opened.Done()) {
            return CreationFault(opened.error, target);
        }
        if (auto fault = FillFolder(source, info, staged.StagingPath())) {
            if (fault->path.starts_with(staged.StagingPath())) {
                fault->path.replace(0, staged.StagingPath().size(), target);
            }
            return fault;
        }
        if (const FileOperationResult committed = staged.Commit(); !committed.Done()) {
            return CreationFault(committed.error, target);
        }
        return std::nullopt;
    }

    std::optional<Fault> CopyFolder(const std::string& source, const struct stat& info,
                                    const std::string& target) {
        if (::mkdir(target.c_str(), S_IRWXU) != 0) {
            return CreationFault(errno, target);
        }
        if (auto fault = FlushedFolderOf(target)) {
            return fault;
        }
        return FillFolder(source, info, target);
    }

    // The folder made at target is private until it is full, so that a read-only folder can
    // still be filled; then it gets the source's permission bits.
    std::optional<Fault> FillFolder(const std::string& source, const struct stat& info,
                                    const std::string& target) {
        if (auto fault = CopyEntries(source, target)) {
            return fault;
        }
        if (::chmod(target.c_str(), info.st_mode & PermissionBits) != 0) {
            return SystemFault(errno, target);
        }
        read_.push_back(StampOf(source, info));
        return std::nullopt;
    }

    std::optional<Fault> CopyEntries(const std::string& source, const std::string& target) {
        const int fd = ::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        std::unique_ptr<DIR, DirCloser> dir(fd >= 0 ? ::fdopendir(fd) : nullptr);
        if (!dir) {
            const int error = errno;
            if (fd >= 0) {
                ::close(fd);
            }
            return SystemFault(error, source);
        }
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (entry == nullptr) {
                return errno == 0 ? std::nullopt : SystemFault(errno, source);
            }
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            if (auto fault =
                    CopyAny(JoinName(source, entry->d_name), JoinName(target, entry->d_name))) {
                return fault;
            }
        }
    }

    // The folder that got the new entry at target is flushed, so that the entry is on disk.
    static std::optional<Fault> FlushedFolderOf(const std::string& target) {
        if (const FileOperationResult flushed = SyncFolderOf(target); !flushed.Done()) {
            return SystemFault(flushed.error, target);
        }
        return std::nullopt;
    }

    std::vector<EntryStamp> read_;
    std::vector<char> buffer_; // one for all files
};

// The cause after the colon; an entry deeper in the tree than the two named is named too.
std::string Cause(const Fault& fault, const std::string& source, const std::string& target) {
    std::string reason;
    switch (fault.outcome) {
    case FileOutcome::NameTaken:
        reason = "A file or folder of that name already exists.";
        break;
    case FileOutcome::SpecialFile:
        reason = "It is a pipe, socket or device, whose contents cannot be copied.";
        break;
    case FileOutcome::IntoItself:
        reason = "The destination folder is the folder itself or lies inside it.";
        break;
    default:
        reason = fault.error == 0 ? "It changed while it was being moved."
                                  : ErrnoText(fault.error) + ".";
        break;
    }
    return fault.path == source || fault.path == target ? reason
                                                        : QuotedName(fault.path) + ": " + reason;
}

FileOperationResult TransferRefusal(const char* verb, const std::string& source,
                                    const std::string& target, const Fault& fault) {
    return Refusal(fault.outcome,
                   std::string("Unable to ") + verb + " " + QuotedName(source) + " to " +
                       QuotedName(target) + ": " + Cause(fault, source, target),
                   fault.error);
}

// The checks both a copy and a move make before they touch anything.
std::optional<Fault> Precheck(const std::string& source, const std::string& target) {
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) {
        return SystemFault(errno, source);
    }
    if (S_ISDIR(info.st_mode) && FolderLiesWithin(FolderPart(target), source)) {
        return Fault{FileOutcome::IntoItself, 0, source};
    }
    if (KindOfEntry(target) != EntryKind::None) {
        return Fault{FileOutcome::NameTaken, EEXIST, target};
    }
    return std::nullopt;
}

FileOperationResult CheckedTransfer(const char* verb, const std::string& source,
                                    const std::string& target) {
    const auto fault = Precheck(source, target);
    return fault ? TransferRefusal(verb, source, target, *fault) : FileOperationResult{};
}

// The same entry under the same name: its folder resolves to the same place.
bool IsSamePath(const std::string& source, const std::string& target) {
    if (NamePart(source) != NamePart(target) || KindOfEntry(source) == EntryKind::None) {
        return false;
    }
    const auto from = RealPath(FolderPart(source));
    const auto to = RealPath(FolderPart(target));
    return from && to && *from == *to;
}

} // namespace

FileOperationResult CopyEntry(const std::string& source, const std::string& target) {
    if (auto refused = CheckedTransfer("copy", source, target); !refused.Done()) {
        return refused;
    }
    TreeCopy copy;
    if (const auto fault = copy.Run(source, target)) {
        return TransferRefusal("copy", source, target, *fault);
    }
    return {};
}

FileOperationResult MoveEntry(const std::string& source, const std::string& target) {
    if (IsSamePath(source, target)) {
        return {};
    }
    if (auto refused = CheckedTransfer("move", source, target); !refused.Done()) {
        return refused;
    }
    const FileOperationResult renamed = RenameNoReplace(source, target);
    if (renamed.Done()) {
        return {};
    }
    if (renamed.outcome == FileOutcome::NameTaken) {
        return TransferRefusal("move", source, target, *CreationFault(renamed.error, target));
    }
    if (renamed.error != EXDEV) {
        return TransferRefusal("move", source, target, *SystemFault(renamed.error, source));
    }
    TreeCopy copy;
    if (const auto fault = copy.Run(source, target)) {
        return TransferRefusal("move", source, target, *fault);
    }
    if (const auto fault = copy.RemoveSources()) {
        return Refusal(FileOutcome::SourceKept,
                       "Unable to remove " + QuotedName(source) + " after copying it to " +
                           QuotedName(target) + ": " + Cause(*fault, source, target),
                       fault->error);
    }
    return {};
}

} // namespace quarn
