#pragma once

#include <QColor>
#include <QHeaderView>
#include <QRect>
#include <functional>
#include <optional>

class QPainter;

namespace quarn {

// The box of a header's sort arrow at the left of a caption rectangle.
QRect GetSortArrowRect(const QRect& caption);

enum class TSortArrowDirection { Up, Down };
// The 3-D triangle of a sort arrow: filled (unless fill is invalid), shadow on the sides that
// face the light away, highlight on the others.
void DrawHeaderSortArrow(QPainter& painter, const QRect& box, const QColor& fill,
                         const QColor& shadow, const QColor& highlight,
                         TSortArrowDirection direction);

// The column that shows the sort arrow (-1: none) and its direction.
struct TSCSortArrow {
    int Column = -1;
    bool Descending = false;
};

// A header whose sections are drawn by their owner while OwnerDrawn is set; otherwise Qt
// draws them, with its own sort indicator while that is shown. The header keeps no sort
// state: it asks its owner for the arrow at every paint, so the turn Qt gives its own
// indicator on a click never shows.
class TSCSortHeaderView : public QHeaderView {
    Q_OBJECT

public:
    using DrawSection = std::function<void(QPainter& painter, const QRect& rect, int column)>;
    using SortArrowSource = std::function<TSCSortArrow()>;
    TSCSortHeaderView(QWidget* parent, DrawSection draw, SortArrowSource arrow);

    bool OwnerDrawn() const { return ownerDrawn_; }
    void SetOwnerDrawn(bool ownerDrawn) { ownerDrawn_ = ownerDrawn; }
    // The rectangle of a column's header item, in the header's coordinates.
    QRect SectionRect(int column) const;
    // The order Qt's indicator shows on the column; none on the others, while owner-drawn and
    // while the indicator is hidden.
    std::optional<Qt::SortOrder> IndicatorOrder(int column) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    DrawSection draw_;
    SortArrowSource arrow_;
    bool ownerDrawn_ = false;
};

} // namespace quarn
