#pragma once

#include <QColor>
#include <QHeaderView>
#include <QRect>
#include <functional>

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

// A header whose sections are drawn by their owner while OwnerDrawn is set; otherwise Qt
// draws them, with its own sort indicator.
class TSCSortHeaderView : public QHeaderView {
    Q_OBJECT

public:
    using DrawSection = std::function<void(QPainter& painter, const QRect& rect, int column)>;
    TSCSortHeaderView(QWidget* parent, DrawSection draw);

    bool OwnerDrawn() const { return ownerDrawn_; }
    void SetOwnerDrawn(bool ownerDrawn) { ownerDrawn_ = ownerDrawn; }
    // The rectangle of a column's header item, in the header's coordinates.
    QRect SectionRect(int column) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    DrawSection draw_;
    bool ownerDrawn_ = false;
};

} // namespace quarn
