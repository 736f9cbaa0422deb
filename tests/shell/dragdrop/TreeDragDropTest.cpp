// Drops on the folder tree: our own data and a plain uri-list land in the folder of the node
// under the pointer with the effect the keys choose; a crafted block is refused; a drag that
// rests expands the node under it and scrolls near the edges; the right button asks.
#include "shell/dragdrop/TreeDragDrop.h"

#include "ControlTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "namespace/FileClipboard.h"
#include "shell/dragdrop/DragMimeData.h"
#include "shell/dragdrop/DropSource.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/tree/ShellTreeData.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class DraggingTree : public CountingTree {
public:
    using CountingTree::WMChangeNotify;
};

class TreeDragDrop : public ::testing::Test {
protected:
    TreeDragDrop() {
        fs::create_directories(dir / "source");
        fs::create_directories(dir / "target/inner");
        WriteFileBytes(dir / "source/a", "a");
        WriteFileBytes(dir / "source/b", "b");
        tree.WriteOptions(scstoDefaultOptions & ~scstoDynamicRefresh);
        tree.BaseFolder().SetPath(dir.Path().string());
        ShowAndSettle(tree);
        tree.Expand(tree.RootNode());
    }
    ~TreeDragDrop() override { EXPECT_EQ((*messages).Texts().size(), expectedMessages); }

    TSCShellTreeNode* Node(const std::string& name) {
        return ChildNamed(tree.Items(), tree.RootNode(), name);
    }
    QPoint Centre(TSCShellTreeNode* node) {
        return tree.visualRect(tree.Items().IndexOf(node)).center();
    }
    // Enters at from, moves to to and drops there; answers the action the drop took.
    Qt::DropAction DragAndDrop(const QMimeData& mime, QPoint to, Qt::KeyboardModifiers keys = {},
                               Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction |
                                                         Qt::LinkAction,
                               Qt::MouseButtons buttons = Qt::LeftButton) {
        QDragEnterEvent enter(to, offered, &mime, buttons, keys);
        QApplication::sendEvent(tree.viewport(), &enter);
        QDragMoveEvent move(to, offered, &mime, buttons, keys);
        QApplication::sendEvent(tree.viewport(), &move);
        QDropEvent drop(to, offered, &mime, {}, keys);
        QApplication::sendEvent(tree.viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    ScopedScriptedMessages messages;
    std::size_t expectedMessages = 0;
    TempDir dir;
    DraggingTree tree;
};

TEST_F(TreeDragDrop, OurItemsMoveOnOneFileSystemAndCopyWithControl) {
    const QPoint target = Centre(Node("target"));
    EXPECT_EQ(DragAndDrop(*DragDataOf({dir / "source/a"}), target), Qt::MoveAction);
    EXPECT_EQ(ReadFileBytes(dir / "target/a"), "a");
    EXPECT_FALSE(PathExists(dir / "source/a"));

    EXPECT_EQ(DragAndDrop(*DragDataOf({dir / "source/b"}), target, Qt::ControlModifier),
              Qt::CopyAction);
    EXPECT_EQ(ReadFileBytes(dir / "target/b"), "b");
    EXPECT_EQ(ReadFileBytes(dir / "source/b"), "b");
    EXPECT_EQ(tree.DragDrop().DropHighlight(), nullptr);

    // Dropped again: the name is taken, nothing is replaced, and the user is told.
    WriteFileBytes(dir / "source/b", "new");
    EXPECT_EQ(DragAndDrop(*DragDataOf({dir / "source/b"}), target), Qt::IgnoreAction);
    EXPECT_EQ(ReadFileBytes(dir / "target/b"), "b");
    expectedMessages = 1;
}

// A drop of items whose names are taken shows one message each; Cancel in one ends the drop.
TEST_F(TreeDragDrop, TheMessageOfARefusedItemCanEndTheDrop) {
    WriteFileBytes(dir / "source/c", "c");
    WriteFileBytes(dir / "target/a", "kept a");
    WriteFileBytes(dir / "target/b", "kept b");
    messages->QueueAnswer(MessageAnswer::Cancel);
    const auto mime = DragDataOf({dir / "source/a", dir / "source/b", dir / "source/c"});
    EXPECT_EQ(DragAndDrop(*mime, Centre(Node("target"))), Qt::IgnoreAction);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"a", "b", "c"}));
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"a", "b", "inner"}));
    expectedMessages = 1;
}

TEST_F(TreeDragDrop, AUriListFromAnotherProgramCopiesExactNames) {
    const std::string raw = "raw-\xff name";
    WriteFileBytes(dir / ("source/" + raw), "raw");
    QMimeData mime;
    mime.setData("text/uri-list",
                 QByteArray::fromStdString(FileUri(dir / ("source/" + raw)) + "\r\n"));
    EXPECT_EQ(DragAndDrop(mime, Centre(Node("target")), {}, Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(ReadFileBytes(dir / ("target/" + raw)), "raw");
    EXPECT_TRUE(PathExists(dir / ("source/" + raw)));
}

TEST_F(TreeDragDrop, ACraftedBlockIsRefusedAndNothingMoves) {
    QMimeData mime;
    mime.setData(ShellIdListMimeType, QByteArray("\xff\xff\xff\x7f\x08\x00\x00\x00\x00\x00", 10));
    mime.setData("text/uri-list", QByteArray::fromStdString(FileUri(dir / "source/a")));
    EXPECT_EQ(DragAndDrop(mime, Centre(Node("target"))), Qt::IgnoreAction);
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"inner"}));
}

// A path no file can have, from another program, is refused before any work: no drop, no word.
TEST_F(TreeDragDrop, AUriListWithAPathPastTheLimitsIsNoDrop) {
    QMimeData mime;
    mime.setData("text/uri-list",
                 QByteArray::fromStdString(FileUri(dir / "source/a") + "\r\nfile:///" +
                                           std::string(1 << 20, 'x') + "\r\n"));
    EXPECT_EQ(DragAndDrop(mime, Centre(Node("target"))), Qt::IgnoreAction);
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"inner"}));
}

TEST_F(TreeDragDrop, AFolderOnItselfIsNoDrop) {
    EXPECT_EQ(DragAndDrop(*DragDataOf({dir / "target"}), Centre(Node("target"))), Qt::IgnoreAction);
    fs::create_directory(dir / "target/inner/deeper");
    tree.Refresh();
    TSCShellTreeNode* target = Node("target");
    tree.Expand(target);
    const QPoint inner = Centre(ChildNamed(tree.Items(), target, "inner"));
    EXPECT_EQ(DragAndDrop(*DragDataOf({dir / "target"}), inner), Qt::IgnoreAction);
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"inner"}));
    EXPECT_EQ(FolderNames(dir.Path() / "target/inner"), (std::set<std::string>{"deeper"}));
}

TEST_F(TreeDragDrop, TheRightButtonAsksWhatToDo) {
    const auto mime = DragDataOf({dir / "source/a"});
    QStringList offered;
    QTimer::singleShot(100, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* menu = qobject_cast<QMenu*>(widget);
            if (menu == nullptr || !menu->isVisible()) {
                continue;
            }
            for (QAction* action : menu->actions()) {
                offered << action->text();
            }
            QTest::keyClick(menu, Qt::Key_C); // the letter of "&Copy Here"
        }
    });
    EXPECT_EQ(DragAndDrop(*mime, Centre(Node("target")), {},
                          Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::RightButton),
              Qt::CopyAction);
    EXPECT_EQ(offered, (QStringList{"&Copy Here", "&Move Here", "&Link Here", "", "Cancel"}));
    EXPECT_EQ(ReadFileBytes(dir / "target/a"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "source/a"), "a");
}

TEST_F(TreeDragDrop, ARestingDragExpandsTheNodeAndScrollsNearTheEdge) {
    for (int i = 0; i < 40; ++i) {
        fs::create_directory(dir / ("zz" + std::to_string(i))); // below the target
    }
    tree.Refresh();
    TSCShellTreeNode* target = Node("target");
    ASSERT_FALSE(tree.isExpanded(tree.Items().IndexOf(target)));
    const auto mime = DragDataOf({dir / "source/a"});
    const QPoint point = Centre(target);
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, all, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &enter);
    QDragMoveEvent move(point, all, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &move);
    EXPECT_EQ(tree.DragDrop().DropHighlight(), target);
    // No further move events: the timer goes on (late, on a loaded machine).
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree.isExpanded(tree.Items().IndexOf(target)); }));
    EXPECT_EQ(ChildTexts(tree.Items(), target), Texts{"inner"});

    const int top = tree.verticalScrollBar()->value();
    const QPoint bottom(40, tree.viewport()->height() - 5);
    QDragMoveEvent nearBottom(bottom, all, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &nearBottom);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree.verticalScrollBar()->value() >= top + 2; }));
    QDragLeaveEvent leave;
    QApplication::sendEvent(tree.viewport(), &leave);
    const int left = tree.verticalScrollBar()->value();
    QTest::qWait(250);
    EXPECT_EQ(tree.verticalScrollBar()->value(), left) << "no scrolling once the drag left";
    EXPECT_EQ(tree.DragDrop().DropHighlight(), nullptr);
}

// Starts a drag of the node with the mouse; the drag loop runs during and ends with done.
bool DragNode(DraggingTree& tree, TSCShellTreeNode* node, Qt::DropAction done,
              const std::function<void()>& during) {
    bool ran = false;
    const TDragLoop original = DragLoop();
    DragLoop() = [&](QDrag&, Qt::DropActions, Qt::DropAction) {
        ran = tree.Busy();
        during();
        return done;
    };
    const QPoint from = tree.visualRect(tree.Items().IndexOf(node)).center();
    const QPoint to = from + QPoint(0, 30);
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, tree.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &move);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, to);
    DragLoop() = original;
    return ran;
}

TEST_F(TreeDragDrop, ADragRefreshesOnceAtItsEndAfterAChangeOrADrop) {
    TSCShellTreeNode* source = Node("source");
    EXPECT_TRUE(DragNode(tree, source, Qt::IgnoreAction, [&] {
        fs::create_directory(dir / "made during the drag");
        tree.WMChangeNotify();
        EXPECT_TRUE(tree.RefreshPending());
        EXPECT_EQ(Node("made during the drag"), nullptr) << "not while the drag runs";
    }));
    EXPECT_FALSE(tree.Busy());
    EXPECT_FALSE(tree.RefreshPending());
    EXPECT_NE(Node("made during the drag"), nullptr);

    fs::create_directory(dir / "made unseen");
    EXPECT_TRUE(DragNode(tree, source, Qt::IgnoreAction, [] {}));
    EXPECT_EQ(Node("made unseen"), nullptr) << "no drop, no change: no refresh";

    EXPECT_TRUE(DragNode(tree, source, Qt::MoveAction, [] {}));
    EXPECT_NE(Node("made unseen"), nullptr) << "dropped: refreshed";
}

TEST_F(TreeDragDrop, TheRootIsNeverDragged) {
    EXPECT_FALSE(DragNode(tree, tree.RootNode(), Qt::MoveAction, [] {}));
}

} // namespace
} // namespace quarn::test
