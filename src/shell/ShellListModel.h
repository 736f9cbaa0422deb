#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <vector>

namespace quarn {

class TSCShListData;

// One row of the file list.
struct TSCShellListItem {
    std::unique_ptr<TSCShListData> Data;
    int ImageIndex = 0; // 0: not looked up yet
};

// The rows of one file list, for every view of it: names and icons are asked of each row's
// data only when a view shows the row.
class TSCShellListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TSCShellListModel(QObject* parent = nullptr);
    ~TSCShellListModel() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TSCShellListItem& Item(int row) { return items_.at(row); }
    void Append(std::vector<TSCShellListItem> items);
    void Clear();
    // Orders the rows by compare's sign; selections and other kept indexes follow their rows.
    void Sort(const std::function<int(const TSCShellListItem&, const TSCShellListItem&)>& compare);

    // Before a row is deleted, while its data still lives.
    std::function<void(TSCShellListItem&)> OnDeleting;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant ItemData(TSCShellListItem& item, int role) const;

    mutable std::vector<TSCShellListItem> items_;
};

} // namespace quarn
