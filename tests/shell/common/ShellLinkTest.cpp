// Symbolic links read as shell links.
#include "shell/common/ShellLink.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/idlist/ShellFolders.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

class ShellLinks : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir / "folder");
        WriteFileBytes(dir / "file.txt", "12345");
        std::filesystem::create_directory_symlink(dir / "folder", dir / "to folder");
        std::filesystem::create_symlink("file.txt", dir / "to file");
        std::filesystem::create_symlink("missing", dir / "dangling");
    }
    TempDir dir;
};

TEST_F(ShellLinks, ALinkToAFolderNamesItAndItsList) {
    TLinkData data;
    data.ResolveMode = 1;
    ASSERT_EQ(ReadShellLink(dir / "to folder", data, true), S_OK);
    const PidlPtr list(data.IdList);
    EXPECT_EQ(data.Path, dir / "folder");
    EXPECT_EQ(data.Valid, LinkDataValid);
    EXPECT_TRUE(data.FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(data.FindData.cFileName, "folder");
    EXPECT_EQ(PidlToPath(list.get()), dir / "folder");
}

TEST_F(ShellLinks, ARelativeLinkToAFileResolvesBesideTheLink) {
    TLinkData data;
    ASSERT_EQ(ReadShellLink(dir / "to file", data, false), S_OK);
    EXPECT_EQ(data.Path, dir / "file.txt");
    EXPECT_EQ(data.IdList, nullptr);
    EXPECT_EQ(data.FindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(data.FindData.nFileSize, 5u);
}

TEST_F(ShellLinks, DanglingLinksAndPlainFilesFailWithoutAPath) {
    TLinkData dangling;
    EXPECT_EQ(ReadShellLink(dir / "dangling", dangling, true), HResultFromErrno(ENOENT));
    EXPECT_EQ(dangling.Path, "");
    EXPECT_EQ(dangling.Valid, 0);
    EXPECT_EQ(dangling.IdList, nullptr);
    TLinkData plain;
    EXPECT_EQ(ReadShellLink(dir / "file.txt", plain, false), HResultFromErrno(EINVAL));
    EXPECT_EQ(plain.Path, "");
}

} // namespace
} // namespace quarn::test
