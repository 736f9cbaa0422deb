#pragma once

#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;

namespace quarn {

// The main window's status bar: a row of sunken panels with a text each, the last reaching
// to the right edge. PanelRect tells where a panel lies, so that other controls can be laid
// over it (the overall bar over panel 1, the status lights in panel 2). Each panel is a label
// named "Panel<i>", so screen readers read its text.
class TStatusBar : public QWidget {
    Q_OBJECT

public:
    // In the design's pixels.
    static constexpr int Height = 23;

    explicit TStatusBar(QWidget* parent = nullptr);

    void AddPanel(int width, const QString& text);
    void SetPanelWidth(int index, int width);
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    // In the bar's coordinates, frame included.
    QRect PanelRect(int index) const;

    // After the bar was resized and its panels laid out again.
    std::function<void()> OnResize;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutPanels();

    std::vector<QLabel*> panels_;
    std::vector<int> widths_;
};

} // namespace quarn
