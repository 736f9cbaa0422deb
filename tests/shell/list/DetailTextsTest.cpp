// The size, type and date texts of items, read from the entry itself.
#include "shell/list/DetailTexts.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "ZotFileType.h"

#include <QLocale>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

class GroupingLocale : public ::testing::Test {
protected:
    GroupingLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~GroupingLocale() override { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

using SizeTexts = GroupingLocale;

TEST_F(SizeTexts, WholeKilobytesRoundedUpAndGrouped) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0KB"},
        {1, "1KB"},
        {1024, "1KB"},
        {1025, "2KB"},
        {2048, "2KB"},
        {1'536'000, "1,500KB"},
        {(4ull << 30) + 1, "4,194,305KB"},
        {5ull << 30, "5,242,880KB"},
    };
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(FormatSizeKB(size), text) << size;
    }
}

class EntryTexts : public GroupingLocale {
protected:
    std::pair<std::string, std::string> Texts(const std::string& relative) {
        std::string size = "stale";
        std::string modified = "stale";
        const PidlPtr list = ParsePath(Path(relative));
        GetFileSizeAndDateTexts(list.get(), size, modified);
        return {size, modified};
    }
    std::string Path(const std::string& relative) const { return dir.Path() / relative; }

    TempDir dir;
};

TEST_F(EntryTexts, FilesHaveSizesFoldersNoneAndBothHaveTimes) {
    WriteFileBytes(Path("small.txt"), std::string(1025, 'x'));
    std::filesystem::create_directory(Path("folder"));
    const timespec times[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path("small.txt").c_str(), times, 0), 0);
    const std::string expected =
        FormatModifiedTime(QDateTime::fromSecsSinceEpoch(1'600'000'000).toLocalTime());

    const auto [size, modified] = Texts("small.txt");
    EXPECT_EQ(size, "2KB");
    EXPECT_EQ(modified, expected);
    const auto [folderSize, folderModified] = Texts("folder");
    EXPECT_EQ(folderSize, "");
    EXPECT_FALSE(folderModified.empty());
}

TEST_F(EntryTexts, ASparseFileBeyond32BitsAndAFileThatGrewAfterItWasListed) {
    {
        const int fd = open(Path("big.bin").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, off_t{5} << 30), 0);
        close(fd);
    }
    EXPECT_EQ(Texts("big.bin").first, "5,242,880KB");
    WriteFileBytes(Path("grows.txt"), "x");
    const PidlPtr listed = ParsePath(Path("grows.txt"));
    WriteFileBytes(Path("grows.txt"), std::string(3000, 'x'));
    std::string size;
    std::string modified;
    GetFileSizeAndDateTexts(listed.get(), size, modified);
    EXPECT_EQ(size, "3KB") << "the entry is read again, not the listing's record";
}

TEST_F(EntryTexts, AFileWhoseWriteTimeIsZeroShowsItsBirth) {
    WriteFileBytes(Path("epoch.txt"), "x");
    struct statx born {};
    ASSERT_EQ(statx(AT_FDCWD, Path("epoch.txt").c_str(), 0, STATX_BTIME, &born), 0);
    if (!(born.stx_mask & STATX_BTIME)) {
        GTEST_SKIP() << "the file system keeps no birth times";
    }
    const timespec zero[2] = {{0, 0}, {0, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path("epoch.txt").c_str(), zero, 0), 0);
    EXPECT_EQ(Texts("epoch.txt").second,
              FormatModifiedTime(FileTimeToLocalDateTime(FileTimeOf(born.stx_btime))));
}

TEST_F(EntryTexts, AFileDatedAfter2262ShowsItsYear) {
    WriteFileBytes(Path("future.txt"), "x");
    const timespec year2300[2] = {{10'413'792'000, 0}, {10'413'792'000, 0}}; // 2300-01-01
    ASSERT_EQ(utimensat(AT_FDCWD, Path("future.txt").c_str(), year2300, 0), 0);
    struct statx info {};
    ASSERT_EQ(statx(AT_FDCWD, Path("future.txt").c_str(), 0, STATX_MTIME, &info), 0);
    if (info.stx_mtime.tv_sec != year2300[1].tv_sec) {
        GTEST_SKIP() << "the file system keeps no such time";
    }
    const QDateTime shown = FileTimeToLocalDateTime({10'413'792'000, 0});
    EXPECT_EQ(shown.toUTC().date(), QDate(2300, 1, 1));
    EXPECT_EQ(Texts("future.txt").second, FormatModifiedTime(shown));
}

TEST(FileTimes, TimesNoCalendarHoldsShowNothing) {
    for (const std::int64_t seconds :
         {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
        EXPECT_FALSE(FileTimeToLocalDateTime({seconds, 0}).isValid()) << seconds;
        EXPECT_EQ(FormatModifiedTime(FileTimeToLocalDateTime({seconds, 0})), "") << seconds;
    }
    EXPECT_EQ(FileTimeToLocalDateTime({-1, 500'000'000}).toMSecsSinceEpoch(), -500)
        << "before the epoch, the fraction counts forward";
}

TEST_F(EntryTexts, VirtualItemsDriveRootsAndVanishedEntriesHaveNoTexts) {
    const PidlPtr computer = SpecialFolder(CSIDL_DRIVES);
    std::string size = "stale";
    std::string modified = "stale";
    GetFileSizeAndDateTexts(computer.get(), size, modified);
    EXPECT_EQ(size + modified, "");
    const PidlPtr root = ParsePath("/");
    GetFileSizeAndDateTexts(root.get(), size, modified);
    EXPECT_EQ(size + modified, "") << "a drive root";
    WriteFileBytes(Path("gone.txt"), "x");
    const PidlPtr gone = ParsePath(Path("gone.txt"));
    std::filesystem::remove(Path("gone.txt"));
    GetFileSizeAndDateTexts(gone.get(), size, modified);
    EXPECT_EQ(size + modified, "");
}

TEST(TypeTexts, SystemFolderOutsideTheFileSystemAndTheRegisteredZotName) {
    TempDir dir;
    RegisterZot();
    WriteFileBytes(dir.Path() / "secret.zot!", "x");
    const PidlPtr secret = ParsePath(dir.Path() / "secret.zot!");
    EXPECT_EQ(GetItemTypeText(secret.get(), SFGAO_FILESYSTEM), "Quarn! Encrypted File");
    const PidlPtr computer = SpecialFolder(CSIDL_DRIVES);
    EXPECT_EQ(GetItemTypeText(computer.get(), SFGAO_FOLDER), "System Folder");
}

} // namespace
} // namespace quarn::test
