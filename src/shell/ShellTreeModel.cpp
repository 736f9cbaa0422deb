#include "ShellTreeModel.h"

#include "ShellGuard.h"
#include "ShellTreeData.h"
#include "SystemImageList.h"
#include "namespace/ShellConstants.h"

#include <algorithm>

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
    beginInsertRows(IndexOf(parent), row, row);
    owner->children_.push_back(std::move(node));
    endInsertRows();
    return owner->children_.back().get();
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
    for (const auto& node : root_->children_) {
        NotifyDeleting(*node);
    }
    beginResetModel();
    root_->children_.clear();
    endResetModel();
}

void TSCShellTreeModel::SetHasChildren(TSCShellTreeNode* node, bool hasChildren) {
    if (node->hasChildren_ != hasChildren) {
        node->hasChildren_ = hasChildren;
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index);
    }
}

void TSCShellTreeModel::SortChildren(
    TSCShellTreeNode* parent,
    const std::function<int(TSCShellTreeNode&, TSCShellTreeNode&)>& compare) {
    TSCShellTreeNode* owner = Owner(parent);
    if (owner->Count() < 2) {
        return;
    }
    const QModelIndex parentIndex = IndexOf(parent);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)},
                                QAbstractItemModel::VerticalSortHint);
    auto& children = owner->children_;
    std::stable_sort(children.begin(), children.end(),
                     [&](const auto& a, const auto& b) { return compare(*a, *b) < 0; });
    QModelIndexList from;
    QModelIndexList to;
    for (const QModelIndex& index : persistentIndexList()) {
        if (index.parent() == parentIndex) {
            from.append(index);
        }
    }
    for (int row = 0; row < owner->Count(); ++row) {
        children[row]->row_ = row;
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
    return Owner(NodeOf(parent))->Count();
}

int TSCShellTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QIcon TSCShellTreeModel::NodeIcon(TSCShellTreeNode& node) const {
    if (node.imageIndex_ == 0 && node.data_) {
        LPCITEMIDLIST absolute = node.data_->GetAbsolutePidl();
        node.imageIndex_ = GetPidlIconIndex(absolute, SHGFI_SMALLICON);
        node.selectedIndex_ = GetPidlIconIndex(absolute, SHGFI_SMALLICON | SHGFI_OPENICON);
    }
    const std::pair key{node.imageIndex_, node.selectedIndex_};
    auto found = icons_.find(key);
    if (found == icons_.end()) {
        const TSystemImageList* images = GetSystemImageList(TSystemImageList::Small);
        QIcon icon = images->Icon(key.first);
        if (key.second != 0) {
            icon.addPixmap(images->Pixmap(key.second), QIcon::Selected);
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
        case Qt::DecorationRole:
            answer = NodeIcon(*node);
            break;
        default:
            break;
        }
    });
    return answer;
}

Qt::ItemFlags TSCShellTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TSCShellTreeModel::hasChildren(const QModelIndex& parent) const {
    const TSCShellTreeNode* owner = Owner(NodeOf(parent));
    return owner->Count() > 0 || owner->hasChildren_;
}

bool TSCShellTreeModel::canFetchMore(const QModelIndex& parent) const {
    const TSCShellTreeNode* node = NodeOf(parent);
    return node && node->data_ && node->hasChildren_ && node->Count() == 0;
}

void TSCShellTreeModel::fetchMore(const QModelIndex& parent) {
    TSCShellTreeNode* node = NodeOf(parent);
    if (node && OnFetchMore) {
        RunShellGuarded([&] { OnFetchMore(*node); });
    }
}

} // namespace quarn
