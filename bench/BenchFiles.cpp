#include "BenchFiles.h"

#include "platform/PosixFile.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace quarn::bench {

namespace {
void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what + ": " + ErrnoText(errno));
    }
}
} // namespace

BenchFolder::BenchFolder() {
    const char* root = std::getenv("QUARN_BENCH_DIR");
    std::string pattern = std::string(root != nullptr ? root : "/var/tmp") + "/quarn-bench-XXXXXX";
    Check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    path_ = pattern + "/";
}

BenchFolder::~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WritePatternFile(const std::string& path, std::int64_t size) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    Check(static_cast<bool>(fd), "open " + path);
    std::vector<char> block(std::size_t{1} << 20);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(i * 131 + i / 4096);
    }
    for (std::int64_t done = 0; done < size;) {
        const auto part = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(block.size()), size - done));
        Check(WriteAll(fd.Get(), block.data(), part) == part, "write " + path);
        done += static_cast<std::int64_t>(part);
    }
    Check(::fdatasync(fd.Get()) == 0, "fdatasync " + path);
}

void CopyFlushed(const std::string& from, const std::string& to) {
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    UniqueFd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    Check(in && out, "open " + from + " or " + to);
    for (;;) {
        const ssize_t copied =
            ::copy_file_range(in.Get(), nullptr, out.Get(), nullptr, std::size_t{1} << 30, 0);
        Check(copied >= 0, "copy_file_range " + to);
        if (copied == 0) {
            break;
        }
    }
    Check(::fdatasync(out.Get()) == 0, "fdatasync " + to);
}

void FlushFile(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    Check(fd && ::fsync(fd.Get()) == 0, "fsync " + path);
}

void RemoveIfThere(const std::string& path) {
    Check(::unlink(path.c_str()) == 0 || errno == ENOENT, "unlink " + path);
}

} // namespace quarn::bench
