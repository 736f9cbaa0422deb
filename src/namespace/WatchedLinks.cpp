#include "namespace/WatchedLinks.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace quarn {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsLink(int folder, const char* name) {
    struct stat info {};
    return ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

std::set<std::string, std::less<>> LinksIn(const std::string& folder) {
    std::set<std::string, std::less<>> links;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        if (entry->d_type == DT_LNK ||
            (entry->d_type == DT_UNKNOWN && IsLink(::dirfd(dir.get()), entry->d_name))) {
            links.emplace(entry->d_name);
        }
    }
    return links;
}

} // namespace

void WatchedLinks::Watch(int watch, const std::string& folder) {
    auto links = LinksIn(folder);
    std::lock_guard guard(lock_);
    folders_[watch] = {folder, std::move(links)};
}

void WatchedLinks::Forget(int watch) {
    std::lock_guard guard(lock_);
    folders_.erase(watch);
}

bool WatchedLinks::IsLinkEvent(const InotifyEvent& event) {
    std::string path;
    {
        std::lock_guard guard(lock_);
        const auto folder = folders_.find(event.watch);
        if (folder == folders_.end()) {
            return false;
        }
        if (!(event.mask & (IN_CREATE | IN_MOVED_TO))) {
            const auto link = folder->second.links.find(event.name);
            if (link == folder->second.links.end()) {
                return false;
            }
            folder->second.links.erase(link);
            return true;
        }
        path = folder->second.path;
    }
    if (!IsLink(AT_FDCWD, (path + "/" + std::string(event.name)).c_str())) {
        return false;
    }
    std::lock_guard guard(lock_);
    if (const auto folder = folders_.find(event.watch); folder != folders_.end()) {
        folder->second.links.emplace(event.name);
    }
    return true;
}

} // namespace quarn
