// The folder tree: filling on expansion, navigation and the base folder.
#include "CaseNames.h"
#include "ControlTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "shell/idlist/ShellNames.h"
#include "shell/tree/ShellTreeData.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;

class ShellTree : public ::testing::Test {
protected:
    void SetBase(const std::string& relative) { tree.BaseFolder().SetPath(fixture.Path(relative)); }
    ~ShellTree() override { EXPECT_EQ((*messages).Texts(), Texts{}); }

    ScopedScriptedMessages messages;
    ControlFixture fixture;
    CountingTree tree;
};

TEST_F(ShellTree, ExpandsThreeLevelsFromTheKeyboard) {
    SetBase("");
    ShowAndSettle(tree);
    const TSCShellTreeModel& model = tree.Items();
    TSCShellTreeNode* root = tree.RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), std::filesystem::path(fixture.Path()).filename().string());
    EXPECT_EQ(ChildTexts(model, root), (Texts{"files", "one", "other"}));
    EXPECT_EQ(tree.Selected(), root);

    TSCShellTreeNode* one = ChildNamed(model, root, "one");
    EXPECT_EQ(model.Count(one), 0) << "children wait for the first expansion";
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Down);
    ASSERT_EQ(tree.Selected(), one);
    QTest::keyClick(&tree, Qt::Key_Right); // expands
    EXPECT_EQ(ChildTexts(model, one), Texts{"two"});
    QTest::keyClick(&tree, Qt::Key_Right); // to the child
    QTest::keyClick(&tree, Qt::Key_Enter); // expands too
    TSCShellTreeNode* two = ChildNamed(model, one, "two");
    EXPECT_EQ(ChildTexts(model, two), Texts{"three"}) << "files are not nodes";
    QTest::keyClick(&tree, Qt::Key_Right);
    QTest::keyClick(&tree, Qt::Key_Right);
    TSCShellTreeNode* three = ChildNamed(model, two, "three");
    ASSERT_EQ(tree.Selected(), three);
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one/two/three"));
    EXPECT_FALSE(three->HasChildren()) << "an empty folder loses its expand button";
}

TEST_F(ShellTree, GoToPathWalksFromTheDesktop) {
    tree.OnAddItem = RefuseTrash;
    tree.Refill();
    TSCShellTreeNode* root = tree.RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildTexts(tree.Items(), root), (Texts{"Home", "Computer"}));
    EXPECT_EQ(tree.GetSelectedPath(), "") << "the desktop has no path";

    tree.GoToPath(fixture.Path("one/two"));
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one/two"));
    EXPECT_EQ(tree.SelectedFolder().GetPath(), fixture.Path("one/two"));
    EXPECT_EQ(tree.Selected()->Parent()->Text(), "one");

    tree.GoUp(1);
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one"));
    tree.GoUp(100);
    EXPECT_EQ(tree.Selected(), root) << "up stops at the top";
    tree.GoToPath(fixture.Path("no such folder"));
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_EQ(tree.beeps, 0);
}

struct SelectCase {
    const char* name;
    const char* base;
    const char* target; // nullptr: the desktop
    const char* selected;
    int beeps;
};

void PrintTo(const SelectCase& c, std::ostream* out) {
    *out << c.name;
}

class SelectPidlUnderABase : public ShellTree, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectPidlUnderABase, SelectsInsideAndBeepsOutside) {
    const SelectCase& c = GetParam();
    SetBase(c.base);
    const PidlPtr target(c.target ? ParsePath(fixture.Path(c.target)).release() : nullptr);
    tree.SelectPidl(target.get());
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path(c.selected));
    EXPECT_EQ(tree.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(Targets, SelectPidlUnderABase,
                         ::testing::Values(SelectCase{"Below", "one", "one/two/three",
                                                      "one/two/three", 0},
                                           SelectCase{"TheBase", "one", "one", "one", 0},
                                           SelectCase{"Beside", "one", "other", "one", 1},
                                           SelectCase{"Above", "one/two", "one", "one/two", 1},
                                           SelectCase{"TheDesktop", "one", nullptr, "one", 1},
                                           SelectCase{"AFileNotListed", "one", "one/two/leaf.txt",
                                                      "one/two/leaf.txt", 0}),
                         CaseName());

TEST_F(ShellTree, AnItemTheProgramRefusesEndsTheWalkWithABeep) {
    SetBase("");
    tree.OnAddItem = [](QWidget*, IShellFolder* folder, LPCITEMIDLIST, LPCITEMIDLIST item, SFGAOF,
                        bool& allowAdd) {
        allowAdd = GetPidlDisplayName(folder, item, 1) != "two";
    };
    tree.Refill();
    tree.GoToPath(fixture.Path("one/two/three"));
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one"));
    EXPECT_EQ(tree.beeps, 1);
}

TEST_F(ShellTree, ADeepSelectedNodeIsScrolledIntoViewWithItsWholeName) {
    tree.OnAddItem = RefuseTrash;
    ShowAndSettle(tree);
    tree.resize(120, 200);
    tree.GoToPath(fixture.Path("one/two/three"));
    QCoreApplication::processEvents();
    const QRect node = tree.visualRect(tree.Items().IndexOf(tree.Selected()));
    EXPECT_GE(node.left(), 0);
    EXPECT_LT(node.left(), tree.viewport()->width() / 2);
    EXPECT_EQ(tree.Items().data(tree.Items().IndexOf(tree.Selected()), Qt::DisplayRole), "three")
        << "names are never shortened";
    EXPECT_GT(tree.horizontalScrollBar()->value(), 0);
}

TEST_F(ShellTree, RefreshKeepsTheSelectedFolderAndShowsNewOnes) {
    SetBase("");
    tree.GoToPath(fixture.Path("one/two"));
    std::filesystem::create_directory(fixture.Path("one/new"));
    int fills = 0;
    tree.OnFillComplete = [&](QWidget* sender) {
        EXPECT_EQ(sender, &tree);
        ++fills;
    };
    tree.Refresh();
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one/two"));
    EXPECT_EQ(ChildTexts(tree.Items(), tree.Selected()->Parent()), (Texts{"new", "two"}));
    EXPECT_EQ(fills, 1) << "one refresh, no new fill";
}

TEST_F(ShellTree, RefreshAfterTheSelectedFolderWasRemovedSelectsTheNearestOneLeft) {
    SetBase("");
    FakeList list;
    tree.WriteShellList(&list);
    tree.GoToPath(fixture.Path("one/two/three"));
    std::filesystem::remove_all(fixture.Path("one/two"));
    tree.Refresh();
    EXPECT_EQ(tree.GetSelectedPath(), fixture.Path("one"));
    EXPECT_EQ(list.followed.back(), fixture.Path("one")) << "and the list follows at once";
    tree.Expand(tree.Selected());
    EXPECT_EQ(ChildTexts(tree.Items(), tree.Selected()), Texts{}) << "no node for what is gone";
    EXPECT_EQ(tree.beeps, 0);
    tree.WriteShellList(nullptr);
}

TEST_F(ShellTree, AFolderGoneBeforeItsFirstExpansionKeepsItsButtonQuietly) {
    SetBase("");
    TSCShellTreeNode* other = ChildNamed(tree.Items(), tree.RootNode(), "other");
    std::filesystem::remove(fixture.Path("other"));
    tree.Expand(other);
    EXPECT_EQ(tree.Items().Count(other), 0);
    EXPECT_TRUE(other->HasChildren()) << "it may be tried again";
}

// Message boxes that, as a modal box does, run the event loop while they are shown: the tree
// is laid out again meanwhile.
class ModalMessages final : public ScriptedMessages {
public:
    MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override {
        const MessageAnswer answer = ScriptedMessages::Show(kind, text, buttons);
        if (whileShown && !showing_) {
            const QScopedValueRollback showing(showing_, true);
            whileShown();
        }
        return answer;
    }
    std::function<void()> whileShown; // run by the first box, not by boxes it brings up

private:
    bool showing_ = false;
};

// A folder that cannot be listed, expanded from the keyboard as a user would: it says why once
// for each try, however often the view lays itself out meanwhile.
TEST(ShellTreeInAForm, TheUserIsToldOnceWhyAFolderCannotBeListed) {
    auto installed = std::make_unique<ModalMessages>();
    ModalMessages& messages = *installed;
    auto previous = InstallMessageService(std::move(installed));
    const auto restore = qScopeGuard([&] { InstallMessageService(std::move(previous)); });
    ControlFixture fixture;
    QWidget form;
    CountingTree& tree = *new CountingTree;
    tree.setParent(&form);
    tree.BaseFolder().SetPath(fixture.Path());
    ShowAndSettle(form);
    messages.whileShown = [&] {
        QApplication::processEvents();
        tree.doItemsLayout();
        QApplication::processEvents();
    };
    TSCShellTreeNode* other = ChildNamed(tree.Items(), tree.RootNode(), "other");
    ASSERT_NE(other, nullptr);
    tree.Select(other);
    std::filesystem::remove(fixture.Path("other"));
    const Texts once = {"Unable to list the folder '" + fixture.Path("other") +
                        "': No such file or directory."};

    QTest::keyClick(&tree, Qt::Key_Right);
    QApplication::processEvents();
    tree.doItemsLayout();
    QApplication::processEvents();
    EXPECT_EQ(messages.Texts(), once) << "no layout pass tries it again";
    EXPECT_TRUE(other->HasChildren()) << "it keeps its button";
    EXPECT_FALSE(tree.isExpanded(tree.Items().IndexOf(other)));

    messages.shown.clear();
    QTest::keyClick(&tree, Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_EQ(messages.Texts(), once) << "expanded again, it is tried again";
}

TEST_F(ShellTree, DeletedNodesAreAnnouncedWithTheirData) {
    SetBase(""); // fills the tree
    std::vector<std::string> deleted;
    tree.OnDeleteItem = [&](QWidget*, TSCShellTreeNode* node, TSCShTreeData* data) {
        EXPECT_EQ(node->Data(), data);
        deleted.push_back(node->Text());
    };
    tree.Refill();
    EXPECT_EQ(deleted.size(), 4u) << "the root and its three folders";
}

TEST_F(ShellTree, TheModelPassesTheModelChecker) {
    ModelCheckerReports reports;
    QAbstractItemModelTester checker(&tree.Items(),
                                     QAbstractItemModelTester::FailureReportingMode::Warning);
    // The checker would fetch from inside its own insert reports, which it cannot follow;
    // the tree fetches as the user expands.
    checker.setUseFetchMore(false);
    SetBase("");
    tree.GoToPath(fixture.Path("one/two/three"));
    tree.Refresh();
    std::filesystem::remove_all(fixture.Path("one/two"));
    std::filesystem::create_directories(fixture.Path("one/new/deeper"));
    tree.Refresh(); // removes and adds nodes, sorts
    EXPECT_EQ(ChildTexts(tree.Items(), ChildNamed(tree.Items(), tree.RootNode(), "one")),
              Texts{"new"});
    EXPECT_EQ(reports.messages, Texts{});
}

// Every pair of neighbours in the order of the folder's CompareIDs.
void ExpectInFolderOrder(TSCShellTreeNode* parent) {
    IShellFolder* folder = parent->Data()->GetFolder();
    for (int i = 1; i < parent->Count(); ++i) {
        const HRESULT hr = folder->CompareIDs(0, parent->Item(i - 1)->Data()->RelativePidl(),
                                              parent->Item(i)->Data()->RelativePidl());
        ASSERT_TRUE(Succeeded(hr));
        EXPECT_LT(LowWordSigned(hr), 0)
            << parent->Item(i - 1)->Text() << " before " << parent->Item(i)->Text();
    }
}

TEST_F(ShellTree, ChildrenComeInTheFoldersOrderOnExpansionAndRefresh) {
    const std::vector<std::string> names = {
        "a10",     "a2",      "A1",        "b",        "B",       "d 9",  "d 10",
        "raw\xff", "raw\xfe", "e\xcc\x81", "\xc3\xa9", ".hidden", "Zeta", "zeta 2"};
    for (const std::string& name : names) {
        std::filesystem::create_directories(fixture.Path("mixed/" + name));
    }
    tree.WriteOptions(tree.Options() | scstoShowHidden);
    SetBase("");
    TSCShellTreeNode* mixed = ChildNamed(tree.Items(), tree.RootNode(), "mixed");
    tree.Expand(mixed);
    ASSERT_EQ(mixed->Count(), static_cast<int>(names.size()));
    ExpectInFolderOrder(mixed);

    for (const char* added : {"a3", "RAW\xfd", "d 1"}) {
        std::filesystem::create_directory(fixture.Path("mixed/") + added);
    }
    tree.Refresh();
    ASSERT_EQ(mixed->Count(), static_cast<int>(names.size()) + 3);
    ExpectInFolderOrder(mixed);
}

TEST_F(ShellTree, NodesReachScreenReaders) {
    SetBase("");
    ShowAndSettle(tree);
    const QModelIndex root = tree.Items().IndexOf(tree.RootNode());
    const QModelIndex files = tree.Items().index(0, 0, root);
    EXPECT_EQ(files.data(Qt::AccessibleTextRole).toString(), "files");
    EXPECT_FALSE(files.data(Qt::DecorationRole).value<QIcon>().isNull());
}

} // namespace
} // namespace quarn::test
