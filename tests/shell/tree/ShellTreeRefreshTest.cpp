// The folder tree follows the disk: change notifications, the refresh by difference, and
// refreshes kept while the tree is busy or a label edit runs.
#include "ControlTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "shell/idlist/FolderEnumeration.h"
#include "shell/notify/WindowMessage.h"
#include "shell/tree/ShellTreeData.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class TestTree : public CountingTree {
public:
    using CountingTree::FillNode;
};

class TreeRefresh : public ::testing::Test {
protected:
    // The tests post the change notifications themselves.
    TreeRefresh() {
        tree.WriteOptions(scstoDefaultOptions & ~scstoDynamicRefresh);
        tree.BaseFolder().SetPath(fixture.Path());
        ShowAndSettle(tree);
    }
    ~TreeRefresh() override { EXPECT_EQ((*messages).Texts(), Texts{}); }

    void PostChange() { PostMessage(&tree, WM_CHANGENOTIFY, 0, 0); }

    ScopedScriptedMessages messages;
    ControlFixture fixture;
    TestTree tree;
};

TEST_F(TreeRefresh, ExpandedLevelsFollowFoldersMadeAndRemovedOutsideAndStayExpanded) {
    TSCShellTreeNode* three = NodeAt(tree, "one/two/three");
    ASSERT_NE(three, nullptr);
    tree.Expand(three);
    tree.Select(three);
    fs::create_directory(fixture.Path("one/two/three/four"));
    fs::create_directory(fixture.Path("one/two/another"));
    fs::remove(fixture.Path("other"));
    tree.setFocus();
    PostChange();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return ChildTexts(tree.Items(), tree.RootNode()) == Texts{"files", "one"};
    }));
    TSCShellTreeNode* two = NodeAt(tree, "one/two");
    EXPECT_EQ(ChildTexts(tree.Items(), two), (Texts{"another", "three"}));
    fs::remove(fixture.Path("one/two/three/four"));
    tree.Refresh();
    fs::create_directory(fixture.Path("one/two/three/five"));
    tree.Refresh();
    EXPECT_EQ(ChildTexts(tree.Items(), three), Texts{"five"}) << "emptied, still followed";
    EXPECT_TRUE(tree.isExpanded(tree.Items().IndexOf(two)));
    EXPECT_EQ(tree.Selected(), three) << "the same node, kept";
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one/two/three"));
}

TEST_F(TreeRefresh, AnUnfocusedTreeWaitsLonger) {
    tree.clearFocus();
    fs::create_directory(fixture.Path("later"));
    PostChange();
    QTest::qWait(RefreshSchedule::FocusedDelayMs + 100);
    EXPECT_EQ(ChildTexts(tree.Items(), tree.RootNode()), (Texts{"files", "one", "other"}));
    // Timers run late on a loaded machine: the refresh may come after its time, never before.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return ChildTexts(tree.Items(), tree.RootNode()) == Texts{"files", "later", "one", "other"};
    }));
}

TEST_F(TreeRefresh, AChangeNoticeDuringTheDelayedSyncStillMovesTheListAlong) {
    FakeList list;
    tree.WriteShellList(&list);
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Down); // a key move: the list follows later
    TSCShellTreeNode* moved = tree.Selected();
    ASSERT_NE(moved, tree.RootNode());
    PostChange();
    QCoreApplication::processEvents();
    tree.SetBusy(true); // the refresh waits for the end of a drag; the list's move does not
    const std::string target = moved->Data()->GetPath();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !list.followed.empty() && list.followed.back() == target; }));
    tree.SetBusy(false);
    tree.WriteShellList(nullptr);
}

TEST_F(TreeRefresh, AStreamOfChangeNoticesDoesNotHoldBackTheListsMove) {
    FakeList list;
    tree.WriteShellList(&list);
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Down);
    const std::string target = tree.Selected()->Data()->GetPath();
    QTimer notices;
    QObject::connect(&notices, &QTimer::timeout, [&] { PostChange(); });
    notices.start(100); // more often than the refresh delay
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !list.followed.empty() && list.followed.back() == target; }, 3000));
    notices.stop();
    tree.WriteShellList(nullptr);
}

TEST_F(TreeRefresh, AStreamOfChangeNoticesIsShownWhileItRuns) {
    tree.setFocus();
    fs::create_directory(fixture.Path("streamed"));
    QTimer notices;
    QObject::connect(&notices, &QTimer::timeout, [&] { PostChange(); });
    notices.start(100); // more often than the refresh delay
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ChildNamed(tree.Items(), tree.RootNode(), "streamed") != nullptr; }, 5000));
    EXPECT_TRUE(notices.isActive());
}

TEST_F(TreeRefresh, TheSelectedFolderRemovedOutsideGivesTheSelectionToItsParent) {
    FakeList list;
    tree.WriteShellList(&list);
    tree.GoToPath(fixture.Path("one/two/three"));
    fs::remove_all(fixture.Path("one/two"));
    tree.Refresh();
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one"));
    EXPECT_EQ(list.followed.back(), fixture.Path("one"));
    tree.WriteShellList(nullptr);
}

TEST_F(TreeRefresh, AChangeWhileBusyIsKeptAndRunWhenTheBusyStateEnds) {
    tree.SetBusy(true);
    fs::create_directory(fixture.Path("during"));
    PostChange();
    tree.Refresh();
    QTest::qWait(RefreshSchedule::UnfocusedDelayMs + 100);
    EXPECT_TRUE(tree.RefreshPending());
    EXPECT_EQ(ChildNamed(tree.Items(), tree.RootNode(), "during"), nullptr);
    tree.SetBusy(false);
    EXPECT_FALSE(tree.RefreshPending());
    EXPECT_NE(ChildNamed(tree.Items(), tree.RootNode(), "during"), nullptr);
}

TEST_F(TreeRefresh, ARefreshDuringALabelEditRunsWhenTheEditEndsEvenWhenCancelled) {
    TSCShellTreeNode* other = NodeAt(tree, "other");
    tree.EditLabel(other);
    ASSERT_TRUE(tree.IsEditing());
    fs::create_directory(fixture.Path("during"));
    tree.Refresh();
    EXPECT_TRUE(tree.RefreshPending());
    auto* editor = tree.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "other");
    EXPECT_EQ(editor->selectedText(), "other") << "typing replaces the name";
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_FALSE(tree.RefreshPending());
    EXPECT_NE(ChildNamed(tree.Items(), tree.RootNode(), "during"), nullptr);
    EXPECT_TRUE(fs::exists(fixture.Path("other"))) << "a cancelled edit renames nothing";
}

TEST_F(TreeRefresh, TheRootAndTheDesktopCannotBeRenamed) {
    tree.EditLabel(tree.RootNode());
    EXPECT_FALSE(tree.IsEditing());
}

// The payload of a one-item list.
std::string Payload(LPCITEMIDLIST item) {
    const std::string bytes = ListText(item);
    return bytes.substr(2, static_cast<unsigned char>(bytes[0]) - 2);
}

// Lists "gone" and "kept"; "gone" has left the disk by the time its attributes are asked.
class VanishingFolder : public FakeFolder {
public:
    HRESULT EnumObjects(HWND, SHCONTF, IEnumIDList** items) override {
        *items =
            MakeCom<ScriptedListing>(std::vector<std::string>{"gone", "kept"}, S_FALSE).Detach();
        return S_OK;
    }
    HRESULT GetAttributesOf(ULONG, const LPCITEMIDLIST* items, SFGAOF* attributes) override {
        if (Payload(items[0]) == "gone") {
            return HResultFromErrno(ENOENT);
        }
        *attributes &= SFGAO_FOLDER | SFGAO_FILESYSTEM;
        return S_OK;
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF, STRRET* name) override {
        name->uType = STRRET_CSTR;
        name->cStr = Payload(item);
        return S_OK;
    }
};

TEST_F(TreeRefresh, AnEntryGoneBeforeItsAttributesAreReadIsLeftOutOfTheFill) {
    TSCShellTreeNode* three = NodeAt(tree, "one/two/three");
    ASSERT_EQ(tree.Items().Count(three), 0);
    auto folder = MakeCom<VanishingFolder>();
    tree.FillNode(folder.get(), three);
    EXPECT_EQ(ChildTexts(tree.Items(), three), Texts{"kept"});
}

// Lists "a" and "b", then ends its listing with the given code.
class EndingFolder : public FakeFolder {
public:
    explicit EndingFolder(HRESULT end) : end_(end) {}
    HRESULT EnumObjects(HWND, SHCONTF, IEnumIDList** items) override {
        *items = MakeCom<ScriptedListing>(std::vector<std::string>{"a", "b"}, end_).Detach();
        return S_OK;
    }
    HRESULT GetAttributesOf(ULONG, const LPCITEMIDLIST*, SFGAOF* attributes) override {
        *attributes &= SFGAO_FOLDER | SFGAO_FILESYSTEM;
        return S_OK;
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF, STRRET* name) override {
        name->uType = STRRET_CSTR;
        name->cStr = Payload(item);
        return S_OK;
    }

private:
    HRESULT end_;
};

// "No more items" ends a listing as S_FALSE does; a read error breaks it off.
TEST_F(TreeRefresh, AFillEndsAtEitherEndCodeAndRaisesAReadError) {
    const struct {
        HRESULT end;
        bool raises;
    } cases[] = {{S_FALSE, false}, {NoMoreItems, false}, {HResultFromErrno(EIO), true}};
    for (const auto& c : cases) {
        tree.Refill();
        TSCShellTreeNode* three = NodeAt(tree, "one/two/three");
        ASSERT_EQ(tree.Items().Count(three), 0);
        auto folder = MakeCom<EndingFolder>(c.end);
        if (c.raises) {
            EXPECT_THROW(tree.FillNode(folder.get(), three), std::runtime_error);
        } else {
            EXPECT_NO_THROW(tree.FillNode(folder.get(), three)) << std::hex << c.end;
            EXPECT_EQ(ChildTexts(tree.Items(), three), (Texts{"a", "b"})) << std::hex << c.end;
        }
    }
}

} // namespace
} // namespace quarn::test
