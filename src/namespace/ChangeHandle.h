#pragma once

#include "platform/Inotify.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quarn {

// The changes a handle reports (its notify filter).
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_FILE_NAME = 0x01;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_DIR_NAME = 0x02;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x04;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_SIZE = 0x08;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;

// A change-notification handle: one inotify instance that watches a folder and, for a
// subtree handle, every folder below it that is listed while the handle is open
// (WatchListedFolder). Poll Fd() for input, then CollectChanges.
class ChangeHandle {
public:
    // Nothing when path is empty or no folder that can be watched, or the filter asks for
    // none of the changes above.
    static std::unique_ptr<ChangeHandle> Open(const std::string& path, bool watchSubtree,
                                              std::uint32_t filter);
    ~ChangeHandle();
    ChangeHandle(const ChangeHandle&) = delete;
    ChangeHandle& operator=(const ChangeHandle&) = delete;

    int Fd() const { return inotify_.Fd(); }
    const std::string& Folder() const { return folder_; }
    bool WatchesSubtree() const { return subtree_; }

    // Reads what is queued: true when a change that the filter asks for happened, the queue
    // overflowed, or the folder itself was removed, moved or unmounted.
    bool CollectChanges();
    // False once the folder is gone or its events cannot be read: nothing more will come.
    bool IsArmed() const { return armed_; }

    // Watches one more folder below a subtree handle's folder. Safe from any thread.
    void WatchFolder(const std::string& folder) const;

private:
    ChangeHandle(std::string folder, bool watchSubtree, std::uint32_t filter);
    bool Matches(const InotifyEvent& event) const;

    Inotify inotify_;
    std::string folder_;
    bool subtree_;
    std::uint32_t filter_;
    int folderWatch_ = -1;
    bool armed_ = true;
};

// Every open subtree handle whose folder holds folder (an absolute path) starts watching it
// too. Whoever lists a folder for the controls hands it here, so that a subtree handle sees
// the changes in every folder that is shown.
void WatchListedFolder(const std::string& folder);

} // namespace quarn
