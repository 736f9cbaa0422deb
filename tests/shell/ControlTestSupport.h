#pragma once

// What the tests of the folder tree and the file list share: a fixture folder, the program's
// own item filters, stand-ins for the linked control, and a record of model checker reports.

#include "TestFiles.h"
#include "shell/idlist/ShellLocator.h"
#include "shell/tree/ShellTree.h"
#include "shell/views/ShellControlLink.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

namespace quarn::test {

// files/ holds what the list shows: names with blanks, raw bytes, "::", "*" and "?", a ".ZIP",
// a link and a subfolder. one/two/three/ and other/ are folders for the tree.
class ControlFixture {
public:
    ControlFixture();
    std::string Path(const std::string& relative = "") const;

    static const std::string RawName; // not UTF-8

private:
    TempDir dir_;
};

// The program's list filter: plain files and ".zip" archives, never folders, links or virtual
// items.
void KeepPlainFilesAndZips(QWidget*, IShellFolder* folder, LPCITEMIDLIST, LPCITEMIDLIST item,
                           SFGAOF attributes, bool& allowAdd);
// The program's tree filter: everything but the trash.
void RefuseTrash(QWidget*, IShellFolder*, LPCITEMIDLIST parent, LPCITEMIDLIST item, SFGAOF,
                 bool& allowAdd);

// Shows a control on the offscreen screen and lets its posted fill run.
void ShowAndSettle(QWidget& widget);

// A folder tree that counts its beeps.
class CountingTree : public TSCShellTree {
public:
    int beeps = 0;

protected:
    void MessageBeep() override { ++beeps; }
};

// The captions of a node's children (top level for none).
std::vector<std::string> ChildTexts(const TSCShellTreeModel& model, const TSCShellTreeNode* node);
TSCShellTreeNode* ChildNamed(const TSCShellTreeModel& model, const TSCShellTreeNode* node,
                             const std::string& text);
// The node at a path below the tree's base ("one/two"), each level expanded on the way; null
// when a level is missing.
TSCShellTreeNode* NodeAt(TSCCustomShellTree& tree, const std::string& relative);
// The rename editor open on a view's current item, or null.
QLineEdit* CurrentEditor(const QAbstractItemView& view);
// Selects the node at relative, presses F2, types name and Return.
void RenameWithF2(TSCCustomShellTree& tree, const std::string& relative, const std::string& name);

// Stands in for the file list of a tree.
class FakeList : public TSCLinkedList {
public:
    void SetLinkedTree(TSCLinkedTree* linked) override { tree = linked; }
    void FollowTreeNode(TSCShTreeData* node) override;
    void FlushPendingTimers(bool includeLinked) override;
    TSCShellLocator& Folder() override { return folder; }
    bool HidesFoldersWhenLinkedToTree() const override { return false; }
    void ComponentRemoved(TSCLinkedTree& removed) override;

    TSCLinkedTree* tree = nullptr;
    TSCShellLocator folder;
    std::vector<std::string> followed; // paths
    std::vector<bool> flushes;         // includeLinked of each
    int removals = 0;
};

// Stands in for the folder tree of a list.
class FakeTree : public TSCLinkedTree {
public:
    void SelectPidl(LPCITEMIDLIST target) override;
    void GoUp(int levels) override { ups.push_back(levels); }
    void FlushPendingSync(bool alsoLinked) override { flushes.push_back(alsoLinked); }
    TSCShellLocator& SelectedFolder() override { return selectedFolder; }
    TSCShTreeData* SelectedNodeData() override { return selectedData; }
    void ComponentRemoved(TSCLinkedList&) override { ++removals; }

    TSCShellLocator selectedFolder;
    TSCShTreeData* selectedData = nullptr;
    std::vector<std::string> selected; // paths
    std::vector<int> ups;
    std::vector<bool> flushes;
    int removals = 0;
};

// Records what the model checker reports while it lives.
class ModelCheckerReports {
public:
    ModelCheckerReports();
    ~ModelCheckerReports();
    std::vector<std::string> messages;

private:
    QtMessageHandler previous_;
};

} // namespace quarn::test
