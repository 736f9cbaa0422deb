#pragma once

#include <QIcon>
#include <QLabel>

namespace quarn {

// One picture of a status light and what a screen reader says of it ("green", "red", "off").
struct TLightPicture {
    QIcon Icon;
    QString State;
};

// A status light of the status bar: a 15-pixel picture, drawn as it is also while the busy
// state has disabled its window (a disabled label would grey the red light out). Its hint
// is its tool tip and accessible name, its state the accessible description.
class TStatusLight : public QLabel {
    Q_OBJECT

public:
    static constexpr QSize Size{15, 15};

    TStatusLight(const QString& hint, QWidget* parent);

    void ShowPicture(const TLightPicture& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quarn
