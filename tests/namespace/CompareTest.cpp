// The order of items: folders first, numeric collation, raw bytes breaking ties.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarn::test {
namespace {

int Compare(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b, int column = 0) {
    const HRESULT hr = folder->CompareIDs(column, a, b);
    EXPECT_TRUE(Succeeded(hr));
    return LowWordSigned(hr);
}

std::vector<std::string> SortedNames(IShellFolder* folder, int column) {
    auto items = Enumerate(folder, AllItems);
    std::sort(items.begin(), items.end(), [&](const PidlPtr& a, const PidlPtr& b) {
        return Compare(folder, a.get(), b.get(), column) < 0;
    });
    return DisplayNames(folder, items);
}

void SetModified(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

TEST(CompareIDs, FoldersFirstThenNumericCollationThenBytes) {
    TempDir dir;
    for (const std::string name :
         {"b", "B", "a10", "a2", "A1", "e\xcc\x81", "\xc3\xa9", "z", "raw\xff"}) {
        WriteFileBytes(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "zfolder");
    std::filesystem::create_directory(dir / "Afolder");
    const auto folder = BindPath(dir.Path());
    const auto names = SortedNames(folder.get(), 0);
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 2),
              (std::vector<std::string>{"Afolder", "zfolder"}));
    const auto position = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(position("A1"), position("a2"));
    EXPECT_LT(position("a2"), position("a10"));
    EXPECT_LT(position("a10"), position("b"));
    EXPECT_LT(position("b"), position("z"));
    // é precomposed and decomposed collate alike; their bytes decide, never 0.
    const auto items = Enumerate(folder.get(), AllItems);
    for (const auto& a : items) {
        for (const auto& b : items) {
            const bool same =
                DisplayName(folder.get(), a.get(), 0) == DisplayName(folder.get(), b.get(), 0);
            EXPECT_EQ(Compare(folder.get(), a.get(), b.get()) == 0, same);
            EXPECT_EQ(Compare(folder.get(), a.get(), b.get()),
                      -Compare(folder.get(), b.get(), a.get()));
        }
    }
}

TEST(CompareIDs, SizeAndModifiedColumnsThenNames) {
    TempDir dir;
    WriteFileBytes(dir / "big", std::string(300, 'x'));
    WriteFileBytes(dir / "small", "x");
    WriteFileBytes(dir / "also small", "y");
    std::filesystem::create_directory(dir / "folder");
    SetModified(dir / "big", 1000);
    SetModified(dir / "small", 3000);
    SetModified(dir / "also small", 2000);
    const auto folder = BindPath(dir.Path());
    EXPECT_EQ(SortedNames(folder.get(), 1),
              (std::vector<std::string>{"folder", "also small", "small", "big"}));
    EXPECT_EQ(SortedNames(folder.get(), 3),
              (std::vector<std::string>{"folder", "big", "also small", "small"}));
}

TEST(CompareIDs, TimesPast2262AndWithinOneSecondKeepTheirOrder) {
    TempDir dir;
    const std::pair<const char*, timespec> files[] = {
        {"year 2300", {10'413'792'000, 0}},
        {"late in 2021", {1'609'599'845, 2}},
        {"early in 2021", {1'609'599'845, 1}},
        {"before 1970", {-1'000, 0}},
    };
    for (const auto& [name, time] : files) {
        WriteFileBytes(dir / name, "x");
        const timespec times[2] = {time, time};
        ASSERT_EQ(utimensat(AT_FDCWD, (dir / name).c_str(), times, 0), 0);
    }
    const auto folder = BindPath(dir.Path());
    EXPECT_EQ(
        SortedNames(folder.get(), 3),
        (std::vector<std::string>{"before 1970", "early in 2021", "late in 2021", "year 2300"}));
}

TEST(CompareIDs, AnEntryChangedOnDiskStillEqualsItsOlderItem) {
    TempDir dir;
    WriteFileBytes(dir / "f", "x");
    const auto folder = BindPath(dir.Path());
    const auto before = Child(folder.get(), "f", AllItems);
    WriteFileBytes(dir / "f", "longer now");
    const auto after = Child(folder.get(), "f", AllItems);
    EXPECT_EQ(Compare(folder.get(), before.get(), after.get()), 0);
    EXPECT_NE(Compare(folder.get(), before.get(), after.get(), 1), 0);
}

TEST(CompareIDs, AbsoluteListsCompareLevelByLevelOnTheDesktop) {
    TempDir dir;
    std::filesystem::create_directories(dir / "a/b");
    const auto desktop = Desktop();
    const auto ab = Parse(dir / "a/b");
    const auto ab2 = Parse(dir / "a/b/");
    const auto a = Parse(dir / "a");
    const PidlPtr empty(AllocateList({}));
    EXPECT_EQ(Compare(desktop.get(), ab.get(), ab2.get()), 0);
    EXPECT_EQ(Compare(desktop.get(), a.get(), ab.get()), -1);
    EXPECT_EQ(Compare(desktop.get(), ab.get(), a.get()), 1);
    EXPECT_EQ(Compare(desktop.get(), empty.get(), a.get()), -1);
    EXPECT_EQ(Compare(desktop.get(), empty.get(), empty.get()), 0);
    EXPECT_EQ(desktop->CompareIDs(0, nullptr, a.get()), E_INVALIDARG);
}

TEST(CompareIDs, ItemsOfAnotherFolderKindAreRefused) {
    TempDir dir;
    WriteFileBytes(dir / "f", "x");
    const auto folder = BindPath(dir.Path());
    const auto file = Child(folder.get(), "f", AllItems);
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    const PidlPtr owned(computer);
    EXPECT_EQ(folder->CompareIDs(0, file.get(), owned.get()), E_INVALIDARG);
}

} // namespace
} // namespace quarn::test
