#include "platform/EntryStamp.h"

namespace quarn {

namespace {
bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
} // namespace

EntryStamp StampOf(std::string path, const struct stat& info) {
    return {std::move(path), info.st_dev,  info.st_ino,          info.st_size,
            info.st_mtim,    info.st_ctim, S_ISDIR(info.st_mode)};
}

bool StillStamped(const EntryStamp& stamp) {
    struct stat info {};
    if (::lstat(stamp.path.c_str(), &info) != 0 || info.st_dev != stamp.device ||
        info.st_ino != stamp.inode) {
        return false;
    }
    return stamp.folder || (info.st_size == stamp.size && SameTime(info.st_mtim, stamp.modified) &&
                            SameTime(info.st_ctim, stamp.changed));
}

} // namespace quarn
