#pragma once

#include <QMargins>
#include <QSize>

class QFont;
class QWidget;

namespace quarn {

// The forms' measures are pixels of the face they were designed in: the class library's
// 8-point face at 96 dots per inch, whose line is 13 pixels high and whose average letter is
// 6 pixels wide (its dialog units: a 75 x 23 button is 50 x 14 of them). A DesignScale turns
// them into pixels of the font in use by how much larger that font is: the larger of the
// ratios of its line height and of its average letter to the design face's, so that texts
// laid out for the design face fit whichever of the two the font in use exceeds more. One
// ratio for both directions keeps the design's proportions.
class DesignScale {
public:
    static constexpr int DesignLineHeight = 13;
    static constexpr double DesignLetterWidth = 6.0;

    // A font whose line is lineHeight pixels and whose average letter is letterWidth.
    DesignScale(int lineHeight, double letterWidth);
    explicit DesignScale(const QFont& font);
    // The scale of the widget's font.
    static DesignScale Of(const QWidget& widget);

    double Ratio() const { return ratio_; }

    // Design pixels in pixels of the font, rounded to the nearest.
    int operator()(int pixels) const;
    QSize operator()(const QSize& pixels) const;
    QMargins operator()(const QMargins& pixels) const;

private:
    double ratio_;
};

} // namespace quarn
