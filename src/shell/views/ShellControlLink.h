#pragma once

// The link between a folder tree and the file list that follows it. Each control sees the
// other only through these, so either can be driven alone, or against a stand-in.

#include "namespace/ItemIdList.h"

namespace quarn {

class TSCShellLocator;
class TSCShTreeData;
class TSCLinkedList;

// What the file list asks of its tree.
class TSCLinkedTree {
public:
    // Selects the node of an absolute list, adding the levels on the way.
    virtual void SelectPidl(LPCITEMIDLIST target) = 0;
    virtual void GoUp(int levels) = 0;
    // Runs a pending selection sync now; alsoLinked first flushes the list's own timers.
    virtual void FlushPendingSync(bool alsoLinked) = 0;
    virtual TSCShellLocator& SelectedFolder() = 0;
    // The shell data of the selected node; none when nothing is selected.
    virtual TSCShTreeData* SelectedNodeData() = 0;
    // The removal notice: the list is going away.
    virtual void ComponentRemoved(TSCLinkedList& list) = 0;

protected:
    ~TSCLinkedTree() = default;
};

// What the folder tree asks of its list.
class TSCLinkedList {
public:
    // The tree that drives the list; none unlinks it.
    virtual void SetLinkedTree(TSCLinkedTree* tree) = 0;
    // Shows the folder of node when it is still the tree's selected node.
    virtual void FollowTreeNode(TSCShTreeData* node) = 0;
    // Runs pending timers now; includeLinked first flushes the tree's selection sync.
    virtual void FlushPendingTimers(bool includeLinked) = 0;
    virtual TSCShellLocator& Folder() = 0;
    virtual bool HidesFoldersWhenLinkedToTree() const = 0;
    // The removal notice: the tree is going away.
    virtual void ComponentRemoved(TSCLinkedTree& tree) = 0;

protected:
    ~TSCLinkedList() = default;
};

} // namespace quarn
