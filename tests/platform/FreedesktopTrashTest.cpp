// The freedesktop trash: where an entry goes, its info file, names in use, and refusals where
// no trash may be used.
#include "platform/FreedesktopTrash.h"

#include "LoopDisc.h"
#include "TestFiles.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

using ::testing::MatchesRegex;

const std::string DateLine = "DeletionDate=[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\n";

// An entry whose name is too long for an info file name keeps its whole name in the info.
TEST(TrashEntry, ALongNameIsCutForTheTrashButKeptInTheInfo) {
    TempDir dir, trash;
    // 248 bytes; the cut at 245 would fall inside the "é"
    const std::string name = std::string(244, 'a') + "\xc3\xa9" + "bc";
    WriteFileBytes(dir / name, "long");
    ASSERT_TRUE(TrashEntry(dir / name, trash.Path().string()).Done());
    const std::string kept = std::string(244, 'a');
    EXPECT_EQ(FolderNames(trash / "files"), (std::set<std::string>{kept}));
    EXPECT_EQ(ReadFileBytes(trash / ("files/" + kept)), "long");
    EXPECT_THAT(ReadFileBytes(trash / ("info/" + kept + ".trashinfo")),
                MatchesRegex("\\[Trash Info\\]\nPath=" + dir.Path().string() + "/a{244}%C3%A9bc\n" +
                             DateLine));
}

TEST(TrashEntry, RefusesAFolderThatHoldsTheTrash) {
    TempDir dir;
    std::filesystem::create_directories(dir / "data/Trash");
    const auto result = TrashEntry(dir / "data", dir / "data/Trash");
    EXPECT_EQ(result.outcome, FileOutcome::IntoItself);
    EXPECT_EQ(result.message, "Unable to move '" + (dir / "data") +
                                  "' to the trash: The trash folder lies inside it.");
    EXPECT_TRUE(FolderNames(dir / "data/Trash/info").empty());
}

// A loop disc is a volume of its own, with a top folder the test owns.
TEST(TrashEntry, AnEntryOnAnotherVolumeGoesToThatVolumesTrash) {
    TempDir images, home;
    LoopDisc disc(images.Folder(), 16 << 20);
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    std::filesystem::create_directory(disc.Dir() / "folder");
    WriteFileBytes(disc.Dir() / "folder/file", "file");
    ASSERT_TRUE(TrashEntry(disc.Dir() / "folder/file", home / "Trash").Done());

    const std::string trash = disc.Dir() / (".Trash-" + std::to_string(::geteuid()));
    struct stat info {};
    ASSERT_EQ(::lstat(trash.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(ReadFileBytes(trash + "/files/file"), "file");
    EXPECT_THAT(ReadFileBytes(trash + "/info/file.trashinfo"),
                MatchesRegex("\\[Trash Info\\]\nPath=folder/file\n" + DateLine));
    EXPECT_TRUE(FolderNames(disc.Dir() / "folder").empty());
    EXPECT_TRUE(FolderNames(home / "Trash/files").empty());
}

// A volume trash that is a file, a link or another user's folder is not used: the entry
// stays where it is and the message says why.
TEST(TrashEntry, RefusesRatherThanUseAVolumeTrashThatIsNotTheUsersOwn) {
    TempDir images, home;
    LoopDisc disc(images.Folder(), 16 << 20);
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    const std::string trash = disc.Dir() / (".Trash-" + std::to_string(::geteuid()));
    WriteFileBytes(disc.Dir() / "file", "file");
    std::filesystem::create_directory(disc.Dir() / "elsewhere");
    const std::function<void()> spoilers[] = {
        [&] { WriteFileBytes(trash, "not a folder"); },
        [&] { std::filesystem::create_directory_symlink(disc.Dir() / "elsewhere", trash); },
        [&] {
            std::filesystem::create_directory(trash);
            ASSERT_EQ(::chown(trash.c_str(), ::geteuid() + 1, ::getegid()), 0);
        },
    };
    for (const auto& spoil : spoilers) {
        spoil();
        const auto result = TrashEntry(disc.Dir() / "file", home / "Trash");
        EXPECT_EQ(result.outcome, FileOutcome::NoTrash);
        EXPECT_EQ(result.message, "Unable to move '" + (disc.Dir() / "file") + "' to the trash: '" +
                                      trash + "' is not a trash folder of this user's.");
        EXPECT_EQ(ReadFileBytes(disc.Dir() / "file"), "file");
        std::filesystem::remove(trash);
    }
    EXPECT_TRUE(FolderNames(disc.Dir() / "elsewhere").empty());
}

} // namespace
} // namespace quarn::test
