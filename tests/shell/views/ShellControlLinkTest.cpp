// The link between the folder tree and the file list: each against a stand-in for the
// other, then both together.
#include "ControlTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/tree/ShellTreeData.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;

void ClickNode(TSCCustomShellTree& tree, TSCShellTreeNode* node) {
    const QRect rect = tree.visualRect(tree.Items().IndexOf(node));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
}

class Link : public ::testing::Test {
protected:
    ~Link() override { EXPECT_EQ((*messages).Texts(), Texts{}); }
    ScopedScriptedMessages messages;
    ControlFixture fixture;
};

TEST_F(Link, TheTreeMovesItsListAtOnceOnAClickAndAfterAPauseOnKeys) {
    FakeList list;
    CountingTree tree;
    tree.BaseFolder().SetPath(fixture.Path());
    tree.WriteShellList(&list);
    EXPECT_EQ(list.tree, &tree);
    ShowAndSettle(tree);
    list.followed.clear();

    TSCShellTreeNode* one = ChildNamed(tree.Items(), tree.RootNode(), "one");
    ClickNode(tree, one);
    EXPECT_EQ(list.followed, Texts{fixture.Path("one")});
    EXPECT_EQ(tree.SelectedFolder().GetPath(), fixture.Path("one"));

    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(list.followed.size(), 1u) << "key moves wait";
    EXPECT_EQ(tree.SelectedFolder().GetPath(), fixture.Path("one"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.followed.size() == 2; }, 5000));
    EXPECT_EQ(list.followed.back(), fixture.Path("other")) << "only the last move counts";
    EXPECT_EQ(tree.SelectedFolder().GetPath(), fixture.Path("other"));

    QTest::keyClick(&tree, Qt::Key_Up);
    tree.FlushPendingSync(true);
    EXPECT_EQ(list.flushes, std::vector<bool>{false});
    EXPECT_EQ(list.followed.back(), fixture.Path("one")) << "a flush syncs at once";
}

TEST_F(Link, ListAndTreeTellEachOtherWhenTheyGo) {
    FakeList list;
    auto tree = std::make_unique<TSCShellTree>();
    tree->WriteShellList(&list);
    tree.reset();
    EXPECT_EQ(list.tree, nullptr);
    EXPECT_EQ(list.removals, 1);

    FakeTree fakeTree;
    auto shellList = std::make_unique<TSCShellList>();
    shellList->SetLinkedTree(&fakeTree);
    shellList.reset();
    EXPECT_EQ(fakeTree.removals, 1);
}

TEST_F(Link, TheListAsksItsTree) {
    FakeTree tree;
    TSCShellList list;
    list.SetLinkedTree(&tree);
    ShowAndSettle(list);
    list.Folder().SetPath(fixture.Path("one/two"));
    EXPECT_EQ(tree.selected, Texts{fixture.Path("one/two")});
    EXPECT_EQ(list.Count(), 2);

    list.GoUp(2);
    EXPECT_EQ(tree.ups, std::vector<int>{2}) << "the tree goes up for a linked list";
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("one/two"));
    list.FlushPendingTimers(true);
    EXPECT_EQ(tree.flushes, std::vector<bool>{false});

    const PidlPtr other = ParsePath(fixture.Path("other"));
    list.NavigateTo(other.get());
    EXPECT_EQ(tree.selectedFolder.GetPath(), fixture.Path("other")) << "through the tree";

    TSCShTreeData selected(nullptr);
    selected.Init(nullptr, other.get());
    TSCShTreeData notSelected(nullptr);
    notSelected.Init(nullptr, ParsePath(fixture.Path("files")).get());
    tree.selectedData = &selected;
    list.FollowTreeNode(&notSelected);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("one/two"));
    list.FollowTreeNode(&selected);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("other"));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(Link, AClickInTheTreeFillsTheList) {
    TSCShellList list;
    list.OnAddItem = KeepPlainFilesAndZips;
    TSCShellTree tree;
    tree.BaseFolder().SetPath(fixture.Path());
    tree.WriteShellList(&list);
    ShowAndSettle(tree);
    ShowAndSettle(list);

    ClickNode(tree, ChildNamed(tree.Items(), tree.RootNode(), "files"));
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files"));
    EXPECT_EQ(list.Count(), 5);

    tree.GoToPath(fixture.Path("one/two"));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetItemData(0)->GetDisplayName(), "leaf.txt");

    list.GoUp(1);
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one"));
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("one"));

    const PidlPtr files = ParsePath(fixture.Path("files"));
    list.NavigateTo(files.get());
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("files"));
    EXPECT_EQ(list.Count(), 5);
}

} // namespace
} // namespace quarn::test
