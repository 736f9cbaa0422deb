#pragma once

#include <cstddef>
#include <filesystem>
#include <set>
#include <string>
#include <sys/types.h>

namespace quarn::test {

// A fresh folder below the test's temporary root, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder path with a trailing "/", as the programs keep their current folder.
    std::string Folder() const { return path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path); // lstat: links count, dangling or not
// The permission bits of an entry, not following a link; an entry that cannot be read fails
// the test.
mode_t ModeOf(const std::string& path);

// size bytes of a fixed pseudo-random sequence; another seed gives other bytes.
std::string PatternBytes(std::size_t size, unsigned seed = 1);

// The names in a folder, so that a test sees every leftover (temporary files included).
std::set<std::string> FolderNames(const std::filesystem::path& folder);
inline std::set<std::string> FolderNames(const TempDir& folder) {
    return FolderNames(folder.Path());
}

// The temporary root that every test process gets as its HOME.
const std::filesystem::path& TestRoot();

} // namespace quarn::test
