// Order keys made once per item sort exactly as CompareIDs compares.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"
#include "namespace/ItemOrderKey.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarn::test {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(ItemOrderKey, EveryPairComparesAsCompareIDsInEveryColumn) {
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
        std::vector<Item> decoded;
        std::vector<ItemOrderKey> keys;
        for (const auto& item : items) {
            decoded.push_back(*DecodeItem(FirstItem(item.get())));
        }
        for (const auto& item : decoded) {
            keys.emplace_back(item, column);
        }
        for (std::size_t a = 0; a < items.size(); ++a) {
            for (std::size_t b = 0; b < items.size(); ++b) {
                const HRESULT hr = folder->CompareIDs(column, items[a].get(), items[b].get());
                ASSERT_TRUE(Succeeded(hr));
                EXPECT_EQ(Sign(keys[a].Compare(keys[b])), Sign(LowWordSigned(hr)))
                    << "column " << column << ": " << DisplayName(folder.get(), items[a].get(), 0)
                    << " / " << DisplayName(folder.get(), items[b].get(), 0);
            }
        }
    }
}

TEST(ItemOrderKey, VolumesAndRootsCompareAsCompareIDs) {
    for (const int csidl : {CSIDL_DESKTOP, CSIDL_DRIVES}) {
        LPITEMIDLIST raw = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &raw), S_OK);
        const PidlPtr list(raw);
        const auto folder = BindFolder(list.get());
        const auto items = Enumerate(folder.get(), AllItems);
        ASSERT_GE(items.size(), 1u);
        std::vector<ItemOrderKey> keys;
        std::vector<Item> decoded;
        for (const auto& item : items) {
            decoded.push_back(*DecodeItem(FirstItem(item.get())));
        }
        for (const auto& item : decoded) {
            keys.emplace_back(item, 0);
        }
        for (std::size_t a = 0; a < items.size(); ++a) {
            for (std::size_t b = 0; b < items.size(); ++b) {
                const HRESULT hr = folder->CompareIDs(0, items[a].get(), items[b].get());
                EXPECT_EQ(Sign(keys[a].Compare(keys[b])), Sign(LowWordSigned(hr)));
            }
        }
    }
}

} // namespace
} // namespace quarn::test
