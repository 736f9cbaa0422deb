#include "shell/list/ShellListModel.h"

#include "namespace/ShellConstants.h"
#include "shell/common/ShellGuard.h"
#include "shell/common/SystemImageList.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/views/RenameEditor.h"

#include <QHash>
#include <QPainter>
#include <algorithm>

namespace quarn {

namespace {

// The row's icon with its overlay drawn over the lower left corner, faded when cut.
QIcon DecoratedIcon(const TSystemImageList& images, int index, std::uint8_t state) {
    QPixmap picture = images.Pixmap(index);
    if (picture.isNull()) {
        return {};
    }
    QPixmap result(picture.size());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(state & RowCut ? 0.5 : 1.0);
    painter.drawPixmap(0, 0, picture);
    const int overlay = state & RowOverlayShared ? 1 : (state & RowOverlayLink ? 2 : 0);
    if (const int image = overlay ? images.OverlayImage(overlay) : 0) {
        const QPixmap mark = images.Pixmap(image);
        const QSize corner = result.size() / 2;
        painter.setOpacity(1.0);
        painter.drawPixmap(QRect(QPoint(0, result.height() - corner.height()), corner), mark);
    }
    painter.end();
    return QIcon(result);
}

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
        for (int row = 0; row < Count(); ++row) {
            OnDeleting(row, items_[row]);
        }
    }
    beginResetModel();
    items_.clear();
    endResetModel();
}

void TSCShellListModel::Remove(const std::vector<int>& rows) {
    // From the last run of adjacent rows to the first, so the rows before stay where they are.
    auto end = rows.end();
    while (end != rows.begin()) {
        auto start = std::prev(end);
        while (start != rows.begin() && *std::prev(start) == *start - 1) {
            --start;
        }
        const int first = *start;
        const int last = *std::prev(end);
        if (OnDeleting) {
            for (int row = first; row <= last; ++row) {
                OnDeleting(row, items_[row]);
            }
        }
        beginRemoveRows({}, first, last);
        items_.erase(items_.begin() + first, items_.begin() + last + 1);
        endRemoveRows();
        end = start;
    }
}

void TSCShellListModel::Reorder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
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

void TSCShellListModel::SetColumns(std::vector<TSCListColumn> columns) {
    if (columns == columns_) {
        return;
    }
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

void TSCShellListModel::SetLargeIcons(bool large) {
    if (large == largeIcons_) {
        return;
    }
    largeIcons_ = large;
    if (Count() > 0) {
        emit dataChanged(index(0, 0), index(Count() - 1, 0), {Qt::DecorationRole});
    }
}

int TSCShellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int TSCShellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, static_cast<int>(columns_.size()));
}

QVariant TSCShellListModel::ItemIcon(TSCShellListItem& item) const {
    if (item.ImageIndex == 0) {
        item.ImageIndex =
            GetPidlIconIndex(item.Data->GetAbsolutePidl(), largeIcons_ ? 0 : SHGFI_SMALLICON);
    }
    const TSystemImageList* images =
        GetSystemImageList(largeIcons_ ? TSystemImageList::Large : TSystemImageList::Small);
    if (item.State == 0) {
        return images->Icon(item.ImageIndex);
    }
    static QHash<quint64, QIcon> decorated;
    const quint64 key = (quint64(item.ImageIndex) << 16) | (quint64(largeIcons_) << 8) | item.State;
    auto found = decorated.find(key);
    if (found == decorated.end()) {
        found = decorated.insert(key, DecoratedIcon(*images, item.ImageIndex, item.State));
    }
    return *found;
}

QVariant TSCShellListModel::ItemData(TSCShellListItem& item, int column, int role) const {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromUtf8(
            column == 0 ? item.Data->GetDisplayName()
                        : item.Data->GetDetailText(column, item.Data->List->FolderDetails()));
    case Qt::EditRole:
        return column == 0 && EditText ? EditorText(EditText(&item - items_.data())) : QVariant();
    case Qt::DecorationRole:
        return column == 0 ? ItemIcon(item) : QVariant();
    case Qt::SizeHintRole:
        return cellSize_.isValid() ? QVariant(cellSize_) : QVariant();
    case Qt::TextAlignmentRole:
        return column > 0 && column < static_cast<int>(columns_.size())
                   ? QVariant(columns_[column].Alignment | Qt::AlignVCenter)
                   : QVariant();
    default:
        return {};
    }
}

QVariant TSCShellListModel::data(const QModelIndex& index, int role) const {
    QVariant answer;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !items_[index.row()].Data) {
        return answer;
    }
    RunShellGuarded([&] { answer = ItemData(items_[index.row()], index.column(), role); });
    return answer;
}

QVariant TSCShellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return columns_[section].Caption;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant(columns_[section].Alignment | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags TSCShellListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags editable = index.column() == 0 ? Qt::ItemIsEditable : Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | editable;
}

bool TSCShellListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != 0 ||
        !checkIndex(index, CheckIndexOption::IndexIsValid) || !OnEdited) {
        return false;
    }
    const QPersistentModelIndex edited(index);
    RunShellGuarded([&] { OnEdited(index.row(), value.toString()); });
    if (edited.isValid()) {
        items_[edited.row()].ImageIndex = 0; // a new name may have another icon and type
        emit dataChanged(edited, this->index(edited.row(), columnCount() - 1));
    }
    return true;
}

} // namespace quarn
