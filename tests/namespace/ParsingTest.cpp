// Paths to item-ID lists and back.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"
#include "namespace/ItemCodec.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

std::string Home() {
    return std::getenv("HOME");
}

std::string_view Tag(const std::string& item) {
    return std::string_view(item).substr(2, 1);
}

// A folder chain below base whose path is at least length bytes long.
std::string DeepFolder(const std::string& base, std::size_t length) {
    std::string path = base;
    while (path.size() < length) {
        path += "/" + std::string(60, 'd');
        std::filesystem::create_directory(path);
    }
    return path;
}

class Parsing : public ::testing::Test {
protected:
    TempDir outside; // below the test root, beside HOME
    const std::string inside = Home() + "/parse-test";
    void SetUp() override { std::filesystem::create_directories(inside); }
    void TearDown() override { std::filesystem::remove_all(inside); }
};

TEST_F(Parsing, PathsRoundTripThroughTheirLists) {
    const std::string deep = DeepFolder(inside, 300);
    const std::string deepOutside = DeepFolder(outside.Path(), 300);
    const std::string cases[] = {
        inside,
        inside + "/a::b.txt",
        inside + "/raw-\xff.bin",
        inside + "/star*?.txt",
        deep + "/file in a 300-byte path.txt",
        outside / "plain.txt",
        deepOutside + "/x",
    };
    for (const auto& path : cases) {
        if (path != inside && !std::filesystem::is_directory(path)) {
            WriteFileBytes(path, "x");
        }
        const PidlPtr list = Parse(path);
        ASSERT_TRUE(list) << path;
        EXPECT_EQ(SHGetPathFromIDList(list.get()), path);
        EXPECT_EQ(DisplayName(Desktop().get(), list.get(), SHGDN_FORPARSING), path);
    }
    EXPECT_GE(deep.size(), 300u);
}

TEST_F(Parsing, PathsBelowHomeStartWithHomeOthersWithComputerAndAVolume) {
    WriteFileBytes(inside + "/f", "x");
    const auto home = Levels(Parse(inside + "/f").get());
    ASSERT_EQ(home.size(), 3u);
    EXPECT_EQ(home[0], EncodeItem(RootItem{RootKind::Home}));

    WriteFileBytes(outside / "f", "x");
    const auto other = Levels(Parse(outside / "f").get());
    ASSERT_GE(other.size(), 3u);
    EXPECT_EQ(other[0], EncodeItem(RootItem{RootKind::Computer}));
    EXPECT_EQ(Tag(other[1]), "V");
    EXPECT_EQ(Tag(other.back()), "E");

    EXPECT_EQ(Levels(Parse(Home()).get()), std::vector{EncodeItem(RootItem{RootKind::Home})});
    EXPECT_EQ(Levels(Parse("/").get()).size(), 2u);
}

TEST_F(Parsing, SpellingsOfOnePathGiveOneList) {
    std::filesystem::create_directories(inside + "/a/b");
    const PidlPtr plain = Parse(inside + "/a/b");
    for (const std::string& spelling :
         {inside + "/a/b/", inside + "//a/./b", inside + "/a/c/../b", inside + "/a/b/."}) {
        EXPECT_EQ(Levels(Parse(spelling).get()), Levels(plain.get())) << spelling;
    }
}

TEST_F(Parsing, BadPathsFailWithoutAList) {
    WriteFileBytes(inside + "/file", "x");
    const std::string tooLong = "/" + std::string(PATH_MAX, 'x');
    const std::pair<std::string, HRESULT> cases[] = {
        {inside + "/missing", HResultFromErrno(ENOENT)},
        {inside + "/file/below", HResultFromErrno(ENOTDIR)},
        {"relative/path", E_INVALIDARG},
        {"", E_INVALIDARG},
        {tooLong, HResultFromErrno(ENAMETOOLONG)},
        {inside + "/" + std::string(NAME_MAX + 1, 'n'), HResultFromErrno(ENAMETOOLONG)},
        {inside + std::string("/nul\0byte", 9), E_INVALIDARG},
    };
    for (const auto& [path, expected] : cases) {
        PidlPtr list;
        EXPECT_EQ(TryParse(path, list), expected) << path.substr(0, 80);
        EXPECT_FALSE(list);
    }
}

TEST_F(Parsing, AskedAttributesAreThoseOfTheLastItem) {
    WriteFileBytes(inside + "/file", "x");
    LPITEMIDLIST raw = nullptr;
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
    ULONG eaten = 0;
    const std::string path = inside + "/file";
    ASSERT_EQ(Desktop()->ParseDisplayName(nullptr, nullptr, path, &eaten, &raw, &attributes), S_OK);
    const PidlPtr list(raw);
    EXPECT_EQ(attributes, SFGAO_FILESYSTEM);
    EXPECT_EQ(eaten, path.size());
}

TEST_F(Parsing, AFolderParsesNamesBelowItself) {
    std::filesystem::create_directories(inside + "/sub");
    WriteFileBytes(inside + "/sub/inner.txt", "x");
    const auto folder = BindPath(inside);
    LPITEMIDLIST raw = nullptr;
    ASSERT_EQ(folder->ParseDisplayName(nullptr, nullptr, "sub/inner.txt", nullptr, &raw, nullptr),
              S_OK);
    const PidlPtr relative(raw);
    EXPECT_EQ(Levels(relative.get()).size(), 2u);
    EXPECT_EQ(DisplayName(folder.get(), relative.get(), SHGDN_FORPARSING),
              inside + "/sub/inner.txt");
    EXPECT_EQ(folder->ParseDisplayName(nullptr, nullptr, "../x", nullptr, &raw, nullptr),
              E_INVALIDARG);
}

TEST(PathOfList, VirtualAndForeignListsHaveNoPath) {
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    const PidlPtr owned(computer);
    const PidlPtr empty(AllocateList({}));
    const PidlPtr foreign(AllocateList(std::string("\x05\x00xyz", 5)));
    const PidlPtr misplaced(AllocateList(EncodeItem(VolumeItem{DriveType::Fixed, "/"})));
    for (LPCITEMIDLIST list :
         {LPCITEMIDLIST{nullptr}, LPCITEMIDLIST(empty.get()), LPCITEMIDLIST(owned.get()),
          LPCITEMIDLIST(foreign.get()), LPCITEMIDLIST(misplaced.get())}) {
        EXPECT_EQ(SHGetPathFromIDList(list), "");
    }
}

} // namespace
} // namespace quarn::test
