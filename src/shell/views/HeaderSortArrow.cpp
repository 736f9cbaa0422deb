#include "shell/views/HeaderSortArrow.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace quarn {

// Edges as the header's own rectangles have them: right and bottom exclusive.
QRect GetSortArrowRect(const QRect& caption) {
    const int top = caption.top();
    const int bottom = caption.top() + caption.height();
    const int size = (top + bottom) / 2 - 1;
    const int arrowTop = (top + bottom - size) / 2 - 1;
    return QRect(caption.left(), arrowTop, size + 1, size);
}

void DrawHeaderSortArrow(QPainter& painter, const QRect& box, const QColor& fill,
                         const QColor& shadow, const QColor& highlight,
                         TSortArrowDirection direction) {
    const int left = box.left();
    const int top = box.top();
    const int height = (box.bottom() + 1 - top - 1) | 1;
    const int width = height + 1;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false); // the style may have left it on
    if (fill.isValid()) {
        painter.fillRect(QRect(left, top, width, height), fill);
    }
    if (direction == TSortArrowDirection::Down) {
        painter.setPen(shadow);
        const QPoint shadowLine[] = {{left + (width - 1) / 2, top + height - 1},
                                     {left, top + 1},
                                     {left, top},
                                     {left + width - 1, top}};
        painter.drawPolyline(shadowLine, 4);
        painter.setPen(highlight);
        painter.drawLine(left + (width - 1) / 2 + 1, top + height - 1, left + width, top - 1);
    } else {
        painter.setPen(shadow);
        const QPoint shadowLine[] = {
            {left + width / 2 - 1, top}, {left, top + height - 2}, {left, top + height - 1}};
        painter.drawPolyline(shadowLine, 3);
        painter.setPen(highlight);
        const QPoint highlightLine[] = {{left, top + height - 1},
                                        {left + width - 1, top + height - 1},
                                        {left + (width - 1) / 2 + 1, top - 1}};
        painter.drawPolyline(highlightLine, 3);
    }
    painter.restore();
}

TSCSortHeaderView::TSCSortHeaderView(QWidget* parent, DrawSection draw, SortArrowSource arrow)
    : QHeaderView(Qt::Horizontal, parent), draw_(std::move(draw)), arrow_(std::move(arrow)) {
}

QRect TSCSortHeaderView::SectionRect(int column) const {
    return QRect(sectionViewportPosition(column), 0, sectionSize(column), height());
}

std::optional<Qt::SortOrder> TSCSortHeaderView::IndicatorOrder(int column) const {
    const TSCSortArrow arrow = arrow_();
    if (ownerDrawn_ || !isSortIndicatorShown() || column != arrow.Column) {
        return std::nullopt;
    }
    return arrow.Descending ? Qt::DescendingOrder : Qt::AscendingOrder;
}

// Qt's styles point the indicator down for an ascending order.
void TSCSortHeaderView::initStyleOptionForIndex(QStyleOptionHeader* option,
                                                int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    const std::optional<Qt::SortOrder> order = IndicatorOrder(logicalIndex);
    option->sortIndicator = !order                         ? QStyleOptionHeader::None
                            : *order == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                           : QStyleOptionHeader::SortUp;
}

void TSCSortHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!ownerDrawn_) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    draw_(*painter, rect, logicalIndex);
    painter->restore();
}

} // namespace quarn
