#pragma once

#include <cerrno>
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace quarn {

// Owns one file descriptor; closed on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);
    // Closes and reports whether the close succeeded (errno set when not).
    bool Close();

private:
    int fd_ = -1;
};

// Calls call() again for as long as it fails with EINTR; answers its last result.
template <typename Call> auto RetryOnInterrupt(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) {
            return result;
        }
    }
}

// Reads until count bytes are in or the file ends; retries EINTR and short counts.
// Returns the bytes read, or -1 with errno set.
ssize_t ReadFull(int fd, void* buffer, std::size_t count);

// Writes all count bytes; retries EINTR and short counts. Returns the bytes written:
// fewer than count only on an error, with errno set.
std::size_t WriteAll(int fd, const void* buffer, std::size_t count);

// Whole-file open-file-description locks, so that another Quarn process sees the file as
// in use. Shared: others may read but not write; exclusive: others may do neither.
bool TryLockShared(int fd);
bool TryLockExclusive(int fd);

// A regular file is at path, following symbolic links.
bool IsRegularFile(const std::string& path);

// The part before the last "/" including it ("" when there is none), and the part after.
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);
// The folder of path, or "." for a bare name: what a call that needs a folder is given.
std::string FolderOrWorking(const std::string& path);

// 0 for a call's result of 0, else its errno.
inline int ErrorOf(int result) {
    return result == 0 ? 0 : errno;
}

// The system's reason for errno, e.g. "No space left on device".
std::string ErrnoText(int error);

} // namespace quarn
