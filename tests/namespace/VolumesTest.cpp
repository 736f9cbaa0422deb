// Volumes from the mount table and Computer's listing of them.
#include "NamespaceTestSupport.h"
#include "ScopedEnvironment.h"
#include "TestFiles.h"
#include "namespace/ItemCodec.h"
#include "namespace/MountTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

std::string Line(const std::string& mountPoint, const std::string& fileSystem,
                 const std::string& source) {
    return "30 1 0:99 / " + mountPoint + " rw,relatime shared:1 - " + fileSystem + " " + source +
           " rw\n";
}

const std::string FakeTable =
    Line("/", "ext4", "/dev/sda2") + Line("/proc", "proc", "proc") +
    Line("/sys", "sysfs", "sysfs") + Line("/dev/shm", "tmpfs", "tmpfs") +
    Line("/run/user/1000", "tmpfs", "tmpfs") + Line("/home", "ext4", "/dev/sda3") +
    Line("/tmp", "tmpfs", "tmpfs") + Line("/mnt/nfs", "nfs4", "server:/export") +
    Line("/mnt/share", "cifs", "//server/share") + Line("/mnt/sshfs", "fuse.sshfs", "me@host:") +
    Line("/media/me/STICK", "vfat", "/dev/sdb1") +
    Line("/run/media/me/DISK", "exfat", "/dev/sdc1") + Line("/mnt/cd", "iso9660", "/dev/sr0") +
    Line("/mnt/with\\040space", "ext4", "/dev/sdd1") + Line("/mnt/twice", "ext4", "/dev/sde1") +
    Line("/mnt/twice", "xfs", "/dev/sdf1") + Line("/sys/fs/cgroup", "cgroup2", "cgroup2") +
    "garbage line\n";

TEST(MountInfo, VolumesAndTheirDriveTypes) {
    std::vector<std::pair<std::string, DriveType>> volumes;
    for (const auto& volume : ParseMountInfo(FakeTable)) {
        volumes.emplace_back(volume.mountPoint, volume.driveType);
    }
    EXPECT_EQ(volumes, (std::vector<std::pair<std::string, DriveType>>{
                           {"/", DriveType::Fixed},
                           {"/home", DriveType::Fixed},
                           {"/tmp", DriveType::RamDisk},
                           {"/mnt/nfs", DriveType::Remote},
                           {"/mnt/share", DriveType::Remote},
                           {"/mnt/sshfs", DriveType::Remote},
                           {"/media/me/STICK", DriveType::Removable},
                           {"/run/media/me/DISK", DriveType::Removable},
                           {"/mnt/cd", DriveType::CdRom},
                           {"/mnt/with space", DriveType::Fixed},
                           {"/mnt/twice", DriveType::Fixed},
                       }));
}

TEST(MountInfo, TheRootIsAlwaysThereAndFirst) {
    const auto volumes = ParseMountInfo(Line("/data", "ext4", "/dev/sdz1"));
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_EQ(ParseMountInfo("").size(), 1u);
    EXPECT_EQ(ParseMountInfo(Line("/proc", "proc", "proc") + Line("/", "overlay", "overlay"))
                  .front()
                  .mountPoint,
              "/");
}

class FakeMountTable : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "mountinfo", FakeTable + Line(dir / "volume", "ext4", "/dev/sdx1"));
        MountTable::Reload();
    }
    void TearDown() override {
        environment.reset();
        MountTable::Reload();
    }

    TempDir dir;
    std::optional<ScopedEnvironment> environment{std::in_place, "QUARN_MOUNTINFO",
                                                 dir / "mountinfo"};
};

TEST_F(FakeMountTable, ComputerListsTheVolumesWithoutTouchingThem) {
    LPITEMIDLIST raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
    const PidlPtr list(raw);
    const auto folder = BindFolder(list.get());
    const auto items = Enumerate(folder.get(), AllItems);
    // The network mounts do not exist here: listing never looks at them.
    EXPECT_THAT(DisplayNames(folder.get(), items, SHGDN_FORPARSING),
                ::testing::ElementsAre("/", "/home", "/tmp", "/mnt/nfs", "/mnt/share", "/mnt/sshfs",
                                       "/media/me/STICK", "/run/media/me/DISK", "/mnt/cd",
                                       "/mnt/with space", "/mnt/twice", dir / "volume"));
    EXPECT_EQ(DisplayName(folder.get(), items[0].get(), SHGDN_NORMAL), "File System");
    EXPECT_EQ(DisplayName(folder.get(), items[6].get(), SHGDN_NORMAL), "STICK");
    EXPECT_EQ(Attributes(folder.get(), items[6].get()) & SFGAO_REMOVABLE, SFGAO_REMOVABLE);
    EXPECT_EQ(Attributes(folder.get(), items[1].get()) & SFGAO_REMOVABLE, 0u);
    EXPECT_EQ(Enumerate(folder.get(), SHCONTF_NONFOLDERS).size(), 0u);
}

TEST_F(FakeMountTable, PathsParseBelowTheVolumeWithTheLongestMountPoint) {
    std::filesystem::create_directories(dir / "volume/inner");
    const auto levels = Levels(Parse(dir / "volume/inner").get());
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[1], EncodeItem(VolumeItem{DriveType::Fixed, dir / "volume"}));
    EXPECT_EQ(GetDriveType("/mnt/nfs/some/file"), DriveType::Remote);
    EXPECT_EQ(GetDriveType("/tmp"), DriveType::RamDisk);
    EXPECT_EQ(GetDriveType("/mnt/nfsother"), DriveType::Fixed);
    EXPECT_EQ(GetDriveType("relative"), DriveType::NoRootDir);
}

TEST_F(FakeMountTable, ValidatingComputerReadsTheTableAgain) {
    LPITEMIDLIST raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
    const PidlPtr list(raw);
    const auto folder = BindFolder(list.get());
    WriteFileBytes(dir / "mountinfo",
                   Line("/", "ext4", "/dev/sda2") + Line("/new", "ext4", "/dev/sdq1"));
    EXPECT_EQ(Enumerate(folder.get(), AllItems).size(), 12u);
    SFGAOF validate = SFGAO_VALIDATE;
    EXPECT_EQ(folder->GetAttributesOf(0, nullptr, &validate), S_OK);
    EXPECT_THAT(DisplayNames(folder.get(), Enumerate(folder.get(), AllItems), SHGDN_FORPARSING),
                ::testing::ElementsAre("/", "/new"));
}

} // namespace
} // namespace quarn::test
