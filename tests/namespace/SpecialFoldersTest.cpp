// The special-folder table.
#include "NamespaceTestSupport.h"
#include "TestFiles.h"
#include "namespace/ItemCodec.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

std::string Env(const char* name) {
    return std::getenv(name);
}

HRESULT Locate(int csidl, PidlPtr& list) {
    LPITEMIDLIST raw = reinterpret_cast<LPITEMIDLIST>(1);
    const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &raw);
    list.reset(raw);
    return hr;
}

class SpecialFolders : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Env("HOME") + "/Documents");
        std::filesystem::create_directories(Env("HOME") + "/Desktop");
    }
    void TearDown() override {
        std::filesystem::remove(Env("XDG_CONFIG_HOME") + "/user-dirs.dirs");
    }
};

TEST_F(SpecialFolders, EachNumberHasItsFolder) {
    const std::pair<int, std::string> paths[] = {
        {CSIDL_DESKTOP, ""},
        {CSIDL_PERSONAL, Env("HOME") + "/Documents"},
        {CSIDL_SENDTO, Env("XDG_DATA_HOME") + "/Ostrel/Quarn!/SendTo"},
        {CSIDL_BITBUCKET, ""},
        {CSIDL_DESKTOPDIRECTORY, Env("HOME") + "/Desktop"},
        {CSIDL_DRIVES, ""},
        {CSIDL_PROFILE, Env("HOME")},
    };
    for (const auto& [csidl, path] : paths) {
        PidlPtr list;
        ASSERT_EQ(Locate(csidl, list), S_OK) << csidl;
        EXPECT_EQ(SHGetPathFromIDList(list.get()), path) << csidl;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Env("XDG_DATA_HOME") + "/Ostrel/Quarn!/SendTo"));
}

TEST_F(SpecialFolders, VirtualFoldersAreTheDesktopsChildren) {
    const std::pair<int, std::vector<std::string>> levels[] = {
        {CSIDL_DESKTOP, {}},
        {CSIDL_BITBUCKET, {EncodeItem(RootItem{RootKind::Trash})}},
        {CSIDL_DRIVES, {EncodeItem(RootItem{RootKind::Computer})}},
        {CSIDL_PROFILE, {EncodeItem(RootItem{RootKind::Home})}},
    };
    for (const auto& [csidl, expected] : levels) {
        PidlPtr list;
        ASSERT_EQ(Locate(csidl, list), S_OK);
        EXPECT_EQ(Levels(list.get()), expected) << csidl;
    }
}

TEST_F(SpecialFolders, UserDirsFileNamesTheDocumentsAndDesktopFolders) {
    std::filesystem::create_directories(Env("HOME") + "/Papers");
    WriteFileBytes(Env("XDG_CONFIG_HOME") + "/user-dirs.dirs",
                   "# written by xdg-user-dirs-update\n"
                   "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n"
                   "XDG_DESKTOP_DIR=\"" +
                       Env("HOME") + "\"\n");
    PidlPtr documents;
    PidlPtr desktop;
    ASSERT_EQ(Locate(CSIDL_PERSONAL, documents), S_OK);
    ASSERT_EQ(Locate(CSIDL_DESKTOPDIRECTORY, desktop), S_OK);
    EXPECT_EQ(SHGetPathFromIDList(documents.get()), Env("HOME") + "/Papers");
    EXPECT_EQ(SHGetPathFromIDList(desktop.get()), Env("HOME"));
}

TEST_F(SpecialFolders, UnknownNumbersAndMissingFoldersFail) {
    for (int csidl : {1, 2, 3, 18, 20, 26, 35, 49, 50, 0x8005}) {
        PidlPtr list;
        EXPECT_EQ(Locate(csidl, list), E_INVALIDARG) << csidl;
        EXPECT_FALSE(list);
    }
    std::filesystem::remove_all(Env("HOME") + "/Documents");
    PidlPtr list;
    EXPECT_EQ(Locate(CSIDL_PERSONAL, list), HResultFromErrno(ENOENT));
    EXPECT_FALSE(list);
}

} // namespace
} // namespace quarn::test
