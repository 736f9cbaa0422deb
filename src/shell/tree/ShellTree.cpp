#include "shell/tree/ShellTree.h"

#include "namespace/ChangeHandle.h"
#include "namespace/FolderOrder.h"
#include "namespace/MountTable.h"
#include "platform/gui/Hourglass.h"
#include "shell/common/ScopedIncrement.h"
#include "shell/common/ShellGuard.h"
#include "shell/common/SystemImageList.h"
#include "shell/devices/DeviceChangeHandler.h"
#include "shell/devices/Revalidation.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/dragdrop/TreeDragDrop.h"
#include "shell/idlist/FolderEnumeration.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/idlist/ShellNames.h"
#include "shell/menus/DefaultKeyActions.h"
#include "shell/menus/MenuCommand.h"
#include "shell/sendto/DropDataObject.h"
#include "shell/sendto/SendToList.h"
#include "shell/sendto/SendToMenu.h"
#include "shell/tree/ShellTreeData.h"
#include "shell/views/FillOnFirstShow.h"
#include "shell/views/RenameEditor.h"
#include "shell/winapi/ShellMessages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quarn {

namespace {

std::string ParsingName(IShellFolder* folder, LPCITEMIDLIST item) {
    return GetChildDisplayName(folder, item, SHGDN_INFOLDER | SHGDN_FORPARSING);
}

constexpr SFGAOF NodeAttributes = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FOLDER |
                                  SFGAO_FILESYSANCESTOR | SFGAO_REMOVABLE | SFGAO_GHOSTED |
                                  SFGAO_SHARE | SFGAO_LINK;
constexpr int SharedOverlay = 1;
constexpr int LinkOverlay = 2;

} // namespace

TSCCustomShellTree::TSCCustomShellTree(QWidget* parent)
    : TSCCustomTreeView(parent), model_(new TSCShellTreeModel(this)),
      schedule_({.mustWait = [this] { return busy_ || IsEditing(); },
                 .refresh = [this] { Refresh(); },
                 .runKept = [this] { Refresh(); }}) {
    setModel(model_);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_->OnFetchMore = [this](TSCShellTreeNode& node) { FillOnExpand(&node); };
    model_->OnDeleting = [this](TSCShellTreeNode& node) { NodeDeleted(node); };
    model_->OnGetImageIndex = [this](TSCShellTreeNode& node, int& image, int& selected) {
        GetImageIndex(node, image, selected);
    };
    model_->OnLabelEdited = [this](TSCShellTreeNode& node, const QString& text) {
        LabelEdited(&node, text);
    };
    baseFolder_.OnChange = [this](TSCShellLocator&) { BaseFolderChanged(); };
    selectedFolder_.OnChange = [this](TSCShellLocator&) { SelectedFolderChanged(); };
    delayTimer_.setSingleShot(true);
    connect(&delayTimer_, &QTimer::timeout, this,
            [this] { RunShellGuarded([this] { TimerFired(); }); });
    DeviceChangeHandler().Subscribe(DeviceChangeMethod<&TSCCustomShellTree::DeviceChange>(this));
    dragDrop_ = new TSCTreeDragDrop(*this);
    fillOnShow_ = new TSCFillOnFirstShow(
        *this, {.autoFills = [this] { return (options_ & scstoAutoFill) != 0; },
                .empty = [this] { return model_->Count(nullptr) == 0; },
                .fill = [this] { Refill(); },
                .shown = [this] { WindowCreated(); }});
}

TSCCustomShellTree::~TSCCustomShellTree() {
    changeThread_.Free();
    DeviceChangeHandler().Unsubscribe(DeviceChangeMethod<&TSCCustomShellTree::DeviceChange>(this));
    delayTimer_.stop();
    model_->OnFetchMore = nullptr;
    model_->OnDeleting = nullptr;
    model_->OnGetImageIndex = nullptr;
    model_->OnLabelEdited = nullptr;
    baseFolder_.OnChange = nullptr;
    selectedFolder_.OnChange = nullptr;
    if (shellList_) {
        shellList_->ComponentRemoved(*this);
    }
}

void TSCCustomShellTree::WriteShellList(TSCLinkedList* list) {
    if (list == shellList_) {
        return;
    }
    if (shellList_) {
        shellList_->SetLinkedTree(nullptr);
    }
    shellList_ = list;
    if (list) {
        list->SetLinkedTree(this);
        list->Folder().CopyLocator(&selectedFolder_);
    }
}

void TSCCustomShellTree::ComponentRemoved(TSCLinkedList& list) {
    if (&list == shellList_) {
        shellList_ = nullptr;
    }
}

void TSCCustomShellTree::WriteOptions(TSCShellTreeOptions options) {
    const TSCShellTreeOptions changed = options_ ^ options;
    options_ = options;
    if (!fillOnShow_->Shown() || !(changed & scstoDynamicRefresh)) {
        return;
    }
    if (options & scstoDynamicRefresh) {
        StartDriveWatching();
    } else if (TChangeHandlerThread* thread = changeThread_.Find()) {
        thread->RemoveAllWatches();
    }
}

HWND TSCCustomShellTree::OwnerWindow() {
    QWidget* form = window();
    return noOwnerWindowCount_ > 0 || form == this ? nullptr : form;
}

// Root, fill and expansion.

TSCShellTreeNode* TSCCustomShellTree::RootNode() const {
    for (int i = 0; i < model_->Count(nullptr); ++i) {
        if (TSCShellTreeNode* node = model_->Child(nullptr, i); node->Data()) {
            return node;
        }
    }
    return nullptr;
}

void TSCCustomShellTree::Refill() {
    if (schedule_.Defer()) {
        return;
    }
    Hourglass hourglass;
    {
        ScopedIncrement lock(syncLock_);
        Deselect();
        model_->Clear();
    }
    ComPtr<IShellFolder> folder;
    if (const HRESULT hr = GetPidlFolder(baseFolder_.GetPidl(), folder); Failed(hr)) {
        RaiseOSError(hr);
    }
    try {
        FillNode(folder.get(), nullptr);
    } catch (const EAbort&) {
        return;
    }
    try {
        if (selectedFolder_.GetPidl()) {
            SelectPidl(selectedFolder_.GetPidl());
        } else if (model_->Count(nullptr) > 0) {
            Select(model_->Child(nullptr, 0));
        }
    } catch (...) {
        FlushPendingSync(false);
        throw;
    }
    FlushPendingSync(false);
    if (options_ & scstoDynamicRefresh) {
        StartDriveWatching();
    }
}

// Every fixed, remote and RAM volume, with its subtree; the folders the tree has listed so far
// join the watches.
void TSCCustomShellTree::StartDriveWatching() {
    changeThread_.Get().RemoveAllWatches();
    for (const Volume& volume : MountTable::Volumes()) {
        if (volume.driveType == DriveType::Fixed || volume.driveType == DriveType::Remote ||
            volume.driveType == DriveType::RamDisk) {
            AddDriveWatch(volume.mountPoint);
        }
    }
    WatchFilledFolders(RootNode());
}

void TSCCustomShellTree::WatchFilledFolders(TSCShellTreeNode* node) {
    if (node == nullptr || node->Data() == nullptr || node->Count() == 0) {
        return;
    }
    if (const std::string path = node->Data()->GetPath(); !path.empty()) {
        WatchListedFolder(path);
    }
    for (int i = 0; i < node->Count(); ++i) {
        WatchFilledFolders(node->Item(i));
    }
}

void TSCCustomShellTree::AddDriveWatch(const std::string& path) {
    TChangeHandlerThread& thread = changeThread_.Get();
    if (path.empty()) {
        thread.RemoveAllWatches();
        return;
    }
    const std::uint32_t filter =
        FILE_NOTIFY_CHANGE_DIR_NAME |
        (options_ & scstoIncludeNonFolders ? FILE_NOTIFY_CHANGE_FILE_NAME : 0);
    int slot = -1;
    thread.AddWatch(MountTable::VolumeOf(path).mountPoint, filter, slot, true);
}

void TSCCustomShellTree::DeviceChange(TSCDeviceChangeHandler*, TMessage& message) {
    if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) {
        return;
    }
    RevalidateMyComputer();
    RevalidationSuspension suspended;
    Refresh();
}

void TSCCustomShellTree::Refresh() {
    if (schedule_.Defer()) {
        return;
    }
    if (model_->Count(nullptr) == 0) {
        Refill();
        return;
    }
    Hourglass hourglass;
    DoFillStart();
    TSCShellTreeNode* remembered = Selected();
    try {
        {
            ScopedIncrement lock(syncLock_);
            Deselect();
            RefreshNode(model_->Child(nullptr, 0), remembered);
        }
        syncNow_ = true;
        if (remembered) {
            Select(remembered);
        }
        syncNow_ = false;
    } catch (...) {
        DoFillComplete();
        throw;
    }
    DoFillComplete();
}

// Matches the node's children with a new listing of its folder: children that are gone are
// deleted (a selection inside them moves to their parent), new items are added, and the
// filled children are refreshed in turn. Children are found by their in-folder parsing names
// and taken as the same item only when the folder compares them equal.
void TSCCustomShellTree::RefreshNode(TSCShellTreeNode* node, TSCShellTreeNode*& remembered) {
    TSCShTreeData* data = node->Data();
    if (data == nullptr || (node->HasChildren() && node->Count() == 0)) {
        return;
    }
    IShellFolder* folder = data->GetFolder();
    if (folder == nullptr) {
        return;
    }
    std::unordered_multimap<std::string, TSCShellTreeNode*> old;
    old.reserve(node->Count());
    for (int i = 0; i < node->Count(); ++i) {
        if (TSCShellTreeNode* child = node->Item(i); child->Data()) {
            old.emplace(ParsingName(folder, child->Data()->RelativePidl()), child);
        }
    }
    std::vector<PidlPtr> added;
    ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, EnumFlags(), items.Put()) == S_OK && items) {
        EnumerateItems(*items.get(), [&](PidlPtr item) {
            auto [first, last] = old.equal_range(ParsingName(folder, item.get()));
            const auto same = std::find_if(first, last, [&](const auto& entry) {
                return folder->CompareIDs(0, entry.second->Data()->RelativePidl(), item.get()) == 0;
            });
            if (same != last) {
                old.erase(same);
            } else {
                added.push_back(std::move(item));
            }
        });
    }
    for (const auto& [name, gone] : old) {
        for (TSCShellTreeNode* up = remembered; up; up = up->Parent()) {
            if (up == gone) {
                remembered = gone->Parent();
                break;
            }
        }
        model_->Remove(gone);
    }
    bool inserted = false;
    {
        const TSCShellTreeModel::AppendBatch batch(*model_, node);
        for (const PidlPtr& item : added) {
            lastInsertedNode_ = nullptr;
            AddShellItem(folder, data->GetAbsolutePidl(), item.get(), node);
            inserted = inserted || lastInsertedNode_ != nullptr;
        }
    }
    if (inserted) {
        SortChildren(node);
    }
    if (node->Count() == 0) {
        model_->SetHasChildren(node, false); // filled and empty: the next refresh reads it again
    }
    for (int i = 0; i < node->Count(); ++i) {
        RefreshNode(node->Item(i), remembered);
    }
}

SHCONTF TSCCustomShellTree::EnumFlags() const {
    SHCONTF flags = SHCONTF_FOLDERS;
    flags |= options_ & scstoShowHidden ? SHCONTF_INCLUDEHIDDEN : 0;
    flags |= options_ & scstoIncludeNonFolders ? SHCONTF_NONFOLDERS : 0;
    return flags;
}

void TSCCustomShellTree::FillNode(IShellFolder* folder, TSCShellTreeNode* node) {
    DoFillStart();
    try {
        FillNodeItems(folder, node);
    } catch (...) {
        DoFillComplete();
        throw;
    }
    DoFillComplete();
}

// An item whose entry is gone by the time its attributes are read is left out.
void TSCCustomShellTree::FillNodeItems(IShellFolder* folder, TSCShellTreeNode* node) {
    PidlPtr parentAbsolute;
    const bool buildsRoot = node == nullptr;
    if (buildsRoot) {
        parentAbsolute.reset(DuplicatePidl(nullptr, baseFolder_.GetPidl()));
        auto data = std::make_unique<TSCShTreeData>(this);
        data->Init(nullptr, parentAbsolute.get());
        data->SetFolder(folder);
        node = model_->Append(
            nullptr, std::make_unique<TSCShellTreeNode>(GetAbsolutePidlName(parentAbsolute.get()),
                                                        false, std::move(data)));
        DoInsertItem(node);
    } else {
        parentAbsolute.reset(DuplicatePidl(nullptr, node->Data()->GetAbsolutePidl()));
    }
    if (const std::string path = PidlToPath(parentAbsolute.get()); !path.empty()) {
        WatchListedFolder(path);
    }
    ComPtr<IEnumIDList> items;
    if (folder == nullptr || Failed(folder->EnumObjects(OwnerWindow(), EnumFlags(), items.Put()))) {
        model_->SetHasChildren(node, true);
        throw EAbort();
    }
    HRESULT end = S_FALSE;
    const TSCShellTreeModel::AppendBatch batch(*model_, node);
    if (items) {
        end = EnumerateItems(*items.get(), [&](PidlPtr item) {
            if (const HRESULT hr = AddShellItem(folder, parentAbsolute.get(), item.get(), node);
                hr != HResultFromErrno(ENOENT)) {
                OleCheck(hr);
            }
        });
    }
    if (node->Count() == 0) {
        model_->SetHasChildren(node, false);
    }
    CheckEnumerationEnd(end);
    SortChildren(node);
    if (buildsRoot) {
        expand(model_->IndexOf(node));
    }
}

HRESULT TSCCustomShellTree::AddShellItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                                         LPCITEMIDLIST child, TSCShellTreeNode* parentNode) {
    if (child == nullptr) {
        return S_OK;
    }
    if (folder == nullptr) {
        return E_POINTER;
    }
    SFGAOF attributes = NodeAttributes;
    if (const HRESULT hr = folder->GetAttributesOf(1, &child, &attributes); Failed(hr)) {
        return hr;
    }
    const bool considered = (options_ & scstoVirtualFolders) ||
                            (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR));
    if (!considered || !DoAddItem(folder, parentAbsolutePidl, attributes, child)) {
        return S_OK;
    }
    const SFGAOF folderBits = attributes & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
    const bool hasChildren = options_ & scstoIncludeNonFolders
                                 ? folderBits != 0
                                 : folderBits == (SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
    auto data = std::make_unique<TSCShTreeData>(this);
    data->Init(parentNode ? parentNode->Data() : nullptr, child);
    auto node = std::make_unique<TSCShellTreeNode>(
        GetChildDisplayName(folder, child, SHGDN_INFOLDER), hasChildren, std::move(data));
    const int overlay = attributes & SFGAO_SHARE  ? SharedOverlay
                        : attributes & SFGAO_LINK ? LinkOverlay
                                                  : 0;
    node->SetLook(overlay, attributes & SFGAO_GHOSTED);
    DoInsertItem(model_->Append(parentNode, std::move(node)));
    return S_OK;
}

bool TSCCustomShellTree::DoAddItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                                   SFGAOF attributes, LPCITEMIDLIST child) {
    bool allowAdd = true;
    if (OnAddItem) {
        OnAddItem(this, folder, parentAbsolutePidl, child, attributes, allowAdd);
    }
    return allowAdd;
}

void TSCCustomShellTree::DoInsertItem(TSCShellTreeNode* node) {
    lastInsertedNode_ = node;
    if (OnInsertItem) {
        OnInsertItem(this, node);
    }
}

void TSCCustomShellTree::DoFillStart() {
    if (OnFillStart) {
        OnFillStart(this);
    }
}

void TSCCustomShellTree::DoFillComplete() {
    if (OnFillComplete) {
        OnFillComplete(this);
    }
}

// The view asks for a fill at every layout of an expanded node that is still empty, also from
// inside the fill while a message box runs the event loop. The node answers none of them
// while its fill runs; one that failed is collapsed afterwards, keeping its button, so the
// next expansion is the next try and a folder that cannot be listed says so once per try.
void TSCCustomShellTree::FillOnExpand(TSCShellTreeNode* node) {
    if (!node->Data() || node->Count() != 0 || !node->HasChildren() || node->FillHeld()) {
        return;
    }
    Hourglass hourglass;
    const QPersistentModelIndex index(model_->IndexOf(node));
    model_->SetFillHeld(node, true);
    try {
        FillNode(node->Data()->GetFolder(), node);
    } catch (...) {
        QMetaObject::invokeMethod(
            this, [this, index] { RunShellGuarded([&] { ReleaseHeldFill(index, true); }); },
            Qt::QueuedConnection);
        throw;
    }
    ReleaseHeldFill(index, false);
}

void TSCCustomShellTree::ReleaseHeldFill(const QPersistentModelIndex& index, bool collapseNode) {
    if (TSCShellTreeNode* node = model_->NodeOf(index)) {
        if (collapseNode) {
            collapse(index);
        }
        model_->SetFillHeld(node, false);
    }
}

void TSCCustomShellTree::Expand(TSCShellTreeNode* node) {
    RunShellGuarded([&] { FillOnExpand(node); });
    expand(model_->IndexOf(node));
}

void TSCCustomShellTree::GetImageIndex(TSCShellTreeNode& node, int& imageIndex,
                                       int& selectedIndex) {
    LPCITEMIDLIST absolute = node.Data() ? node.Data()->GetAbsolutePidl() : nullptr;
    if (absolute) {
        imageIndex = GetPidlIconIndex(absolute, SHGFI_SMALLICON);
        selectedIndex = GetPidlIconIndex(absolute, SHGFI_SMALLICON | SHGFI_OPENICON);
    }
}

// By the parent folder's CompareIDs on the name column; children without shell data compare
// equal to every other.
void TSCCustomShellTree::SortChildren(TSCShellTreeNode* node) {
    const int count = model_->Count(node);
    std::vector<LPCITEMIDLIST> items(count);
    IShellFolder* folder = nullptr;
    for (int i = 0; i < count; ++i) {
        if (TSCShTreeData* data = model_->Child(node, i)->Data()) {
            items[i] = data->RelativePidl();
            folder = folder ? folder : data->GetParentFolder();
        }
    }
    model_->Reorder(node, SortedItemOrder(folder, items, 0));
}

void TSCCustomShellTree::NodeDeleted(TSCShellTreeNode& node) {
    if (&node == lastInsertedNode_) {
        lastInsertedNode_ = nullptr;
    }
    if (OnDeleteItem && node.Data()) {
        OnDeleteItem(this, &node, node.Data());
    }
}

TSCShellTreeNode* TSCCustomShellTree::FindChildNode(TSCShellTreeNode* node,
                                                    LPCITEMIDLIST relativePidl) {
    if (node == nullptr) {
        return RootNode();
    }
    IShellFolder* folder = node->Data() ? node->Data()->GetFolder() : nullptr;
    if (folder == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < node->Count(); ++i) {
        TSCShellTreeNode* child = node->Item(i);
        if (child->Data() &&
            folder->CompareIDs(0, child->Data()->RelativePidl(), relativePidl) == 0) {
            return child;
        }
    }
    return nullptr;
}

// Selection and navigation.

TSCShellTreeNode* TSCCustomShellTree::Selected() const {
    return model_->NodeOf(SelectedNode());
}

TSCShTreeData* TSCCustomShellTree::SelectedNodeData() {
    TSCShellTreeNode* node = Selected();
    return node ? node->Data() : nullptr;
}

void TSCCustomShellTree::Select(TSCShellTreeNode* node) {
    selectionModel()->setCurrentIndex(model_->IndexOf(node), QItemSelectionModel::ClearAndSelect);
}

void TSCCustomShellTree::Deselect() {
    selectionModel()->clear();
}

void TSCCustomShellTree::GoToPath(const std::string& path) {
    if (syncLock_ == 0) {
        selectedFolder_.SetPath(path);
    }
}

std::string TSCCustomShellTree::GetSelectedPath() {
    TSCShTreeData* data = SelectedNodeData();
    return data ? data->GetPath() : std::string();
}

void TSCCustomShellTree::GoUp(int levels) {
    TSCShellTreeNode* node = Selected();
    if (node == nullptr || node->Parent() == nullptr) {
        return;
    }
    for (int i = 0; i < levels && node->Parent(); ++i) {
        node = node->Parent();
    }
    syncNow_ = true;
    Select(node);
}

bool TSCCustomShellTree::LiesUnderBase(LPCITEMIDLIST target) {
    TSCIdListArray base(baseFolder_.GetPidl());
    TSCIdListArray levels(target);
    const int below = levels.GetCount() - base.GetCount();
    return base.GetCount() == 0 ||
           (below >= 0 && ComparePidls(levels.GetPrefix(below), baseFolder_.GetPidl()) == 0);
}

void TSCCustomShellTree::SelectPidl(LPCITEMIDLIST target) {
    TSCShellTreeNode* root = RootNode();
    if (syncLock_ > 0 || root == nullptr) {
        return;
    }
    syncNow_ = true;
    const int baseCount = TSCIdListArray(baseFolder_.GetPidl()).GetCount();
    TSCIdListArray levels(target);
    const int targetCount = levels.GetCount();
    TSCShellTreeNode* node = root;
    if (!LiesUnderBase(target)) {
        MessageBeep();
    } else if (targetCount > 0) {
        Expand(node);
        for (int level = baseCount; level < targetCount; ++level) {
            LPCITEMIDLIST item = levels.GetItem(level);
            TSCShellTreeNode* child = FindChildNode(node, item);
            if (child == nullptr) {
                lastInsertedNode_ = nullptr;
                const HRESULT hr = AddShellItem(node->Data()->GetFolder(),
                                                node->Data()->GetAbsolutePidl(), item, node);
                child = Succeeded(hr) ? lastInsertedNode_ : nullptr;
            }
            if (child == nullptr) {
                MessageBeep();
                break;
            }
            if (level < targetCount - 1 ||
                (shellList_ && shellList_->HidesFoldersWhenLinkedToTree())) {
                Expand(child);
            }
            node = child;
        }
    }
    Select(node);
    scrollTo(model_->IndexOf(node));
    syncNow_ = false;
}

void TSCCustomShellTree::FlushPendingSync(bool alsoLinked) {
    if (alsoLinked && shellList_) {
        shellList_->FlushPendingTimers(false);
    }
    schedule_.Flush();
    if (delayTimer_.isActive()) {
        TimerFired();
    }
}

void TSCCustomShellTree::MessageBeep() {
    QApplication::beep();
}

// The selection sync and the delayed jobs.

void TSCCustomShellTree::SelectionChanged(TSCShellTreeNode* node) {
    TSCShTreeData* data = node ? node->Data() : nullptr;
    if (syncLock_ > 0) {
        if (data) {
            selectedFolder_.SetPidl(data->GetAbsolutePidl());
        }
        return;
    }
    if (data == nullptr) {
        return;
    }
    if (syncNow_ || shellList_ == nullptr) {
        syncNow_ = false;
        SyncTo(node);
    } else {
        delayTimer_.start(SyncDelayMs);
    }
}

void TSCCustomShellTree::SyncTo(TSCShellTreeNode* node) {
    ScopedIncrement lock(syncLock_);
    selectedFolder_.SetPidl(node->Data()->GetAbsolutePidl());
    if (shellList_) {
        shellList_->FollowTreeNode(node->Data());
    }
}

// Change notices have a timer of their own: a stream of them never puts off the list's move
// to the selected folder.
void TSCCustomShellTree::TimerFired() {
    delayTimer_.stop();
    if (TSCShellTreeNode* node = Selected(); node && node->Data()) {
        SyncTo(node);
    }
}

void TSCCustomShellTree::WMChangeNotify() {
    schedule_.Notice(hasFocus() || isAncestorOf(QApplication::focusWidget()));
}

void TSCCustomShellTree::SetBusy(bool busy) {
    busy_ = busy;
    schedule_.Resume();
}

void TSCCustomShellTree::BaseFolderChanged() {
    {
        ScopedIncrement lock(syncLock_);
        selectedFolder_.Reset();
    }
    if (options_ & scstoAutoFill) {
        syncNow_ = true;
        Refill();
    }
}

void TSCCustomShellTree::SelectedFolderChanged() {
    if (model_->Count(nullptr) > 0) {
        SelectPidl(selectedFolder_.GetPidl());
    }
}

// Rename in place.

void TSCCustomShellTree::EditLabel(TSCShellTreeNode* node) {
    if (node) {
        QAbstractItemView::edit(model_->IndexOf(node));
    }
}

bool TSCCustomShellTree::AllowLabelEdit(TSCShellTreeNode* node) {
    if (node->Data() && !node->Data()->CanRename()) {
        return false;
    }
    return !OnEditing || OnEditing(this, node);
}

// Only EditLabel starts an edit; the box shows the name as it is edited.
bool TSCCustomShellTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    TSCShellTreeNode* node = model_->NodeOf(index);
    if (trigger != AllEditTriggers || node == nullptr) {
        return TSCCustomTreeView::edit(index, trigger, event);
    }
    bool allowed = false;
    RunShellGuarded([&] { allowed = AllowLabelEdit(node); });
    if (!allowed || !TSCCustomTreeView::edit(index, trigger, event)) {
        return false;
    }
    TSCShTreeData* data = node->Data();
    auto* editor = qobject_cast<QLineEdit*>(indexWidget(index));
    if (data && editor) {
        RunShellGuarded([&] {
            editor->setText(EditorText(EditingName(*data)));
            editor->selectAll();
        });
    }
    return true;
}

std::string TSCCustomShellTree::EditingName(TSCShTreeData& data) {
    return GetChildDisplayName(data.GetParentFolder(), data.RelativePidl(),
                               SHGDN_INFOLDER | SHGDN_FOREDITING);
}

// The edited text goes back to the name's bytes; an edit that changed nothing renames nothing.
void TSCCustomShellTree::LabelEdited(TSCShellTreeNode* node, const QString& edited) {
    TSCShTreeData* data = node->Data();
    IShellFolder* parentFolder = data ? data->GetParentFolder() : nullptr;
    if (parentFolder == nullptr) {
        return;
    }
    const std::string oldName = EditingName(*data);
    std::optional<std::string> text = EditedName(oldName, edited);
    if (!text) {
        return;
    }
    if (OnEdited) {
        OnEdited(this, node, *text);
    }
    Hourglass hourglass;
    ScopedIncrement lock(syncLock_);
    const PidlPtr oldAbsolute(DuplicatePidl(nullptr, data->GetAbsolutePidl()));
    LPITEMIDLIST renamed = nullptr;
    const HRESULT hr = parentFolder->SetNameOf(OwnerWindow(), data->RelativePidl(), *text,
                                               SHGDN_INFOLDER, &renamed);
    const PidlPtr newItem(renamed);
    if (Failed(hr)) {
        return;
    }
    if (*text != oldName) {
        schedule_.ExpectOwnChange();
    }
    if (newItem) {
        ResetDescendants(node);
        model_->SetText(node, GetChildDisplayName(parentFolder, newItem.get(), SHGDN_INFOLDER));
        data->SetRelativePidl(newItem.get());
        RenameFollowers(oldAbsolute.get(), node);
    } else {
        model_->SetText(node,
                        GetChildDisplayName(parentFolder, data->RelativePidl(), SHGDN_INFOLDER));
    }
    if (node->Parent()) {
        SortChildren(node->Parent());
    }
}

void TSCCustomShellTree::ResetDescendants(TSCShellTreeNode* node) {
    for (int i = 0; i < node->Count(); ++i) {
        if (TSCShellTreeNode* child = node->Item(i); child->Data()) {
            child->Data()->ResetCache();
            ResetDescendants(child);
        }
    }
}

// After a rename, SelectedFolder and the linked list move along when they show the renamed
// folder or a folder below it.
void TSCCustomShellTree::RenameFollowers(LPCITEMIDLIST oldAbsolute, TSCShellTreeNode* node) {
    for (TSCShellTreeNode* up = Selected(); up; up = up->Parent()) {
        if (up == node) {
            selectedFolder_.SetPidl(Selected()->Data()->GetAbsolutePidl());
            break;
        }
    }
    if (shellList_ == nullptr || shellList_->Folder().GetPidl() == nullptr) {
        return;
    }
    LPCITEMIDLIST shown = shellList_->Folder().GetPidl();
    TSCIdListArray levels(shown);
    const int oldLevels = TSCIdListArray(oldAbsolute).GetCount();
    const int below = levels.GetCount() - oldLevels;
    if (below < 0 || ComparePidls(levels.GetPrefix(below), oldAbsolute) != 0) {
        return;
    }
    LPCITEMIDLIST rest = shown; // the levels below the renamed folder
    for (int level = 0; level < oldLevels; ++level) {
        rest = NextItem(rest);
    }
    const PidlPtr followed(JoinPidls(nullptr, node->Data()->GetAbsolutePidl(), rest));
    shellList_->Folder().SetPidl(followed.get());
}

// The focus comes back to the tree unless the user took it elsewhere, and a pending refresh
// runs, whether or not the text was taken.
void TSCCustomShellTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    TSCCustomTreeView::closeEditor(editor, hint);
    TakeFocusBackFromEditor(*this);
    RunShellGuarded([this] { schedule_.Resume(); });
}

// Custom draw, keys and Qt's entries.

std::unique_ptr<TSCTvCustomDraw> TSCCustomShellTree::DoCustomDraw(NMCUSTOMDRAW& notification,
                                                                  LRESULT& result) {
    TSCShellTreeNode* node = model_->NodeOf(DrawnItem(notification));
    TSCShTreeData* data = node ? node->Data() : nullptr;
    return DispatchCustomDraw<TSCTvCustomDraw>(
        notification, result,
        {BindDrawHandler<TSCTvCustomDraw>(OnCustomDrawShEx, this, node, data),
         BindDrawHandler<TSCTvCustomDraw>(OnCustomDrawSh, this, node, data)},
        [&] { return CreateCustomDraw(notification, result); });
}

// The default keys, when the base left the key: a key of the table is consumed.
void TSCCustomShellTree::HandleKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TSCCustomTreeView::HandleKeyDown(key, shift);
    if (key == 0 || !(options_ & scstoDefaultKeyHandling) || IsEditing()) {
        return;
    }
    TSCShellTreeNode* selected = Selected();
    const auto nodeVerb = [&](const std::string& verb) { InvokeNodeVerb(selected, verb); };
    RunDefaultKey(key, shift,
                  {.rename = [&] { EditLabel(selected); },
                   .refresh = [this] { Refresh(); },
                   .itemVerb = nodeVerb,
                   .folderVerb = nodeVerb,
                   .afterChange = [this] { Refresh(); }});
}

HRESULT TSCCustomShellTree::InvokeNodeVerb(TSCShellTreeNode* node, const std::string& verb) {
    TSCShTreeData* data = node ? node->Data() : nullptr;
    if (data == nullptr || node->Parent() == nullptr) {
        return S_FALSE;
    }
    IShellFolder* parent = data->GetParentFolder();
    LPCITEMIDLIST child = data->RelativePidl();
    void* object = nullptr;
    OleCheck(
        parent ? parent->GetUIObjectOf(OwnerWindow(), 1, &child, IID_IContextMenu, nullptr, &object)
               : E_FAIL);
    const auto menu = ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    const HRESULT hr = InvokeVerb(OwnerWindow(), menu.get(), verb);
    Refresh();
    return hr;
}

// The node menu.

void TSCCustomShellTree::DoNodeContextMenu(const QModelIndex& node, QPoint& pos, QMenu*& menu) {
    TSCCustomTreeView::DoNodeContextMenu(node, pos, menu);
    if ((options_ & scstoContextMenus) && node.isValid()) {
        ShowNodeContextMenu(model_->NodeOf(node), pos);
        menu = nullptr;
    }
}

// No menu for the desktop. While it is open the tree is busy: refreshes wait for its end.
void TSCCustomShellTree::ShowNodeContextMenu(TSCShellTreeNode* node, QPoint point) {
    TSCShTreeData* data = node ? node->Data() : nullptr;
    IShellFolder* parent = data ? data->GetParentFolder() : nullptr;
    if (parent == nullptr || !HasItems(data->GetAbsolutePidl())) {
        return;
    }
    const UINT flags = CMF_EXPLORE | (readOnly_ ? 0 : CMF_CANRENAME);
    LPCITEMIDLIST child = data->RelativePidl();
    std::unique_ptr<QMenu> popup;
    ComPtr<IContextMenu> contextMenu;
    SetBusy(true);
    const auto end = qScopeGuard([this] {
        activeContextMenu_ = nullptr;
        SetBusy(false);
    });
    if (Failed(BuildShellContextMenu(OwnerWindow(), parent, 1, &child, FirstCommandId, flags, popup,
                                     contextMenu)) ||
        !popup) {
        return;
    }
    activeContextMenu_ = contextMenu.get();
    ConnectMenuHelpTexts(*popup, contextMenu, this, OnPopupHint);
    ConnectSendToMenu(*popup, contextMenu);
    const int command = TrackPopupMenu(*popup, viewport()->mapToGlobal(point));
    RunNodeMenuCommand(node, contextMenu.get(), command);
}

void TSCCustomShellTree::RunNodeMenuCommand(TSCShellTreeNode* node, IContextMenu* menu,
                                            int command) {
    const TSCMenuCommand chosen = DecodeMenuCommand(command);
    switch (chosen.kind) {
    case TSCMenuCommand::SendTo:
        SendToMenuCommand(node, chosen.index);
        break;
    case TSCMenuCommand::Rename:
        EditLabel(node);
        break;
    case TSCMenuCommand::Verb:
        InvokeVerb(OwnerWindow(), menu, chosen.index);
        Refresh();
        break;
    case TSCMenuCommand::None:
        break;
    }
}

void TSCCustomShellTree::SendToMenuCommand(TSCShellTreeNode* node, int index) {
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shtv>(*node);
    DropDataObject(SendToList().At(index).name, data.get());
}

// A click sets the current node before it selects it, a key move after: the selection is
// settled only here.
void TSCCustomShellTree::selectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
    TSCCustomTreeView::selectionChanged(selected, deselected);
    RunShellGuarded([this] { SelectionChanged(Selected()); });
}

void TSCCustomShellTree::mousePressEvent(QMouseEvent* event) {
    RunShellGuarded([&] {
        syncNow_ = true;
        TSCCustomTreeView::mousePressEvent(event);
        syncNow_ = false;
    });
}

void TSCCustomShellTree::keyPressEvent(QKeyEvent* event) {
    RunShellGuarded([&] {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && Selected() && !IsEditing()) {
            Expand(Selected());
            event->accept();
            return;
        }
        TSCCustomTreeView::keyPressEvent(event);
    });
}

bool TSCCustomShellTree::event(QEvent* event) {
    if (const TMessage* message = MessageOf(event); message && message->Msg == WM_CHANGENOTIFY) {
        RunShellGuarded([this] { WMChangeNotify(); });
        return true;
    }
    return TSCCustomTreeView::event(event);
}

void TSCCustomShellTree::WindowCreated() {
    if (shellList_) {
        shellList_->Folder().CopyLocator(&selectedFolder_);
    }
}

} // namespace quarn
