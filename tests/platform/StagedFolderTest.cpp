// A folder filled under a hidden, locked staging name: it takes its final name only when
// committed, never replacing anything, and a later run removes what a writer that is gone left.
#include "platform/StagedFolder.h"

#include "TestFiles.h"

#include <cstddef>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

TEST(StagedFolder, IsFilledUnderAHiddenNameAndTakesItsNameOnlyAtTheCommit) {
    TempDir dir;
    StagedFolder folder;
    ASSERT_EQ(folder.Open(dir / "tree").error, 0);
    const std::string staging = NamePart(folder.StagingPath());
    EXPECT_TRUE(IsStagingFolderName(staging)) << staging;
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{staging});
    struct stat info {};
    ASSERT_EQ(::stat(folder.StagingPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    WriteFileBytes(folder.StagingPath() + "/inner", "inner");
    ASSERT_EQ(folder.Commit().error, 0);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"tree"});
    EXPECT_EQ(ReadFileBytes(dir / "tree/inner"), "inner");
    folder.Discard();
    EXPECT_EQ(ReadFileBytes(dir / "tree/inner"), "inner");
}

// A name that appeared while the folder was filled, whatever holds it, refuses the commit;
// the staging folder goes with everything in it, read-only folders too.
TEST(StagedFolder, NeverReplacesAndIsRemovedWhenNotCommitted) {
    TempDir dir;
    std::filesystem::create_directory(dir / "empty folder");
    WriteFileBytes(dir / "file", "file");
    for (const std::string taken : {"empty folder", "file"}) {
        StagedFolder folder;
        ASSERT_EQ(folder.Open(dir / taken).error, 0);
        std::filesystem::create_directories(folder.StagingPath() + "/sub/deeper");
        WriteFileBytes(folder.StagingPath() + "/sub/deeper/inner", "inner");
        ASSERT_EQ(::chmod((folder.StagingPath() + "/sub").c_str(), 0555), 0);
        ASSERT_EQ(::chmod(folder.StagingPath().c_str(), 0555), 0);
        EXPECT_EQ(folder.Commit().error, EEXIST) << taken;
    }
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"empty folder", "file"}));
    EXPECT_TRUE(FolderNames(dir / "empty folder").empty());
    EXPECT_EQ(ReadFileBytes(dir / "file"), "file");
}

// Leftovers as a killed writer leaves them: a staging folder nobody holds, with a read-only
// folder and a link to a file outside in it. A live writer's folder, a link under a staging
// name and names that only look alike stay.
TEST(RemoveDeadStagingFolders, RemovesOnlyFoldersWhoseWriterIsGone) {
    TempDir dir;
    WriteFileBytes(dir / "outside", "outside");
    const std::string dead = ".quarn-Dead01.part";
    std::filesystem::create_directories(dir / (dead + "/sub"));
    WriteFileBytes(dir / (dead + "/sub/partial"), "partial");
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / (dead + "/link")).c_str()), 0);
    ASSERT_EQ(::chmod((dir / (dead + "/sub")).c_str(), 0555), 0);
    ASSERT_EQ(::symlink(dir.Path().c_str(), (dir / ".quarn-Link01.part").c_str()), 0);
    std::filesystem::create_directory(dir / ".quarn-short.part");
    std::filesystem::create_directory(dir / "quarn-Dead02.part");
    StagedFolder live;
    ASSERT_EQ(live.Open(dir / "tree").error, 0);
    WriteFileBytes(live.StagingPath() + "/inner", "inner");
    const std::string liveName = NamePart(live.StagingPath());

    RemoveDeadStagingFolders(dir.Path().string());
    EXPECT_EQ(FolderNames(dir),
              (std::set<std::string>{"outside", ".quarn-Link01.part", ".quarn-short.part",
                                     "quarn-Dead02.part", liveName}));
    EXPECT_EQ(ReadFileBytes(dir / "outside"), "outside");
    EXPECT_EQ(ReadFileBytes(live.StagingPath() + "/inner"), "inner");
    ASSERT_EQ(live.Commit().error, 0);
    EXPECT_EQ(ReadFileBytes(dir / "tree/inner"), "inner");
}

TEST(StagedFolder, OpenClearsTheFoldersOfWritersThatAreGone) {
    TempDir dir;
    std::filesystem::create_directory(dir / ".quarn-Dead01.part");
    WriteFileBytes(dir / ".quarn-Dead01.part/partial", "partial");
    StagedFolder folder;
    ASSERT_EQ(folder.Open(dir / "tree").error, 0);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{NamePart(folder.StagingPath())});
}

// From here on, in this process, renameat2 fails with EINVAL, as on a file system without
// rename flags.
bool RefuseRenameFlags() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_renameat2, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINVAL),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// The steps of the test below; answers the number of the first that failed, 0 when none did.
int CommitStepsWithoutRenameFlags(const TempDir& dir) {
    try {
        StagedFolder taken;
        StagedFolder free;
        const bool steps[] = {
            taken.Open(dir / "taken").error == 0 && free.Open(dir / "free").error == 0,
            (WriteFileBytes(free.StagingPath() + "/inner", "inner"), true),
            taken.Commit().error == EEXIST,
            free.Commit().error == 0,
            (taken.Discard(), FolderNames(dir) == std::set<std::string>{"free", "taken"}),
            ReadFileBytes(dir / "free/inner") == "inner" && FolderNames(dir / "taken").empty(),
        };
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            if (!steps[i]) {
                return static_cast<int>(i + 1);
            }
        }
        return 0;
    } catch (...) {
        return 99;
    }
}

// Without rename flags the commit claims the name with an empty folder of its own, which the
// rename then replaces: a taken name still refuses it. Runs in a child, whose filter cannot be
// undone.
TEST(StagedFolder, CommitsWithoutRenameFlagsAndStillNeverReplaces) {
    TempDir dir;
    std::filesystem::create_directory(dir / "taken");
    const pid_t child = ::fork();
    if (child == 0) {
        if (!RefuseRenameFlags()) {
            ::_exit(100);
        }
        ::_exit(CommitStepsWithoutRenameFlags(dir));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "seccomp filters are not available here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed step " << WEXITSTATUS(status);
}

} // namespace
} // namespace quarn::test
