#pragma once

#include "ShellControlEvents.h"
#include "ShellControlLink.h"
#include "ShellLocator.h"
#include "ShellTreeModel.h"

#include <QTimer>
#include <QTreeView>
#include <cstdint>
#include <string>

namespace quarn {

class TSCIdListArray;

using TSCShellTreeOptions = std::uint16_t;
inline constexpr TSCShellTreeOptions scstoAutoFill = 0x1;
inline constexpr TSCShellTreeOptions scstoVirtualFolders = 0x2;
inline constexpr TSCShellTreeOptions scstoDesignInteractive = 0x4;
inline constexpr TSCShellTreeOptions scstoDefaultKeyHandling = 0x8;
inline constexpr TSCShellTreeOptions scstoContextMenus = 0x10;
inline constexpr TSCShellTreeOptions scstoDynamicRefresh = 0x20;
inline constexpr TSCShellTreeOptions scstoIncludeNonFolders = 0x40;
inline constexpr TSCShellTreeOptions scstoOleDrag = 0x80;
inline constexpr TSCShellTreeOptions scstoOleDrop = 0x100;
inline constexpr TSCShellTreeOptions scstoShowHidden = 0x200;
inline constexpr TSCShellTreeOptions scstoDefaultOptions = 0x3BB;

// The folder tree: one root node for BaseFolder (the desktop by default), children filled
// when a node is first expanded. SelectedFolder and the linked file list follow the selected
// node: at once after a click or a programmatic selection, 500 ms after the last key move.
class TSCCustomShellTree : public QTreeView, public TSCLinkedTree {
    Q_OBJECT

public:
    explicit TSCCustomShellTree(QWidget* parent = nullptr);
    ~TSCCustomShellTree() override;

    TSCShellLocator& BaseFolder() { return baseFolder_; }
    void WriteBaseFolder(const TSCShellLocator& value);
    TSCLinkedList* ShellList() const { return shellList_; }
    void WriteShellList(TSCLinkedList* list);
    TSCShellTreeOptions Options() const { return options_; }
    // Takes effect at the next fill.
    void WriteOptions(TSCShellTreeOptions options) { options_ = options; }

    // Ignored while a sync runs; a path that does not parse selects the root.
    void GoToPath(const std::string& path);
    // "" when nothing is selected or the node is virtual.
    std::string GetSelectedPath();
    // Fills the tree anew and selects the same folder again, or the nearest folder above it
    // that is still there.
    void Refresh();
    void Refill();
    TSCShellTreeNode* FindChildNode(TSCShellTreeNode* node, LPCITEMIDLIST relativePidl);

    // The link with the file list.
    void SelectPidl(LPCITEMIDLIST target) override;
    void GoUp(int levels) override;
    void FlushPendingSync(bool alsoLinked) override;
    TSCShellLocator& SelectedFolder() override { return selectedFolder_; }
    TSCShTreeData* SelectedNodeData() override;
    void ComponentRemoved(TSCLinkedList& list) override;

    TSCShellTreeModel& Items() const { return *model_; }
    TSCShellTreeNode* RootNode() const;
    TSCShellTreeNode* Selected() const;
    void Select(TSCShellTreeNode* node);
    // Fills the node's children when they are not known yet, then shows them.
    void Expand(TSCShellTreeNode* node);

    TSCShAddItemEvent OnAddItem;
    std::function<void(QWidget* sender, TSCShellTreeNode* node, TSCShTreeData* data)> OnDeleteItem;
    std::function<void(QWidget* sender, TSCShellTreeNode* node)> OnInsertItem;
    TNotifyEvent OnFillComplete;
    TNotifyEvent OnFillStart;

    // The selection sync waits this long after a key move.
    static constexpr int SyncDelayMs = 500;

protected:
    virtual HRESULT AddShellItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                                 LPCITEMIDLIST child, TSCShellTreeNode* parentNode);
    virtual bool DoAddItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                           SFGAOF attributes, LPCITEMIDLIST child);
    // node none builds the root.
    virtual void FillNode(IShellFolder* folder, TSCShellTreeNode* node);
    virtual void DoInsertItem(TSCShellTreeNode* node);
    virtual void DoFillStart();
    virtual void DoFillComplete();
    virtual void FillOnExpand(TSCShellTreeNode* node);
    virtual void MessageBeep();

    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum DelayJob { DelayIdle = 0, DelaySync = 1, DelayRefresh = 2 };

    void FillNodeItems(IShellFolder* folder, TSCShellTreeNode* node);
    void SortChildren(TSCShellTreeNode* node);
    void SelectionChanged(TSCShellTreeNode* node);
    void SyncTo(TSCShellTreeNode* node);
    void TimerFired();
    void BaseFolderChanged();
    void SelectedFolderChanged();
    void NodeDeleted(TSCShellTreeNode& node);
    void Deselect();
    void WindowCreated();
    bool LiesUnderBase(LPCITEMIDLIST target);
    static int VanishedLevels(TSCIdListArray& levels);

    TSCShellTreeModel* model_;
    TSCShellLocator baseFolder_;
    TSCShellLocator selectedFolder_;
    QTimer delayTimer_;
    DelayJob delayTag_ = DelayIdle;
    TSCLinkedList* shellList_ = nullptr;
    TSCShellTreeOptions options_ = scstoDefaultOptions;
    bool syncNow_ = false;
    int syncLock_ = 0;
    TSCShellTreeNode* lastInsertedNode_ = nullptr;
    bool windowCreated_ = false;
};

// The tree that forms place.
class TSCShellTree : public TSCCustomShellTree {
    Q_OBJECT

public:
    using TSCCustomShellTree::TSCCustomShellTree;
};

} // namespace quarn
