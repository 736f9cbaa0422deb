#pragma once

#include <QObject>
#include <vector>

class QHeaderView;
class QTreeView;

namespace quarn {

// The columns of a report view take the whole width of a view wider than they are: each
// gets a share of the room to spare in proportion to its own width, so they keep their
// ratios. A view narrower than the columns scrolls them. The own widths are what the list
// sets, and what the user leaves by dragging an edge (the shown width without the share);
// they are what the list saves and restores.
class TSCColumnFill : public QObject {
public:
    // The view keeps the header it has now.
    explicit TSCColumnFill(QTreeView& view);

    int Width(int column) const;
    void SetWidth(int column, int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void Resized(int column, int width);

    QTreeView& view_;
    QHeaderView& header_;
    std::vector<int> widths_;
    // The shown widths over the own ones at the last fill.
    double factor_ = 1.0;
    bool filling_ = false;
};

} // namespace quarn
