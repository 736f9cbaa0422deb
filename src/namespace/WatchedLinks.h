#pragma once

#include "platform/Inotify.h"

#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

namespace quarn {

// The symbolic links in the folders that a change handle watches. inotify marks only folders
// (IN_ISDIR), but the namespace shows a link to a folder as a folder: a handle that counts
// folder names counts links too, and once a link is removed nothing tells what it was, so the
// links are known from the moment a folder is watched. Safe from any thread.
class WatchedLinks {
public:
    // Reads the links that folder holds now; watch is its inotify watch.
    void Watch(int watch, const std::string& folder);
    // A folder's watch has gone (IN_IGNORED).
    void Forget(int watch);
    // A name event (creation, removal, move) of an entry that is no folder: true when the
    // entry is a symbolic link, or was one. The target is never read: finding out what a link
    // points at could wait on another file system.
    bool IsLinkEvent(const InotifyEvent& event);

private:
    struct Folder {
        std::string path;
        std::set<std::string, std::less<>> links;
    };

    std::mutex lock_;
    std::unordered_map<int, Folder> folders_;
};

} // namespace quarn
