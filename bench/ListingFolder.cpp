#include "ListingFolder.h"

#include "BenchFiles.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace quarn::bench {

namespace {

class ListingFolder {
public:
    explicit ListingFolder(int fileCount) {
        path_ = scratch_ / ("listing-" + std::to_string(fileCount));
        std::filesystem::create_directories(path_);
        const char* extensions[] = {".txt", ".jpg", ".zot!", ".pdf", ""};
        for (int i = 0; i < fileCount; ++i) {
            std::ofstream(path_ + "/file " + std::to_string(i) + extensions[i % 5]) << i;
        }
    }
    const std::string& Path() const { return path_; }

private:
    BenchFolder scratch_;
    std::string path_;
};

} // namespace

const std::string& ListingFolderPath(int fileCount) {
    static std::map<int, std::unique_ptr<ListingFolder>> folders;
    auto& folder = folders[fileCount];
    if (!folder) {
        folder = std::make_unique<ListingFolder>(fileCount);
    }
    return folder->Path();
}

int PlainListing(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        struct statx info {};
        if (statx(dirfd(dir), entry->d_name, AT_SYMLINK_NOFOLLOW,
                  STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME, &info) == 0) {
            std::string name = entry->d_name;
            benchmark::DoNotOptimize(name);
            ++count;
        }
    }
    closedir(dir);
    return count;
}

} // namespace quarn::bench
