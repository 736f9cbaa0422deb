#include "ShellListModel.h"

#include "ShellGuard.h"
#include "ShellListData.h"
#include "SystemImageList.h"
#include "namespace/ShellConstants.h"

#include <QString>
#include <algorithm>
#include <numeric>

namespace quarn {

namespace {

const char* const ColumnCaptions[] = {"Name"};

} // namespace

TSCShellListModel::TSCShellListModel(QObject* parent) : QAbstractTableModel(parent) {
}

TSCShellListModel::~TSCShellListModel() = default;

void TSCShellListModel::Append(std::vector<TSCShellListItem> items) {
    if (items.empty()) {
        return;
    }
    const int first = Count();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    items_.insert(items_.end(), std::make_move_iterator(items.begin()),
                  std::make_move_iterator(items.end()));
    endInsertRows();
}

void TSCShellListModel::Clear() {
    if (OnDeleting) {
        for (auto& item : items_) {
            OnDeleting(item);
        }
    }
    beginResetModel();
    items_.clear();
    endResetModel();
}

void TSCShellListModel::Sort(
    const std::function<int(const TSCShellListItem&, const TSCShellListItem&)>& compare) {
    if (Count() < 2) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(items_[a], items_[b]) < 0; });
    std::vector<TSCShellListItem> sorted;
    sorted.reserve(items_.size());
    std::vector<int> newRow(items_.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        sorted.push_back(std::move(items_[order[row]]));
        newRow[order[row]] = static_cast<int>(row);
    }
    items_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        to.append(this->index(newRow[index.row()], index.column()));
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TSCShellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int TSCShellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(ColumnCaptions));
}

QVariant TSCShellListModel::ItemData(TSCShellListItem& item, int role) const {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromUtf8(item.Data->GetDisplayName());
    case Qt::DecorationRole: {
        if (item.ImageIndex == 0) {
            item.ImageIndex = GetPidlIconIndex(item.Data->GetAbsolutePidl(), SHGFI_SMALLICON);
        }
        return GetSystemImageList(TSystemImageList::Small)->Icon(item.ImageIndex);
    }
    default:
        return {};
    }
}

QVariant TSCShellListModel::data(const QModelIndex& index, int role) const {
    QVariant answer;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() != 0) {
        return answer;
    }
    RunShellGuarded([&] { answer = ItemData(items_[index.row()], role); });
    return answer;
}

QVariant TSCShellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount()) {
        return QString::fromLatin1(ColumnCaptions[section]);
    }
    return {};
}

Qt::ItemFlags TSCShellListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace quarn
