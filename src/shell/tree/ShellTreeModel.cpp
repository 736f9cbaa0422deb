#include "shell/tree/ShellTreeModel.h"

#include "namespace/ShellConstants.h"
#include "shell/common/ShellGuard.h"
#include "shell/common/SystemImageList.h"
#include "shell/tree/ShellTreeData.h"
#include "shell/views/RenameEditor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <utility>

namespace quarn {

TSCShellTreeNode::TSCShellTreeNode(std::string text, bool hasChildren,
                                   std::unique_ptr<TSCShTreeData> data)
    : text_(std::move(text)), hasChildren_(hasChildren), data_(std::move(data)) {
}

TSCShellTreeNode::~TSCShellTreeNode() = default;

TSCShellTreeNode* TSCShellTreeNode::Parent() const {
    return parent_ && parent_->parent_ ? parent_ : nullptr;
}

TSCShellTreeModel::TSCShellTreeModel(QObject* parent)
    : QAbstractItemModel(parent), root_(new TSCShellTreeNode()) {
}

TSCShellTreeModel::~TSCShellTreeModel() = default;

TSCShellTreeNode* TSCShellTreeModel::Owner(const TSCShellTreeNode* parent) const {
    return parent ? const_cast<TSCShellTreeNode*>(parent) : root_.get();
}

int TSCShellTreeModel::Count(const TSCShellTreeNode* parent) const {
    return Owner(parent)->Count();
}

TSCShellTreeNode* TSCShellTreeModel::Child(const TSCShellTreeNode* parent, int index) const {
    return Owner(parent)->Item(index);
}

TSCShellTreeNode* TSCShellTreeModel::Append(TSCShellTreeNode* parent,
                                            std::unique_ptr<TSCShellTreeNode> node) {
    TSCShellTreeNode* owner = Owner(parent);
    const int row = owner->Count();
    node->parent_ = owner;
    node->row_ = row;
    if (owner == batchOwner_) {
        owner->children_.push_back(std::move(node));
        return owner->children_.back().get();
    }
    AnnounceBatch();
    beginInsertRows(IndexOf(parent), row, row);
    owner->children_.push_back(std::move(node));
    endInsertRows();
    return owner->children_.back().get();
}

TSCShellTreeModel::AppendBatch::AppendBatch(TSCShellTreeModel& model, TSCShellTreeNode* parent)
    : model_(model) {
    model_.AnnounceBatch();
    model_.batchOwner_ = model_.Owner(parent);
    model_.batchShown_ = model_.batchOwner_->Count();
}

TSCShellTreeModel::AppendBatch::~AppendBatch() {
    model_.AnnounceBatch();
}

int TSCShellTreeModel::ShownCount(const TSCShellTreeNode* owner) const {
    return owner == batchOwner_ ? batchShown_ : owner->Count();
}

void TSCShellTreeModel::AnnounceBatch() {
    TSCShellTreeNode* owner = batchOwner_;
    if (owner && batchShown_ < owner->Count()) {
        beginInsertRows(IndexOf(owner), batchShown_, owner->Count() - 1);
        batchOwner_ = nullptr; // the views see the new rows from here on
        endInsertRows();
    }
    batchOwner_ = nullptr;
}

void TSCShellTreeModel::NotifyDeleting(TSCShellTreeNode& node) {
    for (const auto& child : node.children_) {
        NotifyDeleting(*child);
    }
    if (OnDeleting) {
        OnDeleting(node);
    }
}

void TSCShellTreeModel::Clear() {
    AnnounceBatch();
    for (const auto& node : root_->children_) {
        NotifyDeleting(*node);
    }
    beginResetModel();
    root_->children_.clear();
    endResetModel();
}

void TSCShellTreeModel::Remove(TSCShellTreeNode* node) {
    AnnounceBatch();
    NotifyDeleting(*node);
    TSCShellTreeNode* owner = node->parent_;
    const int row = node->row_;
    beginRemoveRows(IndexOf(node->Parent()), row, row);
    owner->children_.erase(owner->children_.begin() + row);
    for (int next = row; next < owner->Count(); ++next) {
        owner->children_[next]->row_ = next;
    }
    endRemoveRows();
}

void TSCShellTreeModel::SetText(TSCShellTreeNode* node, std::string text) {
    node->text_ = std::move(text);
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
}

void TSCShellTreeModel::SetHasChildren(TSCShellTreeNode* node, bool hasChildren) {
    if (node->hasChildren_ != hasChildren) {
        node->hasChildren_ = hasChildren;
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index);
    }
}

void TSCShellTreeModel::Reorder(TSCShellTreeNode* parent, const std::vector<int>& order) {
    AnnounceBatch();
    TSCShellTreeNode* owner = Owner(parent);
    if (owner->Count() < 2) {
        return;
    }
    const QModelIndex parentIndex = IndexOf(parent);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)},
                                QAbstractItemModel::VerticalSortHint);
    std::vector<std::unique_ptr<TSCShellTreeNode>> sorted;
    sorted.reserve(order.size());
    for (const int row : order) {
        sorted.push_back(std::move(owner->children_[row]));
    }
    owner->children_ = std::move(sorted);
    QModelIndexList from;
    QModelIndexList to;
    for (const QModelIndex& index : persistentIndexList()) {
        if (index.parent() == parentIndex) {
            from.append(index);
        }
    }
    for (int row = 0; row < owner->Count(); ++row) {
        owner->children_[row]->row_ = row;
    }
    for (const QModelIndex& index : from) {
        auto* node = static_cast<TSCShellTreeNode*>(index.internalPointer());
        to.append(createIndex(node->row_, index.column(), node));
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({QPersistentModelIndex(parentIndex)}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex TSCShellTreeModel::IndexOf(const TSCShellTreeNode* node) const {
    if (node == nullptr || node == root_.get()) {
        return {};
    }
    return createIndex(node->row_, 0, const_cast<TSCShellTreeNode*>(node));
}

TSCShellTreeNode* TSCShellTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TSCShellTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TSCShellTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column, Owner(NodeOf(parent))->Item(row));
}

QModelIndex TSCShellTreeModel::parent(const QModelIndex& child) const {
    const TSCShellTreeNode* node = NodeOf(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TSCShellTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return ShownCount(Owner(NodeOf(parent)));
}

int TSCShellTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

namespace {

// The overlay in the lower left corner, at half the icon's size.
QPixmap WithOverlay(QPixmap pixmap, const QPixmap& overlay) {
    if (!overlay.isNull()) {
        QPainter painter(&pixmap);
        const int size = pixmap.width() / 2;
        painter.drawPixmap(QRect(0, pixmap.height() - size, size, size), overlay);
    }
    return pixmap;
}

} // namespace

QIcon TSCShellTreeModel::NodeIcon(TSCShellTreeNode& node) const {
    if (node.imageIndex_ == 0 && OnGetImageIndex) {
        OnGetImageIndex(node, node.imageIndex_, node.selectedIndex_);
    }
    const IconKey key{node.imageIndex_, node.selectedIndex_, node.overlay_, node.cut_};
    auto found = icons_.find(key);
    if (found == icons_.end()) {
        const TSystemImageList* images = GetSystemImageList(TSystemImageList::Small);
        const QPixmap overlay =
            node.overlay_ ? images->Pixmap(images->OverlayImage(node.overlay_)) : QPixmap();
        const auto look = [&](int index) {
            QPixmap pixmap = WithOverlay(images->Pixmap(index), overlay);
            return node.cut_ ? images->Icon(index).pixmap(pixmap.size(), QIcon::Disabled) : pixmap;
        };
        QIcon icon(look(key.image));
        if (key.selected != 0) {
            icon.addPixmap(look(key.selected), QIcon::Selected);
        }
        found = icons_.emplace(key, icon).first;
    }
    return found->second;
}

QVariant TSCShellTreeModel::data(const QModelIndex& index, int role) const {
    TSCShellTreeNode* node = NodeOf(index);
    QVariant answer;
    if (node == nullptr) {
        return answer;
    }
    RunShellGuarded([&] {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            answer = QString::fromUtf8(node->text_);
            break;
        case Qt::EditRole:
            answer = EditorText(node->text_);
            break;
        case Qt::ForegroundRole:
            if (node->cut_) {
                answer = QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            }
            break;
        case Qt::DecorationRole:
            answer = NodeIcon(*node);
            break;
        default:
            break;
        }
    });
    return answer;
}

QVariant TSCShellTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section != 0 ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
        return {};
    }
    return QStringLiteral("Name");
}

// Nodes are editable; the tree decides whether a label edit may start.
Qt::ItemFlags TSCShellTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                           : Qt::NoItemFlags;
}

bool TSCShellTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TSCShellTreeNode* node = NodeOf(index);
    if (node && role == Qt::EditRole && OnLabelEdited) {
        RunShellGuarded([&] { OnLabelEdited(*node, value.toString()); });
    }
    return false;
}

bool TSCShellTreeModel::hasChildren(const QModelIndex& parent) const {
    const TSCShellTreeNode* owner = Owner(NodeOf(parent));
    return ShownCount(owner) > 0 || owner->hasChildren_;
}

bool TSCShellTreeModel::canFetchMore(const QModelIndex& parent) const {
    const TSCShellTreeNode* node = NodeOf(parent);
    return node && node->data_ && node->hasChildren_ && node->Count() == 0 && !node->fillHeld_;
}

void TSCShellTreeModel::fetchMore(const QModelIndex& parent) {
    TSCShellTreeNode* node = NodeOf(parent);
    if (node && OnFetchMore) {
        RunShellGuarded([&] { OnFetchMore(*node); });
    }
}

} // namespace quarn
