// The staging lock tells a live writer's staging entry from a dead one's.
#include "platform/StagingLock.h"

#include "TestFiles.h"
#include "platform/PosixFile.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

UniqueFd OpenEntry(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

// Another open of the same file or folder, in this very process, is refused while the first
// holds the lock, and gets it once that descriptor is closed.
TEST(StagingLock, HeldWhileItsDescriptorIsOpenTakenAfter) {
    TempDir dir;
    WriteFileBytes(dir / "quarn-abcdef.part", "partial");
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0700), 0);
    for (const std::string& path : {dir / "quarn-abcdef.part", dir / "folder"}) {
        UniqueFd writer = OpenEntry(path);
        ASSERT_EQ(TakeStagingLock(writer.Get()), StagingLock::Taken) << path;
        const UniqueFd later = OpenEntry(path);
        EXPECT_EQ(TakeStagingLock(later.Get()), StagingLock::Held) << path;
        writer.Reset();
        EXPECT_EQ(TakeStagingLock(later.Get()), StagingLock::Taken) << path;
    }
}

// A writer killed with SIGKILL leaves its lock behind with nobody.
TEST(StagingLock, KilledWritersLockCanBeTaken) {
    TempDir dir;
    const std::string path = dir / "quarn-abcdef.part";
    WriteFileBytes(path, "partial");
    int locked[2];
    ASSERT_EQ(::pipe(locked), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const UniqueFd fd = OpenEntry(path);
        const char flag = TakeStagingLock(fd.Get()) == StagingLock::Taken ? 'y' : 'n';
        (void)!::write(locked[1], &flag, 1);
        for (;;) {
            ::pause();
        }
    }
    char flag = 0;
    ASSERT_EQ(::read(locked[0], &flag, 1), 1);
    ASSERT_EQ(flag, 'y');
    const UniqueFd later = OpenEntry(path);
    EXPECT_EQ(TakeStagingLock(later.Get()), StagingLock::Held);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(locked[0]);
    ::close(locked[1]);
    EXPECT_EQ(TakeStagingLock(later.Get()), StagingLock::Taken);
}

} // namespace
} // namespace quarn::test
