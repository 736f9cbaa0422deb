#include "ShellList.h"

#include "Hourglass.h"
#include "IdListArray.h"
#include "ScopedIncrement.h"
#include "ShellGuard.h"
#include "ShellItemRoutines.h"
#include "ShellListData.h"
#include "ShellMessages.h"
#include "ShellTreeData.h"
#include "ShellUtils.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace quarn {

namespace {

constexpr SFGAOF AcceptAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR |
                                    SFGAO_REMOVABLE | SFGAO_GHOSTED | SFGAO_SHARE | SFGAO_LINK;
// The enumeration's end as some folders report it.
constexpr HRESULT NoMoreItems = static_cast<HRESULT>(0x80070103);

QTreeView* NewReportView(QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
    view->header()->setDefaultSectionSize(200);
    return view;
}

} // namespace

TSCCustomShellList::TSCCustomShellList(QWidget* parent)
    : QWidget(parent), model_(new TSCShellListModel(this)),
      selection_(new QItemSelectionModel(model_, this)), view_(NewReportView(this)) {
    QItemSelectionModel* own = view_->selectionModel();
    view_->setModel(model_);
    QItemSelectionModel* created = view_->selectionModel();
    view_->setSelectionModel(selection_);
    if (created != own) {
        delete created;
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    model_->OnDeleting = [this](TSCShellListItem& item) {
        if (OnDeleteItem) {
            OnDeleteItem(this, static_cast<int>(&item - &model_->Item(0)), item.Data.get());
        }
    };
    folder_.OnChange = [this](TSCShellLocator&) { FolderChanged(); };
}

TSCCustomShellList::~TSCCustomShellList() {
    model_->OnDeleting = nullptr;
    folder_.OnChange = nullptr;
    if (linkedTree_) {
        linkedTree_->ComponentRemoved(*this);
    }
}

// Filling.

void TSCCustomShellList::ClearItems() {
    selection_->clear();
    model_->Clear();
}

void TSCCustomShellList::FillFromFolder() {
    if (!testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    Hourglass hourglass;
    ClearItems();
    ComPtr<IShellFolder> folder;
    if (const HRESULT hr = GetPidlFolder(folder_.GetPidl(), folder); Failed(hr)) {
        RaiseOSError(hr);
    }
    try {
        FillList(folder.get(), folder_.GetPidl());
    } catch (const EAbort&) {
        return;
    }
    Resort();
    if (Count() > 0) {
        selection_->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    }
}

void TSCCustomShellList::Refresh() {
    FillFromFolder();
}

// The folder and its list are replaced together, and put back together when the fill fails:
// rows are only added once the whole folder is read.
void TSCCustomShellList::FillList(IShellFolder* folder, LPCITEMIDLIST absolutePidl) {
    DoFillStart();
    PidlPtr previousPidl = std::move(currentAbsolutePidl_);
    ComPtr<IShellFolder> previousFolder = std::move(currentFolder_);
    currentAbsolutePidl_.reset(DuplicatePidl(nullptr, absolutePidl));
    currentFolder_ = ComPtr<IShellFolder>(folder);
    try {
        model_->Append(CollectItems());
    } catch (...) {
        currentAbsolutePidl_ = std::move(previousPidl);
        currentFolder_ = std::move(previousFolder);
        DoFillComplete();
        throw;
    }
    DoFillComplete();
}

std::vector<TSCShellListItem> TSCCustomShellList::CollectItems() {
    SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    flags |= options_ & scsloShowHidden ? SHCONTF_INCLUDEHIDDEN : 0;
    ComPtr<IEnumIDList> items;
    if (!currentFolder_ || Failed(currentFolder_->EnumObjects(nullptr, flags, items.Put()))) {
        throw EAbort();
    }
    std::vector<PidlPtr> collected;
    HRESULT next = S_FALSE;
    while (items) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        next = items->Next(1, &item, &fetched);
        PidlPtr owned(item);
        if (next != S_OK) {
            break;
        }
        collected.push_back(std::move(owned));
    }
    if (next != S_FALSE && next != NoMoreItems) {
        if (next == E_FAIL) {
            throw EAbort();
        }
        RaiseOSError(next);
    }
    std::vector<TSCShellListItem> accepted;
    accepted.reserve(collected.size());
    for (PidlPtr& item : collected) {
        SFGAOF attributes = 0;
        if (AcceptItem(currentAbsolutePidl_.get(), item.get(), attributes)) {
            auto data = std::make_unique<TSCShListData>(this);
            data->SetPidl(item.release());
            accepted.push_back({std::move(data)});
        }
    }
    return accepted;
}

bool TSCCustomShellList::AcceptItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST relativePidl,
                                    SFGAOF& attributes) {
    attributes = AcceptAttributes;
    currentFolder_->GetAttributesOf(1, &relativePidl, &attributes);
    const bool accepted = (options_ & scsloNonFilesystemAncestors) ||
                          (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR));
    const bool hiddenFolder = (options_ & scsloHideFoldersWhenLinkedToTree) && linkedTree_ &&
                              (attributes & SFGAO_FOLDER) && (attributes & SFGAO_FILESYSTEM);
    return accepted && !hiddenFolder &&
           DoAddItem(currentFolder_.get(), parentAbsolutePidl, attributes, relativePidl);
}

bool TSCCustomShellList::DoAddItem(IShellFolder* folder, LPCITEMIDLIST parentAbsolutePidl,
                                   SFGAOF attributes, LPCITEMIDLIST relativePidl) {
    bool allowAdd = true;
    if (OnAddItem) {
        OnAddItem(this, folder, parentAbsolutePidl, relativePidl, attributes, allowAdd);
    }
    return allowAdd;
}

void TSCCustomShellList::Resort() {
    model_->Sort([this](const TSCShellListItem& first, const TSCShellListItem& second) {
        return CompareItems(first, second);
    });
}

int TSCCustomShellList::CompareItems(const TSCShellListItem& first,
                                     const TSCShellListItem& second) const {
    if (!first.Data || !second.Data || !currentFolder_) {
        return 0;
    }
    const HRESULT hr = currentFolder_->CompareIDs(
        std::abs(sortKey_) - 1, first.Data->RelativePidl(), second.Data->RelativePidl());
    const int order = Succeeded(hr) ? LowWordSigned(hr) : 0;
    return sortKey_ < 0 ? -order : order;
}

void TSCCustomShellList::DoFillStart() {
    if (OnFillStart) {
        OnFillStart(this);
    }
}

void TSCCustomShellList::DoFillComplete() {
    if (OnFillComplete) {
        OnFillComplete(this);
    }
}

void TSCCustomShellList::DoFolderChanged() {
    if (OnFolderChanged) {
        OnFolderChanged(this);
    }
}

// Navigation.

void TSCCustomShellList::FolderChanged() {
    ++folderChanges_;
    if (folderChangeGuard_ == 0) {
        ScopedIncrement guard(folderChangeGuard_);
        if (linkedTree_) {
            linkedTree_->SelectPidl(folder_.GetPidl());
        }
        FillFromFolder();
    }
    DoFolderChanged();
}

void TSCCustomShellList::GoUp(int levels) {
    if (options_ & scsloDontChangeFolder) {
        return;
    }
    if (linkedTree_) {
        linkedTree_->GoUp(levels);
        return;
    }
    TSCIdListArray path(folder_.GetPidl());
    if (path.GetCount() > 0) {
        folder_.SetPidl(path.GetPrefix(levels));
    }
}

// Going to the folder already shown lists it again, rather than leaving it empty.
void TSCCustomShellList::NavigateTo(LPCITEMIDLIST absolutePidl) {
    if (options_ & scsloDontChangeFolder) {
        return;
    }
    ClearItems();
    const int changes = folderChanges_;
    if (linkedTree_) {
        linkedTree_->SelectedFolder().SetPidl(absolutePidl);
    } else {
        folder_.SetPidl(absolutePidl);
    }
    if (folderChanges_ == changes && ComparePidls(folder_.GetPidl(), absolutePidl) == 0) {
        FillFromFolder();
    }
}

void TSCCustomShellList::FollowTreeNode(TSCShTreeData* node) {
    if (node && linkedTree_ && node == linkedTree_->SelectedNodeData()) {
        folder_.SetPidl(node->GetAbsolutePidl());
    }
}

void TSCCustomShellList::FlushPendingTimers(bool includeLinked) {
    if (includeLinked && linkedTree_) {
        linkedTree_->FlushPendingSync(false);
    }
}

void TSCCustomShellList::ComponentRemoved(TSCLinkedTree& tree) {
    if (&tree == linkedTree_) {
        linkedTree_ = nullptr;
    }
}

// Items and the selection.

TSCShListData* TSCCustomShellList::GetItemData(int index) const {
    return model_->Item(index).Data.get();
}

std::vector<std::pair<int, int>> TSCCustomShellList::SelectedRanges() const {
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : selection_->selection()) {
        if (range.isValid() && !range.parent().isValid()) {
            ranges.emplace_back(range.top(), range.bottom());
        }
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second + 1) {
            merged.back().second = std::max(merged.back().second, range.second);
        } else {
            merged.push_back(range);
        }
    }
    return merged;
}

int TSCCustomShellList::SelCount() const {
    int count = 0;
    for (const auto& [top, bottom] : SelectedRanges()) {
        count += bottom - top + 1;
    }
    return count;
}

int TSCCustomShellList::Selected() const {
    const auto ranges = SelectedRanges();
    return ranges.empty() ? -1 : ranges.front().first;
}

TSCShListData* TSCCustomShellList::GetSelectedData() const {
    const int index = Selected();
    return index < 0 ? nullptr : GetItemData(index);
}

bool TSCCustomShellList::IsSelected(int index) const {
    return selection_->isSelected(model_->index(index, 0));
}

void TSCCustomShellList::SetSelected(int index, bool selected) {
    selection_->select(model_->index(index, 0),
                       (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                           QItemSelectionModel::Rows);
}

std::vector<int> TSCCustomShellList::SelectedItems() const {
    std::vector<int> rows;
    for (const auto& [top, bottom] : SelectedRanges()) {
        for (int row = top; row <= bottom; ++row) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<std::string> TSCCustomShellList::SelectedDisplayNames() const {
    std::vector<std::string> names;
    for (const int row : SelectedItems()) {
        names.push_back(GetItemData(row)->GetDisplayName());
    }
    return names;
}

void TSCCustomShellList::SelectAllItems() {
    if (Count() > 0) {
        selection_->select(QItemSelection(model_->index(0, 0),
                                          model_->index(Count() - 1, model_->columnCount() - 1)),
                           QItemSelectionModel::Select);
    }
}

// Qt's entries.

bool TSCCustomShellList::event(QEvent* event) {
    if (event->type() == WM_SC_AUTOFILL) {
        RunShellGuarded([this] {
            if (Count() == 0) {
                FillFromFolder();
            }
        });
        return true;
    }
    if (event->type() == QEvent::Show && !windowCreated_) {
        windowCreated_ = true;
        RunShellGuarded([this] { WindowCreated(); });
    }
    return QWidget::event(event);
}

void TSCCustomShellList::WindowCreated() {
    if ((options_ & scsloAutoFill) && Count() == 0) {
        QCoreApplication::postEvent(this, new QEvent(WM_SC_AUTOFILL));
    }
}

bool TSCCustomShellList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyRelease && OnKeyUp) {
        RunShellGuarded([&] { OnKeyUp(this, static_cast<QKeyEvent*>(event)); });
    } else if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && OnClick) {
        RunShellGuarded([&] { OnClick(this); });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quarn
