#pragma once

#include "shell/common/RefreshSchedule.h"
#include "shell/idlist/ShellLocator.h"
#include "shell/menus/ShellContextMenus.h"
#include "shell/notify/ChangeThreadOwner.h"
#include "shell/tree/ShellTreeModel.h"
#include "shell/views/CustomTreeView.h"
#include "shell/views/ShellControlEvents.h"
#include "shell/views/ShellControlLink.h"

#include <QPersistentModelIndex>
#include <QTimer>
#include <cstdint>
#include <string>

namespace quarn {

class TSCDeviceChangeHandler;
class TSCFillOnFirstShow;
class TSCIdListArray;
class TSCTreeDragDrop;

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

using TSCShTvCustomDrawEvent = std::function<void(QWidget* sender, TSCTvCustomDraw& draw,
                                                  TSCShellTreeNode* node, TSCShTreeData* data)>;
// The edited text may be changed before the rename.
using TSCShTreeEditedEvent =
    std::function<void(QWidget* sender, TSCShellTreeNode* node, std::string& text)>;

// The folder tree: one root node for BaseFolder (the desktop by default), children filled
// when a node is first expanded. SelectedFolder and the linked file list follow the selected
// node: at once after a click or a programmatic selection, 500 ms after the last key move.
// Changes on the disk refresh it by difference, keeping expansion and selection.
class TSCCustomShellTree : public TSCCustomTreeView, public TSCLinkedTree {
    Q_OBJECT

public:
    explicit TSCCustomShellTree(QWidget* parent = nullptr);
    ~TSCCustomShellTree() override;

    TSCShellLocator& BaseFolder() { return baseFolder_; }
    void WriteShellList(TSCLinkedList* list);
    TSCShellTreeOptions Options() const { return options_; }
    // Drive watching follows at once; the other options take effect at the next fill.
    void WriteOptions(TSCShellTreeOptions options);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Ignored while a sync runs; a path that does not parse selects the root.
    void GoToPath(const std::string& path);
    // "" when nothing is selected or the node is virtual.
    std::string GetSelectedPath();
    // Brings the filled nodes up to date with the disk, keeping expansion and selection; a
    // selected folder that is gone gives way to the nearest one above it.
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
    // Starts the in-place rename of a node.
    void EditLabel(TSCShellTreeNode* node);
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    // A drag started by the tree or its node context menu runs; refreshes wait for its end.
    bool Busy() const { return busy_; }
    void SetBusy(bool busy);
    bool RefreshPending() const { return schedule_.Pending(); }
    bool SkipNextChangeNotify() const { return schedule_.ExpectsOwnChange(); }
    // The shell's owner window for calls that take one; none while drag-over expands nodes.
    HWND OwnerWindow();
    // Runs a verb of the node's context menu ("cut", "copy", "paste", "delete"), then
    // refreshes; 1 and nothing done for the root and nodes without shell data.
    HRESULT InvokeNodeVerb(TSCShellTreeNode* node, const std::string& verb);
    // A volume was mounted or unmounted.
    virtual void DeviceChange(TSCDeviceChangeHandler* sender, TMessage& message);
    // The drive watch's thread; none before the tree first watched.
    TChangeHandlerThread* ChangeThread() const { return changeThread_.Find(); }
    // Drags of nodes and drops on them.
    TSCTreeDragDrop& DragDrop() const { return *dragDrop_; }

    TSCShAddItemEvent OnAddItem;
    std::function<void(QWidget* sender, TSCShellTreeNode* node, TSCShTreeData* data)> OnDeleteItem;
    std::function<void(QWidget* sender, TSCShellTreeNode* node)> OnInsertItem;
    TNotifyEvent OnFillComplete;
    TNotifyEvent OnFillStart;
    TSCShTvCustomDrawEvent OnCustomDrawSh;
    TSCShTvCustomDrawEvent OnCustomDrawShEx;
    TSCShTreeEditedEvent OnEdited;
    std::function<bool(QWidget* sender, TSCShellTreeNode* node)> OnEditing;
    TSCShPopupHintEvent OnPopupHint;

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
    // A change notification of the drive watch.
    virtual void WMChangeNotify();
    // Watches the volume that holds path, with its subtree; "" removes every watch.
    virtual void AddDriveWatch(const std::string& path);
    virtual void ShowNodeContextMenu(TSCShellTreeNode* node, QPoint point);
    // Sends the node's item to entry index of the Send To menu.
    virtual void SendToMenuCommand(TSCShellTreeNode* node, int index);
    void DoNodeContextMenu(const QModelIndex& node, QPoint& pos, QMenu*& menu) override;

    std::unique_ptr<TSCTvCustomDraw> DoCustomDraw(NMCUSTOMDRAW& notification,
                                                  LRESULT& result) override;
    void HandleKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    bool AllowLabelEdit(TSCShellTreeNode* node);
    void LabelEdited(TSCShellTreeNode* node, const QString& edited);

    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    using TSCCustomTreeView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool event(QEvent* event) override;

private:
    friend class TSCTreeDragDrop; // expands nodes without an owner window

    void FillNodeItems(IShellFolder* folder, TSCShellTreeNode* node);
    void ReleaseHeldFill(const QPersistentModelIndex& index, bool collapseNode);
    SHCONTF EnumFlags() const;
    void RefreshNode(TSCShellTreeNode* node, TSCShellTreeNode*& remembered);
    void StartDriveWatching();
    void WatchFilledFolders(TSCShellTreeNode* node);
    void RunNodeMenuCommand(TSCShellTreeNode* node, IContextMenu* menu, int command);
    void RenameFollowers(LPCITEMIDLIST oldAbsolute, TSCShellTreeNode* node);
    void ResetDescendants(TSCShellTreeNode* node);
    // The name a rename of the node starts from.
    static std::string EditingName(TSCShTreeData& data);
    void GetImageIndex(TSCShellTreeNode& node, int& imageIndex, int& selectedIndex);
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

    TSCShellTreeModel* model_;
    TSCShellLocator baseFolder_;
    TSCShellLocator selectedFolder_;
    QTimer delayTimer_; // the selection sync after a key move
    TSCLinkedList* shellList_ = nullptr;
    TSCShellTreeOptions options_ = scstoDefaultOptions;
    bool syncNow_ = false;
    int syncLock_ = 0;
    TSCShellTreeNode* lastInsertedNode_ = nullptr;
    bool readOnly_ = false;
    bool busy_ = false;
    bool labelEditEnded_ = false;
    int noOwnerWindowCount_ = 0;
    IContextMenu* activeContextMenu_ = nullptr; // while the node menu is open
    TSCTreeDragDrop* dragDrop_;
    TSCFillOnFirstShow* fillOnShow_;
    RefreshSchedule schedule_;
    // Last: its thread is ended and joined before anything else of the tree goes.
    ChangeThreadOwner changeThread_{this};
};

// The folder tree that windows place; all of it is in its base.
class TSCShellTree : public TSCCustomShellTree {
    Q_OBJECT

public:
    using TSCCustomShellTree::TSCCustomShellTree;
};

} // namespace quarn
