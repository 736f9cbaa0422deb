#include "shell/list/ColumnFill.h"

#include <QEvent>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace quarn {

TSCColumnFill::TSCColumnFill(QTreeView& view)
    : QObject(&view), view_(view), header_(*view.header()) {
    view_.viewport()->installEventFilter(this);
    connect(&header_, &QHeaderView::sectionCountChanged, this, [this](int, int count) {
        widths_.resize(static_cast<std::size_t>(count), header_.defaultSectionSize());
    });
    connect(&header_, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { Resized(column, width); });
}

int TSCColumnFill::Width(int column) const {
    return widths_.at(static_cast<std::size_t>(column));
}

void TSCColumnFill::SetWidth(int column, int width) {
    widths_.at(static_cast<std::size_t>(column)) = width;
    Fill();
}

bool TSCColumnFill::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        Fill();
    }
    return QObject::eventFilter(watched, event);
}

// Each edge goes to its place on the widened columns, rounded, so that every column is
// within a pixel of its share and together they reach the view's right edge.
void TSCColumnFill::Fill() {
    const long long own = std::accumulate(widths_.begin(), widths_.end(), 0LL);
    const long long room = std::max<long long>(view_.viewport()->width(), own);
    factor_ = own > 0 ? static_cast<double>(room) / static_cast<double>(own) : 1.0;
    const QScopedValueRollback filling(filling_, true);
    long long ownEdge = 0;
    long long shownEdge = 0;
    for (std::size_t column = 0; column < widths_.size(); ++column) {
        ownEdge += widths_[column];
        const long long edge = own > 0 ? (2 * ownEdge * room + own) / (2 * own) : 0;
        header_.resizeSection(static_cast<int>(column), static_cast<int>(edge - shownEdge));
        shownEdge = edge;
    }
}

// A width the user gave (an edge dragged, a divider double-clicked): the others keep their
// shown widths until the view's width changes.
void TSCColumnFill::Resized(int column, int width) {
    const auto index = static_cast<std::size_t>(column);
    if (!filling_ && index < widths_.size()) {
        widths_[index] = static_cast<int>(std::lround(width / factor_));
    }
}

} // namespace quarn
