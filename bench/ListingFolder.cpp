#include "ListingFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace quarn::bench {

namespace {

class ListingFolder {
public:
    ListingFolder() {
        const char* base = std::getenv("QUARN_BENCH_DIR");
        path_ = std::string(base ? base : "/var/tmp") + "/quarn-bench-listing";
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        const char* extensions[] = {".txt", ".jpg", ".zot!", ".pdf", ""};
        for (int i = 0; i < ListingFileCount; ++i) {
            std::ofstream(path_ + "/file " + std::to_string(i) + extensions[i % 5]) << i;
        }
    }
    ~ListingFolder() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

const std::string& ListingFolderPath() {
    static const ListingFolder folder;
    return folder.Path();
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
