#include "platform/SafeFile.h"

#include "SystemCallFilters.h"
#include "TestFiles.h"
#include "platform/AsciiText.h"
#include "platform/StagedFile.h"

#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

TEST(KindOfEntry, TellsEveryKindWithoutFollowingLinks) {
    TempDir dir;
    WriteFileBytes(dir / "file", "x");
    ASSERT_EQ(::symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path().c_str(), (dir / "folder link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const struct {
        std::string path;
        EntryKind kind;
    } cases[] = {
        {dir / "file", EntryKind::File},          {dir / "link", EntryKind::Link},
        {dir / "dangling", EntryKind::Link},      {dir / "folder link", EntryKind::Link},
        {dir / "fifo", EntryKind::Special},       {"/dev/null", EntryKind::Special},
        {dir.Path().string(), EntryKind::Folder}, {dir / "missing", EntryKind::None},
        {dir / "file/below", EntryKind::None},    {"", EntryKind::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOfEntry(c.path), c.kind) << c.path;
    }
}

TEST(RenameNoReplace, NeverReplacesAndMovesOnlyTheName) {
    TempDir dir;
    WriteFileBytes(dir / "a", "a");
    WriteFileBytes(dir / "b", "b");
    const FileOperationResult taken = RenameNoReplace(dir / "a", dir / "b");
    EXPECT_EQ(taken.error, EEXIST);
    EXPECT_EQ(taken.outcome, FileOutcome::NameTaken);
    EXPECT_EQ(ReadFileBytes(dir / "b"), "b");
    const FileOperationResult renamed = RenameNoReplace(dir / "a", dir / "c");
    EXPECT_EQ(renamed.error, 0);
    EXPECT_TRUE(renamed.Done());
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"b", "c"}));
    const FileOperationResult missing = RenameNoReplace(dir / "a", dir / "d");
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(missing.outcome, FileOutcome::Failed);
}

TEST(RemoveFile, RemovesALinkNeverItsTarget) {
    TempDir dir;
    WriteFileBytes(dir / "target", "kept");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(RemoveFile(dir / "link").error, 0);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"target"});
    EXPECT_EQ(RemoveFile(dir / "link").error, ENOENT);
    EXPECT_EQ(RemoveFile(dir.Path().string()).error, EISDIR);
}

TEST(RemoveEmptyFolder, RemovesOnlyAnEmptyFolderItself) {
    TempDir dir;
    std::filesystem::create_directories(dir / "full/inner");
    std::filesystem::create_directory(dir / "empty");
    ASSERT_EQ(::symlink((dir / "empty").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(RemoveEmptyFolder(dir / "full").error, ENOTEMPTY);
    EXPECT_EQ(RemoveEmptyFolder(dir / "link").error, ENOTDIR);
    EXPECT_EQ(RemoveEmptyFolder(dir / "empty").error, 0);
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"full", "link"}));
    EXPECT_EQ(FolderNames(dir / "full"), std::set<std::string>{"inner"});
}

// Until the commit the staged file has no name at all; the commit gives it its name, its
// contents and exactly the permission bits asked for, whatever the umask.
TEST(StagedFile, HasNoNameUntilCommitted) {
    TempDir dir;
    StagedFile file;
    ASSERT_EQ(file.Open(dir / "out", 0640).error, 0);
    EXPECT_TRUE(file.IsUnnamed());
    ASSERT_EQ(file.Write("contents", 8).error, 0);
    EXPECT_TRUE(FolderNames(dir).empty());
    ASSERT_EQ(file.Commit().error, 0);
    EXPECT_EQ(ReadFileBytes(dir / "out"), "contents");
    EXPECT_EQ(ModeOf(dir / "out"), 0640u);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"out"});
}

TEST(StagedFile, RollbackAndDestructionLeaveNothing) {
    TempDir dir;
    {
        StagedFile file;
        ASSERT_EQ(file.Open(dir / "out", 0600).error, 0);
        ASSERT_EQ(file.Write("x", 1).error, 0);
        file.Rollback();
        EXPECT_EQ(file.Commit().error, EBADF);
        StagedFile dropped;
        ASSERT_EQ(dropped.Open(dir / "out", 0600).error, 0);
        ASSERT_EQ(dropped.Write("x", 1).error, 0);
    }
    EXPECT_TRUE(FolderNames(dir).empty());
}

// A name taken by the time of the commit (a file, a link, a folder) is left alone; the
// finished file stays staged and can take another name.
TEST(StagedFile, TakenNameIsNeverReplacedAndTheWorkIsKept) {
    TempDir dir;
    WriteFileBytes(dir / "target", "target");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0700), 0);
    for (const std::string taken : {"target", "link", "folder"}) {
        StagedFile file;
        ASSERT_EQ(file.Open(dir / taken, 0600).error, 0);
        ASSERT_EQ(file.Write("mine", 4).error, 0);
        EXPECT_EQ(file.Commit().error, EEXIST) << taken;
        EXPECT_EQ(file.CommitAs(dir / "mine").error, 0);
        EXPECT_EQ(ReadFileBytes(dir / "mine"), "mine");
        ASSERT_EQ(RemoveFile(dir / "mine").error, 0);
    }
    EXPECT_EQ(ReadFileBytes(dir / "target"), "target");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"folder", "link", "target"}));
}

// The other name may lie on another file system, where no link can reach: the file is copied
// there, and nothing stays behind in either folder.
TEST(StagedFile, CommitAsOnAnotherFileSystemCopies) {
    TempDir dir, other;
    if (::mount("tmpfs", other.Path().c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    }
    const std::string contents = PatternBytes(200000);
    WriteFileBytes(dir / "taken", "taken");
    {
        StagedFile file;
        ASSERT_EQ(file.Open(dir / "taken", 0604).error, 0);
        ASSERT_EQ(file.Write(contents.data(), contents.size()).error, 0);
        ASSERT_EQ(file.Commit().error, EEXIST);
        EXPECT_EQ(file.CommitAs(other / "moved").error, 0);
        EXPECT_EQ(file.Path(), other / "moved");
    }
    EXPECT_TRUE(ReadFileBytes(other / "moved") == contents);
    EXPECT_EQ(ModeOf(other / "moved"), 0604u);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"taken"});
    EXPECT_EQ(FolderNames(other), std::set<std::string>{"moved"});
    ::umount2(other.Path().c_str(), MNT_DETACH);
}

TEST(StagedFile, CommitReplacingSwapsTheFileInOneStep) {
    TempDir dir;
    WriteFileBytes(dir / "settings", "old");
    StagedFile file;
    ASSERT_EQ(file.Open(dir / "settings", 0600).error, 0);
    ASSERT_EQ(file.Write("new", 3).error, 0);
    EXPECT_EQ(ReadFileBytes(dir / "settings"), "old");
    ASSERT_EQ(file.CommitReplacing().error, 0);
    EXPECT_EQ(ReadFileBytes(dir / "settings"), "new");
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"settings"});
}

TEST(StagedFile, NameTheFileSystemCannotHoldFailsBeforeAnyWrite) {
    TempDir dir;
    StagedFile file;
    EXPECT_EQ(file.Open(dir / std::string(256, 'n'), 0600).error, ENAMETOOLONG);
    EXPECT_EQ(file.Open(dir / "gone/out", 0600).error, ENOENT);
    EXPECT_TRUE(FolderNames(dir).empty());
}

// Where unnamed files are refused, the file is staged under a "quarn-XXXXXX.part" name in the
// target's folder, with the same guarantees: no replacing, nothing left after a rollback.
// Runs in a child, whose filter cannot be undone; each failed step exits with its number.
TEST(StagedFile, FallsBackToANamedStagingFile) {
    TempDir dir;
    WriteFileBytes(dir / "taken", "taken");
    const pid_t child = ::fork();
    if (child == 0) {
        const auto staged = [&] {
            for (const auto& name : FolderNames(dir)) {
                if (name.starts_with("quarn-") && name.ends_with(".part")) {
                    return true;
                }
            }
            return false;
        };
        if (!RefuseUnnamedFiles()) {
            ::_exit(100);
        }
        StagedFile file;
        const bool steps[] = {
            file.Open(dir / "taken", 0640).error == 0,
            !file.IsUnnamed() && staged(),
            file.Write("mine", 4).error == 0,
            file.Commit().error == EEXIST && staged(),
            file.CommitAs(dir / "mine").error == 0 && !staged(),
            ReadFileBytes(dir / "mine") == "mine" && ReadFileBytes(dir / "taken") == "taken",
            file.Open(dir / "dropped", 0600).error == 0 && staged(),
            (file.Rollback(), !staged()),
            file.Open(dir / "taken", 0600).error == 0 && file.Write("new", 3).error == 0,
            file.CommitReplacing().error == 0 && !staged() && ReadFileBytes(dir / "taken") == "new",
        };
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            if (!steps[i]) {
                ::_exit(static_cast<int>(i + 1));
            }
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100) {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed step";
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"mine", "taken"}));
    EXPECT_EQ(ModeOf(dir / "mine"), 0640u);
}

TEST(AsciiText, FoldsOnlyAsciiLettersAndReadsHexDigits) {
    EXPECT_EQ(AsciiLower("Report.ZOT! \xC3\x84 @[`{"), "report.zot! \xC3\x84 @[`{");
    const struct {
        char c;
        int value;
    } digits[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'F', 15}, {'g', -1},   {'G', -1},
                  {'/', -1}, {':', -1}, {'@', -1}, {'`', -1}, {'\xC3', -1}};
    for (const auto& d : digits) {
        EXPECT_EQ(HexDigitValue(d.c), d.value) << d.c;
    }
}

} // namespace
} // namespace quarn::test
