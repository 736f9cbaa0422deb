#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

namespace quarn {

// An entry as it was found before it was read, so that only that very entry, unchanged, is
// removed or wiped afterwards.
struct EntryStamp {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool folder = false;
};

// The stamp of the entry at path, from what lstat or fstat of it answered.
EntryStamp StampOf(std::string path, const struct stat& info);

// The entry at the stamp's path is the one stamped (device and inode, without following a
// link) and unchanged: the same size, modification and change times. A folder's own size and
// times follow its entries; its removal fails by itself while it holds any.
bool StillStamped(const EntryStamp& stamp);

} // namespace quarn
