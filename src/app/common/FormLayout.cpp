#include "app/common/FormLayout.h"

#include "app/common/KVBEllipsisLabel.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace quarn {

namespace {

constexpr int CaptionGap = 8;
constexpr QMargins FileBoxMargins{10, 11, 9, 10};
constexpr int FileNameColumn = 67; // from the box's left edge
constexpr int FileBarHeight = 17;

// The captions lType takes: its column is as wide as the widest, so that the names beside
// it stay in place when the caption changes.
constexpr std::initializer_list<const char*> OperationTypes = {
    "Encrypting:", "Decrypting:", "Wiping:"};

} // namespace

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = Named<QLabel>(name, QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent) {
    auto* button = Named<QPushButton>(name, QString::fromUtf8(text), parent);
    button->setMinimumSize(DesignScale::Of(*parent)(DesignButtonSize));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeDialogButton(const char* name, const char* text, QWidget* parent) {
    QPushButton* button = MakeButton(name, text, parent);
    button->setAutoDefault(true);
    return button;
}

QProgressBar* MakeBar(const char* name, int height, QWidget* parent) {
    auto* bar = Named<QProgressBar>(name, parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedHeight(height);
    return bar;
}

TKVBEllipsisLabel* MakeFileNameLabel(const char* name, QWidget* parent) {
    auto* label = Named<TKVBEllipsisLabel>(name, parent);
    label->SetAutoSize(false);
    label->SetEllipsis(elEnd);
    label->SetShowAccelChar(false);
    label->SetTransparent(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return label;
}

QGridLayout* MakeCaptionGrid(const DesignScale& px, const QMargins& margins, int valueColumn) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(px(CaptionGap));
    grid->setColumnMinimumWidth(0, valueColumn - margins.left() - px(CaptionGap));
    grid->setColumnStretch(1, 1);
    return grid;
}

QHBoxLayout* CentredRow(std::initializer_list<QWidget*> widgets, int spacing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addStretch(1);
    for (QWidget* widget : widgets) {
        row->addWidget(widget);
    }
    row->addStretch(1);
    return row;
}

QMargins InsideFrame(const QGroupBox* box, const QMargins& margins) {
    const QMargins frame = box->contentsMargins();
    return {std::max(margins.left() - frame.left(), 0), std::max(margins.top() - frame.top(), 0),
            std::max(margins.right() - frame.right(), 0),
            std::max(margins.bottom() - frame.bottom(), 0)};
}

void ReserveWidth(QLabel* label, std::initializer_list<const char*> texts) {
    const QString shown = label->text();
    int width = 0;
    for (const char* text : texts) {
        label->setText(QString::fromUtf8(text));
        width = std::max(width, label->sizeHint().width());
    }
    label->setText(shown);
    label->setMinimumWidth(width);
}

FileProgressBox::FileProgressBox(const char* boxName, const char* barName, QWidget* parent) {
    Box = Named<QGroupBox>(boxName, parent);
    lType = MakeLabel("lType", "Encrypting:", Box);
    ReserveWidth(lType, OperationTypes);
    lInFile = MakeFileNameLabel("lInFile", Box);
    lNew = MakeLabel("lNew", "New File:", Box);
    QSizePolicy keepPlace = lNew->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lNew->setSizePolicy(keepPlace);
    lNew->hide();
    lOutFile = MakeFileNameLabel("lOutFile", Box);
    const DesignScale px = DesignScale::Of(*parent);
    Bar = MakeBar(barName, px(FileBarHeight), Box);
    Bar->setAccessibleName(QStringLiteral("Current file progress"));
    auto* names = MakeCaptionGrid(px, px(FileBoxMargins), px(FileNameColumn));
    names->setVerticalSpacing(px(3));
    names->addWidget(lType, 0, 0);
    names->addWidget(lInFile, 0, 1);
    names->addWidget(lNew, 1, 0);
    names->addWidget(lOutFile, 1, 1);
    auto* current = new QVBoxLayout(Box);
    current->setContentsMargins(InsideFrame(Box, px(FileBoxMargins)));
    current->setSpacing(px(14));
    current->addLayout(names);
    current->addWidget(Bar);
}

} // namespace quarn
