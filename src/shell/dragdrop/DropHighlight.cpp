#include "shell/dragdrop/DropHighlight.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

namespace quarn {

TSCDropHighlight::TSCDropHighlight(QAbstractItemView& view)
    : QWidget(view.viewport()), view_(view) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    view.viewport()->installEventFilter(this);
    setGeometry(view.viewport()->rect());
    hide();
}

bool TSCDropHighlight::Set(const QModelIndex& index) {
    if (QModelIndex(index_) == index) {
        return false;
    }
    index_ = index;
    setVisible(index.isValid());
    raise();
    update();
    return true;
}

void TSCDropHighlight::paintEvent(QPaintEvent*) {
    if (!index_.isValid()) {
        return;
    }
    QRect row = view_.visualRect(index_);
    QPainter painter(this);
    QColor fill = palette().color(QPalette::Highlight);
    painter.setPen(fill);
    fill.setAlpha(60);
    painter.setBrush(fill);
    painter.drawRect(row.adjusted(0, 0, -1, -1));
}

bool TSCDropHighlight::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        setGeometry(view_.viewport()->rect());
    }
    return false;
}

} // namespace quarn
