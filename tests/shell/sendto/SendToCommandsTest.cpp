// The Send To commands of the file list and the folder tree, chosen from their context menus
// with the keyboard: the selection goes to a link to a folder, never replacing a file there.
#include "ControlTestSupport.h"
#include "ListFixture.h"
#include "ScopedEnvironment.h"
#include "ScriptedDesktop.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "shell/common/ShellErrors.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/sendto/DropDataObject.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A Send To folder with one entry, "Backup", a link to the folder "target".
class SendToFolder {
public:
    SendToFolder() {
        fs::create_directories(data.Path() / "Ostrel/Quarn!/SendTo");
        fs::create_directory(Target());
        fs::create_directory_symlink(Target(), data.Path() / "Ostrel/Quarn!/SendTo/Backup");
    }
    std::string Target(const std::string& name = "") const { return data / ("target/" + name); }

private:
    TempDir data;
    ScopedEnvironment dataHome{"XDG_DATA_HOME", data.Path().string()};
};

// Opens the context menu at point and types Down to Send To, Right into it, then B.
void ChooseBackupFromTheMenu(QWidget* viewport, const QPoint& point) {
    QTimer::singleShot(50, [] {
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_B}) {
            QWidget* popup = QApplication::activePopupWidget();
            ASSERT_NE(popup, nullptr);
            QTest::keyClick(popup, key);
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &event);
}

class SendToFromTheList : public ShellListTest {
protected:
    SendToFolder sendTo;
};

TEST_F(SendToFromTheList, TheSelectionIsCopiedAndATakenNameRefused) {
    WriteFileBytes(sendTo.Target("b.bin"), "theirs");
    Show("files");
    list.SelectionModel()->clear();
    for (const char* name : {"a.txt", "b.bin"}) {
        list.SetSelected(RowNamed(list, name), true);
    }
    auto* view = list.ReportView();
    // The right button's press makes the clicked row the focused one.
    list.SelectionModel()->setCurrentIndex(list.Items().index(RowNamed(list, "b.bin"), 0),
                                           QItemSelectionModel::NoUpdate);
    ChooseBackupFromTheMenu(
        view->viewport(),
        view->visualRect(list.Items().index(RowNamed(list, "b.bin"), 0)).center());
    EXPECT_EQ(FolderNames(fs::path(sendTo.Target())), (std::set<std::string>{"a.txt", "b.bin"}));
    EXPECT_EQ(ReadFileBytes(sendTo.Target("b.bin")), "theirs");
    EXPECT_EQ(ReadFileBytes(fixture.Path("files/b.bin")), std::string(1024, 'x'));
    EXPECT_THAT(messages->Texts(), ElementsAre(HasSubstr("b.bin")));
    messages->shown.clear();
}

TEST(SendToFromTheTree, TheNodeIsCopiedWithWhatItHolds) {
    ScopedScriptedMessages messages;
    ScopedScriptedDesktop desktop;
    SendToFolder sendTo;
    ControlFixture fixture;
    CountingTree tree;
    tree.BaseFolder().SetPath(fixture.Path("one"));
    ShowAndSettle(tree);
    tree.Expand(tree.RootNode());
    TSCShellTreeNode* two = ChildNamed(tree.Items(), tree.RootNode(), "two");
    ASSERT_NE(two, nullptr);
    ASSERT_FALSE(tree.visualRect(tree.Items().IndexOf(two)).isEmpty());
    ChooseBackupFromTheMenu(tree.viewport(), tree.visualRect(tree.Items().IndexOf(two)).center());
    EXPECT_EQ(ReadFileBytes(sendTo.Target("two/leaf.txt")), "leaf");
    EXPECT_TRUE(fs::is_directory(sendTo.Target("two/three")));
    EXPECT_TRUE(messages->shown.empty());
}

TEST(DropDataObject, AnEntryThatIsGoneRaises) {
    SendToFolder sendTo;
    EXPECT_THROW(DropDataObject("Gone", nullptr), EOleSysError);
}

} // namespace
} // namespace quarn::test
