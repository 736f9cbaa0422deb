#pragma once

#include <cstdint>
#include <string>

namespace quarn::bench {

// A fresh folder for a benchmark's files on a real disc: below $QUARN_BENCH_DIR, else below
// /var/tmp (never a tmpfs, where a flush costs nothing). Removed with its contents.
class BenchFolder {
public:
    BenchFolder();
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // The folder path with a trailing "/".
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// A file of size bytes of a fixed pattern, its blocks allocated and flushed to the disc.
void WritePatternFile(const std::string& path, std::int64_t size);
// A flushed copy of from at to (replaced if there).
void CopyFlushed(const std::string& from, const std::string& to);
// fsync of the file at path.
void FlushFile(const std::string& path);
// Removes the file at path; nothing there is fine.
void RemoveIfThere(const std::string& path);

} // namespace quarn::bench
