#include "app/StatusLight.h"

#include <QPainter>

namespace quarn {

TStatusLight::TStatusLight(const QString& hint, QWidget* parent) : QLabel(parent) {
    resize(Size);
    setToolTip(hint);
    setAccessibleName(hint);
}

void TStatusLight::ShowPicture(const TLightPicture& picture) {
    setPixmap(picture.Icon.pixmap(Size, devicePixelRatioF()));
    setAccessibleDescription(picture.State);
}

void TStatusLight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QRect(QPoint(), Size), pixmap());
}

} // namespace quarn
