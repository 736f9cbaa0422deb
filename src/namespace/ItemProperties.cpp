#include "namespace/ItemProperties.h"

#include "namespace/ItemInfo.h"
#include "platform/PosixFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <vector>

namespace quarn {

namespace {

std::string UserName(uid_t user) {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        return found->pw_name;
    }
    return std::to_string(user);
}

std::string GroupName(gid_t group) {
    std::vector<char> buffer(4096);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        return found->gr_name;
    }
    return std::to_string(group);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::uint64_t EntryCount(const std::string& folder) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    std::uint64_t count = 0;
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        count += name != "." && name != "..";
    }
    return count;
}

bool IsFolder(const std::string& path, const struct statx& info) {
    struct stat target {};
    return S_ISDIR(info.stx_mode) ||
           (S_ISLNK(info.stx_mode) && ::stat(path.c_str(), &target) == 0 &&
            S_ISDIR(target.st_mode));
}

} // namespace

std::optional<ItemProperties> ReadItemProperties(const std::string& path) {
    struct statx info {};
    const unsigned mask =
        STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &info) != 0) {
        return std::nullopt;
    }
    ItemProperties properties;
    properties.name = NamePart(path).empty() ? path : NamePart(path);
    properties.location = FolderPart(path);
    if (properties.location.size() > 1) {
        properties.location.pop_back();
    }
    properties.folder = IsFolder(path, info);
    properties.kind = FileTypeName(properties.name, properties.folder);
    properties.size = properties.folder ? 0 : info.stx_size;
    properties.entries = properties.folder ? EntryCount(path) : 0;
    properties.modified = FileTimeOf(info.stx_mtime);
    properties.created = (info.stx_mask & STATX_BTIME) ? FileTimeOf(info.stx_btime) : FileTime{};
    properties.mode = info.stx_mode;
    properties.owner = UserName(info.stx_uid);
    properties.group = GroupName(info.stx_gid);
    return properties;
}

} // namespace quarn
