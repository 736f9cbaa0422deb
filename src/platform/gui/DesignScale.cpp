#include "platform/gui/DesignScale.h"

#include <QFontMetricsF>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace quarn {

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int Letters = 52;

} // namespace

DesignScale::DesignScale(int lineHeight, double letterWidth)
    : ratio_(std::max(static_cast<double>(lineHeight) / DesignLineHeight,
                      letterWidth / DesignLetterWidth)) {
}

DesignScale::DesignScale(const QFont& font)
    : DesignScale(QFontMetrics(font).height(),
                  QFontMetricsF(font).horizontalAdvance(QLatin1String(Alphabet)) / Letters) {
}

DesignScale DesignScale::Of(const QWidget& widget) {
    return DesignScale(widget.font());
}

int DesignScale::operator()(int pixels) const {
    return static_cast<int>(std::lround(pixels * ratio_));
}

QSize DesignScale::operator()(const QSize& pixels) const {
    return {(*this)(pixels.width()), (*this)(pixels.height())};
}

QMargins DesignScale::operator()(const QMargins& pixels) const {
    return {(*this)(pixels.left()), (*this)(pixels.top()), (*this)(pixels.right()),
            (*this)(pixels.bottom())};
}

} // namespace quarn
