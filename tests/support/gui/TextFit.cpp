#include "TextFit.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace quarn::test {

namespace {

std::string Name(const QWidget& control) {
    return control.objectName().toStdString() + " (" + control.metaObject()->className() + ")";
}

std::string Cut(const QWidget& control, const QString& text, int needed, int room,
                const char* what = "wide") {
    if (needed <= room) {
        return {};
    }
    return Name(control) + " \"" + text.toStdString() + "\" needs " + std::to_string(needed) +
           " pixels, " + std::to_string(room) + " " + what;
}

int TextWidth(const QFontMetrics& metrics, const QString& text, bool mnemonic) {
    return metrics.size(mnemonic ? Qt::TextShowMnemonic : 0, text).width();
}

std::string LineCut(const QWidget& control, const QString& text, int room) {
    return Cut(control, text, control.fontMetrics().height(), room, "high");
}

std::string LabelCut(const QLabel& label) {
    const QString text = label.text();
    const QRect inside = label.contentsRect().marginsRemoved(
        QMargins(label.margin(), label.margin(), label.margin(), label.margin()));
    if (label.wordWrap()) {
        return Cut(label, text, label.heightForWidth(label.width()), label.height(), "high");
    }
    const QFontMetrics metrics = label.fontMetrics();
    const int indent = label.indent() >= 0      ? label.indent()
                       : label.frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                                                : 0;
    const std::string wide = Cut(label, text, TextWidth(metrics, text, label.buddy() != nullptr),
                                 inside.width() - indent);
    return wide.empty() ? LineCut(label, text, inside.height()) : wide;
}

// The room around a button's text, as the style adds it to the text for the button's size.
int ButtonFrame(const QAbstractButton& button) {
    const QStyle& style = *button.style();
    const auto metric = [&](QStyle::PixelMetric which) {
        return style.pixelMetric(which, nullptr, &button);
    };
    if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        return metric(QStyle::PM_ExclusiveIndicatorWidth) + 4 +
               metric(QStyle::PM_RadioButtonLabelSpacing);
    }
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        return metric(QStyle::PM_IndicatorWidth) + 4 + metric(QStyle::PM_CheckBoxLabelSpacing);
    }
    if (qobject_cast<const QToolButton*>(&button) != nullptr) {
        return 6;
    }
    return metric(QStyle::PM_ButtonMargin) + 2 * metric(QStyle::PM_DefaultFrameWidth);
}

std::string ButtonCut(const QAbstractButton& button) {
    const QString text = button.text();
    const std::string wide = Cut(button, text, TextWidth(button.fontMetrics(), text, true),
                                 button.width() - ButtonFrame(button));
    return wide.empty() ? LineCut(button, text, button.height()) : wide;
}

std::string EditCut(const QLineEdit& edit) {
    constexpr int TextMargin = 2; // each side, within the frame
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const QMargins margins = edit.textMargins();
    const int room = edit.width() - 2 * (frame + TextMargin) - margins.left() - margins.right();
    return Cut(edit, edit.text(), edit.fontMetrics().horizontalAdvance(edit.text()), room);
}

std::string GroupBoxCut(const QGroupBox& box) {
    return Cut(box, box.title(), box.minimumSizeHint().width(), box.width());
}

} // namespace

ScopedFontScale::ScopedFontScale(double factor) : previous_(QApplication::font()) {
    QFont font = previous_;
    font.setPointSizeF(font.pointSizeF() * factor);
    QApplication::setFont(font);
}

ScopedFontScale::~ScopedFontScale() {
    QApplication::setFont(previous_);
}

std::string FontScaleName(const testing::TestParamInfo<double>& info) {
    if (info.param == 1.0) {
        return "DefaultFont";
    }
    if (info.param == 1.5) {
        return "OneAndAHalfTimes";
    }
    return "Scaled" + std::to_string(static_cast<int>(info.param * 100));
}

std::string CutText(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return LabelCut(*label);
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return ButtonCut(*button);
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        return EditCut(*edit);
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&control)) {
        return GroupBoxCut(*box);
    }
    return Name(control) + " holds no text this check knows";
}

bool ShowsText(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return !label->text().isEmpty();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return !button->text().isEmpty() &&
               (qobject_cast<const QToolButton*>(button) == nullptr || button->icon().isNull());
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&control)) {
        return !box->title().isEmpty();
    }
    return qobject_cast<const QLineEdit*>(&control) != nullptr;
}

// A window that takes the size of its contents takes it again: the layouts nested in its
// controls pass the change up one level at a time.
void LayOut(QWidget& window) {
    constexpr int NestedLayouts = 4;
    for (int level = 0; level < NestedLayouts; ++level) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    if (QLayout* layout = window.layout()) {
        layout->activate();
    }
}

std::vector<std::string> CutTexts(const QWidget& window) {
    std::vector<std::string> cuts;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->isVisibleTo(&window) && ShowsText(*control)) {
            if (std::string cut = CutText(*control); !cut.empty()) {
                cuts.push_back(std::move(cut));
            }
        }
    }
    return cuts;
}

std::string CutText(QWidget& control, const QString& text) {
    const char* property = qobject_cast<QGroupBox*>(&control) != nullptr ? "title" : "text";
    const QVariant shown = control.property(property);
    control.setProperty(property, text);
    LayOut(*control.window());
    std::string cut = CutText(control);
    control.setProperty(property, shown);
    LayOut(*control.window());
    return cut;
}

std::string CutCell(const QTreeView& view, int column, const QString& text) {
    const QAbstractItemModel& model = *view.model();
    const QHeaderView& header = *view.header();
    const int width = header.sectionSize(column);
    if (model.rowCount() == 0) {
        return "the view has no row to lay out";
    }
    // The cell's layout around its text, from the first row's cell in the column.
    const QModelIndex index = model.index(0, column);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.decorationSize = view.iconSize();
    const QString shown = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(view.font());
    const int around =
        view.itemDelegate()->sizeHint(option, index).width() - metrics.horizontalAdvance(shown);
    return Cut(view, text, metrics.horizontalAdvance(text) + around, width);
}

std::string CutCaption(const QTreeView& view, int column) {
    const QHeaderView& header = *view.header();
    const QString caption =
        view.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return Cut(header, caption, header.sectionSizeHint(column), header.sectionSize(column));
}

} // namespace quarn::test
