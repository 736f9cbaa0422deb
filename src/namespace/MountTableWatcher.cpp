#include "namespace/MountTableWatcher.h"

#include "platform/Poll.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/inotify.h>
#include <system_error>

namespace quarn {

namespace {

const char* TableFileOverride() {
    const char* path = std::getenv("QUARN_MOUNTINFO");
    return path && *path ? path : nullptr;
}

std::vector<Volume> ReadTable(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMountInfo(text.str());
}

bool SameVolume(const Volume& a, const Volume& b) {
    return a.mountPoint == b.mountPoint && a.fileSystem == b.fileSystem &&
           a.driveType == b.driveType;
}

bool Holds(const std::vector<Volume>& volumes, const Volume& volume) {
    return std::any_of(volumes.begin(), volumes.end(),
                       [&](const Volume& v) { return SameVolume(v, volume); });
}

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

MountTableWatcher::MountTableWatcher(Listener listener) : listener_(std::move(listener)) {
    if (const char* tableFile = TableFileOverride()) {
        path_ = tableFile;
        const std::string folder = FolderPart(path_);
        tableFolder_.emplace();
        if (!*tableFolder_ || tableFolder_->AddWatch(folder.empty() ? "." : folder,
                                                     IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
            ThrowErrno("inotify " + folder);
        }
    } else {
        path_ = "/proc/self/mountinfo";
        procTable_.Reset(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
        if (!procTable_) {
            ThrowErrno(path_);
        }
    }
    volumes_ = ReadTable(path_);
    thread_ = std::thread([this] { Run(); });
}

MountTableWatcher::~MountTableWatcher() {
    stop_.Set();
    thread_.join();
}

void MountTableWatcher::Run() {
    const pollfd source =
        tableFolder_ ? pollfd{tableFolder_->Fd(), POLLIN, 0} : pollfd{procTable_.Get(), POLLPRI, 0};
    for (;;) {
        pollfd fds[] = {{stop_.Fd(), POLLIN, 0}, source};
        if (WaitForAny(fds, -1) <= 0) {
            continue;
        }
        if (fds[0].revents) {
            return;
        }
        if (TableChanged()) {
            CompareWithTable();
        }
    }
}

// The kernel's table changed when it raised POLLPRI; a table file when an event names it.
bool MountTableWatcher::TableChanged() {
    if (!tableFolder_) {
        return true;
    }
    const std::string name = NamePart(path_);
    bool named = false;
    tableFolder_->ReadEvents(
        [&](const InotifyEvent& event) { named = named || event.name == name; });
    return named;
}

void MountTableWatcher::CompareWithTable() {
    std::vector<Volume> volumes = ReadTable(path_);
    for (const Volume& volume : volumes_) {
        if (!Holds(volumes, volume)) {
            listener_({false, volume});
        }
    }
    for (const Volume& volume : volumes) {
        if (!Holds(volumes_, volume)) {
            listener_({true, volume});
        }
    }
    volumes_ = std::move(volumes);
}

} // namespace quarn
