// The folder tree with its drive watch and device changes: changes made by other programs,
// volumes coming and going, and the tree's own descriptors.
#include "BlockingWatch.h"
#include "ChangeWait.h"
#include "ControlTestSupport.h"
#include "ScopedEnvironment.h"
#include "ScriptedDesktop.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "namespace/MountTable.h"
#include "shell/devices/DeviceChangeHandler.h"
#include "shell/tree/ShellTreeData.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

// Another program changes the disk.
void Outside(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

class LiveTree : public ::testing::Test {
protected:
    LiveTree() {
        tree.BaseFolder().SetPath(fixture.Path());
        ShowAndSettle(tree);
        tree.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&tree));
        tree.setFocus();
    }
    ~LiveTree() override { EXPECT_EQ((*messages).Texts(), expectedMessages); }

    bool Shows(const std::string& parent, const std::string& child) {
        TSCShellTreeNode* node = NodeAt(tree, parent);
        return node && ChildNamed(tree.Items(), node, child) != nullptr;
    }

    ScopedScriptedMessages messages;
    ScopedScriptedDesktop desktop;
    Texts expectedMessages;
    ControlFixture fixture;
    CountingTree tree;
};

TEST_F(LiveTree, FoldersMadeAndRemovedByAnotherProgramShowWithinTheTimer) {
    TSCShellTreeNode* three = NodeAt(tree, "one/two/three");
    ASSERT_NE(three, nullptr);
    tree.Expand(three);
    ASSERT_TRUE(tree.hasFocus());
    Outside("mkdir " + Quoted(fixture.Path("one/two/three/new")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("one/two/three", "new"); }, ChangeWaitMs));
    Outside("rmdir " + Quoted(fixture.Path("one/two/three/new")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shows("one/two/three", "new"); }, ChangeWaitMs));

    tree.clearFocus();
    Outside("mkdir " + Quoted(fixture.Path("unfocused")));
    QTest::qWait(RefreshSchedule::FocusedDelayMs + 100);
    EXPECT_FALSE(Shows("", "unfocused")) << "without the focus the tree waits longer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("", "unfocused"); }, ChangeWaitMs));
}

TEST_F(LiveTree, LinksToFoldersMadeAndRemovedByAnotherProgramShowAndGo) {
    ASSERT_NE(NodeAt(tree, "one"), nullptr);
    tree.Expand(NodeAt(tree, "one"));
    Outside("ln -s two " + Quoted(fixture.Path("one/link to two")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("one", "link to two"); }, ChangeWaitMs));
    Outside("rm " + Quoted(fixture.Path("one/link to two")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shows("one", "link to two"); }, ChangeWaitMs));
    Outside("ln -s " + Quoted(fixture.Path("other")) + " " + Quoted(fixture.Path("to other")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("", "to other"); }, ChangeWaitMs))
        << "in the root too";
}

TEST_F(LiveTree, TheSelectedFolderRemovedOutsideMovesTheSelectionToItsParent) {
    tree.Select(NodeAt(tree, "one/two"));
    Outside("rm -r " + Quoted(fixture.Path("one/two")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree.GetSelectedPath() == fixture.Path("one"); },
                                ChangeWaitMs));
}

std::string MountLine(const std::string& mountPoint, const std::string& source) {
    return "30 1 0:99 / " + mountPoint + " rw,relatime shared:1 - ext4 " + source + " rw\n";
}

TEST_F(LiveTree, AVolumeMountedAndUnmountedComesAndGoesUnderComputerWithOneRefreshEach) {
    TempDir dir;
    const std::string table = dir / "mountinfo";
    const std::string base = MountLine("/", "/dev/sda2");
    WriteFileBytes(table, base);
    ScopedEnvironment environment{"QUARN_MOUNTINFO", table};
    MountTable::Reload();
    tree.OnAddItem = RefuseTrash;
    tree.BaseFolder().Reset();
    TSCShellTreeNode* computer = ChildNamed(tree.Items(), tree.RootNode(), "Computer");
    ASSERT_NE(computer, nullptr);
    tree.Expand(computer);
    TSCDeviceChangeHandler handler;
    const TDeviceChangeMethod method = DeviceChangeMethod<&TSCCustomShellTree::DeviceChange>(&tree);
    handler.Subscribe(method);
    int refreshes = 0;
    tree.OnFillStart = [&](QWidget*) { ++refreshes; };
    const auto showsUsb = [&] {
        return ChildNamed(tree.Items(), ChildNamed(tree.Items(), tree.RootNode(), "Computer"),
                          "usb") != nullptr;
    };

    WriteFileBytes(table, base + MountLine("/mnt/usb", "/dev/sdz1"));
    EXPECT_TRUE(QTest::qWaitFor(showsUsb, ChangeWaitMs));
    EXPECT_EQ(refreshes, 1);
    WriteFileBytes(table, base);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !showsUsb(); }, ChangeWaitMs));
    EXPECT_EQ(refreshes, 2);
    handler.Unsubscribe(method);
    MountTable::Reload();
}

// A hard network mount whose server is gone: adding the watch of its root blocks. The tree
// fills, shows and answers meanwhile (Computer lists the volume without touching it), and
// watches the volume once the call returns.
TEST(TreeOnADeadServer, TheWindowAnswersWhileTheWatchOfARemoteVolumeBlocks) {
    ScopedScriptedMessages messages;
    TempDir dir;
    const std::string remote = dir / "remote";
    fs::create_directory(remote);
    WriteFileBytes(dir / "mountinfo", MountLine("/", "/dev/sda2") + "31 30 0:98 / " + remote +
                                          " rw shared:2 - nfs4 server:/export rw\n");
    {
        ScopedEnvironment environment{"QUARN_MOUNTINFO", dir / "mountinfo"};
        MountTable::Reload();
        BlockingWatch blocking(remote);
        CountingTree tree;
        tree.BaseFolder().SetPidl(SpecialFolder(CSIDL_DRIVES).get());
        ShowAndSettle(tree);
        ASSERT_TRUE(blocking.WaitUntilBlocked()) << "the tree watches the remote volume";
        TSCShellTreeNode* volume = ChildNamed(tree.Items(), tree.RootNode(), "remote");
        ASSERT_NE(volume, nullptr);
        bool answered = false;
        QTimer::singleShot(0, &tree, [&] { answered = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }));
        tree.Refill();
        EXPECT_TRUE(blocking.Blocked()) << "the window answered while the watch was being added";
        EXPECT_EQ(blocking.Calls(), 1);

        blocking.Release();
        ASSERT_TRUE(blocking.WaitUntilWatched());
        volume = ChildNamed(tree.Items(), tree.RootNode(), "remote");
        tree.Expand(volume);
        fs::create_directory(remote + "/new");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return ChildNamed(tree.Items(), ChildNamed(tree.Items(), tree.RootNode(), "remote"),
                                  "new");
            },
            ChangeWaitMs));
    }
    MountTable::Reload();
}

int OpenDescriptors() {
    return static_cast<int>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST(TreeLifetime, DescriptorsComeBackToTheirBaselineWhenTheTreeGoes) {
    ScopedScriptedMessages messages;
    ControlFixture fixture;
    const auto useTree = [&] {
        CountingTree tree;
        tree.BaseFolder().SetPath(fixture.Path());
        ShowAndSettle(tree);
        tree.Expand(ChildNamed(tree.Items(), tree.RootNode(), "one"));
        ASSERT_NE(tree.ChangeThread(), nullptr) << "the tree watches its drives";
    };
    useTree(); // the process-wide device watch and Qt's own files stay
    QApplication::processEvents();
    const int baseline = OpenDescriptors();
    useTree();
    QApplication::processEvents();
    EXPECT_EQ(OpenDescriptors(), baseline);
}

TEST_F(LiveTree, AnOwnRenameSwallowsOnlyItsOwnChange) {
    RenameWithF2(tree, "one", "uno");
    ASSERT_TRUE(fs::is_directory(fixture.Path("uno")));
    QTest::qWait(RefreshSchedule::OwnChangeWaitMs + 100);
    Outside("mkdir " + Quoted(fixture.Path("later")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("", "later"); }, ChangeWaitMs));
}

TEST_F(LiveTree, SwitchingDynamicRefreshOffAndOnStopsAndRestartsTheWatch) {
    tree.WriteOptions(scstoDefaultOptions & ~scstoDynamicRefresh);
    Outside("mkdir " + Quoted(fixture.Path("unwatched")));
    QTest::qWait(RefreshSchedule::UnfocusedDelayMs + 300);
    EXPECT_FALSE(Shows("", "unwatched"));
    tree.WriteOptions(scstoDefaultOptions);
    Outside("mkdir " + Quoted(fixture.Path("watched")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows("", "watched"); }, ChangeWaitMs));
    EXPECT_TRUE(Shows("", "unwatched")) << "the refresh reads the whole folder";
}

// Creations and deletions in a watched folder while the tree refreshes: every one is a real
// notification from the change thread, and the tree ends as the disk is.
TEST_F(LiveTree, TenThousandChangesWhileRefreshingEndEqualToTheDisk) {
    TSCShellTreeNode* churn = NodeAt(tree, "other");
    ASSERT_NE(churn, nullptr);
    tree.Expand(churn);
    constexpr int Changes = 10'000;
    for (int i = 0; i < Changes; ++i) {
        const std::string path = fixture.Path("other/f" + std::to_string(i % 97));
        if (fs::exists(path)) {
            fs::remove(path);
        } else {
            fs::create_directory(path);
        }
        if (i % 250 == 0) {
            tree.Refresh();
            QApplication::processEvents();
        }
    }
    const auto onDisk = [&] {
        Texts names;
        for (const auto& entry : fs::directory_iterator(fixture.Path("other"))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto shown = [&] {
        Texts names = ChildTexts(tree.Items(), NodeAt(tree, "other"));
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == onDisk() && !tree.RefreshPending(); },
                                ChangeWaitMs));
    EXPECT_EQ(shown(), onDisk());
}

} // namespace
} // namespace quarn::test
