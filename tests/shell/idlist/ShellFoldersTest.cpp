// Paths, special folders and names through the shell routines.
#include "shell/idlist/ShellFolders.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellNames.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

std::string Home() {
    return std::getenv("HOME");
}

TEST(PathToPidl, LongPathsAreOrdinaryAndTooLongOnesFail) {
    TempDir dir;
    std::string path = dir.Path().string();
    while (path.size() < 300) {
        path += "/" + std::string(40, 'l');
        std::filesystem::create_directory(path);
    }
    const auto list = ParsePath(path);
    EXPECT_EQ(PidlToPath(list.get()), path);
    EXPECT_GT(PidlSize(list.get()), 2u);

    LPITEMIDLIST tooLong = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_TRUE(Failed(PathToPidl("/" + std::string(PATH_MAX + 10, 'x'), tooLong)));
    EXPECT_EQ(tooLong, nullptr);
    LPITEMIDLIST empty = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_TRUE(Failed(PathToPidl("", empty)));
    EXPECT_EQ(empty, nullptr);
}

TEST(PidlFolder, TheDesktopForEmptyListsElseTheBoundFolder) {
    ComPtr<IShellFolder> folder;
    EXPECT_EQ(GetPidlFolder(nullptr, folder), S_OK);
    EXPECT_TRUE(folder);
    const auto home = SpecialFolder(CSIDL_PROFILE);
    EXPECT_EQ(GetPidlFolder(home.get(), folder), S_OK);
    EXPECT_EQ(GetPidlDisplayName(folder.get(), MakeList({}).get(), 2), "");
    const auto foreign = MakeList({"??"});
    EXPECT_TRUE(Failed(GetPidlFolder(foreign.get(), folder)));
    EXPECT_FALSE(folder);
}

TEST(SpecialFolderRoutines, NumbersOfListsAndPaths) {
    std::filesystem::create_directories(Home() + "/Documents");
    EXPECT_EQ(GetPidlCsidl(SpecialFolder(CSIDL_BITBUCKET).get()), CSIDL_BITBUCKET);
    EXPECT_EQ(GetPidlCsidl(SpecialFolder(CSIDL_DRIVES).get()), CSIDL_DRIVES);
    EXPECT_EQ(GetPidlCsidl(MakeList({}).get()), CSIDL_DESKTOP);
    EXPECT_EQ(GetPidlCsidl(ParsePath(Home() + "/Documents").get()), CSIDL_PERSONAL);
    TempDir elsewhere;
    EXPECT_EQ(GetPidlCsidl(ParsePath(elsewhere.Path()).get()), CSIDL_NONE);

    EXPECT_TRUE(PidlIsSpecialFolder(SpecialFolder(CSIDL_DRIVES).get(), CSIDL_DRIVES));
    EXPECT_FALSE(PidlIsSpecialFolder(SpecialFolder(CSIDL_DRIVES).get(), CSIDL_BITBUCKET));
    EXPECT_THROW(PidlIsSpecialFolder(nullptr, 3), EOleSysError);

    // The list's number is masked to its low bits, the path's is not.
    EXPECT_EQ(GetPidlCsidl(SpecialFolder(0x80 | CSIDL_DRIVES).get()), CSIDL_DRIVES);
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_PROFILE), Home());
    EXPECT_EQ(GetSpecialFolderPath(nullptr, 0x8000 | CSIDL_PROFILE), "");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_DRIVES), "");
}

TEST(DisplayNameRoutines, KindsAndAbsoluteNames) {
    TempDir dir;
    const std::string name = "a::b \xff.txt";
    WriteFileBytes(dir / name, "x");
    const auto file = ParsePath(dir / name);
    EXPECT_EQ(GetPidlDisplayName(nullptr, file.get(), 0), name);
    EXPECT_EQ(GetPidlDisplayName(nullptr, file.get(), 2), dir / name);
    EXPECT_EQ(GetPidlDisplayName(nullptr, file.get(), 3), name);
    EXPECT_EQ(GetPidlDisplayName(nullptr, file.get(), 9), "");
    EXPECT_EQ(GetAbsolutePidlName(file.get()), name);
    EXPECT_EQ(GetAbsolutePidlName(SpecialFolder(CSIDL_DRIVES).get()), "Computer");
    EXPECT_EQ(GetAbsolutePidlName(MakeList({}).get()), "Desktop");
    EXPECT_EQ(GetPidlDisplayName(nullptr, MakeList({"??"}).get(), 0), "");
    EXPECT_THROW(GetAbsolutePidlName(MakeList({"??", "??"}).get()), EOleSysError);
}

} // namespace
} // namespace quarn::test
