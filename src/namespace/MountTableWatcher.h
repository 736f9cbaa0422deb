#pragma once

#include "namespace/MountTable.h"
#include "platform/EventFd.h"
#include "platform/Inotify.h"

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quarn {

struct VolumeChange {
    bool arrived = false; // else removed
    Volume volume;
};

// Watches the mount table ($QUARN_MOUNTINFO, else /proc/self/mountinfo) on a thread of its
// own and hands every volume that arrives or leaves to the listener, on that thread.
// /proc/self/mountinfo raises POLLPRI at every mount and unmount; a table file of
// $QUARN_MOUNTINFO is a regular file, which never does, so its folder is watched through
// inotify instead: writing the file in place and renaming a new one over it both count.
class MountTableWatcher {
public:
    using Listener = std::function<void(const VolumeChange&)>;

    // Reads the table now and starts watching; std::system_error when it cannot watch.
    explicit MountTableWatcher(Listener listener);
    ~MountTableWatcher(); // stops and joins the thread
    MountTableWatcher(const MountTableWatcher&) = delete;
    MountTableWatcher& operator=(const MountTableWatcher&) = delete;

private:
    void Run();
    bool TableChanged();
    void CompareWithTable();

    Listener listener_;
    std::string path_;
    std::optional<Inotify> tableFolder_; // for a table file
    UniqueFd procTable_;                 // for the kernel's table
    std::vector<Volume> volumes_;
    EventFd stop_;
    std::thread thread_;
};

} // namespace quarn
