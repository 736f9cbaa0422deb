// Node data and the split of an absolute list into parent folder and child.
#include "shell/tree/ShellTreeData.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

TEST(ParentFolder, SplitsAListIntoItsFolderAndItsLastItem) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "child");
    const auto child = ParsePath(dir / "child");
    TSCParentFolder split = GetParentFolder(child.get());
    ASSERT_EQ(split.Result, S_OK);
    EXPECT_EQ(PidlToPath(split.ParentPidl.get()), dir.Path().string());
    EXPECT_EQ(GetChildDisplayName(split.Folder.get(), split.ChildPidl.get(), SHGDN_INFOLDER),
              "child");

    const auto home = SpecialFolder(CSIDL_PROFILE);
    split = GetParentFolder(home.get());
    ASSERT_EQ(split.Result, S_OK);
    EXPECT_EQ(split.ParentPidl, nullptr) << "the desktop holds a one-level list";
    EXPECT_EQ(ListText(split.ChildPidl.get()), ListText(home.get()));
    EXPECT_EQ(GetChildDisplayName(split.Folder.get(), split.ChildPidl.get(), SHGDN_NORMAL), "Home");

    split = GetParentFolder(MakeList({}).get());
    EXPECT_TRUE(Failed(split.Result)) << "our desktop is no folder of the file system";
    EXPECT_FALSE(split.Folder);
}

TEST(TreeData, TheDesktopRootAndAChildBelowAFolderRoot) {
    TSCShTreeData desktop(nullptr);
    desktop.Init(nullptr, MakeList({}).get());
    EXPECT_EQ(ListText(desktop.RelativePidl()), ListText(MakeList({}).get()));
    EXPECT_EQ(desktop.GetPath(), "");
    EXPECT_NE(desktop.GetFolder(), nullptr);
    EXPECT_EQ(desktop.GetParentFolder(), nullptr);

    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "child");
    const auto base = ParsePath(dir.Path());
    TSCShTreeData root(nullptr);
    root.Init(nullptr, base.get());
    TSCIdListArray levels(base.get());
    EXPECT_EQ(ListText(root.RelativePidl()), ListText(levels.GetItem(levels.GetCount() - 1)));
    EXPECT_EQ(root.GetPath(), dir.Path().string());

    const TSCParentFolder split = GetParentFolder(ParsePath(dir / "child").get());
    TSCShTreeData child(nullptr);
    child.Init(&root, split.ChildPidl.get());
    EXPECT_EQ(child.GetPath(), dir / "child");
    EXPECT_EQ(child.GetParentFolder(), root.GetFolder());
    EXPECT_NE(child.GetFolder(), nullptr);
}

} // namespace
} // namespace quarn::test
