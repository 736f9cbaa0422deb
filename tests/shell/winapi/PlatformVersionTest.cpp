// The platform's version answers.
#include "shell/winapi/PlatformVersion.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

TEST(PlatformAnswers, FixedAndOverridable) {
    std::uint64_t version = 0;
    EXPECT_TRUE(IsWindowsNT());
    EXPECT_TRUE(GetDllFileVersion("COMCTL32.DLL", version));
    EXPECT_EQ(version >> 32, 0x00060000u);
    const PlatformVersion saved = GetPlatformVersion();
    SetPlatformVersion({false, std::uint64_t{0x00040046} << 32});
    EXPECT_FALSE(IsWindowsNT());
    EXPECT_TRUE(GetDllFileVersion("comctl32.dll", version));
    EXPECT_EQ(version >> 32, 0x00040046u);
    SetPlatformVersion(saved);
    EXPECT_FALSE(GetDllFileVersion("/nonexistent/library.so", version));
}

} // namespace
} // namespace quarn::test
