#include "shell/list/ShellList.h"

#include "namespace/ChangeHandle.h"
#include "namespace/MountTable.h"
#include "platform/MessageService.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Hourglass.h"
#include "shell/common/MemoryStream.h"
#include "shell/common/ScopedIncrement.h"
#include "shell/common/ShellGuard.h"
#include "shell/devices/DeviceChangeHandler.h"
#include "shell/devices/Revalidation.h"
#include "shell/dragdrop/ListDragDrop.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/idlist/FolderEnumeration.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlList.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/idlist/ShellNames.h"
#include "shell/list/ColumnFill.h"
#include "shell/list/ShellDetails.h"
#include "shell/list/ShellListColumns.h"
#include "shell/list/ShellListData.h"
#include "shell/list/ShellListFilter.h"
#include "shell/list/ShellListSort.h"
#include "shell/menus/DefaultKeyActions.h"
#include "shell/menus/MenuCommand.h"
#include "shell/sendto/DropDataObject.h"
#include "shell/sendto/SendToList.h"
#include "shell/sendto/SendToMenu.h"
#include "shell/tree/ShellTreeData.h"
#include "shell/views/FillOnFirstShow.h"
#include "shell/views/RenameEditor.h"
#include "shell/winapi/ShellMessages.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTreeView>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace quarn {

namespace {

constexpr SFGAOF AcceptAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR |
                                    SFGAO_REMOVABLE | SFGAO_GHOSTED | SFGAO_SHARE | SFGAO_LINK;
constexpr int WidthPerCharacter = 7;

Qt::Alignment ColumnAlignment(int fmt) {
    switch (fmt & 3) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

std::string FileNamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The window of the shell calls: the form that holds the list.
HWND OwnerWindow(QWidget* list) {
    return GetOwnerFormHandle(list);
}

// The view shows the list's model and shares its selection.
void ShareModel(QAbstractItemView& view, QAbstractItemModel* model,
                QItemSelectionModel* selection) {
    view.setModel(model);
    QItemSelectionModel* created = view.selectionModel();
    view.setSelectionModel(selection);
    if (created != selection) {
        delete created;
    }
}

} // namespace

TSCCustomShellList::TSCCustomShellList(QWidget* parent)
    : TSCCustomListView(parent), model_(new TSCShellListModel(this)),
      selection_(new QItemSelectionModel(model_, this)), reportView_(NewReportView(this)),
      itemView_(NewItemView(this)), views_(new QStackedLayout(this)),
      schedule_({.mustWait = [this] { return busy_ || IsEditing() || listing_ > 0; },
                 .refresh = [this] { TimerFired(); },
                 .runKept = [this] { RunKeptRequest(); }}) {
    views_->setContentsMargins(0, 0, 0, 0);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(reportView_),
                                    static_cast<QAbstractItemView*>(itemView_)}) {
        ShareModel(*view, model_, selection_);
        AttachItemView(view);
        views_->addWidget(view);
        connect(view, &QAbstractItemView::doubleClicked, this, [this] {
            if (doubleClickButton_ == Qt::LeftButton) {
                RunShellGuarded([this] { OpenSelected(); });
            }
        });
        connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
                [this] { RunShellGuarded([this] { EditorClosed(); }); });
    }
    ArrangeReportHeader(*reportView_->header());
    columnFill_ = new TSCColumnFill(*reportView_);
    TSCCustomListView::ChangeViewStyle(TViewStyle::vsReport);
    views_->setCurrentWidget(reportView_);
    setFocusProxy(reportView_);
    dragDrop_ = new TSCListDragDrop(*this, {reportView_, itemView_});
    connect(reportView_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunShellGuarded([&] { ColumnClicked(column); }); });
    model_->OnDeleting = [this](int row, TSCShellListItem& item) {
        if (OnDeleteItem) {
            OnDeleteItem(this, row, item.Data.get());
        }
    };
    model_->EditText = [this](int row) { return EditingName(row); };
    model_->OnEdited = [this](int row, const QString& text) { LabelEdited(row, text); };
    folder_.OnChange = [this](TSCShellLocator&) { FolderChanged(); };
    DeviceChangeHandler().Subscribe(DeviceChangeMethod<&TSCCustomShellList::DeviceChange>(this));
    fillOnShow_ = new TSCFillOnFirstShow(
        *this, {.autoFills = [this] { return (options_ & scsloAutoFill) != 0; },
                .empty = [this] { return Count() == 0; },
                .fill = [this] { FillFromFolder(); }});
}

TSCCustomShellList::~TSCCustomShellList() {
    if (ColumnCount() > 0 && widthsSavable_) {
        SaveColumnWidths();
    }
    DeviceChangeHandler().Unsubscribe(DeviceChangeMethod<&TSCCustomShellList::DeviceChange>(this));
    changeThread_.Free();
    model_->OnDeleting = nullptr;
    // A list being destroyed tells nobody of its selection: its owner may be half destroyed.
    const QSignalBlocker quiet(selection_);
    ClearItems(); // the views ask nothing more of rows whose list is going
    folder_.OnChange = nullptr;
    if (linkedTree_) {
        linkedTree_->ComponentRemoved(*this);
    }
}

void TSCCustomShellList::WriteOptions(TSCShellListOptions options) {
    const TSCShellListOptions changed = options ^ options_;
    options_ = options;
    if (!fillOnShow_->Shown()) {
        return;
    }
    if (changed & scsloDynamicRefresh) {
        if (options & scsloDynamicRefresh) {
            StartFolderWatch();
        } else if (TChangeHandlerThread* thread = changeThread_.Find()) {
            thread->RemoveAllWatches();
        }
    }
    if (changed & (scsloHideFoldersWhenLinkedToTree | scsloShowHidden)) {
        Refresh();
    }
}

// Filling.

// A request kept while the list was listing runs once the listing is over; a drag or a label
// edit runs it when it ends.
void TSCCustomShellList::RunKeptRequest() {
    if (ComparePidls(folder_.GetPidl(), currentAbsolutePidl_.get()) == 0) {
        Refresh();
    } else {
        FillFromFolder();
    }
}

void TSCCustomShellList::SetBusy(bool busy) {
    busy_ = busy;
    schedule_.Resume();
}

void TSCCustomShellList::ClearItems() {
    selection_->clear();
    model_->Clear();
}

void TSCCustomShellList::FillFromFolder() {
    if (!testAttribute(Qt::WA_WState_Created) || schedule_.Defer()) {
        return;
    }
    {
        ScopedIncrement listing(listing_);
        FillWithFilterHeld();
    }
    schedule_.Resume();
}

void TSCCustomShellList::FillWithFilterHeld() {
    {
        Hourglass hourglass;
        ClearItems();
        ComPtr<IShellFolder> folder;
        if (const HRESULT hr = GetPidlFolder(folder_.GetPidl(), folder); Failed(hr)) {
            RaiseOSError(hr);
        }
        PrepareFileFilter();
        const auto release = qScopeGuard([this] { ReleaseFileFilter(); });
        try {
            FillList(folder.get(), folder_.GetPidl());
        } catch (const EAbort&) {
            return;
        }
    }
    Resort();
    if (Count() > 0) {
        selection_->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    if (ViewStyle() == TViewStyle::vsIcon || ViewStyle() == TViewStyle::vsSmallIcon) {
        itemView_->verticalScrollBar()->setValue(0);
        itemView_->horizontalScrollBar()->setValue(0);
    }
    if (options_ & scsloDynamicRefresh) {
        StartFolderWatch();
    }
}

// The folder and its list are replaced together, and put back together when the fill fails;
// rows are added only once the whole folder is read and every item judged.
void TSCCustomShellList::FillList(IShellFolder* folder, LPCITEMIDLIST absolutePidl) {
    DoFillStart();
    const auto complete = qScopeGuard([this] { DoFillComplete(); });
    PidlPtr previousPidl = std::move(currentAbsolutePidl_);
    ComPtr<IShellFolder> previousFolder = std::move(currentFolder_);
    ComPtr<IShellDetails> previousDetails = std::move(folderDetails_);
    currentAbsolutePidl_.reset(DuplicatePidl(nullptr, absolutePidl));
    currentFolder_ = ComPtr<IShellFolder>(folder);
    try {
        folderDetails_ = GetShellDetails(folder);
        BuildColumns(folderDetails_.get());
        FolderListing listing = ReadFolder(OwnerWindow(this));
        if (!listing.opened) {
            throw EAbort();
        }
        CheckEnumerationEnd(listing.end);
        model_->Append(AcceptItems(std::move(listing.items)));
    } catch (...) {
        currentAbsolutePidl_ = std::move(previousPidl);
        currentFolder_ = std::move(previousFolder);
        folderDetails_ = std::move(previousDetails);
        throw;
    }
}

// Given an owner window, the namespace tells the user why a folder cannot be listed.
TSCCustomShellList::FolderListing TSCCustomShellList::ReadFolder(HWND owner) {
    SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    flags |= options_ & scsloShowHidden ? SHCONTF_INCLUDEHIDDEN : 0;
    FolderListing listing;
    ComPtr<IEnumIDList> items;
    if (!currentFolder_ || Failed(currentFolder_->EnumObjects(owner, flags, items.Put())) ||
        !items) {
        return listing;
    }
    listing.opened = true;
    listing.end = EnumerateItems(*items.get(),
                                 [&](PidlPtr item) { listing.items.push_back(std::move(item)); });
    return listing;
}

std::vector<TSCShellListItem> TSCCustomShellList::AcceptItems(std::vector<PidlPtr> items) {
    std::vector<TSCShellListItem> accepted;
    accepted.reserve(items.size());
    for (PidlPtr& item : items) {
        SFGAOF attributes = 0;
        if (AcceptItem(currentAbsolutePidl_.get(), item.get(), attributes)) {
            accepted.push_back(NewRow(std::move(item), attributes));
        }
    }
    return accepted;
}

TSCShellListItem TSCCustomShellList::NewRow(PidlPtr relativePidl, SFGAOF attributes) {
    TSCShellListItem row{std::make_unique<TSCShListData>(this)};
    row.Data->SetPidl(relativePidl.release());
    if (attributes & SFGAO_SHARE) {
        row.State |= RowOverlayShared;
    } else if (attributes & SFGAO_LINK) {
        row.State |= RowOverlayLink;
    }
    if (attributes & SFGAO_GHOSTED) {
        row.State |= RowCut;
    }
    return row;
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
    if (nameSet_ && !(attributes & SFGAO_FOLDER)) {
        allowAdd = MatchesFileFilter(
            FileNamePart(GetChildDisplayName(folder, relativePidl, SHGDN_FORPARSING)), attributes);
    }
    if (allowAdd && OnAddItem) {
        OnAddItem(this, folder, parentAbsolutePidl, relativePidl, attributes, allowAdd);
    }
    return allowAdd;
}

void TSCCustomShellList::Refresh() {
    if (schedule_.Defer()) {
        return;
    }
    if (Count() == 0) {
        FillFromFolder();
        return;
    }
    {
        ScopedIncrement listing(listing_);
        RefreshWithFilterHeld();
    }
    schedule_.Resume();
}

void TSCCustomShellList::RefreshWithFilterHeld() {
    Hourglass hourglass;
    DoFillStart();
    const auto complete = qScopeGuard([this] { DoFillComplete(); });
    PrepareFileFilter();
    const auto release = qScopeGuard([this] { ReleaseFileFilter(); });
    // A folder that cannot be listed any more shows as empty, without a word; a listing that
    // breaks off keeps what it read, and its error is shown after.
    FolderListing listing = ReadFolder(nullptr);
    model_->Remove(VanishedRows(listing.items));
    {
        std::vector<TSCShellListItem> added;
        const auto append = qScopeGuard([&] { model_->Append(std::move(added)); });
        for (PidlPtr& item : listing.items) {
            if (!item) {
                continue;
            }
            try {
                SFGAOF attributes = 0;
                if (AcceptItem(currentAbsolutePidl_.get(), item.get(), attributes)) {
                    added.push_back(NewRow(std::move(item), attributes));
                }
            } catch (...) {
                Messages().Show(MessageKind::Error, "Exception in AddNewShellItem",
                                MessageButtons::Ok);
                throw;
            }
        }
    }
    if (listing.opened && listing.end != E_FAIL) {
        CheckEnumerationEnd(listing.end);
    }
}

// The rows whose item is not among the enumerated ones; the enumerated items that a row
// already shows are dropped from the list, which leaves the new ones.
std::vector<int> TSCCustomShellList::VanishedRows(std::vector<PidlPtr>& enumerated) {
    TSCPidlList shown;
    shown.Duplicates = TSCPidlList::dupAccept;
    if (folder_.GetPath().empty()) {
        shown.CompareFolder = currentFolder_.get();
    }
    shown.SetCapacity(Count());
    for (int row = 0; row < Count(); ++row) {
        shown.AddObject(const_cast<LPITEMIDLIST>(model_->Item(row).Data->RelativePidl()),
                        reinterpret_cast<void*>(static_cast<std::intptr_t>(row)));
    }
    shown.Sort();
    std::vector<bool> kept(Count(), false);
    for (auto item = enumerated.rbegin(); item != enumerated.rend(); ++item) {
        int index = 0;
        if (!shown.Find(item->get(), index)) {
            continue;
        }
        const auto row = static_cast<int>(reinterpret_cast<std::intptr_t>(shown.GetObject(index)));
        if (!kept[row]) {
            kept[row] = true;
            item->reset();
        }
    }
    std::vector<int> vanished;
    for (int row = 0; row < Count(); ++row) {
        if (!kept[row]) {
            vanished.push_back(row);
        }
    }
    return vanished;
}

// Columns.

void TSCCustomShellList::BuildColumns(IShellDetails* details) {
    if (ColumnCount() > 0 && widthsSavable_) {
        SaveColumnWidths();
    }
    if (details) {
        BuildDetailColumns(details);
    } else {
        BuildOwnColumns();
    }
    ApplyHeaderSort();
    SetSortKey(std::abs(sortKey_) > ColumnCount() ? 1 : sortKey_);
}

void TSCCustomShellList::BuildOwnColumns() {
    const TSCDirectoryCols cols = ReadDirectoryCols();
    model_->SetColumns(OwnColumns());
    TSCDirectoryCols& last = LastDirectoryCols();
    if (last.Count != 0 && cols.Matches(last) && ColumnWidthStore().Size() > 0) {
        RestoreColumnWidths();
    } else {
        ApplyColumnWidths(OwnColumnWidths(cols, DesignScale::Of(*this)));
    }
    last = cols;
    widthsSavable_ = true;
    columnKind_ = TSCColumnKind::Own;
}

void TSCCustomShellList::BuildDetailColumns(IShellDetails* details) {
    const bool fileSystem = !PidlToPath(currentAbsolutePidl_.get()).empty();
    std::vector<TSCListColumn> columns;
    std::vector<int> widths;
    const DesignScale px = DesignScale::Of(*this);
    SHELLDETAILS column;
    while (Succeeded(details->GetDetailsOf(nullptr, static_cast<ULONG>(columns.size()), &column))) {
        columns.push_back({QString::fromStdString(StrRetToString(nullptr, column.str)),
                           ColumnAlignment(column.fmt)});
        widths.push_back(px(column.cxChar * WidthPerCharacter));
        FreeStrRet(column.str);
        column = SHELLDETAILS();
    }
    model_->SetColumns(std::move(columns));
    if (fileSystem && ColumnWidthStore().Size() > 0) {
        RestoreColumnWidths();
    } else {
        ApplyColumnWidths(widths);
    }
    widthsSavable_ = fileSystem;
    columnKind_ = TSCColumnKind::Details;
}

int TSCCustomShellList::ColumnWidth(int column) const {
    return columnFill_->Width(column);
}

void TSCCustomShellList::SetColumnWidth(int column, int width) {
    columnFill_->SetWidth(column, width);
}

std::vector<int> TSCCustomShellList::ColumnWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < ColumnCount(); ++column) {
        widths.push_back(ColumnWidth(column));
    }
    return widths;
}

void TSCCustomShellList::ApplyColumnWidths(const std::vector<int>& widths) {
    const int count = std::min(ColumnCount(), static_cast<int>(widths.size()));
    for (int column = 0; column < count; ++column) {
        SetColumnWidth(column, widths[column]);
    }
}

void TSCCustomShellList::SaveColumnWidths() {
    WriteColumnWidths(ColumnWidthStore(), ColumnWidths());
}

void TSCCustomShellList::RestoreColumnWidths() {
    ApplyColumnWidths(ReadColumnWidths(ColumnWidthStore()));
}

// Sorting.

int TSCCustomShellList::SortColumn() const {
    return std::abs(sortKey_) - 1;
}

bool TSCCustomShellList::SortDescending() const {
    return sortKey_ < 0;
}

void TSCCustomShellList::SetSortKey(int key) {
    sortKeySet_ = true;
    if (key != sortKey_) {
        sortKey_ = key;
        Resort();
        ApplyHeaderSort();
    }
}

void TSCCustomShellList::Resort() {
    if (Count() > 1) {
        model_->Reorder(SortedRowOrder(*model_, currentFolder_.get(), sortKey_));
    }
}

void TSCCustomShellList::ColumnClicked(int column) {
    sortKeySet_ = false;
    if (OnColumnClick) {
        OnColumnClick(this, column);
    }
    if (!sortKeySet_) {
        SetSortKey(column + 1 == sortKey_ ? -sortKey_ : column + 1);
    }
}

// The file filter.

void TSCCustomShellList::WriteFileFilter(const std::string& text) {
    if (text == fileFilter_) {
        return;
    }
    fileFilter_ = text;
    masks_ = ParseFileFilter(text);
    if (options_ & scsloAutoFill) {
        FillFromFolder();
    }
}

void TSCCustomShellList::PrepareFileFilter() {
    nameSet_.reset();
    const std::string path = folder_.GetPath();
    if (!path.empty() && !ShowsEverything(fileFilter_)) {
        nameSet_ = MatchingFileNames(path, masks_);
    }
}

bool TSCCustomShellList::MatchesFileFilter(const std::string& name, SFGAOF attributes) {
    return (attributes & SFGAO_FOLDER) || (nameSet_ && nameSet_->contains(name));
}

void TSCCustomShellList::ReleaseFileFilter() {
    nameSet_.reset();
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

// View styles.

QAbstractItemView* TSCCustomShellList::ViewFor(TViewStyle style) const {
    return style == TViewStyle::vsReport ? static_cast<QAbstractItemView*>(reportView_) : itemView_;
}

// The view of the new style takes the frame, the focus and the current row of the one before.
void TSCCustomShellList::ChangeViewStyle(TViewStyle style) {
    if (style == ViewStyle()) {
        return;
    }
    QAbstractItemView* previous = View();
    QAbstractItemView* next = ViewFor(style);
    const bool focused = previous->hasFocus();
    next->setFrameShape(previous->frameShape());
    model_->SetLargeIcons(style == TViewStyle::vsIcon);
    if (style == TViewStyle::vsReport) {
        model_->SetCellSize(QSize());
        reportView_->doItemsLayout(); // rows added meanwhile were laid out with the cells
    } else {
        model_->SetCellSize(ArrangeItemView(*itemView_, style));
        itemView_->doItemsLayout();
    }
    SetItemView(next);
    views_->setCurrentWidget(next);
    setFocusProxy(next);
    TSCCustomListView::ChangeViewStyle(style);
    if (focused) {
        next->setFocus();
    }
    if (selection_->currentIndex().isValid()) {
        next->scrollTo(selection_->currentIndex());
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
    schedule_.Flush();
}

void TSCCustomShellList::WMChangeNotify() {
    schedule_.Notice(View()->hasFocus());
}

void TSCCustomShellList::StartFolderWatch() {
    schedule_.Cancel();
    TChangeHandlerThread& thread = changeThread_.Get();
    thread.RemoveAllWatches();
    int slot = -1;
    thread.AddWatch(folder_.GetPath(), FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME,
                    slot, false);
}

void TSCCustomShellList::DeviceChange(TSCDeviceChangeHandler*, TMessage& message) {
    if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) {
        return;
    }
    RevalidateMyComputer();
    const RevalidationSuspension suspension;
    if (GetPidlCsidl(folder_.GetPidl()) == CSIDL_DRIVES) {
        FillFromFolder();
    }
}

void TSCCustomShellList::TimerFired() {
    {
        ScopedIncrement guard(folderChangeGuard_);
        FlushPendingTimers(true);
    }
    Refresh();
}

void TSCCustomShellList::ComponentRemoved(TSCLinkedTree& tree) {
    if (&tree == linkedTree_) {
        linkedTree_ = nullptr;
    }
}

// Opening.

void TSCCustomShellList::OpenItem(int index) {
    FlushPendingTimers(true);
    if (!IsShellItem(index)) {
        DoDblClickOpen();
        return;
    }
    Hourglass hourglass;
    TSCShListData& data = *GetItemData(index);
    LPCITEMIDLIST item = data.RelativePidl();
    const PidlPtr absolute(JoinPidls(nullptr, currentAbsolutePidl_.get(), item));
    SFGAOF attributes = SFGAO_FOLDER;
    if (currentFolder_->GetAttributesOf(1, &item, &attributes) == S_OK &&
        (attributes & SFGAO_FOLDER)) {
        NavigateTo(absolute.get());
    } else if (DoDblClickOpen()) {
        InvokeDefaultCommand({item});
    }
}

void TSCCustomShellList::OpenSelected() {
    FlushPendingTimers(true);
    const std::vector<LPCITEMIDLIST> items = SelectedRelativePidls();
    if (items.size() < 2) {
        if (Selected() >= 0) {
            OpenItem(Selected());
        }
    } else if (DoDblClickOpen()) {
        InvokeDefaultCommand(items);
    }
}

void TSCCustomShellList::InvokeDefaultCommand(const std::vector<LPCITEMIDLIST>& items) {
    std::unique_ptr<QMenu> menu;
    ComPtr<IContextMenu> contextMenu;
    OleCheck(BuildShellContextMenu(OwnerWindow(this), currentFolder_.get(),
                                   static_cast<ULONG>(items.size()), items.data(), FirstCommandId,
                                   CMF_EXPLORE, menu, contextMenu));
    const QAction* chosen = menu->defaultAction();
    const int command = chosen ? chosen->data().toInt() : 0;
    if (command >= static_cast<int>(FirstCommandId)) {
        InvokeVerb(OwnerWindow(this), contextMenu.get(), command - FirstCommandId);
    }
}

// The menu.

void TSCCustomShellList::ShowItemContextMenu(const QPoint& point) {
    const std::vector<LPCITEMIDLIST> items = SelectedRelativePidls();
    if (items.empty()) {
        return;
    }
    const int focused = ItemFocused();
    const bool renamable =
        !readOnly_ && IsShellItem(focused) && !GetItemData(focused)->GetPath().empty();
    std::unique_ptr<QMenu> menu;
    ComPtr<IContextMenu> contextMenu;
    if (Failed(BuildShellContextMenu(
            OwnerWindow(this), currentFolder_.get(), static_cast<ULONG>(items.size()), items.data(),
            FirstCommandId, CMF_EXPLORE | (renamable ? CMF_CANRENAME : 0), menu, contextMenu))) {
        return;
    }
    ConnectMenuHelpTexts(*menu, contextMenu, this, OnPopupHint);
    ConnectSendToMenu(*menu, contextMenu);
    // A refresh in the menu's loop may move the rows or remove the item.
    const QPersistentModelIndex focusedItem(model_->index(focused, 0));
    const TSCMenuCommand chosen =
        DecodeMenuCommand(TrackPopupMenu(*menu, View()->viewport()->mapToGlobal(point)));
    switch (chosen.kind) {
    case TSCMenuCommand::SendTo:
        SendToMenuCommand(chosen.index);
        break;
    case TSCMenuCommand::Rename:
        if (focusedItem.isValid()) {
            StartLabelEdit(focusedItem.row());
        }
        break;
    case TSCMenuCommand::Verb:
        InvokeVerb(OwnerWindow(this), contextMenu.get(), chosen.index);
        if (IsNetworkFolder()) {
            Refresh();
        }
        break;
    case TSCMenuCommand::None:
        break;
    }
}

void TSCCustomShellList::SendToMenuCommand(int index) {
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shlv>(*this);
    DropDataObject(SendToList().At(index).name, data.get());
}

void TSCCustomShellList::DoItemContextMenu(int item, QPoint& pos, QMenu*& menu) {
    TSCCustomListView::DoItemContextMenu(item, pos, menu);
    if ((options_ & scsloContextMenus) && !busy_) {
        ShowItemContextMenu(pos);
        menu = nullptr;
    }
}

void TSCCustomShellList::InvokeSelectionVerb(const std::string& verb) {
    void* object = nullptr;
    if (Failed(GetSelectionUIObject(IID_IContextMenu, &object))) {
        return;
    }
    const auto menu = ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    InvokeVerb(OwnerWindow(this), menu.get(), verb);
    if (IsNetworkFolder()) {
        Refresh();
    }
}

void TSCCustomShellList::InvokeFolderVerb(const std::string& verb) {
    TSCParentFolder parent = GetParentFolder(currentAbsolutePidl_.get());
    OleCheck(parent.Result);
    LPCITEMIDLIST child = parent.ChildPidl.get();
    void* object = nullptr;
    OleCheck(parent.Folder->GetUIObjectOf(OwnerWindow(this), 1, &child, IID_IContextMenu, nullptr,
                                          &object));
    const auto menu = ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    OleCheck(InvokeVerb(OwnerWindow(this), menu.get(), verb));
}

bool TSCCustomShellList::IsNetworkFolder() {
    return GetDriveType(folder_.GetPath()) == DriveType::Remote;
}

HRESULT TSCCustomShellList::GetSelectionUIObject(const IID& iid, void** object) {
    const std::vector<LPCITEMIDLIST> items = SelectedRelativePidls();
    if (items.empty() || !currentFolder_) {
        return E_FAIL;
    }
    return currentFolder_->GetUIObjectOf(OwnerWindow(this), static_cast<ULONG>(items.size()),
                                         items.data(), iid, nullptr, object);
}

HRESULT TSCCustomShellList::GetItemUIObject(int index, const IID& iid, void** object) {
    if (!IsShellItem(index) || !currentFolder_) {
        return E_INVALIDARG;
    }
    LPCITEMIDLIST item = GetItemData(index)->RelativePidl();
    return currentFolder_->GetUIObjectOf(OwnerWindow(this), 1, &item, iid, nullptr, object);
}

std::uint32_t TSCCustomShellList::GetAllowedDropEffects() {
    const std::vector<LPCITEMIDLIST> items = SelectedRelativePidls();
    if (items.empty()) {
        return 0;
    }
    SFGAOF attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
    OleCheck(currentFolder_->GetAttributesOf(static_cast<ULONG>(items.size()), items.data(),
                                             &attributes));
    return attributes & (SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK);
}

bool TSCCustomShellList::DoDblClickOpen() {
    bool handled = false;
    if (OnDblClickOpen) {
        OnDblClickOpen(this, handled);
    }
    return !handled;
}

std::vector<LPCITEMIDLIST> TSCCustomShellList::SelectedRelativePidls() const {
    std::vector<LPCITEMIDLIST> items;
    for (const int row : SelectedItems()) {
        if (IsShellItem(row)) {
            items.push_back(GetItemData(row)->RelativePidl());
        }
    }
    return items;
}

// Renaming in place.

bool TSCCustomShellList::AllowLabelEdit(int index) {
    return !readOnly_ && (!IsShellItem(index) || GetItemData(index)->CanRename());
}

void TSCCustomShellList::StartLabelEdit(int index) {
    if (index < 0 || index >= Count() || !AllowLabelEdit(index)) {
        return;
    }
    const QModelIndex item = model_->index(index, 0);
    View()->scrollTo(item);
    View()->edit(item);
    editing_ = View()->indexWidget(item) != nullptr;
}

std::string TSCCustomShellList::EditingName(int index) const {
    return GetChildDisplayName(currentFolder_.get(), GetItemData(index)->RelativePidl(),
                               SHGDN_INFOLDER | SHGDN_FOREDITING);
}

// The edited text goes back to the name's bytes; an edit that changed nothing renames nothing.
// Only a rename that changed the disk expects its own change notice.
void TSCCustomShellList::LabelEdited(int index, const QString& edited) {
    const std::string oldName = EditingName(index);
    std::optional<std::string> text = EditedName(oldName, edited);
    if (!text) {
        return;
    }
    if (OnEdited) {
        OnEdited(this, index, *text);
    }
    Hourglass hourglass;
    TSCShListData& data = *GetItemData(index);
    LPITEMIDLIST renamed = nullptr;
    if (Failed(currentFolder_->SetNameOf(OwnerWindow(this), data.RelativePidl(), *text,
                                         SHGDN_INFOLDER, &renamed))) {
        return;
    }
    if (*text != oldName) {
        schedule_.ExpectOwnChange();
    }
    if (renamed) {
        data.SetPidl(renamed);
    }
}

void TSCCustomShellList::EditorClosed() {
    editing_ = false;
    TakeFocusBackFromEditor(*this);
    schedule_.Resume();
}

// Items and the selection.

TSCShListData* TSCCustomShellList::GetItemData(int index) const {
    return model_->Item(index).Data.get();
}

bool TSCCustomShellList::IsShellItem(int index) const {
    return index >= 0 && index < Count() && GetItemData(index) != nullptr;
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

bool TSCCustomShellList::IsSelected(int index) const {
    return selection_->isSelected(model_->index(index, 0));
}

void TSCCustomShellList::SetSelected(int index, bool selected) {
    selection_->select(model_->index(index, 0),
                       (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                           QItemSelectionModel::Rows);
}

int TSCCustomShellList::ItemFocused() const {
    const QModelIndex current = selection_->currentIndex();
    return current.isValid() ? current.row() : -1;
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

void TSCCustomShellList::InvertSelection() {
    QItemSelection inverted;
    int runStart = -1;
    for (int row = 0; row <= Count(); ++row) {
        const bool select = row < Count() && !IsSelected(row);
        if (select && runStart < 0) {
            runStart = row;
        } else if (!select && runStart >= 0) {
            inverted.append(
                QItemSelectionRange(model_->index(runStart, 0), model_->index(row - 1, 0)));
            runStart = -1;
        }
    }
    selection_->select(inverted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Custom draw.

std::unique_ptr<TSCLvCustomDraw> TSCCustomShellList::DoCustomDraw(NMCUSTOMDRAW& notification,
                                                                  LRESULT& result) {
    const int item = DrawnItem(notification).row();
    TSCShListData* data = IsShellItem(item) ? GetItemData(item) : nullptr;
    return DispatchCustomDraw<TSCLvCustomDraw>(
        notification, result,
        {BindDrawHandler<TSCLvCustomDraw>(OnCustomDrawShEx, this, item, data),
         BindDrawHandler<TSCLvCustomDraw>(OnCustomDrawSh, this, item, data)},
        [&] { return CreateCustomDraw(notification, result); });
}

// Keys and the wheel.

void TSCCustomShellList::HandleKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TSCCustomListView::HandleKeyDown(key, shift);
    if (key == 0 || !(options_ & scsloDefaultKeyHandling) || editing_) {
        return;
    }
    RunDefaultKey(key, shift,
                  {.selectAll = [this] { SelectAllItems(); },
                   .rename = [this] { StartLabelEdit(ItemFocused()); },
                   .refresh = [this] { FillFromFolder(); },
                   .itemVerb = [this](const std::string& verb) { InvokeSelectionVerb(verb); },
                   .folderVerb = [this](const std::string& verb) { InvokeFolderVerb(verb); },
                   .afterChange = [this] { Refresh(); }});
}

bool TSCCustomShellList::HandleKeyPress(QKeyEvent& event) {
    if (!(options_ & scsloDefaultKeyHandling) || editing_ ||
        event.modifiers() & ~Qt::KeypadModifier) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Backspace:
        GoUp(1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OpenSelected();
        return true;
    default:
        return false;
    }
}

// The list style scrolls sideways, one step a turn of the wheel.
bool TSCCustomShellList::HandleMouseWheel(QWheelEvent& event) {
    if (ViewStyle() != TViewStyle::vsList || event.angleDelta().y() == 0) {
        return false;
    }
    QScrollBar* bar = itemView_->horizontalScrollBar();
    bar->setValue(bar->value() + (event.angleDelta().y() < 0 ? 1 : -1) * bar->singleStep());
    return true;
}

// Qt's entries.

bool TSCCustomShellList::event(QEvent* event) {
    if (const TMessage* message = MessageOf(event); message && message->Msg == WM_CHANGENOTIFY) {
        RunShellGuarded([this] { WMChangeNotify(); });
        return true;
    }
    return TSCCustomListView::event(event);
}

// The base takes the keys down and the context menus; Backspace and Enter come after it.
bool TSCCustomShellList::eventFilter(QObject* watched, QEvent* event) {
    const bool view = watched == reportView_ || watched == itemView_;
    const bool viewport = watched == reportView_->viewport() || watched == itemView_->viewport();
    if (!view && !viewport) {
        return TSCCustomListView::eventFilter(watched, event);
    }
    bool used = false;
    switch (event->type()) {
    case QEvent::KeyPress:
        used = TSCCustomListView::eventFilter(watched, event);
        if (!used && view) {
            RunShellGuarded([&] { used = HandleKeyPress(*static_cast<QKeyEvent*>(event)); });
        }
        return used;
    case QEvent::Wheel:
        if (viewport) {
            RunShellGuarded([&] { used = HandleMouseWheel(*static_cast<QWheelEvent*>(event)); });
        }
        break;
    case QEvent::KeyRelease:
        if (view && OnKeyUp) {
            RunShellGuarded([&] { OnKeyUp(this, static_cast<QKeyEvent*>(event)); });
        }
        break;
    case QEvent::MouseButtonDblClick:
        doubleClickButton_ = static_cast<QMouseEvent*>(event)->button(); // the view signals it
        break;
    case QEvent::MouseButtonRelease:
        if (viewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && OnClick) {
            RunShellGuarded([&] { OnClick(this); });
        }
        break;
    default:
        break;
    }
    return used || TSCCustomListView::eventFilter(watched, event);
}

} // namespace quarn
