#pragma once

#include "shell/common/RefreshSchedule.h"
#include "shell/idlist/ShellLocator.h"
#include "shell/list/ShellListModel.h"
#include "shell/list/ShellListViews.h"
#include "shell/menus/ShellContextMenus.h"
#include "shell/notify/ChangeThreadOwner.h"
#include "shell/views/CustomListView.h"
#include "shell/views/ShellControlEvents.h"
#include "shell/views/ShellControlLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class QItemSelectionModel;
class QKeyEvent;
class QListView;
class QStackedLayout;
class QTreeView;
class QWheelEvent;

namespace quarn {

class TSCColumnFill;
class TSCDeviceChangeHandler;
class TSCFillOnFirstShow;
class TSCListDragDrop;

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

// Which columns the list shows.
enum class TSCColumnKind : std::uint8_t { None = 0, Details = 1, Own = 2 };

// One custom-draw notification of the list: item -1 and data none for the control's stages.
using TSCShLvCustomDrawEvent =
    std::function<void(QWidget* sender, TSCCustomDraw& draw, int item, TSCShListData* data)>;

// The file list: the items of the folder that Folder names, one row each, in one of four
// view styles over one model and one selection. With a linked tree it shows the tree's
// selected folder. Each style's view is handed to the base, which takes its context menus,
// custom draw, header sort indicator, colour and keys.
class TSCCustomShellList : public TSCCustomListView, public TSCLinkedList {
    Q_OBJECT

public:
    explicit TSCCustomShellList(QWidget* parent = nullptr);
    ~TSCCustomShellList() override;

    // The folder to show; every change fills the list.
    TSCShellLocator& Folder() override { return folder_; }
    TSCShellListOptions Options() const { return options_; }
    void WriteOptions(TSCShellListOptions options);

    // Lists Folder anew; nothing before the window exists.
    void FillFromFolder();
    // Reads the folder again and applies the difference: vanished rows go, new ones are
    // appended, the others keep their place and selection.
    void Refresh();
    void GoUp(int levels);
    void NavigateTo(LPCITEMIDLIST absolutePidl);

    // Folders navigate, links to folders go to their target, other items run their default
    // command; several selected items run their menu's default command once.
    void OpenItem(int index);
    void OpenSelected();
    // The context menu of the selection at a point of the view, and its verbs by name.
    void ShowItemContextMenu(const QPoint& point);
    // Sends the selected items to entry index of the Send To menu.
    void SendToMenuCommand(int index);
    void InvokeSelectionVerb(const std::string& verb);
    void InvokeFolderVerb(const std::string& verb);
    // A folder on a network volume: every verb is followed by a refresh there.
    bool IsNetworkFolder();
    // An interface (a context menu, a data object) of the selected shell items, or of one.
    HRESULT GetSelectionUIObject(const IID& iid, void** object);
    HRESULT GetItemUIObject(int index, const IID& iid, void** object);
    // The copy, move and link effects every selected shell item allows; 0 for none.
    std::uint32_t GetAllowedDropEffects();
    // Starts the in-place rename of a row when the item allows it.
    void StartLabelEdit(int index);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // The folder last filled, its absolute list and its detail columns (none for ours).
    IShellFolder* CurrentFolder() const { return currentFolder_.get(); }
    LPCITEMIDLIST CurrentAbsolutePidl() const { return currentAbsolutePidl_.get(); }
    IShellDetails* FolderDetails() const { return folderDetails_.get(); }

    // An OLE drag of the list, or a label edit, defers fills and refreshes until it ends.
    bool Busy() const { return busy_; }
    void SetBusy(bool busy);
    bool RefreshPending() const { return schedule_.Pending(); }
    // Started by change notices; its refresh runs when it fires or is flushed.
    const QTimer& RefreshTimer() const { return schedule_.Timer(); }
    bool IsEditing() const { return editing_; }
    // Drags of the selection and drops on the list.
    TSCListDragDrop& DragDrop() const { return *dragDrop_; }

    void SetViewStyle(TViewStyle style) { ChangeViewStyle(style); }

    // Columns, widths, sorting and the file filter.
    TSCColumnKind ColumnKind() const { return columnKind_; }
    int ColumnCount() const { return static_cast<int>(model_->Columns().size()); }
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // 1-based column, negative for descending, 0 for the order of the captions. The header's
    // arrow shows it.
    int SortKey() const { return sortKey_; }
    void SetSortKey(int key);
    int SortColumn() const override;
    bool SortDescending() const override;
    void Resort();
    const std::string& FileFilter() const { return fileFilter_; }
    void WriteFileFilter(const std::string& text);

    int Count() const { return model_->Count(); }
    TSCShListData* GetItemData(int index) const;
    // A row that carries shell data.
    bool IsShellItem(int index) const;
    int SelCount() const;
    // The first selected row, -1 when none is.
    int Selected() const;
    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);
    // The row with the keyboard focus, -1 when none has.
    int ItemFocused() const;
    // The selected rows in list order, and their display names (exact bytes).
    std::vector<int> SelectedItems() const;
    std::vector<std::string> SelectedDisplayNames() const;
    void SelectAllItems();
    // Every row's selected state flipped in one change of the selection.
    void InvertSelection();

    TSCShellListModel& Items() const { return *model_; }
    QItemSelectionModel* SelectionModel() const { return selection_; }
    // The view of the current style.
    QAbstractItemView* View() const { return ItemView(); }
    QTreeView* ReportView() const { return reportView_; }

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
    // A click on a column's header (0-based); a handler that sets the sort key decides it.
    std::function<void(QWidget* sender, int column)> OnColumnClick;
    // Before an item opens; setting handled keeps its default command from running.
    std::function<void(QWidget* sender, bool& handled)> OnDblClickOpen;
    // A rename entered, with the name it gives; the handler may change it.
    std::function<void(QWidget* sender, int index, std::string& text)> OnEdited;
    // The help text of the context menu's highlighted command.
    TSCShPopupHintEvent OnPopupHint;
    // Custom draw: the first hears every stage, the second each item's pre-paint.
    TSCShLvCustomDrawEvent OnCustomDrawShEx;
    TSCShLvCustomDrawEvent OnCustomDrawSh;
    // A click of the left button in the list.
    TNotifyEvent OnClick;
    std::function<void(QWidget* sender, QKeyEvent* event)> OnKeyUp;

protected:
    bool AcceptItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST relativePidl,
                    SFGAOF& attributes);
    virtual bool DoAddItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                           SFGAOF attributes, LPCITEMIDLIST relativePidl);
    virtual void FillList(IShellFolder* folder, LPCITEMIDLIST absolutePidl);
    virtual void PrepareFileFilter();
    virtual bool MatchesFileFilter(const std::string& name, SFGAOF attributes);
    virtual void ReleaseFileFilter();
    virtual void DoFillStart();
    virtual void DoFillComplete();
    virtual void DoFolderChanged();
    // false when an OnDblClickOpen handler handled the opening.
    virtual bool DoDblClickOpen();
    void ColumnClicked(int column);
    // A change in the watched folder, for the refresh schedule: kept during a drag or a label
    // edit, dropped after the list's own rename.
    void WMChangeNotify();
    // Watches the folder shown for new, removed and renamed entries.
    void StartFolderWatch();
    // A volume mounted or unmounted: Computer is read again, and listed again when shown.
    void DeviceChange(TSCDeviceChangeHandler* sender, TMessage& message);
    bool AllowLabelEdit(int index);
    void LabelEdited(int index, const QString& edited);
    // After the base's menu keys, the default keys: select all, refresh, copy, cut, paste,
    // rename, delete; a key of the table is consumed (set to 0).
    void HandleKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    // Backspace and Enter; true when the key was used.
    bool HandleKeyPress(QKeyEvent& event);
    bool HandleMouseWheel(QWheelEvent& event);
    // Runs the default command of the items' context menu.
    virtual void InvokeDefaultCommand(const std::vector<LPCITEMIDLIST>& items);
    // The handler's menu, then the shell menu of the selection in its place.
    void DoItemContextMenu(int item, QPoint& pos, QMenu*& menu) override;
    void ChangeViewStyle(TViewStyle style) override;
    std::unique_ptr<TSCLvCustomDraw> DoCustomDraw(NMCUSTOMDRAW& notification,
                                                  LRESULT& result) override;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<LPCITEMIDLIST> SelectedRelativePidls() const;
    // The name a rename of a row starts from.
    std::string EditingName(int index) const;
    void EditorClosed();
    // The fill and the refresh themselves: the file filter is held while they read, and the
    // fill's end is signalled on every path.
    void FillWithFilterHeld();
    void RefreshWithFilterHeld();
    // A request kept while the list waited: a refresh when it still shows Folder, else a fill.
    void RunKeptRequest();
    // What one listing of the current folder read, and how it ended.
    struct FolderListing {
        bool opened = false;        // EnumObjects gave an enumerator
        std::vector<PidlPtr> items; // in the order read
        HRESULT end = S_FALSE;      // Next's last answer
    };
    FolderListing ReadFolder(HWND owner);
    std::vector<TSCShellListItem> AcceptItems(std::vector<PidlPtr> items);
    std::vector<int> VanishedRows(std::vector<PidlPtr>& enumerated);
    TSCShellListItem NewRow(PidlPtr relativePidl, SFGAOF attributes);
    void ClearItems();
    void BuildColumns(IShellDetails* details);
    void BuildOwnColumns();
    void BuildDetailColumns(IShellDetails* details);
    std::vector<int> ColumnWidths() const;
    void ApplyColumnWidths(const std::vector<int>& widths);
    void SaveColumnWidths();
    void RestoreColumnWidths();
    QAbstractItemView* ViewFor(TViewStyle style) const;
    void FolderChanged();
    void TimerFired();
    // The selected rows as merged ranges, in list order.
    std::vector<std::pair<int, int>> SelectedRanges() const;

    TSCShellListModel* model_;
    QItemSelectionModel* selection_;
    QTreeView* reportView_;
    TSCColumnFill* columnFill_ = nullptr; // made once the report view has its own header
    QListView* itemView_;
    QStackedLayout* views_;
    // Ended and joined before the list goes, so that no notice is posted to it after.
    ChangeThreadOwner changeThread_{this};
    TSCColumnKind columnKind_ = TSCColumnKind::None;
    bool widthsSavable_ = false;
    TSCShellLocator folder_;
    ComPtr<IShellFolder> currentFolder_;
    PidlPtr currentAbsolutePidl_;
    ComPtr<IShellDetails> folderDetails_;
    TSCShellListOptions options_ = scsloDefaultOptions;
    std::string fileFilter_;
    std::vector<std::string> masks_;
    std::optional<std::unordered_set<std::string>> nameSet_;
    TSCLinkedTree* linkedTree_ = nullptr;
    int sortKey_ = 1;
    bool sortKeySet_ = false;
    int folderChangeGuard_ = 0;
    int folderChanges_ = 0;
    // Raised while a fill or a refresh runs, so that one started inside it waits.
    int listing_ = 0;
    bool busy_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    // Of the latest double click: only the left button's opens.
    Qt::MouseButton doubleClickButton_ = Qt::NoButton;
    TSCListDragDrop* dragDrop_;
    TSCFillOnFirstShow* fillOnShow_;
    RefreshSchedule schedule_;
};

// The file list that windows place; all of it is in its base.
class TSCShellList : public TSCCustomShellList {
    Q_OBJECT

public:
    using TSCCustomShellList::TSCCustomShellList;
};

} // namespace quarn
