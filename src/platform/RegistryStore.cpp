#include "platform/RegistryStore.h"

#include "platform/PosixFile.h"
#include "platform/StagedFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quarn {

namespace {
constexpr auto LockTimeout = std::chrono::seconds(10);

[[noreturn]] void Fail(const std::string& what, int error) {
    throw ERegistryException(what + ": " + ErrnoText(error));
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

bool CanWritePath(const std::string& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

// flock on the lock file, waiting a bounded time for another process to let go. Only a
// writer creates the lock file, so reads leave a folder (the installed layer) as it is.
class FileLock {
public:
    FileLock(const std::string& path, bool exclusive) {
        fd_.Reset(::open(path.c_str(),
                         exclusive ? O_RDWR | O_CREAT | O_CLOEXEC : O_RDONLY | O_CLOEXEC, 0600));
        if (!fd_) {
            if (exclusive) {
                Fail("Cannot open " + path, errno);
            }
            return; // no writer yet, or not ours to read: the rename keeps each read whole
        }
        const auto deadline = std::chrono::steady_clock::now() + LockTimeout;
        const int operation = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
        while (RetryOnInterrupt([&] { return ::flock(fd_.Get(), operation); }) != 0) {
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > deadline) {
                Fail("Cannot lock " + path, errno);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    UniqueFd fd_;
};

// The file's text, or nothing when it does not exist.
std::optional<std::string> ReadText(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        Fail("Cannot read " + path, errno);
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ReadFull(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            Fail("Cannot read " + path, errno);
        }
        text.append(buffer, static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < sizeof buffer) {
            return text;
        }
    }
}

// Replaces the file in one step: a crash leaves the old text or the new, never a mix.
void ReplaceText(const std::string& path, const std::string& text, mode_t mode) {
    StagedFile file;
    FileOperationResult written = file.Open(path, mode);
    if (written.Done()) {
        written = file.Write(text.data(), text.size());
    }
    if (written.Done()) {
        written = file.CommitReplacing();
    }
    if (!written.Done()) {
        Fail("Cannot write " + path, written.error);
    }
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0600;
}
} // namespace

std::string RegistryRootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    }
    return "HKEY_CURRENT_USER";
}

RegistryStore::RegistryStore(std::string folder, RegistryRoot root)
    : folder_(std::move(folder)), rootName_(RegistryRootName(root)),
      file_(folder_ + "/" + rootName_ + ".txt"), lockFile_(folder_ + "/" + rootName_ + ".lock") {
}

RegistryDocument RegistryStore::Load() const {
    const FileLock lock(lockFile_, false);
    const auto text = ReadText(file_);
    return text ? RegistryDocument::Parse(*text) : RegistryDocument{};
}

bool RegistryStore::CanWrite() const {
    if (folder_.empty() || !MakeFolders(folder_) || !CanWritePath(folder_, W_OK | X_OK)) {
        return false;
    }
    return CanWritePath(file_, W_OK) || errno == ENOENT;
}

void RegistryStore::Update(const std::function<void(RegistryDocument&)>& change) const {
    if (!CanWrite()) {
        Fail("Cannot write " + file_, errno);
    }
    const FileLock lock(lockFile_, true);
    const auto text = ReadText(file_);
    RegistryDocument document = text ? RegistryDocument::Parse(*text) : RegistryDocument{};
    if (!text) {
        document.AppendComment(rootName_ +
                               " of Quarn! and QuarnCLU: [key\\path] headers, then "
                               "\"name\"=\"text\", \"name\"=dword:0000002a or \"name\"=hex:01,ff; "
                               "@ names the key's default value.");
    }
    const std::string before = document.Text();
    change(document);
    const std::string after = document.Text();
    if (after != before) {
        ReplaceText(file_, after, ModeOf(file_));
    }
}

} // namespace quarn
