#include "namespace/ChangeHandle.h"

#include "namespace/MountTable.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sys/inotify.h>
#include <vector>

namespace quarn {

namespace {

constexpr std::uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t FolderGone = IN_DELETE_SELF | IN_UNMOUNT | IN_IGNORED;

std::uint32_t InotifyMask(std::uint32_t filter) {
    std::uint32_t mask = 0;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) {
        mask |= NameEvents;
    }
    // A time set on a file (touch, utimensat) arrives as an attribute change.
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE)) {
        mask |= IN_ATTRIB;
    }
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) {
        mask |= IN_MODIFY;
    }
    return mask;
}

std::uint32_t WatchMask(std::uint32_t filter) {
    return InotifyMask(filter) | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The open subtree handles, for WatchListedFolder.
struct SubtreeHandles {
    std::mutex lock;
    std::vector<ChangeHandle*> handles;
};

std::atomic<WatchFunction> watchFunction = &::inotify_add_watch;

SubtreeHandles& Subtrees() {
    static SubtreeHandles subtrees;
    return subtrees;
}

} // namespace

WatchFunction SetWatchFunction(WatchFunction function) {
    return watchFunction.exchange(function);
}

std::unique_ptr<ChangeHandle> ChangeHandle::Create(const std::string& path, bool watchSubtree,
                                                   std::uint32_t filter) {
    if (path.empty() || InotifyMask(filter) == 0) {
        return nullptr;
    }
    std::unique_ptr<ChangeHandle> handle(
        new ChangeHandle(WithoutTrailingSlash(path), watchSubtree, filter));
    if (!handle->inotify_) {
        return nullptr;
    }
    if (watchSubtree) {
        auto& subtrees = Subtrees();
        std::lock_guard guard(subtrees.lock);
        subtrees.handles.push_back(handle.get());
    }
    return handle;
}

ChangeHandle::ChangeHandle(std::string folder, bool watchSubtree, std::uint32_t filter)
    : folder_(std::move(folder)), subtree_(watchSubtree), filter_(filter) {
}

bool ChangeHandle::WatchOwnFolder() {
    folderWatch_ = AddWatch(folder_);
    if (folderWatch_ < 0) {
        return false;
    }
    std::vector<std::string> listed;
    {
        std::lock_guard guard(listedLock_);
        ownFolderWatched_ = true;
        listed.swap(listedEarlier_);
    }
    for (const std::string& folder : listed) {
        AddWatch(folder);
    }
    return true;
}

int ChangeHandle::AddWatch(const std::string& folder) {
    const int watch = watchFunction.load()(inotify_.Fd(), folder.c_str(), WatchMask(filter_));
    if (watch >= 0 && TracksLinks()) {
        links_.Watch(watch, folder);
    }
    return watch;
}

bool ChangeHandle::TracksLinks() const {
    return (filter_ & FILE_NOTIFY_CHANGE_DIR_NAME) && !(filter_ & FILE_NOTIFY_CHANGE_FILE_NAME);
}

ChangeHandle::~ChangeHandle() {
    if (subtree_) {
        auto& subtrees = Subtrees();
        std::lock_guard guard(subtrees.lock);
        std::erase(subtrees.handles, this);
    }
}

void ChangeHandle::WatchFolder(const std::string& folder) {
    if (!subtree_ || !IsPathWithin(folder, folder_)) {
        return;
    }
    {
        std::lock_guard guard(listedLock_);
        if (!ownFolderWatched_) {
            listedEarlier_.push_back(folder);
            return;
        }
    }
    AddWatch(folder);
}

bool ChangeHandle::CollectChanges() {
    bool changed = false;
    const bool read = inotify_.ReadEvents([&](const InotifyEvent& event) {
        if (event.mask & IN_Q_OVERFLOW) {
            changed = true;
        } else if (event.watch == folderWatch_ && (event.mask & (FolderGone | IN_MOVE_SELF))) {
            changed = true;
            armed_ = armed_ && !(event.mask & FolderGone);
        } else if (Matches(event)) {
            changed = true;
        }
        if (event.mask & IN_IGNORED) {
            links_.Forget(event.watch);
        }
    });
    armed_ = armed_ && read;
    return changed;
}

// Only changes of entries count: a watched folder's own events are reported by its parent.
bool ChangeHandle::Matches(const InotifyEvent& event) {
    if (event.name.empty()) {
        return false;
    }
    if (event.mask & NameEvents) {
        if (event.mask & IN_ISDIR) {
            return filter_ & FILE_NOTIFY_CHANGE_DIR_NAME;
        }
        return (filter_ & FILE_NOTIFY_CHANGE_FILE_NAME) ||
               (TracksLinks() && links_.IsLinkEvent(event));
    }
    if (event.mask & IN_ATTRIB) {
        return filter_ & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE);
    }
    if (event.mask & IN_MODIFY) {
        return filter_ & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    }
    return false;
}

void WatchListedFolder(const std::string& folder) {
    const std::string path = WithoutTrailingSlash(folder);
    auto& subtrees = Subtrees();
    std::lock_guard guard(subtrees.lock);
    for (ChangeHandle* handle : subtrees.handles) {
        handle->WatchFolder(path);
    }
}

} // namespace quarn
