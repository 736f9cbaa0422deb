// One order: a folder's items sorted by their keys, collated once per item, stand as
// CompareIDs compares them one pair at a time.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"
#include "namespace/FolderOrder.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarn::test {
namespace {

// Every pair of the sorted items, in both directions: the earlier one comes first by
// CompareIDs too, the names being all different.
void ExpectCompareIDsAgrees(IShellFolder* folder, const std::vector<PidlPtr>& items, int column) {
    std::vector<LPCITEMIDLIST> lists;
    for (const auto& item : items) {
        lists.push_back(item.get());
    }
    const std::vector<int> order = SortedItemOrder(folder, lists, column);
    ASSERT_EQ(order.size(), items.size());
    for (std::size_t a = 0; a < order.size(); ++a) {
        for (std::size_t b = a + 1; b < order.size(); ++b) {
            LPCITEMIDLIST first = lists[order[a]];
            LPCITEMIDLIST second = lists[order[b]];
            EXPECT_EQ(LowWordSigned(folder->CompareIDs(column, first, second)), -1)
                << "column " << column << ": " << DisplayName(folder, first, 0) << " / "
                << DisplayName(folder, second, 0);
            EXPECT_EQ(LowWordSigned(folder->CompareIDs(column, second, first)), 1);
        }
    }
}

TEST(ItemOrder, ASortedFolderStandsAsCompareIDsComparesInEveryColumn) {
    TempDir dir;
    const std::vector<std::string> names = {
        "b",     "B",      "a10",   "a2",      "A1",      "e\xcc\x81",  "\xc3\xa9",
        "z.txt", "Z.TXT",  "x.bin", "raw\xff", "raw\xfe", "file 9.txt", "file 10.txt",
        ".hid",  "no ext", "α.doc", "ǅ.txt",   "d.ZIP",   "d.zip"};
    const timespec modified[] = {
        {1'600'000'000, 0}, {1'599'999'000, 0}, {1'600'000'000, 7}, {10'413'792'000, 0}, {-5, 3}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        WriteFileBytes(dir / names[i], std::string(i % 4 * 700, 'x'));
        const timespec times[2] = {modified[i % 5], modified[i % 5]};
        utimensat(AT_FDCWD, (dir / names[i]).c_str(), times, 0);
    }
    std::filesystem::create_directory(dir / "folder b");
    std::filesystem::create_directory(dir / "Folder a");
    std::filesystem::create_directory_symlink("folder b", dir.Path() / "link to folder");
    const auto folder = BindPath(dir.Path());
    const auto items = Enumerate(folder.get(), AllItems);
    ASSERT_EQ(items.size(), names.size() + 3);
    for (int column = 0; column < 4; ++column) {
        ExpectCompareIDsAgrees(folder.get(), items, column);
    }
}

TEST(ItemOrder, VolumesAndRootsStandAsCompareIDsComparesThem) {
    for (const int csidl : {CSIDL_DESKTOP, CSIDL_DRIVES}) {
        LPITEMIDLIST raw = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &raw), S_OK);
        const PidlPtr list(raw);
        const auto folder = BindFolder(list.get());
        const auto items = Enumerate(folder.get(), AllItems);
        ASSERT_GE(items.size(), 1u);
        ExpectCompareIDsAgrees(folder.get(), items, 0);
    }
}

TEST(ItemOrder, CaptionsGoByTheirBytesAndEqualOnesKeepTheirPlaces) {
    const std::vector<std::string> captions = {"b", "\xff", "B", "a", "b", "a10", "a2"};
    std::vector<ItemOrderKey> keys;
    for (const std::string& caption : captions) {
        keys.push_back(ItemOrderKey::OfCaption(caption));
    }
    EXPECT_EQ(SortedKeyOrder(keys), (std::vector<int>{2, 3, 5, 6, 0, 4, 1}));
    EXPECT_EQ(SortedKeyOrder(keys, true), (std::vector<int>{1, 0, 4, 6, 5, 3, 2}));
    EXPECT_EQ(keys[0].Compare(keys[4]), 0);
}

} // namespace
} // namespace quarn::test
