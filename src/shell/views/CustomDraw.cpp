#include "shell/views/CustomDraw.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace quarn {

void TSCDrawFont::SetFont(const QFont& font) {
    font_ = font;
    if (OnChange) {
        OnChange();
    }
}

void TSCDrawFont::SetColor(const QColor& color) {
    color_ = color;
    if (OnChange) {
        OnChange();
    }
}

void TSCDrawBrush::SetColor(const QColor& color) {
    color_ = color;
    if (OnChange) {
        OnChange();
    }
}

TSCCustomDraw::TSCCustomDraw(NMCUSTOMDRAW* notification, LRESULT* result, const QFont& controlFont)
    : controlFont_(controlFont) {
    TSCCustomDraw::Init(notification, result);
    brush_ = CreateBrush();
    brush_->OnChange = [this] { BrushChanged = true; };
    font_ = CreateFont();
    font_->OnChange = [this] { FontChanged = true; };
}

TSCCustomDraw::~TSCCustomDraw() = default;

void TSCCustomDraw::Init(NMCUSTOMDRAW* notification, LRESULT* result) {
    notification_ = notification;
    result_ = result;
    font_.reset();
    brush_.reset();
}

std::unique_ptr<TSCDrawFont> TSCCustomDraw::CreateFont() {
    return std::make_unique<TSCDrawFont>(controlFont_, notification_->textColor);
}

std::unique_ptr<TSCDrawBrush> TSCCustomDraw::CreateBrush() {
    return std::make_unique<TSCDrawBrush>(notification_->backColor);
}

TSCDrawStage TSCCustomDraw::Stage() const {
    switch (notification_->dwDrawStage) {
    case CDDS_PREPAINT:
        return dsPrePaint;
    case CDDS_POSTPAINT:
        return dsPostPaint;
    case CDDS_ITEMPREPAINT:
        return dsItemPrePaint;
    case CDDS_ITEMPOSTPAINT:
        return dsItemPostPaint;
    default:
        return dsOther;
    }
}

void TSCCustomDraw::ApplyToItem() {
    LRESULT& result = *result_;
    result = CDRF_DODEFAULT;
    switch (Stage()) {
    case dsPrePaint:
        result |= NotifyItems ? CDRF_NOTIFYITEMDRAW : 0;
        break;
    case dsItemPrePaint:
        if (SkipDefault) {
            result |= CDRF_SKIPDEFAULT;
            break;
        }
        if (FontChanged && font_) {
            if (notification_->font && *notification_->font != font_->Font()) {
                *notification_->font = font_->Font();
                result |= CDRF_NEWFONT;
            }
            notification_->clrText = font_->Color();
        }
        if (BrushChanged && brush_) {
            notification_->clrTextBk = brush_->Color();
        }
        break;
    default:
        break;
    }
}

TSCTvCustomDraw::TSCTvCustomDraw(NMCUSTOMDRAW* notification, LRESULT* result,
                                 const QFont& controlFont)
    : TSCCustomDraw(notification, result, controlFont) {
    NotifyItems = true;
}

TSCCustomDrawHook::TSCCustomDrawHook(QAbstractItemView* view, Notify notify)
    : QStyledItemDelegate(view), view_(view), viewport_(view->viewport()),
      notify_(std::move(notify)) {
    view->setItemDelegate(this);
    view->viewport()->installEventFilter(this);
}

LRESULT TSCCustomDrawHook::NotifyControl(std::uint32_t stage) {
    QPainter painter(view_->viewport());
    QFont font = view_->font();
    NMCUSTOMDRAW notification;
    notification.dwDrawStage = stage;
    notification.hdc = &painter;
    notification.font = &font;
    notification.textColor = view_->palette().color(QPalette::Text);
    notification.backColor = view_->palette().color(QPalette::Base);
    notification.rc = view_->viewport()->rect();
    return notify_(notification);
}

// Editors go to the delegate's own filter; of the viewport only paint events are taken, and
// its paint event runs once more inside the filter, between the control's two stages.
bool TSCCustomDrawHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_) {
        return QStyledItemDelegate::eventFilter(watched, event);
    }
    if (event->type() != QEvent::Paint || painting_) {
        return false;
    }
    const LRESULT answer = NotifyControl(CDDS_PREPAINT);
    {
        QScopedValueRollback painting(painting_, true);
        QScopedValueRollback items(itemsNotified_, (answer & CDRF_NOTIFYITEMDRAW) != 0);
        QCoreApplication::sendEvent(watched, event);
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        NotifyControl(CDDS_POSTPAINT);
    }
    return true;
}

void TSCCustomDrawHook::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!itemsNotified_) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    NMCUSTOMDRAW notification;
    notification.dwDrawStage = CDDS_ITEMPREPAINT;
    notification.hdc = painter;
    notification.font = &item.font;
    notification.textColor = item.palette.color(QPalette::Text);
    notification.backColor = item.backgroundBrush.style() == Qt::NoBrush
                                 ? item.palette.color(QPalette::Base)
                                 : item.backgroundBrush.color();
    notification.rc = item.rect;
    notification.dwItemSpec = index;
    notification.clrText = notification.textColor;
    notification.clrTextBk = notification.backColor;
    const LRESULT answer = notify_(notification);
    if (answer & CDRF_SKIPDEFAULT) {
        return;
    }
    if (notification.clrText != notification.textColor) {
        item.palette.setColor(QPalette::Text, notification.clrText);
    }
    if (notification.clrTextBk != notification.backColor) {
        item.backgroundBrush = notification.clrTextBk;
    }
    QStyledItemDelegate::paint(painter, item, index);
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        notification.dwDrawStage = CDDS_ITEMPOSTPAINT;
        notify_(notification);
    }
}

} // namespace quarn
