// Staging files that a killed writer left under their "quarn-XXXXXX.part" names are overwritten
// and removed by a later run; a live writer's, and anything else, stay.
#include "platform/StagedFileSweep.h"

#include "SystemCallFilters.h"
#include "TestFiles.h"
#include "platform/PosixFile.h"
#include "platform/StagedFile.h"
#include "platform/StagingLock.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

TEST(StagedFileSweep, OverwritesAndRemovesOnlyADeadWritersStagingFiles) {
    TempDir dir;
    const std::string secret = PatternBytes(200000);
    WriteFileBytes(dir / "quarn-dead01.part", secret);
    // A second name shows what became of the blocks once the staging name is gone.
    ASSERT_EQ(::link((dir / "quarn-dead01.part").c_str(), (dir / "witness").c_str()), 0);
    WriteFileBytes(dir / "quarn-alive1.part", "being written");
    const UniqueFd writer(::open((dir / "quarn-alive1.part").c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_EQ(TakeStagingLock(writer.Get()), StagingLock::Taken);
    WriteFileBytes(dir / "quarn-short.part", "not ours");
    WriteFileBytes(dir / "quarn-abc-ef.part", "not ours");
    WriteFileBytes(dir / "target", "target");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "quarn-link01.part").c_str()), 0);
    ASSERT_EQ(::mkdir((dir / "quarn-fold01.part").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((dir / "quarn-fifo01.part").c_str(), 0600), 0);

    RemoveAbandonedStagedFiles(dir.Path().string()); // without a trailing "/"

    EXPECT_EQ(FolderNames(dir),
              (std::set<std::string>{"quarn-abc-ef.part", "quarn-alive1.part", "quarn-fifo01.part",
                                     "quarn-fold01.part", "quarn-link01.part", "quarn-short.part",
                                     "target", "witness"}));
    EXPECT_TRUE(ReadFileBytes(dir / "witness") == std::string(secret.size(), '\0'));
    EXPECT_EQ(ReadFileBytes(dir / "quarn-alive1.part"), "being written");
    EXPECT_EQ(ReadFileBytes(dir / "target"), "target");
}

std::set<std::string> StagedNames(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& name : FolderNames(dir)) {
        if (name.starts_with("quarn-")) {
            names.insert(name);
        }
    }
    return names;
}

// For real, on a file system without unnamed files: a writer killed with SIGKILL part-way
// leaves its staging file, the writer's own (mode 0600, whatever the final file was to get),
// until the next staged file in that folder, by another process, removes it.
TEST(StagedFileSweep, KilledWritersFileGoesWithTheNextStagedFileThere) {
    TempDir dir;
    const auto inChildWithoutUnnamedFiles = [&](auto body) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(RefuseUnnamedFiles() ? body() : 100);
        }
        return child;
    };
    int written[2];
    ASSERT_EQ(::pipe(written), 0);
    const pid_t writer = inChildWithoutUnnamedFiles([&] {
        StagedFile file;
        const std::string part = PatternBytes(1 << 20);
        if (file.Open(dir / "plain.txt", 0644).error != 0 ||
            file.Write(part.data(), part.size()).error != 0) {
            return 1;
        }
        (void)!::write(written[1], "w", 1);
        for (;;) {
            ::pause();
        }
    });
    ::close(written[1]);
    char byte = 0;
    const bool wrote = ::read(written[0], &byte, 1) == 1;
    ::close(written[0]);
    ::kill(writer, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    if (!wrote && WIFEXITED(status) && WEXITSTATUS(status) == 100) {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    ASSERT_TRUE(wrote);
    const auto left = StagedNames(dir);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(ModeOf(dir / *left.begin()), 0600u);
    EXPECT_EQ(ReadFileBytes(dir / *left.begin()).size(), std::size_t{1} << 20);

    const pid_t later = inChildWithoutUnnamedFiles([&] {
        StagedFile file;
        return file.Open(dir / "other.txt", 0644).error == 0 && file.Write("new", 3).error == 0 &&
                       file.Commit().error == 0
                   ? 0
                   : 1;
    });
    ASSERT_EQ(::waitpid(later, &status, 0), later);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"other.txt"});
    EXPECT_EQ(ModeOf(dir / "other.txt"), 0644u);
}

} // namespace
} // namespace quarn::test
