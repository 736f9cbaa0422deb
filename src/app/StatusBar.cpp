#include "app/StatusBar.h"

#include "platform/gui/AccessibleRole.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"

#include <QLabel>
#include <algorithm>

namespace quarn {

namespace {
constexpr int PanelTop = 2;
constexpr int PanelGap = 2;
} // namespace

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
    SetAccessibleRole(this, QAccessible::StatusBar);
    setFixedHeight(DesignScale::Of(*this)(Height));
    // The busy state disables the window: the progress and texts laid over the bar stay
    // readable in their usual colours.
    QPalette colours = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto each = static_cast<QPalette::ColorRole>(role);
        colours.setColor(QPalette::Disabled, each, colours.color(QPalette::Active, each));
    }
    setPalette(colours);
}

void TStatusBar::AddPanel(int width, const QString& text) {
    auto* panel = new QLabel(text, this);
    panel->setObjectName(QStringLiteral("Panel%1").arg(panels_.size()));
    panel->setTextFormat(Qt::PlainText);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    panels_.push_back(panel);
    widths_.push_back(width);
    LayoutPanels();
}

void TStatusBar::SetPanelWidth(int index, int width) {
    widths_.at(static_cast<std::size_t>(index)) = width;
    LayoutPanels();
}

QString TStatusBar::PanelText(int index) const {
    return panels_.at(static_cast<std::size_t>(index))->text();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
    panels_.at(static_cast<std::size_t>(index))->setText(text);
}

QRect TStatusBar::PanelRect(int index) const {
    return panels_.at(static_cast<std::size_t>(index))->geometry();
}

void TStatusBar::LayoutPanels() {
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? std::max(widths_[i], this->width() - left) : widths_[i];
        panels_[i]->setGeometry(left, PanelTop, width, height() - PanelTop);
        left += width + PanelGap;
    }
}

void TStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanels();
    if (OnResize) {
        RunGuarded([this] { OnResize(); });
    }
}

} // namespace quarn
