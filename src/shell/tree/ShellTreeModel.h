#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quarn {

class TSCShTreeData;

// One node of the folder tree: its caption (the item's raw name bytes), its children and its
// shell data. The has-children flag shows an expand button before the children are known.
class TSCShellTreeNode {
public:
    TSCShellTreeNode(std::string text, bool hasChildren, std::unique_ptr<TSCShTreeData> data);
    ~TSCShellTreeNode();
    TSCShellTreeNode(const TSCShellTreeNode&) = delete;
    TSCShellTreeNode& operator=(const TSCShellTreeNode&) = delete;

    // None for a top-level node.
    TSCShellTreeNode* Parent() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TSCShellTreeNode* Item(int index) const { return children_.at(index).get(); }
    const std::string& Text() const { return text_; }
    bool HasChildren() const { return hasChildren_; }
    // A fill of the node runs, or has just failed: the view asks for no other meanwhile.
    bool FillHeld() const { return fillHeld_; }
    // None for a node that other code added.
    TSCShTreeData* Data() const { return data_.get(); }
    // overlay: 0 none, 1 shared, 2 link; cut: drawn dimmed (hidden items).
    void SetLook(int overlay, bool cut) {
        overlay_ = overlay;
        cut_ = cut;
    }

private:
    friend class TSCShellTreeModel;
    TSCShellTreeNode() = default; // the model's invisible root

    TSCShellTreeNode* parent_ = nullptr;
    int row_ = 0;
    std::vector<std::unique_ptr<TSCShellTreeNode>> children_;
    std::string text_;
    bool hasChildren_ = false;
    bool fillHeld_ = false;
    std::unique_ptr<TSCShTreeData> data_;
    int imageIndex_ = 0; // 0: not looked up yet
    int selectedIndex_ = 0;
    int overlay_ = 0;
    bool cut_ = false;
};

// The nodes of one folder tree, for its view: one column, the caption and the icon (the open
// folder's icon while selected), children fetched when a node is first expanded.
class TSCShellTreeModel final : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit TSCShellTreeModel(QObject* parent = nullptr);
    ~TSCShellTreeModel() override;

    // parent none: the top level.
    int Count(const TSCShellTreeNode* parent) const;
    TSCShellTreeNode* Child(const TSCShellTreeNode* parent, int index) const;
    // Adds node as the new last child of parent (top level when none).
    TSCShellTreeNode* Append(TSCShellTreeNode* parent, std::unique_ptr<TSCShellTreeNode> node);

    // While it lives, the children appended to one node are in the node at once but reach the
    // views together, in one insertion, when it ends (or before the model changes otherwise).
    class [[nodiscard]] AppendBatch {
    public:
        AppendBatch(TSCShellTreeModel& model, TSCShellTreeNode* parent);
        ~AppendBatch();
        AppendBatch(const AppendBatch&) = delete;
        AppendBatch& operator=(const AppendBatch&) = delete;

    private:
        TSCShellTreeModel& model_;
    };
    void Clear();
    // Deletes a node with its children.
    void Remove(TSCShellTreeNode* node);
    void SetText(TSCShellTreeNode* node, std::string text);
    void SetHasChildren(TSCShellTreeNode* node, bool hasChildren);
    void SetFillHeld(TSCShellTreeNode* node, bool held) { node->fillHeld_ = held; }
    // Puts the children of parent in a new order: order[i] is the row of the child that comes
    // i-th.
    void Reorder(TSCShellTreeNode* parent, const std::vector<int>& order);

    QModelIndex IndexOf(const TSCShellTreeNode* node) const;
    // None for the invalid index.
    TSCShellTreeNode* NodeOf(const QModelIndex& index) const;

    // Fills a node that is expanded for the first time.
    std::function<void(TSCShellTreeNode&)> OnFetchMore;
    // Before a node is deleted, while its data still lives; children come before parents.
    std::function<void(TSCShellTreeNode&)> OnDeleting;
    // The image indexes of a node that has none yet (0 each).
    std::function<void(TSCShellTreeNode&, int& imageIndex, int& selectedIndex)> OnGetImageIndex;
    // A label edit ended with a text. The model keeps its data as it is: the tree renames the
    // node itself.
    std::function<void(TSCShellTreeNode&, const QString&)> OnLabelEdited;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The one column's title "Name", which screen readers read also while it is hidden.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    TSCShellTreeNode* Owner(const TSCShellTreeNode* parent) const;
    // The children of owner that the views know of.
    int ShownCount(const TSCShellTreeNode* owner) const;
    // Shows the views the children appended in the running batch.
    void AnnounceBatch();
    void NotifyDeleting(TSCShellTreeNode& node);
    QIcon NodeIcon(TSCShellTreeNode& node) const;

    std::unique_ptr<TSCShellTreeNode> root_;
    struct IconKey {
        int image;
        int selected;
        int overlay;
        bool cut;
        auto operator<=>(const IconKey&) const = default;
    };
    mutable std::map<IconKey, QIcon> icons_;
    TSCShellTreeNode* batchOwner_ = nullptr; // whose appends wait for the batch's end
    int batchShown_ = 0;                     // its children that the views know of
};

} // namespace quarn
