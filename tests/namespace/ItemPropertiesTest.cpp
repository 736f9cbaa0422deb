// What the properties window is given for a file, a folder and a link.
#include "namespace/ItemProperties.h"

#include "TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

TEST(ItemProperties, FileFolderAndLink) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", std::string(1234, 'n'));
    ASSERT_EQ(::chmod((dir / "notes.txt").c_str(), 0640), 0);
    std::filesystem::create_directories(dir / "folder/inner");
    WriteFileBytes(dir / "folder/file", "f");
    ASSERT_EQ(::symlink("folder", (dir / "link").c_str()), 0);

    const auto file = ReadItemProperties(dir / "notes.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->name, "notes.txt");
    EXPECT_EQ(file->location, dir.Path().string());
    EXPECT_EQ(file->kind, "plain text document");
    EXPECT_FALSE(file->folder);
    EXPECT_EQ(file->size, 1234u);
    EXPECT_EQ(file->mode & 07777, 0640u);
    EXPECT_GT(file->modified.seconds, 0);
    EXPECT_FALSE(file->owner.empty());

    const auto folder = ReadItemProperties(dir / "folder");
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->folder);
    EXPECT_EQ(folder->entries, 2u);
    EXPECT_EQ(folder->kind, "folder");

    const auto link = ReadItemProperties(dir / "link");
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->folder);
    EXPECT_TRUE(S_ISLNK(link->mode));

    EXPECT_FALSE(ReadItemProperties(dir / "missing"));
}

} // namespace
} // namespace quarn::test
