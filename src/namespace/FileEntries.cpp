#include "namespace/FileEntries.h"

#include "namespace/ItemCodec.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr int StatFlags = AT_STATX_DONT_SYNC | AT_NO_AUTOMOUNT;

// The process's user and groups, read once: the programs never change them.
struct Credentials {
    uid_t user = geteuid();
    gid_t group = getegid();
    std::vector<gid_t> groups = [] {
        std::vector<gid_t> list(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
        const int count = getgroups(static_cast<int>(list.size()), list.data());
        list.resize(static_cast<std::size_t>(std::max(count, 0)));
        return list;
    }();
};

const Credentials& Process() {
    static const Credentials credentials;
    return credentials;
}

bool InGroup(gid_t group) {
    const auto& groups = Process().groups;
    return group == Process().group ||
           std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The mode bits deny the effective user writing; for root, a file nobody may write is
// write-protected too.
bool IsReadOnly(const struct statx& info) {
    const uid_t user = Process().user;
    if (user == 0) {
        return (info.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    }
    if (info.stx_uid == user) {
        return (info.stx_mode & S_IWUSR) == 0;
    }
    if (InGroup(info.stx_gid)) {
        return (info.stx_mode & S_IWGRP) == 0;
    }
    return (info.stx_mode & S_IWOTH) == 0;
}

EntryItemKind LinkKind(int folder, const char* statPath) {
    struct statx target {};
    if (statx(folder, statPath, StatFlags, STATX_TYPE, &target) != 0) {
        return EntryItemKind::DanglingLink;
    }
    return S_ISDIR(target.stx_mode) ? EntryItemKind::LinkToFolder : EntryItemKind::LinkToFile;
}

EntryItemKind KindOf(int folder, const char* statPath, std::uint32_t mode) {
    if (S_ISDIR(mode)) {
        return EntryItemKind::Folder;
    }
    if (S_ISREG(mode)) {
        return EntryItemKind::File;
    }
    if (S_ISLNK(mode)) {
        return LinkKind(folder, statPath);
    }
    return EntryItemKind::Other;
}

} // namespace

EntryResult StatEntry(int folder, const char* statPath, std::string_view name) {
    struct statx info {};
    const unsigned mask =
        STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    if (statx(folder, statPath, AT_SYMLINK_NOFOLLOW | StatFlags, mask, &info) != 0) {
        return {{}, false, errno};
    }
    EntryItem entry;
    entry.kind = KindOf(folder, statPath, info.stx_mode);
    entry.flags = static_cast<std::uint8_t>((IsHiddenName(name) ? EntryHidden : 0) |
                                            (IsReadOnly(info) ? EntryReadOnly : 0));
    entry.mode = info.stx_mode;
    entry.size = info.stx_size;
    entry.modified = FileTimeOf(info.stx_mtime);
    entry.born = (info.stx_mask & STATX_BTIME) ? FileTimeOf(info.stx_btime) : FileTime{};
    entry.name = name;
    return {EncodeItem(entry), entry.IsFolder(), 0};
}

EntryResult UnreadEntry(std::string_view name, unsigned char directoryType) {
    EntryItem entry;
    entry.kind = directoryType == DT_DIR   ? EntryItemKind::Folder
                 : directoryType == DT_LNK ? EntryItemKind::DanglingLink
                                           : EntryItemKind::File;
    entry.flags = IsHiddenName(name) ? EntryHidden : 0;
    entry.name = name;
    return {EncodeItem(entry), entry.IsFolder(), 0};
}

bool IsListed(SHCONTF flags, bool folder, bool hidden) {
    if (hidden && (flags & SHCONTF_INCLUDEHIDDEN) == 0) {
        return false;
    }
    return (flags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS)) != 0;
}

} // namespace quarn
