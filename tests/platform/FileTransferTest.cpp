// Copies and moves of files and folder trees: nothing is ever replaced, a failure leaves the
// source and no partial copy, a move across file systems removes the source only once the
// copy is complete on the disc.
#include "platform/FileTransfer.h"

#include "LoopDisc.h"
#include "TestFiles.h"
#include "platform/PosixFile.h"
#include "platform/StagedFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

std::string LinkText(const std::string& path) {
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

const std::string RawName = "raw-\xff\xfe"; // not UTF-8

// A tree with a file of each permission, a subfolder, a link and a raw name.
void MakeTree(const std::string& root) {
    std::filesystem::create_directories(root + "/sub/deeper");
    WriteFileBytes(root + "/plain", PatternBytes(3 << 20));
    WriteFileBytes(root + "/sub/private", "private");
    WriteFileBytes(root + "/sub/deeper/" + RawName, "raw");
    ASSERT_EQ(::chmod((root + "/sub/private").c_str(), 0600), 0);
    ASSERT_EQ(::chmod((root + "/sub").c_str(), 0750), 0);
    ASSERT_EQ(::symlink("sub/private", (root + "/link").c_str()), 0);
}

void ExpectTree(const std::string& root) {
    EXPECT_TRUE(ReadFileBytes(root + "/plain") == PatternBytes(3 << 20));
    EXPECT_EQ(ReadFileBytes(root + "/sub/private"), "private");
    EXPECT_EQ(ReadFileBytes(root + "/sub/deeper/" + RawName), "raw");
    EXPECT_EQ(ModeOf(root + "/sub/private"), 0600u);
    EXPECT_EQ(ModeOf(root + "/sub"), 0750u);
    EXPECT_EQ(LinkText(root + "/link"), "sub/private");
    EXPECT_EQ(FolderNames(root), (std::set<std::string>{"link", "plain", "sub"}));
}

TEST(CopyEntry, CopiesATreeWithItsPermissionsAndLinksAndKeepsTheSource) {
    TempDir dir;
    MakeTree(dir / "tree");
    const auto result = CopyEntry(dir / "tree", dir / "copy");
    ASSERT_TRUE(result.Done()) << result.message;
    ExpectTree(dir / "copy");
    ExpectTree(dir / "tree");
}

// Whatever holds the target name (a file, a folder, a link to nothing), both entries stay as
// they were.
TEST(CopyAndMove, NeverReplaceAnEntryAtTheTarget) {
    TempDir dir;
    WriteFileBytes(dir / "source", "source");
    std::filesystem::create_directory(dir / "folder");
    WriteFileBytes(dir / "file", "file");
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    for (const auto transfer : {&CopyEntry, &MoveEntry}) {
        for (const std::string taken : {"file", "folder", "dangling"}) {
            const auto result = transfer(dir / "source", dir / taken);
            EXPECT_EQ(result.outcome, FileOutcome::NameTaken) << taken;
            EXPECT_EQ(result.message,
                      (transfer == &CopyEntry ? "Unable to copy '" : "Unable to move '") +
                          (dir / "source") + "' to '" + (dir / taken) +
                          "': A file or folder of that name already exists.");
        }
    }
    EXPECT_EQ(ReadFileBytes(dir / "source"), "source");
    EXPECT_EQ(ReadFileBytes(dir / "file"), "file");
    EXPECT_TRUE(FolderNames(dir / "folder").empty());
    EXPECT_EQ(LinkText(dir / "dangling"), "nowhere");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"dangling", "file", "folder", "source"}));
}

// A pipe deep in the tree stops the copy: what was copied before it is removed again.
TEST(CopyEntry, AFailureRemovesWhatTheCopyMadeAndKeepsTheSource) {
    TempDir dir;
    MakeTree(dir / "tree");
    ASSERT_EQ(::mkfifo((dir / "tree/sub/deeper/pipe").c_str(), 0600), 0);
    const auto result = CopyEntry(dir / "tree", dir / "copy");
    EXPECT_EQ(result.outcome, FileOutcome::SpecialFile);
    EXPECT_EQ(result.message, "Unable to copy '" + (dir / "tree") + "' to '" + (dir / "copy") +
                                  "': '" + (dir / "tree/sub/deeper/pipe") +
                                  "': It is a pipe, socket or device, whose contents cannot be "
                                  "copied.");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"tree"}));
    ASSERT_EQ(::unlink((dir / "tree/sub/deeper/pipe").c_str()), 0);
    ExpectTree(dir / "tree");
}

TEST(CopyAndMove, RefuseAFolderIntoItselfOrBelowIt) {
    TempDir dir;
    std::filesystem::create_directories(dir / "tree/sub");
    ASSERT_EQ(::symlink((dir / "tree/sub").c_str(), (dir / "way in").c_str()), 0);
    for (const auto transfer : {&CopyEntry, &MoveEntry}) {
        for (const std::string target : {"tree/tree", "tree/sub/tree", "way in/tree"}) {
            const auto result = transfer(dir / "tree", dir / target);
            EXPECT_EQ(result.outcome, FileOutcome::IntoItself) << target;
            EXPECT_NE(result.message.find("The destination folder is the folder itself or lies "
                                          "inside it."),
                      std::string::npos);
        }
    }
    EXPECT_EQ(FolderNames(dir / "tree"), (std::set<std::string>{"sub"}));
    EXPECT_TRUE(FolderNames(dir / "tree/sub").empty());
}

TEST(MoveEntry, RenamesOnOneFileSystemAndAMoveOntoItsOwnPathChangesNothing) {
    TempDir dir;
    MakeTree(dir / "tree");
    std::filesystem::create_directory(dir / "into");
    ASSERT_TRUE(MoveEntry(dir / "tree", dir / "tree").Done());
    ExpectTree(dir / "tree");
    const auto result = MoveEntry(dir / "tree", dir / "into/tree");
    ASSERT_TRUE(result.Done()) << result.message;
    ExpectTree(dir / "into/tree");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"into"}));
}

// A folder on another file system: a folder in /dev/shm where that is one, else a loop disc.
class OtherFileSystem {
public:
    OtherFileSystem() {
        char pattern[] = "/dev/shm/quarn-test-XXXXXX";
        struct stat here {};
        struct stat there {};
        if (::mkdtemp(pattern) != nullptr) {
            shm_ = pattern;
            if (::stat(shm_.c_str(), &there) == 0 && ::stat(TestRoot().c_str(), &here) == 0 &&
                here.st_dev != there.st_dev) {
                folder_ = shm_;
                return;
            }
        }
        disc_ = std::make_unique<LoopDisc>(images_.Folder(), 32 << 20);
        if (disc_->Mounted()) {
            folder_ = disc_->Dir().Path().string();
        }
    }
    ~OtherFileSystem() {
        std::error_code ignored;
        std::filesystem::remove_all(shm_, ignored);
    }
    OtherFileSystem(const OtherFileSystem&) = delete;
    OtherFileSystem& operator=(const OtherFileSystem&) = delete;

    bool Available() const { return !folder_.empty(); }
    std::string operator/(const std::string& name) const { return folder_ + "/" + name; }

private:
    std::string shm_;
    TempDir images_;
    std::unique_ptr<LoopDisc> disc_;
    std::string folder_;
};

TEST(MoveEntry, AcrossFileSystemsCopiesThenRemovesTheSource) {
    OtherFileSystem other;
    if (!other.Available()) {
        GTEST_SKIP() << "neither a separate /dev/shm nor a loop disc is available here";
    }
    TempDir dir;
    MakeTree(dir / "tree");
    const auto result = MoveEntry(dir / "tree", other / "tree");
    ASSERT_TRUE(result.Done()) << result.message;
    ExpectTree(other / "tree");
    EXPECT_TRUE(FolderNames(dir).empty());
}

TEST(MoveEntry, AcrossFileSystemsAFailedCopyKeepsTheSourceWhole) {
    OtherFileSystem other;
    if (!other.Available()) {
        GTEST_SKIP() << "neither a separate /dev/shm nor a loop disc is available here";
    }
    TempDir dir;
    MakeTree(dir / "tree");
    ASSERT_EQ(::mkfifo((dir / "tree/pipe").c_str(), 0600), 0);
    EXPECT_EQ(MoveEntry(dir / "tree", other / "tree").outcome, FileOutcome::SpecialFile);
    EXPECT_FALSE(PathExists(other / "tree"));
    ASSERT_EQ(::unlink((dir / "tree/pipe").c_str()), 0);
    ExpectTree(dir / "tree");
}

// A folder of many small files, so that a copy of it takes a while.
constexpr int ManyFiles = 600;

void MakeManyFiles(const std::string& root) {
    std::filesystem::create_directories(root + "/sub");
    for (int i = 0; i < ManyFiles; ++i) {
        WriteFileBytes(root + "/sub/" + std::to_string(i), PatternBytes(512, i));
    }
}

bool HasManyFiles(const std::string& root) {
    if (FolderNames(root) != std::set<std::string>{"sub"}) {
        return false;
    }
    for (int i = 0; i < ManyFiles; ++i) {
        if (ReadFileBytes(root + "/sub/" + std::to_string(i)) != PatternBytes(512, i)) {
            return false;
        }
    }
    return FolderNames(root + "/sub").size() == ManyFiles;
}

// The entry of folder that a copy of the tree is being built in, once it holds count files.
std::optional<std::string> CopyHolding(const std::string& folder, std::size_t count) {
    for (const std::string& name : FolderNames(folder)) {
        const std::string sub = folder + name + "/sub";
        if (PathExists(sub) && FolderNames(sub).size() >= count) {
            return name;
        }
    }
    return std::nullopt;
}

// A move killed with SIGKILL part-way leaves the source whole and nothing under the final
// name, only its hidden staging folder; the retry moves the folder and removes that too.
// The child is stopped as soon as its copy is seen part-way, so the kill cannot come late.
TEST(MoveEntry, AcrossFileSystemsAKilledMoveLeavesNoFolderUnderItsName) {
    OtherFileSystem other;
    if (!other.Available()) {
        GTEST_SKIP() << "neither a separate /dev/shm nor a loop disc is available here";
    }
    TempDir dir;
    MakeManyFiles(dir / "tree");
    const std::string into = FolderPart(other / "tree");
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(MoveEntry(dir / "tree", other / "tree").Done() ? 0 : 1);
    }
    std::optional<std::string> copy;
    int status = 0;
    while (!(copy = CopyHolding(into, 20)) && ::waitpid(child, &status, WNOHANG) == 0) {
        ::usleep(200);
    }
    ::kill(child, SIGSTOP);
    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(copy && WIFSIGNALED(status)) << "the move ended before it was seen part-way";

    EXPECT_FALSE(PathExists(other / "tree"));
    EXPECT_EQ(FolderNames(into), std::set<std::string>{*copy});
    EXPECT_TRUE(IsStagingFolderName(*copy)) << *copy;
    EXPECT_TRUE(HasManyFiles(dir / "tree"));
    const auto retried = MoveEntry(dir / "tree", other / "tree");
    ASSERT_TRUE(retried.Done()) << retried.message;
    EXPECT_TRUE(HasManyFiles(other / "tree"));
    EXPECT_EQ(FolderNames(into), std::set<std::string>{"tree"});
    EXPECT_TRUE(FolderNames(dir).empty());
}

// An 8 MiB tmpfs, unmounted with the object.
class Tmpfs {
public:
    Tmpfs() : mounted_(::mount("tmpfs", dir_.Path().c_str(), "tmpfs", 0, "size=8m") == 0) {}
    ~Tmpfs() {
        if (mounted_) {
            ::umount2(dir_.Path().c_str(), MNT_DETACH);
        }
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;
    bool Mounted() const { return mounted_; }
    const TempDir& Dir() const { return dir_; }

    void FillUp() const {
        const UniqueFd fill(::open((dir_ / "fill").c_str(), O_WRONLY | O_CREAT, 0600));
        const std::string chunk(1 << 16, 'f');
        while (::write(fill.Get(), chunk.data(), chunk.size()) > 0) {
        }
    }

private:
    TempDir dir_;
    bool mounted_;
};

// The copy's writes land in the page cache; only the flush finds that the device below has
// no room. Without the flush the source would be gone with its copy still unwritten.
TEST(MoveEntry, AcrossFileSystemsAFailedFlushKeepsTheSource) {
    const Tmpfs backing;
    if (!backing.Mounted()) {
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    }
    LoopDisc disc(backing.Dir().Folder(), 64 << 20); // sparse: far larger than its backing
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    backing.FillUp();
    TempDir dir;
    const std::string contents = PatternBytes(4 << 20);
    WriteFileBytes(dir / "big", contents);
    const auto result = MoveEntry(dir / "big", disc.Dir() / "big");
    EXPECT_EQ(result.outcome, FileOutcome::Failed) << result.message;
    EXPECT_TRUE(ReadFileBytes(dir / "big") == contents);
    EXPECT_FALSE(PathExists(disc.Dir() / "big"));
}

} // namespace
} // namespace quarn::test
