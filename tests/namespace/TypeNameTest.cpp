// Type and icon names.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"
#include "ZotFileType.h"
#include "namespace/ItemInfo.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

SHFILEINFO Info(const std::string& path, std::uint32_t flags) {
    SHFILEINFO info;
    EXPECT_TRUE(SHGetFileInfo(Parse(path).get(), flags | SHGFI_PIDL, &info)) << path;
    return info;
}

SHFILEINFO Info(int csidl, std::uint32_t flags) {
    LPITEMIDLIST raw = nullptr;
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &raw), S_OK);
    const PidlPtr list(raw);
    SHFILEINFO info;
    EXPECT_TRUE(SHGetFileInfo(list.get(), flags, &info));
    return info;
}

TEST(TypeNames, RegisteredTypeFirstThenTheMimeComment) {
    TempDir dir;
    for (const std::string name :
         {"secret.zot!", "SHOUT.ZOT!", "notes.txt", "ARCHIVE.ZIP", "noext"}) {
        WriteFileBytes(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "folder.zot!");
    EXPECT_EQ(Info(dir / "secret.zot!", SHGFI_TYPENAME).typeName, FileTypeName("x.zot!", false));
    RegisterZot();
    const std::pair<std::string, std::string> cases[] = {
        {"secret.zot!", "Quarn! Encrypted File"},
        {"SHOUT.ZOT!", "Quarn! Encrypted File"},
        {"notes.txt", "plain text document"},
        {"ARCHIVE.ZIP", "Zip archive"},
        {"noext", "unknown"},
        {"folder.zot!", "folder"},
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(Info(dir / name, SHGFI_TYPENAME).typeName, type) << name;
    }
}

TEST(TypeNames, VirtualFoldersAndVolumes) {
    EXPECT_EQ(Info(CSIDL_DRIVES, SHGFI_TYPENAME).typeName, "System Folder");
    EXPECT_EQ(Info(CSIDL_BITBUCKET, SHGFI_TYPENAME).typeName, "System Folder");
    EXPECT_EQ(Info(CSIDL_PROFILE, SHGFI_TYPENAME).typeName, "folder");
    EXPECT_EQ(ItemTypeName(VolumeItem{DriveType::Removable, "/media/x"}), "Removable Disk");
    EXPECT_EQ(ItemTypeName(VolumeItem{DriveType::Remote, "/mnt/x"}), "Network Drive");
}

TEST(IconNames, FixedNamesForPlacesThemeNamesForFiles) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", "x");
    EXPECT_EQ(Info(CSIDL_DESKTOP, SHGFI_SYSICONINDEX).iconName, "user-desktop");
    EXPECT_EQ(Info(CSIDL_PROFILE, SHGFI_SYSICONINDEX).iconName, "user-home");
    EXPECT_EQ(Info(CSIDL_DRIVES, SHGFI_SYSICONINDEX).iconName, "computer");
    EXPECT_EQ(Info(CSIDL_BITBUCKET, SHGFI_SYSICONINDEX).iconName, "user-trash");
    EXPECT_EQ(Info(dir.Path(), SHGFI_SYSICONINDEX).iconName, "folder");
    EXPECT_EQ(Info(dir.Path(), SHGFI_SYSICONINDEX | SHGFI_OPENICON).iconName, "folder-open");
    EXPECT_EQ(Info(dir / "notes.txt", SHGFI_SYSICONINDEX).iconName, "text-plain");
    EXPECT_EQ(ItemIconName(VolumeItem{DriveType::Fixed, "/"}, false), "drive-harddisk");
    EXPECT_EQ(ItemIconName(VolumeItem{DriveType::Removable, "/media/x"}, false),
              "drive-removable-media");
}

TEST(FileInfo, DisplayNameAndAttributesOfAPath) {
    TempDir dir;
    WriteFileBytes(dir / "a::b.txt", "x");
    const auto info = Info(dir / "a::b.txt", SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES);
    EXPECT_EQ(info.displayName, "a::b.txt");
    EXPECT_EQ(info.attributes & (SFGAO_FILESYSTEM | SFGAO_FOLDER), SFGAO_FILESYSTEM);
    SHFILEINFO none;
    EXPECT_FALSE(SHGetFileInfo(nullptr, SHGFI_DISPLAYNAME, &none));
}

} // namespace
} // namespace quarn::test
