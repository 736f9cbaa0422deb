#pragma once

#include <QAbstractTableModel>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quarn {

class TSCShListData;

// How a row's icon is shown: with the shared or the link overlay, and faded when the item
// is cut.
inline constexpr std::uint8_t RowOverlayShared = 1;
inline constexpr std::uint8_t RowOverlayLink = 2;
inline constexpr std::uint8_t RowCut = 4;

// One row of the file list.
struct TSCShellListItem {
    std::unique_ptr<TSCShListData> Data;
    int ImageIndex = 0; // 0: not looked up yet
    std::uint8_t State = 0;
};

// One column of the file list.
struct TSCListColumn {
    QString Caption;
    Qt::Alignment Alignment = Qt::AlignLeft;

    bool operator==(const TSCListColumn&) const = default;
};

// The rows of one file list, for every view of it: names, icons and detail texts are asked
// of each row's data only when a view shows the row.
class TSCShellListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TSCShellListModel(QObject* parent = nullptr);
    ~TSCShellListModel() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TSCShellListItem& Item(int row) { return items_.at(row); }
    const TSCShellListItem& Item(int row) const { return items_.at(row); }
    void Append(std::vector<TSCShellListItem> items);
    void Clear();
    // rows ascending; each row's OnDeleting runs before it goes.
    void Remove(const std::vector<int>& rows);
    // Puts the rows in the order given (order[i] is the row that becomes row i); selections
    // and other kept indexes follow their rows.
    void Reorder(const std::vector<int>& order);

    const std::vector<TSCListColumn>& Columns() const { return columns_; }
    // Resets the model when the columns differ from the ones there.
    void SetColumns(std::vector<TSCListColumn> columns);

    // Icons of the large list, for the icon view.
    void SetLargeIcons(bool large);
    // One size for every row, for the item views: their layout takes one row's size for all
    // of them. An invalid size leaves the sizes to the view (the report).
    void SetCellSize(QSize size) { cellSize_ = size; }

    // Before a row is deleted, while its data still lives.
    std::function<void(int row, TSCShellListItem&)> OnDeleting;
    // The name a rename starts from, and the text its editor ends with.
    std::function<std::string(int row)> EditText;
    std::function<void(int row, const QString& text)> OnEdited;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QVariant ItemData(TSCShellListItem& item, int column, int role) const;
    QVariant ItemIcon(TSCShellListItem& item) const;

    mutable std::vector<TSCShellListItem> items_;
    std::vector<TSCListColumn> columns_;
    bool largeIcons_ = false;
    QSize cellSize_;
};

} // namespace quarn
