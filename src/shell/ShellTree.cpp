#include "ShellTree.h"

#include "Hourglass.h"
#include "IdListArray.h"
#include "ScopedIncrement.h"
#include "ShellGuard.h"
#include "ShellItemRoutines.h"
#include "ShellMessages.h"
#include "ShellTreeData.h"
#include "ShellUtils.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace quarn {

namespace {

constexpr SFGAOF NodeAttributes = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FOLDER |
                                  SFGAO_FILESYSANCESTOR | SFGAO_REMOVABLE | SFGAO_GHOSTED |
                                  SFGAO_SHARE | SFGAO_LINK;

} // namespace

TSCCustomShellTree::TSCCustomShellTree(QWidget* parent)
    : QTreeView(parent), model_(new TSCShellTreeModel(this)) {
    setModel(model_);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    model_->OnFetchMore = [this](TSCShellTreeNode& node) { FillOnExpand(&node); };
    model_->OnDeleting = [this](TSCShellTreeNode& node) { NodeDeleted(node); };
    baseFolder_.OnChange = [this](TSCShellLocator&) { BaseFolderChanged(); };
    selectedFolder_.OnChange = [this](TSCShellLocator&) { SelectedFolderChanged(); };
    delayTimer_.setSingleShot(true);
    connect(&delayTimer_, &QTimer::timeout, this,
            [this] { RunShellGuarded([this] { TimerFired(); }); });
}

TSCCustomShellTree::~TSCCustomShellTree() {
    delayTimer_.stop();
    model_->OnFetchMore = nullptr;
    model_->OnDeleting = nullptr;
    baseFolder_.OnChange = nullptr;
    selectedFolder_.OnChange = nullptr;
    if (shellList_) {
        shellList_->ComponentRemoved(*this);
    }
}

void TSCCustomShellTree::WriteBaseFolder(const TSCShellLocator& value) {
    baseFolder_.CopyLocator(&value);
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
}

void TSCCustomShellTree::Refresh() {
    if (RootNode() == nullptr) {
        Refill();
        return;
    }
    Hourglass hourglass;
    if (TSCShTreeData* data = SelectedNodeData()) {
        ScopedIncrement lock(syncLock_);
        TSCIdListArray levels(data->GetAbsolutePidl());
        selectedFolder_.SetPidl(levels.GetPrefix(VanishedLevels(levels)));
    }
    syncNow_ = true;
    Refill();
}

// How many of the last levels of a list are folders that are gone from the disk.
int TSCCustomShellTree::VanishedLevels(TSCIdListArray& levels) {
    int vanished = 0;
    for (; vanished < levels.GetCount(); ++vanished) {
        const std::string path = PidlToPath(levels.GetPrefix(vanished));
        LPITEMIDLIST parsed = nullptr;
        const HRESULT hr = PathToPidl(path, parsed);
        FreePidl(parsed);
        if (path.empty() || Succeeded(hr)) {
            break;
        }
    }
    return vanished;
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
    SHCONTF flags = SHCONTF_FOLDERS;
    flags |= options_ & scstoShowHidden ? SHCONTF_INCLUDEHIDDEN : 0;
    flags |= options_ & scstoIncludeNonFolders ? SHCONTF_NONFOLDERS : 0;
    ComPtr<IEnumIDList> items;
    if (folder == nullptr || Failed(folder->EnumObjects(nullptr, flags, items.Put()))) {
        model_->SetHasChildren(node, true);
        throw EAbort();
    }
    HRESULT next = S_FALSE;
    while (items) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        next = items->Next(1, &item, &fetched);
        const PidlPtr owned(item);
        if (next != S_OK) {
            break;
        }
        OleCheck(AddShellItem(folder, parentAbsolute.get(), item, node));
    }
    if (node->Count() == 0) {
        model_->SetHasChildren(node, false);
    }
    if (next != S_FALSE) {
        if (next == E_FAIL) {
            throw EAbort();
        }
        RaiseOSError(next);
    }
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
    TSCShellTreeNode* node = model_->Append(
        parentNode,
        std::make_unique<TSCShellTreeNode>(GetChildDisplayName(folder, child, SHGDN_INFOLDER),
                                           hasChildren, std::move(data)));
    DoInsertItem(node);
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

void TSCCustomShellTree::FillOnExpand(TSCShellTreeNode* node) {
    if (node->Data() && node->Count() == 0 && node->HasChildren()) {
        Hourglass hourglass;
        FillNode(node->Data()->GetFolder(), node);
    }
}

void TSCCustomShellTree::Expand(TSCShellTreeNode* node) {
    RunShellGuarded([&] { FillOnExpand(node); });
    expand(model_->IndexOf(node));
}

void TSCCustomShellTree::SortChildren(TSCShellTreeNode* node) {
    model_->SortChildren(node, [](TSCShellTreeNode& first, TSCShellTreeNode& second) {
        if (!first.Data() || !second.Data()) {
            return 0;
        }
        IShellFolder* folder = first.Data()->GetParentFolder();
        if (folder == nullptr) {
            return 0;
        }
        const HRESULT hr =
            folder->CompareIDs(0, first.Data()->RelativePidl(), second.Data()->RelativePidl());
        return Succeeded(hr) ? static_cast<int>(LowWordSigned(hr)) : 0;
    });
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
    const QModelIndex current = currentIndex();
    return selectionModel()->isSelected(current) ? model_->NodeOf(current) : nullptr;
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
    if (delayTimer_.isActive()) {
        TimerFired();
    }
}

void TSCCustomShellTree::MessageBeep() {
    QApplication::beep();
}

// The selection sync.

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
        delayTag_ = DelaySync;
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

void TSCCustomShellTree::TimerFired() {
    delayTimer_.stop();
    const DelayJob job = std::exchange(delayTag_, DelayIdle);
    if (job == DelaySync) {
        if (TSCShellTreeNode* node = Selected(); node && node->Data()) {
            SyncTo(node);
        }
    } else if (job == DelayRefresh) {
        Refresh();
    }
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

// Qt's entries.

// A click sets the current node before it selects it, a key move after: the selection is
// settled only here.
void TSCCustomShellTree::selectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    RunShellGuarded([this] { SelectionChanged(Selected()); });
}

void TSCCustomShellTree::mousePressEvent(QMouseEvent* event) {
    RunShellGuarded([&] {
        syncNow_ = true;
        QTreeView::mousePressEvent(event);
        syncNow_ = false;
    });
}

void TSCCustomShellTree::keyPressEvent(QKeyEvent* event) {
    RunShellGuarded([&] {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && Selected()) {
            Expand(Selected());
            event->accept();
            return;
        }
        QTreeView::keyPressEvent(event);
    });
}

bool TSCCustomShellTree::event(QEvent* event) {
    if (event->type() == WM_SC_AUTOFILL) {
        RunShellGuarded([this] {
            if (model_->Count(nullptr) == 0) {
                Refill();
            }
        });
        return true;
    }
    if (event->type() == QEvent::Show && !windowCreated_) {
        windowCreated_ = true;
        RunShellGuarded([this] { WindowCreated(); });
    }
    return QTreeView::event(event);
}

void TSCCustomShellTree::WindowCreated() {
    if ((options_ & scstoAutoFill) && model_->Count(nullptr) == 0) {
        QCoreApplication::postEvent(this, new QEvent(WM_SC_AUTOFILL));
    }
    if (shellList_) {
        shellList_->Folder().CopyLocator(&selectedFolder_);
    }
}

} // namespace quarn
