#pragma once

#include <QPersistentModelIndex>
#include <QWidget>

class QAbstractItemView;

namespace quarn {

// Marks the row a drag would drop on, over a view's items, without touching the selection.
// Mouse and drag events pass through it to the view.
class TSCDropHighlight : public QWidget {
    Q_OBJECT

public:
    explicit TSCDropHighlight(QAbstractItemView& view);

    // An invalid index clears the mark. Answers whether the mark moved.
    bool Set(const QModelIndex& index);
    QModelIndex Index() const { return index_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView& view_;
    QPersistentModelIndex index_;
};

} // namespace quarn
