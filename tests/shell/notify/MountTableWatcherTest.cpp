// The mount-table watcher: volumes that arrive and leave, from a table file and from the
// kernel's own table.
#include "namespace/MountTableWatcher.h"

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <condition_variable>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::Pair;

std::string Line(const std::string& mountPoint, const std::string& fileSystem,
                 const std::string& source) {
    return "30 1 0:99 / " + mountPoint + " rw,relatime shared:1 - " + fileSystem + " " + source +
           " rw\n";
}

const std::string Table = Line("/", "ext4", "/dev/sda2") + Line("/home", "ext4", "/dev/sda3");

// Records what the watcher reports, from its thread.
class ChangeLog {
public:
    MountTableWatcher::Listener Listener() {
        return [this](const VolumeChange& change) {
            std::lock_guard guard(lock_);
            changes_.emplace_back(change.arrived, change.volume.mountPoint);
            changed_.notify_all();
        };
    }
    // The changes once there are count of them, or what there is when the time runs out.
    std::vector<std::pair<bool, std::string>> WaitFor(std::size_t count) {
        std::unique_lock guard(lock_);
        changed_.wait_for(guard, 10s, [&] { return changes_.size() >= count; });
        return changes_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::pair<bool, std::string>> changes_;
};

class TableFileTest : public testing::Test {
protected:
    TempDir dir;
    const std::string table = dir / "mountinfo";
    ScopedEnvironment environment{"QUARN_MOUNTINFO", table};
    ChangeLog log;
};

TEST_F(TableFileTest, ALineAddedAndRemovedIsOneArrivalAndOneRemoval) {
    WriteFileBytes(table, Table);
    MountTableWatcher watcher(log.Listener());
    WriteFileBytes(table, Table + Line("/mnt/usb", "ext4", "/dev/sdz1"));
    ASSERT_EQ(log.WaitFor(1).size(), 1u);
    WriteFileBytes(table, Table);
    EXPECT_THAT(log.WaitFor(2), ElementsAre(Pair(true, "/mnt/usb"), Pair(false, "/mnt/usb")));
}

TEST_F(TableFileTest, ATableRenamedOverTheOldOneCounts) {
    WriteFileBytes(table, Table);
    MountTableWatcher watcher(log.Listener());
    WriteFileBytes(dir / "new table", Line("/", "ext4", "/dev/sda2"));
    std::filesystem::rename(dir / "new table", table);
    EXPECT_THAT(log.WaitFor(1), ElementsAre(Pair(false, "/home")));
}

bool CanMountPrivately() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(unshare(CLONE_NEWNS) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// In a mount namespace of its own, so that the mount is seen by this process alone: 0 when
// the watcher saw the mount and the unmount.
int MountAndUnmountWhileWatching() {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr)) {
        return 2;
    }
    unsetenv("QUARN_MOUNTINFO");
    TempDir point;
    const std::string path = point.Path().string();
    ChangeLog log;
    MountTableWatcher watcher(log.Listener());
    if (mount("quarn-test", path.c_str(), "tmpfs", 0, nullptr) != 0) {
        return 3;
    }
    const auto arrived = log.WaitFor(1);
    umount(path.c_str());
    const auto changes = log.WaitFor(2);
    const bool seen = arrived.size() == 1 && changes.size() == 2 &&
                      changes[0] == std::pair(true, path) && changes[1] == std::pair(false, path);
    return seen ? 0 : 1;
}

TEST(KernelTable, AMountAndAnUnmountAreSeen) {
    if (!CanMountPrivately()) {
        GTEST_SKIP() << "no mount namespace of our own here";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(_exit(MountAndUnmountWhileWatching()), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace quarn::test
