// The system image list over the namespace's icon names.
#include "shell/common/SystemImageList.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/winapi/PlatformVersion.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

TEST(SystemImageList, IndexesStartAtOneAndRepeatForOneName) {
    TempDir dir;
    WriteFileBytes(dir / "a.txt", "x");
    WriteFileBytes(dir / "b.txt", "x");
    const int a = GetPidlIconIndex(ParsePath(dir / "a.txt").get(), 0);
    const int b = GetPidlIconIndex(ParsePath(dir / "b.txt").get(), SHGFI_SMALLICON);
    EXPECT_GT(a, 0);
    EXPECT_EQ(a, b);
    const int folder = GetPidlIconIndex(ParsePath(dir.Path()).get(), 0);
    const int open = GetPidlIconIndex(ParsePath(dir.Path()).get(), SHGFI_OPENICON);
    EXPECT_GT(folder, 0);
    EXPECT_NE(folder, open);
    EXPECT_NE(folder, a);
    EXPECT_GT(GetPidlIconIndex(nullptr, 0), 0); // the desktop
    EXPECT_EQ(GetPidlIconIndex(MakeList({"??"}).get(), 0), 0);
}

TEST(SystemImageList, SmallAndLargeShareIndexesAndDrawEveryIcon) {
    TSystemImageList* small = GetSystemImageList(TSystemImageList::Small);
    TSystemImageList* large = GetSystemImageList(TSystemImageList::Large);
    EXPECT_EQ(small->ImageSize(), QSize(16, 16));
    EXPECT_EQ(large->ImageSize(), QSize(32, 32));
    const int computer = GetPidlIconIndex(SpecialFolder(CSIDL_DRIVES).get(), 0);
    EXPECT_FALSE(small->Icon(computer).isNull());
    EXPECT_FALSE(large->Pixmap(computer).isNull());
    EXPECT_TRUE(small->Icon(0).isNull());
    EXPECT_EQ(small->Count(), large->Count());
}

TEST(SystemImageList, OverlaysComeWithTheFixedVersion) {
    const PlatformVersion saved = GetPlatformVersion();
    if (!SystemImageListOverlaysInstalled()) {
        SetPlatformVersion({true, std::uint64_t{0x00040046} << 32}); // 4.70
        GetSystemImageList(TSystemImageList::Small);
        EXPECT_FALSE(SystemImageListOverlaysInstalled());
        SetPlatformVersion(saved);
    }
    TSystemImageList* list = GetSystemImageList(TSystemImageList::Small);
    EXPECT_TRUE(SystemImageListOverlaysInstalled());
    EXPECT_GT(list->OverlayImage(1), 0);
    EXPECT_GT(list->OverlayImage(2), 0);
    EXPECT_NE(list->OverlayImage(1), list->OverlayImage(2));
    EXPECT_EQ(list->OverlayImage(3), 0);
}

} // namespace
} // namespace quarn::test
