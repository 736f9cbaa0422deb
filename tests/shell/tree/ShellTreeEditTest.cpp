// The folder tree's rename in place, its keys and its node menu, over the real namespace and
// its verbs.
#include "ControlTestSupport.h"
#include "ScriptedDesktop.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/tree/ShellTreeData.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Closes every menu that pops up, or picks the command of an identifier in it.
class MenuWatcher : public QObject {
public:
    MenuWatcher() { qApp->installEventFilter(this); }
    ~MenuWatcher() override { qApp->removeEventFilter(this); }
    int shown = 0;
    int pick = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* menu = qobject_cast<QMenu*>(watched);
        if (event->type() != QEvent::Show || menu == nullptr) {
            return false;
        }
        ++shown;
        QTimer::singleShot(0, menu, [this, menu] {
            for (QAction* action : menu->actions()) {
                if (pick != 0 && action->data().toInt() == pick) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
        return false;
    }
};

class EditTree : public ::testing::Test {
protected:
    EditTree() {
        tree.BaseFolder().SetPath(fixture.Path());
        ShowAndSettle(tree);
        tree.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&tree));
        tree.setFocus();
    }
    ~EditTree() override { EXPECT_EQ((*messages).Texts(), expectedMessages); }

    ScopedScriptedMessages messages;
    ScopedScriptedDesktop desktop;
    Texts expectedMessages;
    ControlFixture fixture;
    CountingTree tree;
};

TEST_F(EditTree, F2RenamesAFolderAndAListShowingAFolderBelowItFollows) {
    FakeList list;
    tree.WriteShellList(&list);
    list.folder.SetPath(fixture.Path("one/two/three"));
    RenameWithF2(tree, "one", "uno");
    EXPECT_TRUE(fs::is_directory(fixture.Path("uno/two/three")));
    EXPECT_FALSE(fs::exists(fixture.Path("one")));
    EXPECT_EQ(tree.Selected()->Text(), "uno");
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("uno"));
    EXPECT_EQ(PidlToPath(list.folder.GetPidl()), fixture.Path("uno/two/three"));
    EXPECT_EQ(PidlToPath(tree.SelectedFolder().GetPidl()), fixture.Path("uno"));
    EXPECT_EQ(ChildTexts(tree.Items(), tree.RootNode()), (Texts{"files", "other", "uno"}));
    tree.WriteShellList(nullptr);
}

TEST_F(EditTree, RenameNeverReplacesASiblingAndRefusesBadNamesNamingBoth) {
    const std::vector<std::string> names = {"other", "", ".", "..", "a/b", std::string(256, 'x')};
    for (const std::string& name : names) {
        messages->shown.clear();
        RenameWithF2(tree, "one", name);
        EXPECT_TRUE(fs::is_directory(fixture.Path("one/two"))) << name;
        EXPECT_TRUE(fs::is_directory(fixture.Path("other"))) << name;
        EXPECT_EQ(NodeAt(tree, "one")->Text(), "one");
        const Texts shown = (*messages).Texts();
        ASSERT_EQ(shown.size(), 1u) << name;
        EXPECT_NE(shown[0].find("one"), std::string::npos) << shown[0];
        EXPECT_NE(shown[0].find(name), std::string::npos) << shown[0];
        EXPECT_FALSE(tree.SkipNextChangeNotify()) << "a refused rename expects no change";
    }
    messages->shown.clear();
}

TEST_F(EditTree, ShiftF10AndTheMenuKeyOpenExactlyOneMenu) {
    MenuWatcher menus;
    tree.Select(NodeAt(tree, "one"));
    for (const auto& [key, modifiers] :
         {std::pair<Qt::Key, Qt::KeyboardModifiers>{Qt::Key_F10, Qt::ShiftModifier},
          std::pair<Qt::Key, Qt::KeyboardModifiers>{Qt::Key_Menu, Qt::NoModifier}}) {
        menus.shown = 0;
        QTest::keyClick(&tree, key, modifiers);
        QApplication::processEvents();
        EXPECT_EQ(menus.shown, 1) << key;
        EXPECT_FALSE(tree.Busy()) << "the menu has ended";
    }
}

TEST_F(EditTree, TheMenusRenameCommandStartsTheLabelEdit) {
    MenuWatcher menus;
    menus.pick = 1018;
    tree.Select(NodeAt(tree, "other"));
    QTest::keyClick(&tree, Qt::Key_Menu);
    QApplication::processEvents();
    EXPECT_TRUE(tree.IsEditing());
    ASSERT_NE(CurrentEditor(tree), nullptr);
    EXPECT_EQ(CurrentEditor(tree)->text(), "other");
    QTest::keyClick(CurrentEditor(tree), Qt::Key_Escape);
}

TEST_F(EditTree, DelPutsTheSelectedFolderInTheTrashWithItsInfo) {
    tree.Select(NodeAt(tree, "other"));
    QTest::keyClick(&tree, Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(fixture.Path("other")));
    const fs::path trash = fs::path(std::getenv("XDG_DATA_HOME")) / "Trash";
    EXPECT_TRUE(fs::is_directory(trash / "files" / "other"));
    EXPECT_TRUE(fs::exists(trash / "info" / "other.trashinfo"));
    EXPECT_EQ(ChildTexts(tree.Items(), tree.RootNode()), (Texts{"files", "one"}));
}

} // namespace
} // namespace quarn::test
