#pragma once

#include "ShellControlEvents.h"
#include "ShellControlLink.h"
#include "ShellListModel.h"
#include "ShellLocator.h"

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QAbstractItemView;
class QItemSelectionModel;
class QKeyEvent;

namespace quarn {

using TSCShellListOptions = std::uint16_t;
inline constexpr TSCShellListOptions scsloAutoFill = 0x1;
inline constexpr TSCShellListOptions scsloNonFilesystemAncestors = 0x2;
inline constexpr TSCShellListOptions scsloDesignInteractive = 0x4;
inline constexpr TSCShellListOptions scsloDefaultKeyHandling = 0x8;
inline constexpr TSCShellListOptions scsloContextMenus = 0x10;
inline constexpr TSCShellListOptions scsloDontChangeFolder = 0x20;
inline constexpr TSCShellListOptions scsloDontGoBelowBase = 0x40;
inline constexpr TSCShellListOptions scsloDynamicRefresh = 0x80;
inline constexpr TSCShellListOptions scsloHideFoldersWhenLinkedToTree = 0x100;
inline constexpr TSCShellListOptions scsloOleDrag = 0x200;
inline constexpr TSCShellListOptions scsloOleDrop = 0x400;
inline constexpr TSCShellListOptions scsloFolderContextMenu = 0x800;
inline constexpr TSCShellListOptions scsloShowHidden = 0x1000;
inline constexpr TSCShellListOptions scsloDefaultOptions = 0x1E9B;

// The file list: the items of the folder that Folder names, one row each, in a report view
// over a model and a selection that other views of the list can share. With a linked tree
// it shows the tree's selected folder.
class TSCCustomShellList : public QWidget, public TSCLinkedList {
    Q_OBJECT

public:
    explicit TSCCustomShellList(QWidget* parent = nullptr);
    ~TSCCustomShellList() override;

    // The folder to show; every change fills the list.
    TSCShellLocator& Folder() override { return folder_; }
    void WriteFolder(const TSCShellLocator& value) { folder_.CopyLocator(&value); }
    TSCShellListOptions Options() const { return options_; }
    // Takes effect at the next fill.
    void WriteOptions(TSCShellListOptions options) { options_ = options; }

    // Lists Folder anew; nothing before the window exists.
    void FillFromFolder();
    void Refresh();
    void GoUp(int levels);
    void NavigateTo(LPCITEMIDLIST absolutePidl);

    // The folder last filled and its absolute list.
    IShellFolder* CurrentFolder() const { return currentFolder_.get(); }
    LPCITEMIDLIST CurrentAbsolutePidl() const { return currentAbsolutePidl_.get(); }

    int Count() const { return model_->Count(); }
    TSCShListData* GetItemData(int index) const;
    int SelCount() const;
    // The first selected row, -1 when none is.
    int Selected() const;
    TSCShListData* GetSelectedData() const;
    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);
    // The selected rows in list order, and their display names (exact bytes).
    std::vector<int> SelectedItems() const;
    std::vector<std::string> SelectedDisplayNames() const;
    void SelectAllItems();

    TSCShellListModel& Items() const { return *model_; }
    QItemSelectionModel* SelectionModel() const { return selection_; }
    QAbstractItemView* View() const { return view_; }

    // The link with the folder tree.
    void SetLinkedTree(TSCLinkedTree* tree) override { linkedTree_ = tree; }
    void FollowTreeNode(TSCShTreeData* node) override;
    void FlushPendingTimers(bool includeLinked) override;
    bool HidesFoldersWhenLinkedToTree() const override {
        return options_ & scsloHideFoldersWhenLinkedToTree;
    }
    void ComponentRemoved(TSCLinkedTree& tree) override;

    TSCShAddItemEvent OnAddItem;
    std::function<void(QWidget* sender, int index, TSCShListData* data)> OnDeleteItem;
    TNotifyEvent OnFillComplete;
    TNotifyEvent OnFillStart;
    TNotifyEvent OnFolderChanged;
    // A click of the left button in the list.
    TNotifyEvent OnClick;
    std::function<void(QWidget* sender, QKeyEvent* event)> OnKeyUp;

protected:
    bool AcceptItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST relativePidl,
                    SFGAOF& attributes);
    virtual bool DoAddItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                           SFGAOF attributes, LPCITEMIDLIST relativePidl);
    virtual void FillList(IShellFolder* folder, LPCITEMIDLIST absolutePidl);
    virtual void DoFillStart();
    virtual void DoFillComplete();
    virtual void DoFolderChanged();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<TSCShellListItem> CollectItems();
    void ClearItems();
    void Resort();
    int CompareItems(const TSCShellListItem& first, const TSCShellListItem& second) const;
    void FolderChanged();
    void WindowCreated();
    // The selected rows as merged ranges, in list order.
    std::vector<std::pair<int, int>> SelectedRanges() const;

    TSCShellListModel* model_;
    QItemSelectionModel* selection_;
    QAbstractItemView* view_;
    TSCShellLocator folder_;
    ComPtr<IShellFolder> currentFolder_;
    PidlPtr currentAbsolutePidl_;
    TSCShellListOptions options_ = scsloDefaultOptions;
    TSCLinkedTree* linkedTree_ = nullptr;
    int sortKey_ = 1;
    int folderChangeGuard_ = 0;
    int folderChanges_ = 0;
    bool windowCreated_ = false;
};

// The list that forms place.
class TSCShellList : public TSCCustomShellList {
    Q_OBJECT

public:
    using TSCCustomShellList::TSCCustomShellList;
};

} // namespace quarn
