// Drops on the file list go to the folder item under the pointer, else to the folder shown;
// the list's own items over its empty space take only a right-button drop, without move; a
// press on a selected item keeps the selection for a drag.
#include "shell/dragdrop/ListDragDrop.h"

#include "ListFixture.h"
#include "ShellTestSupport.h"
#include "shell/common/ShellErrors.h"
#include "shell/dragdrop/DragMimeData.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/sendto/DropDataObject.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

class ListDragDrop : public ShellListTest {
protected:
    ListDragDrop() {
        fs::create_directory(outside.Path() / "in");
        WriteFileBytes(outside / "in/dropped", "dropped");
        Show("files");
    }

    QPoint RowCentre(const std::string& name) {
        return list.View()->visualRect(list.Items().index(RowNamed(list, name), 0)).center();
    }
    QPoint EmptySpace() { return {20, list.View()->viewport()->height() - 5}; }
    std::unique_ptr<QMimeData> Dropped() { return DragDataOf({outside / "in/dropped"}); }
    // Enters and moves to point; answers the action shown there.
    Qt::DropAction Hover(const QMimeData& mime, QPoint point, Qt::MouseButtons buttons) {
        QWidget* viewport = list.View()->viewport();
        const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(point, all, &mime, buttons, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(point, all, &mime, buttons, {});
        QApplication::sendEvent(viewport, &move);
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }
    Qt::DropAction Drop(const QMimeData& mime, QPoint point) {
        QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime, {}, {});
        QApplication::sendEvent(list.View()->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    TempDir outside;
};

TEST_F(ListDragDrop, AFolderItemTakesTheDropAndAFileItemGivesItToTheFolderShown) {
    const auto mime = Dropped();
    EXPECT_EQ(Hover(*mime, RowCentre("sub"), Qt::LeftButton), Qt::MoveAction);
    EXPECT_EQ(list.DragDrop().DropHighlightRow(), RowNamed(list, "sub"));
    EXPECT_EQ(Drop(*mime, RowCentre("sub")), Qt::MoveAction);
    EXPECT_EQ(ReadFileBytes(fixture.Path("files/sub/dropped")), "dropped");
    EXPECT_EQ(list.DragDrop().DropHighlightRow(), -1);

    fs::rename(fixture.Path("files/sub/dropped"), outside / "in/dropped");
    EXPECT_EQ(Hover(*mime, RowCentre("a.txt"), Qt::LeftButton), Qt::MoveAction);
    EXPECT_EQ(list.DragDrop().DropHighlightRow(), -1) << "a file is no drop target";
    EXPECT_EQ(Drop(*mime, RowCentre("a.txt")), Qt::MoveAction);
    EXPECT_EQ(ReadFileBytes(fixture.Path("files/dropped")), "dropped");
    EXPECT_GE(RowNamed(list, "dropped"), 0) << "the list refreshed after the drop";
}

TEST_F(ListDragDrop, OwnItemsOverOwnEmptySpaceTakeOnlyARightButtonDropWithoutMove) {
    const auto mime = Dropped();
    list.SetBusy(true); // as while its own drag runs
    EXPECT_EQ(Hover(*mime, EmptySpace(), Qt::LeftButton), Qt::IgnoreAction);
    EXPECT_EQ(Drop(*mime, EmptySpace()), Qt::IgnoreAction);

    EXPECT_EQ(Hover(*mime, EmptySpace(), Qt::RightButton), Qt::CopyAction);
    QStringList offered;
    QTimer::singleShot(100, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible()) {
                for (QAction* action : menu->actions()) {
                    offered << action->text();
                }
                QTest::keyClick(menu, Qt::Key_Escape);
            }
        }
    });
    EXPECT_EQ(Drop(*mime, EmptySpace()), Qt::IgnoreAction);
    EXPECT_EQ(offered, (QStringList{"&Copy Here", "&Link Here", "", "Cancel"}));
    list.SetBusy(false);
    EXPECT_TRUE(PathExists(outside / "in/dropped"));
}

TEST_F(ListDragDrop, APressOnASelectedItemKeepsTheSelectionUntilTheButtonComesUp) {
    list.SetSelected(RowNamed(list, "a.txt"), true);
    list.SetSelected(RowNamed(list, "wide.txt"), true);
    QTest::mousePress(list.View()->viewport(), Qt::LeftButton, {}, RowCentre("a.txt"));
    EXPECT_EQ(list.SelCount(), 2);
    QTest::mouseRelease(list.View()->viewport(), Qt::LeftButton, {}, RowCentre("a.txt"));
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_TRUE(list.IsSelected(RowNamed(list, "a.txt")));
}

TEST_F(ListDragDrop, SendToALinkToAFolderCopiesTheItemsThere) {
    const std::string sendTo = GetSpecialFolderPath(nullptr, CSIDL_SENDTO);
    ASSERT_FALSE(sendTo.empty());
    fs::create_directory_symlink(fixture.Path("files/sub"), sendTo + "/Sub folder");
    list.SetSelected(RowNamed(list, "a.txt"), true);
    DropDataObject("Sub folder", MakeCom<TDataObject_shlv>(list).get());
    EXPECT_EQ(ReadFileBytes(fixture.Path("files/sub/a.txt")),
              ReadFileBytes(fixture.Path("files/a.txt")));
    EXPECT_THROW(DropDataObject("missing", MakeCom<TDataObject_shlv>(list).get()), EOleSysError);
    fs::remove(sendTo + "/Sub folder");
}

} // namespace
} // namespace quarn::test
