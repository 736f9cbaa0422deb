#pragma once

#include "namespace/WatchedLinks.h"
#include "platform/Inotify.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quarn {

// The changes a handle reports (its notify filter).
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_FILE_NAME = 0x01;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_DIR_NAME = 0x02;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x04;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_SIZE = 0x08;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;

// The call that adds an inotify watch for every change handle: inotify_add_watch, unless a
// test puts in one that blocks, as that call does on a hard network mount whose server is
// gone. Returns the one it replaces.
using WatchFunction = int (*)(int inotify, const char* path, std::uint32_t mask);
WatchFunction SetWatchFunction(WatchFunction function);

// A change-notification handle: one inotify instance that watches a folder and, for a
// subtree handle, every folder below it that is listed while the handle is open
// (WatchListedFolder). Poll Fd() for input, then CollectChanges.
class ChangeHandle {
public:
    // A handle that watches nothing yet; nothing when path is empty, the filter asks for none
    // of the changes above or no inotify instance is left. A subtree handle takes listed
    // folders from here on.
    static std::unique_ptr<ChangeHandle> Create(const std::string& path, bool watchSubtree,
                                                std::uint32_t filter);
    ~ChangeHandle();
    ChangeHandle(const ChangeHandle&) = delete;
    ChangeHandle& operator=(const ChangeHandle&) = delete;

    // Starts watching the folder, then the folders listed meanwhile; false when the path is
    // no folder that can be watched. The call may wait as long as the file system takes to
    // answer: make it where a wait stops nothing.
    bool WatchOwnFolder();

    int Fd() const { return inotify_.Fd(); }
    const std::string& Folder() const { return folder_; }
    bool WatchesSubtree() const { return subtree_; }
    std::uint32_t Filter() const { return filter_; }

    // Reads what is queued: true when a change that the filter asks for happened, the queue
    // overflowed, or the folder itself was removed, moved or unmounted.
    bool CollectChanges();
    // False once the folder is gone or its events cannot be read: nothing more will come.
    bool IsArmed() const { return armed_; }

    // Watches one more folder below a subtree handle's folder: at once once the handle's own
    // folder is watched, else right after it. Safe from any thread.
    void WatchFolder(const std::string& folder);

private:
    ChangeHandle(std::string folder, bool watchSubtree, std::uint32_t filter);
    int AddWatch(const std::string& folder);
    bool Matches(const InotifyEvent& event);
    // Folder names only: links, which the namespace shows as folders, are watched too.
    bool TracksLinks() const;

    Inotify inotify_;
    const std::string folder_;
    const bool subtree_;
    const std::uint32_t filter_;
    int folderWatch_ = -1;
    bool armed_ = true;
    WatchedLinks links_;
    std::mutex listedLock_;
    bool ownFolderWatched_ = false;          // guarded by listedLock_
    std::vector<std::string> listedEarlier_; // listed before the own folder was watched
};

// Every open subtree handle whose folder holds folder (an absolute path) starts watching it
// too. Whoever lists a folder for the controls hands it here, so that a subtree handle sees
// the changes in every folder that is shown.
void WatchListedFolder(const std::string& folder);

} // namespace quarn
