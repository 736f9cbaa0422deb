// Display names of the four kinds, for items of the desktop, Computer, a file-system folder
// and Trash.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

constexpr SHGDNF Kinds[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING,
                            SHGDN_INFOLDER | SHGDN_FOREDITING};

struct NameCase {
    std::string item;
    std::string names[4]; // in the order of Kinds
};

ComPtr<IShellFolder> Special(int csidl) {
    LPITEMIDLIST raw = nullptr;
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &raw), S_OK);
    const PidlPtr list(raw);
    return BindFolder(list.get());
}

void ExpectNames(IShellFolder* folder, SHCONTF flags, const std::vector<NameCase>& cases) {
    for (const auto& c : cases) {
        const auto item = Child(folder, c.item, flags);
        for (std::size_t kind = 0; kind < 4; ++kind) {
            EXPECT_EQ(DisplayName(folder, item.get(), Kinds[kind]), c.names[kind])
                << c.item << " kind " << Kinds[kind];
        }
    }
}

TEST(DisplayNames, OfTheDesktopsChildren) {
    const std::string home = std::getenv("HOME");
    ExpectNames(Desktop().get(), AllItems,
                {{"Home", {"Home", "Home", home, "Home"}},
                 {"Computer", {"Computer", "Computer", "::Computer", "Computer"}},
                 {"Trash", {"Trash", "Trash", "::Trash", "Trash"}}});
    const PidlPtr empty(AllocateList({}));
    EXPECT_EQ(DisplayName(Desktop().get(), empty.get(), SHGDN_NORMAL), "Desktop");
    EXPECT_EQ(DisplayName(Desktop().get(), empty.get(), SHGDN_FORPARSING), "::Desktop");
}

TEST(DisplayNames, OfVolumes) {
    ExpectNames(Special(CSIDL_DRIVES).get(), AllItems,
                {{"File System", {"File System", "File System", "/", "File System"}}});
}

TEST(DisplayNames, OfFileSystemEntriesAreTheirRawBytes) {
    TempDir dir;
    const std::string raw = "r\xe9sum\xe9.txt"; // Latin-1, not UTF-8
    for (const std::string& name : {raw, std::string("a::b.txt"), std::string(".hidden.tar.gz")}) {
        WriteFileBytes(dir / name, "x");
    }
    ExpectNames(BindPath(dir.Path()).get(), AllItems,
                {{raw, {raw, raw, dir / raw, raw}},
                 {"a::b.txt", {"a::b.txt", "a::b.txt", dir / "a::b.txt", "a::b.txt"}},
                 {".hidden.tar.gz",
                  {".hidden.tar.gz", ".hidden.tar.gz", dir / ".hidden.tar.gz", ".hidden.tar.gz"}}});
    const auto folder = BindPath(dir.Path());
    const auto item = Child(folder.get(), "a::b.txt", AllItems);
    EXPECT_EQ(DisplayName(folder.get(), item.get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "a::b.txt");
}

TEST(DisplayNames, OfTrashedEntries) {
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
    std::filesystem::create_directories(trash + "/files/old folder");
    std::filesystem::create_directories(trash + "/info");
    WriteFileBytes(trash + "/files/report.2.txt", "x");
    WriteFileBytes(
        trash + "/info/report.2.txt.trashinfo",
        "[Trash Info]\nPath=/home/me/my%20report.txt\nDeletionDate=2026-01-02T03:04:05\n");
    const auto folder = Special(CSIDL_BITBUCKET);
    ExpectNames(folder.get(), AllItems,
                {{"my report.txt",
                  {"my report.txt", "my report.txt", "::Trash/report.2.txt", "my report.txt"}},
                 {"old folder", {"old folder", "old folder", "::Trash/old folder", "old folder"}}});
    const auto item = Child(folder.get(), "my report.txt", AllItems);
    EXPECT_EQ(Attributes(folder.get(), item.get()) & (SFGAO_FILESYSTEM | SFGAO_FOLDER), 0u);
    std::filesystem::remove_all(trash);
    EXPECT_TRUE(Enumerate(folder.get(), AllItems).empty());
}

} // namespace
} // namespace quarn::test
